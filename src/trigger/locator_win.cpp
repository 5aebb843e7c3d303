#include "trigger/locator.h"

#include "app/app_state.h"
#include "trigger/shell_watch.h"
#include "trigger/taskbar.h"

// With no taskbar window to compare with, a probe cannot tell which edge holds
// it (a null answer would match a null handle), so only a real handle is probed.
static bool probeAutoHideEdge(APPBARDATA* request, uint32_t* edge) {
    if (g_app.taskbarWindow == nullptr)
        return false;
    for (uint32_t candidate : AUTOHIDE_PROBE_ORDER) {
        if (autoHideBarOn(request, candidate) == g_app.taskbarWindow) {
            *edge = candidate;
            return true;
        }
    }
    return false;
}

int locateTaskbar(APPBARDATA* request, RECT* last) {
    g_app.taskbarWindow = findTaskbar();
    request->cbSize = sizeof(APPBARDATA);
    request->hWnd = g_app.taskbarWindow;
    request->uEdge = EDGE_UNREPORTED;
    if (!requestTaskbarPosition(request))
        return 0;
    Rect taskbar = toRect(request->rc);
    if (sameRect(taskbar, toRect(*last)))
        return 0;
    *last = request->rc;
    uint32_t edge = request->uEdge;
    if (edge == EDGE_UNREPORTED && !probeAutoHideEdge(request, &edge))
        edge = edgeFromCorners(taskbar, GetSystemMetrics(SM_CXFULLSCREEN));
    g_app.strip = toRECT(stripForEdge(taskbar, edge));
    return 1;
}

void placeTriggerWindow(HWND window) {
    const RECT& s = g_app.strip;
    SetWindowPos(window, HWND_TOPMOST, s.left, s.top, spanOf(s.left, s.right), spanOf(s.top, s.bottom),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
}

bool shellAskDue() {
    HWND taskbar = findTaskbar();
    RECT rect = {};
    const bool rectRead = taskbar != nullptr && GetWindowRect(taskbar, &rect);
    const ShellWatchFacts facts = {taskbar == nullptr || taskbar != g_app.watchedTaskbar,
                                   !rectRead || !sameRect(toRect(rect), toRect(g_app.watchedRect)),
                                   g_app.shellChangeAnnounced != 0, g_app.ticksSinceAsk};
    // The tick works with the window found now, asked or not.
    g_app.taskbarWindow = taskbar;
    if (!shouldAskShell(facts)) {
        g_app.ticksSinceAsk++;
        return false;
    }
    g_app.watchedTaskbar = taskbar;
    g_app.watchedRect = rect;
    g_app.shellChangeAnnounced = 0;
    g_app.ticksSinceAsk = 0;
    return true;
}

void announceShellChange() {
    g_app.shellChangeAnnounced = 1;
}
