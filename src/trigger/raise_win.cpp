#include "trigger/raise.h"

#include "about/counter_text.h"
#include "app/app_state.h"
#include "resources/resource.h"
#include "trigger/release_rule.h"
#include "trigger/taskbar.h"

static void rewriteCounterLabel() {
    if (!IsWindow(g_app.aboutDialog))
        return;
    char text[TEXT_BUFFER_SIZE];
    counterText(g_app.activationCount, text);
    SetDlgItemTextA(g_app.aboutDialog, IDC_COUNTER_LABEL, text);
}

void activateTaskbar() {
    g_app.taskbarWindow = findTaskbar();
    if (!IsWindow(g_app.taskbarWindow))
        return;
    if (!g_app.taskbarRaised) {
        // Where the taskbar lay before, so that the release can put it back.
        g_app.taskbarWasTopmost = taskbarIsTopmost(g_app.taskbarWindow) ? 1 : 0;
        g_app.coverBeforeRaise = windowAbove(g_app.taskbarWindow);
        g_app.activationCount++;
        g_app.taskbarRaised = 1;
        rewriteCounterLabel();
    }
    placeTaskbarBelow(g_app.taskbarWindow, g_app.mainWindow);
}

void forwardHitTest(WPARAM wParam, LPARAM lParam) {
    if (g_app.taskbarWindow == nullptr)
        return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(g_app.taskbarWindow, WM_NCHITTEST, wParam, lParam, SMTO_ABORTIFHUNG,
                        FORWARD_HIT_TEST_TIMEOUT_MS, &ignored);
}

void enforceZOrder() {
    HWND first = GetWindow(g_app.mainWindow, GW_HWNDFIRST);
    if (first == g_app.mainWindow || g_app.inMenuLoop)
        return;
    if (g_app.settings.overTopmost)
        SetWindowPos(g_app.mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    else if (taskbarIsTopmost(g_app.taskbarWindow))
        placeTaskbarBelow(g_app.taskbarWindow, g_app.mainWindow);
}

// A taskbar that went away, or a pointer that cannot be read, counts as left:
// the raise ends rather than hanging on.
static bool pointerStillOnTaskbar() {
    POINT cursor;
    RECT taskbar;
    if (!GetCursorPos(&cursor) || !GetWindowRect(g_app.taskbarWindow, &taskbar))
        return false;
    return pointerOnTaskbar(toRect(taskbar), toPoint(cursor));
}

static bool coverStillTopmost() {
    HWND cover = g_app.coverBeforeRaise;
    return cover != nullptr && cover != g_app.taskbarWindow && IsWindow(cover) && taskbarIsTopmost(cover);
}

void checkRelease() {
    if (!g_app.taskbarRaised || pointerStillOnTaskbar())
        return;
    const ReleaseFacts facts = {g_app.settings.sendBackAfterUse != 0, GetForegroundWindow() == g_app.taskbarWindow,
                                g_app.taskbarWasTopmost != 0, coverStillTopmost()};
    switch (releasePlacement(facts)) {
    case RELEASE_TO_BOTTOM: sendTaskbarToBottom(g_app.taskbarWindow); break;
    case RELEASE_BELOW_COVER: placeTaskbarBelow(g_app.taskbarWindow, g_app.coverBeforeRaise); break;
    case RELEASE_TOP_OF_BAND: placeTaskbarAtTopOfBand(g_app.taskbarWindow); break;
    case RELEASE_LEAVE: break;
    }
    g_app.taskbarRaised = 0;
    g_app.coverBeforeRaise = nullptr;
}
