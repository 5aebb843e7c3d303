#include "app/strip_messages.h"

#include <windowsx.h>

#include "tray/context_menu.h"
#include "trigger/activation.h"
#include "trigger/verify.h"

// Click points arrive in client coordinates, signed.
static POINT clickOnScreen(HWND window, LPARAM lParam) {
    POINT click = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &click);
    return click;
}

LRESULT onStripHitTest(Strip& strip, HWND window, WPARAM wParam, LPARAM lParam) {
    pointerOverStrip(strip, wParam, lParam);
    return DefWindowProcA(window, WM_NCHITTEST, wParam, lParam);
}

LRESULT onStripDelayTick(Strip& strip) {
    delayTick(strip);
    return 0;
}

LRESULT onStripHighlightTick(Strip& strip) {
    highlightTick(strip);
    return 0;
}

LRESULT onStripVerifyTick(Strip& strip) {
    verifyTick(strip);
    return 0;
}

LRESULT onStripLeftButtonDown(Strip& strip, HWND window, LPARAM lParam) {
    stripClicked(strip, clickOnScreen(window, lParam));
    return 0;
}

LRESULT onStripRightButtonDown(HWND window, LPARAM lParam) {
    showContextMenu(clickOnScreen(window, lParam));
    return 0;
}

// A click raises the taskbar but leaves the foreground with the program the
// user works in: taken from it, the shell would look at its taskbar again.
LRESULT onStripMouseActivate() {
    return MA_NOACTIVATE;
}

// Nothing is drawn: the strip is its background, the highlight colour or nothing.
LRESULT onStripPaint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

LRESULT onStripEraseBackground(const Strip& strip, HWND window, WPARAM wParam, LPARAM lParam) {
    if (stripHighlighted(strip))
        return DefWindowProcA(window, WM_ERASEBKGND, wParam, lParam);
    return 0;
}
