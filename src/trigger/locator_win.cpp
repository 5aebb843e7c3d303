#include "trigger/locator.h"

#include "resources/program.h"
#include "trigger/pointer.h"
#include "trigger/shell_watch.h"
#include "trigger/taskbar.h"
#include "trigger/trigger_state.h"

// The record this file works on, reached once.
static TriggerState& trigger = triggerState();

// With no taskbar window to compare with, a probe cannot tell which edge holds
// it (a null answer would match a null handle), so only a real handle is probed.
static bool probeAutoHideEdge(APPBARDATA* request, uint32_t* edge) {
    if (trigger.primary.taskbarWindow == nullptr)
        return false;
    for (uint32_t candidate : AUTOHIDE_PROBE_ORDER) {
        if (autoHideBarOn(request, candidate) == trigger.primary.taskbarWindow) {
            *edge = candidate;
            return true;
        }
    }
    return false;
}

int locateTaskbar(APPBARDATA* request, RECT* last) {
    Strip& primary = trigger.primary;
    request->cbSize = sizeof(APPBARDATA);
    request->hWnd = primary.taskbarWindow;
    request->uEdge = EDGE_UNREPORTED;
    trigger.lastAskUnanswered = requestTaskbarPosition(request) ? 0 : 1;
    if (trigger.lastAskUnanswered)
        return 0;
    Rect taskbar = toRect(request->rc);
    // A new scale lays the same taskbar's strip again.
    const uint32_t dpi = monitorDpiOf(primary.taskbarWindow);
    if (sameRect(taskbar, toRect(*last)) && dpi == primary.dpi)
        return 0;
    *last = request->rc;
    primary.dpi = dpi;
    uint32_t edge = request->uEdge;
    if (edge == EDGE_UNREPORTED && !probeAutoHideEdge(request, &edge))
        edge = edgeFromCorners(taskbar, GetSystemMetrics(SM_CXFULLSCREEN));
    primary.strip = toRECT(stripForEdge(taskbar, edge, scaledForDpi(STRIP_DEPTH, dpi)));
    return 1;
}

void placeStripWindow(const Strip& strip) {
    const RECT& s = strip.strip;
    SetWindowPos(strip.window, HWND_TOPMOST, s.left, s.top, spanOf(s.left, s.right), spanOf(s.top, s.bottom),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
    pointerUnseen();
}

static bool shellAskDue(HWND taskbar, bool rectRead, const RECT& rect) {
    const ShellWatchFacts facts = {taskbar == nullptr || taskbar != trigger.watchedTaskbar,
                                   !rectRead || !sameRect(toRect(rect), toRect(trigger.watchedRect)),
                                   trigger.shellChangeAnnounced != 0, trigger.lastAskUnanswered != 0,
                                   trigger.ticksSinceAsk};
    if (!shouldAskShell(facts)) {
        trigger.ticksSinceAsk++;
        return false;
    }
    trigger.watchedTaskbar = taskbar;
    trigger.watchedRect = rect;
    trigger.shellChangeAnnounced = 0;
    trigger.ticksSinceAsk = 0;
    return true;
}

// The kept window's rectangle is read at every poll, and tells as well
// whether the window still exists: one question rather than two.
TaskbarPoll watchTaskbars(bool secondariesWanted) {
    Strip& primary = trigger.primary;
    RECT rect = {};
    bool rectRead = primary.taskbarWindow != nullptr && GetWindowRect(primary.taskbarWindow, &rect);
    const TaskbarSearchFacts facts = {!rectRead || trigger.secondaryWentAway != 0, trigger.shellChangeAnnounced != 0,
                                      secondariesWanted && !trigger.secondariesWanted, trigger.searchesLeft,
                                      trigger.ticksSinceAsk};
    const TaskbarSearch search = taskbarSearch(facts);
    trigger.searchesLeft = search.searchesLeft;
    trigger.secondariesWanted = secondariesWanted ? 1 : 0;
    trigger.secondaryWentAway = 0;
    if (search.search) {
        primary.taskbarWindow = findTaskbar();
        rectRead = primary.taskbarWindow != nullptr && GetWindowRect(primary.taskbarWindow, &rect);
    }
    return TaskbarPoll{search.search, shellAskDue(primary.taskbarWindow, rectRead, rect)};
}

void announceShellChange() {
    trigger.shellChangeAnnounced = 1;
    // A monitor that moved may leave a secondary taskbar's own rectangle as it was.
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        trigger.secondary[i].lastTaskbarRect = RECT{};
}
