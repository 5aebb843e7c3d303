#include "trigger/activation.h"

#include <windowsx.h>

#include "app/app_state.h"
#include "app/start_timer.h"
#include "trigger/geometry.h"
#include "trigger/locator.h"
#include "trigger/raise.h"
#include "trigger/taskbar.h"

// While WS_EX_TRANSPARENT is set the strip shows nothing; cleared, the window
// is erased with the class brush, the highlight colour.
static void setTransparent(HWND window, bool transparent) {
    LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    style = transparent ? (style | WS_EX_TRANSPARENT) : (style & ~WS_EX_TRANSPARENT);
    SetWindowLongA(window, GWL_EXSTYLE, style);
}

static LPARAM packedLParam(POINT p) {
    return (LPARAM)packPosition(toPoint(p));
}

static void activate(WPARAM wParam, LPARAM lParam) {
    activateTaskbar();
    forwardHitTest(wParam, lParam);
}

// A cursor that cannot be read is treated as outside the strip.
static bool cursorInStrip(POINT* cursor) {
    return GetCursorPos(cursor) && pointInStrip(*cursor);
}

bool pointInStrip(POINT p) {
    return pointInStrip(toRect(g_app.strip), toPoint(p));
}

int showHighlight(HWND window) {
    if (g_app.highlightShown || !g_app.settings.highlight)
        return 1;
    setTransparent(window, false);
    InvalidateRect(window, nullptr, TRUE);
    g_app.highlightShown = 1;
    return startTimer(window, TIMER_HIGHLIGHT, HIGHLIGHT_PERIOD_MS);
}

int armDelay(HWND window) {
    if (!startTimer(window, TIMER_DELAY, g_app.settings.delayMs))
        return 0;
    // Re-arming a running delay asks for no repaint: the strip already shows.
    if (!g_app.delayPending && g_app.settings.highlight)
        InvalidateRect(window, nullptr, TRUE);
    g_app.delayPending = 1;
    if (g_app.settings.highlight) {
        setTransparent(window, false);
        g_app.highlightShown = 1;
    }
    return 1;
}

void hideHighlight(HWND window) {
    g_app.highlightShown = 0;
    setTransparent(window, true);
    // Shrinking to nothing and back makes the system repaint what lies under
    // the strip, so no trace of the colour stays.
    MoveWindow(window, 0, 0, 0, 0, FALSE);
    placeTriggerWindow(window);
    // Some window managers let the resize drop the raised taskbar behind other
    // topmost windows; while raised it belongs right below the strip.
    if (g_app.taskbarRaised)
        placeTaskbarBelow(g_app.taskbarWindow, window);
}

LRESULT onHitTest(HWND window, WPARAM wParam, LPARAM lParam) {
    if (g_app.settings.delayEnabled) {
        if (g_app.settings.restartDelayOnMove || !g_app.delayPending)
            armDelay(window);
    } else if (!g_app.inMenuLoop && showHighlight(window)) {
        activate(wParam, lParam);
    }
    return DefWindowProcA(window, WM_NCHITTEST, wParam, lParam);
}

// The poll finds a pointer that rests in the strip without moving.
static int pollForPointer(HWND window) {
    POINT cursor = {};
    if (g_app.delayPending || g_app.taskbarRaised || g_app.inMenuLoop || !cursorInStrip(&cursor))
        return 1;
    if (g_app.settings.delayEnabled)
        return armDelay(window);
    if (!showHighlight(window))
        return 0;
    activate(0, packedLParam(cursor));
    return 1;
}

LRESULT onPollTick(HWND window) {
    APPBARDATA request = {};
    // A tick that does not ask behaves as one whose answer was the same rectangle.
    if (shellAskDue() && locateTaskbar(&request, &g_app.lastTaskbarRect))
        placeTriggerWindow(window);
    enforceZOrder();
    checkRelease();
    if (!pollForPointer(window))
        return DefWindowProcA(window, WM_TIMER, TIMER_POLL, 0);
    return 0;
}

static void endDelay(HWND window) {
    KillTimer(window, TIMER_DELAY);
    g_app.delayPending = 0;
}

LRESULT onDelayTick(HWND window) {
    POINT cursor = {};
    if (cursorInStrip(&cursor)) {
        // During a menu loop the delay keeps running and the next tick decides.
        if (g_app.inMenuLoop)
            return 0;
        activate(0, packedLParam(cursor));
        startTimer(window, TIMER_HIGHLIGHT, HIGHLIGHT_PERIOD_MS);
        endDelay(window);
        return 0;
    }
    endDelay(window);
    if (g_app.taskbarRaised)
        startTimer(window, TIMER_HIGHLIGHT, HIGHLIGHT_PERIOD_MS);
    else if (g_app.settings.highlight)
        hideHighlight(window);
    return 0;
}

LRESULT onHighlightTick(HWND window) {
    POINT cursor = {};
    if (!g_app.highlightShown)
        KillTimer(window, TIMER_HIGHLIGHT);
    else if (!cursorInStrip(&cursor))
        hideHighlight(window);  // the next tick finds it hidden and stops the timer
    return 0;
}

LRESULT onLeftButtonDown(HWND window, LPARAM lParam) {
    POINT click = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &click);
    activate(0, packedLParam(click));
    return 0;
}

LRESULT onPaint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

LRESULT onEraseBackground(HWND window, WPARAM wParam, LPARAM lParam) {
    if (g_app.highlightShown)
        return DefWindowProcA(window, WM_ERASEBKGND, wParam, lParam);
    return 0;
}

LRESULT onMenuLoop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_app.inMenuLoop = message == WM_ENTERMENULOOP ? 1 : 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT onShellChange(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_SETTINGCHANGE || wParam == SPI_SETWORKAREA)
        announceShellChange();
    return DefWindowProcA(window, message, wParam, lParam);
}
