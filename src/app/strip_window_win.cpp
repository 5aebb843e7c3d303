#include "app/strip_window.h"

#include <windowsx.h>

#include "resources/program.h"
#include "tray/context_menu.h"
#include "trigger/activation.h"

namespace {

// Click points arrive in client coordinates, signed.
POINT clickOnScreen(HWND window, LPARAM lParam) {
    POINT click = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &click);
    return click;
}

LRESULT onHitTest(Strip& strip, HWND window, WPARAM wParam, LPARAM lParam) {
    pointerOverStrip(strip, wParam, lParam);
    return DefWindowProcA(window, WM_NCHITTEST, wParam, lParam);
}

LRESULT onTimer(Strip& strip, WPARAM timerId) {
    switch (timerId) {
    case TIMER_DELAY: delayTick(strip); break;
    case TIMER_HIGHLIGHT: highlightTick(strip); break;
    default: break;
    }
    return 0;
}

LRESULT onLeftButtonDown(Strip& strip, HWND window, LPARAM lParam) {
    stripClicked(strip, clickOnScreen(window, lParam));
    return 0;
}

LRESULT onRightButtonDown(HWND window, LPARAM lParam) {
    showContextMenu(clickOnScreen(window, lParam));
    return 0;
}

LRESULT onPaint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

LRESULT onEraseBackground(const Strip& strip, HWND window, WPARAM wParam, LPARAM lParam) {
    if (stripHighlighted(strip))
        return DefWindowProcA(window, WM_ERASEBKGND, wParam, lParam);
    return 0;
}

LRESULT onStripMessage(Strip& strip, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: return onHitTest(strip, window, wParam, lParam);
    case WM_TIMER: return onTimer(strip, wParam);
    case WM_LBUTTONDOWN: return onLeftButtonDown(strip, window, lParam);
    case WM_RBUTTONDOWN: return onRightButtonDown(window, lParam);
    case WM_PAINT: return onPaint(window);
    case WM_ERASEBKGND: return onEraseBackground(strip, window, wParam, lParam);
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
