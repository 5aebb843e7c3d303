#include "trigger/trigger_window.h"

#include "app/app_state.h"
#include "trigger/activation.h"
#include "tray/lifecycle.h"

// Timers are looked at in the order poll, icon removal, delay, highlight.
static LRESULT onTimer(HWND window, WPARAM timerId) {
    switch (timerId) {
    case TIMER_POLL: return onPollTick(window);
    case TIMER_ICON_REMOVAL: return onIconRemovalTick(window);
    case TIMER_DELAY: return onDelayTick(window);
    case TIMER_HIGHLIGHT: return onHighlightTick(window);
    default: return 0;
    }
}

// The shell's "TaskbarCreated" has a number known only at run time.
static LRESULT onOtherMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != 0 && message == g_app.taskbarCreatedMessage)
        return onTaskbarCreated(window);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK triggerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return onCreate(window, wParam, lParam);
    case WM_DESTROY: return onDestroy(window);
    case WM_NCHITTEST: return onHitTest(window, wParam, lParam);
    case WM_TIMER: return onTimer(window, wParam);
    case WM_LBUTTONDOWN: return onLeftButtonDown(window, lParam);
    case WM_RBUTTONDOWN: return onRightButtonDown(window, lParam);
    case WM_PAINT: return onPaint(window);
    case WM_ERASEBKGND: return onEraseBackground(window, wParam, lParam);
    case WM_ENTERMENULOOP: return onMenuLoop(window, message, wParam, lParam);
    case WM_EXITMENULOOP: return onMenuLoop(window, message, wParam, lParam);
    case WM_COMMAND: return onCommand(window, wParam);
    case WM_DROPFILES: return onDropFiles(wParam);
    case WM_DISPLAYCHANGE: return onShellChange(window, message, wParam, lParam);
    case WM_SETTINGCHANGE: return onShellChange(window, message, wParam, lParam);
    case WM_DPICHANGED: return onShellChange(window, message, wParam, lParam);
    case WM_TRAY_NOTIFY: return onTrayNotify(wParam, lParam);
    case WM_SECOND_INSTANCE: return onSecondInstance(window);
    case WM_READD_ICON: return onReaddIcon(window);
    default: return onOtherMessage(window, message, wParam, lParam);
    }
}
