#include "app/strip_window.h"

#include "app/strip_messages.h"
#include "resources/program.h"
#include "trigger/activation.h"

namespace {

LRESULT onTimer(Strip& strip, WPARAM timerId) {
    switch (timerId) {
    case TIMER_DELAY: return onStripDelayTick(strip);
    case TIMER_HIGHLIGHT: return onStripHighlightTick(strip);
    case TIMER_VERIFY: return onStripVerifyTick(strip);
    default: return 0;
    }
}

LRESULT onStripMessage(Strip& strip, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: return onStripHitTest(strip, window, wParam, lParam);
    case WM_TIMER: return onTimer(strip, wParam);
    case WM_LBUTTONDOWN: return onStripLeftButtonDown(strip, window, lParam);
    case WM_RBUTTONDOWN: return onStripRightButtonDown(window, lParam);
    case WM_MOUSEACTIVATE: return onStripMouseActivate();
    case WM_PAINT: return onStripPaint(window);
    case WM_ERASEBKGND: return onStripEraseBackground(strip, window, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

// Until the window is entered among the strips (while it is being created)
// and after it left them, it is an ordinary window.
LRESULT CALLBACK secondaryStripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Strip* strip = stripOfWindow(window);
    if (strip == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    return onStripMessage(*strip, window, message, wParam, lParam);
}
