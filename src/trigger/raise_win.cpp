#include "trigger/raise.h"

#include "about/counter_text.h"
#include "app/app_state.h"
#include "resources/resource.h"
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

void checkRelease() {
    if (!g_app.taskbarRaised || pointerStillOnTaskbar())
        return;
    if (GetForegroundWindow() != g_app.taskbarWindow && g_app.settings.sendBackAfterUse)
        sendTaskbarToBottom(g_app.taskbarWindow);
    g_app.taskbarRaised = 0;
}
