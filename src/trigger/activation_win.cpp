#include "trigger/activation.h"

#include "resources/program.h"
#include "settings/settings.h"
#include "trigger/geometry.h"
#include "trigger/locator.h"
#include "trigger/raise.h"
#include "trigger/taskbar.h"
#include "trigger/trigger_state.h"

// The records this file works on, reached once.
static ProgramState& program = programState();
static const Settings& settings = currentSettings();
static TriggerState& trigger = triggerState();

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
    return pointInStrip(toRect(trigger.strip), toPoint(p));
}

int showHighlight(HWND window) {
    if (trigger.highlightShown || !settings.highlight)
        return 1;
    setTransparent(window, false);
    InvalidateRect(window, nullptr, TRUE);
    trigger.highlightShown = 1;
    return startTimer(window, TIMER_HIGHLIGHT, HIGHLIGHT_PERIOD_MS);
}

int armDelay(HWND window) {
    if (!startTimer(window, TIMER_DELAY, settings.delayMs))
        return 0;
    // Re-arming a running delay asks for no repaint: the strip already shows.
    if (!trigger.delayPending && settings.highlight)
        InvalidateRect(window, nullptr, TRUE);
    trigger.delayPending = 1;
    if (settings.highlight) {
        setTransparent(window, false);
        trigger.highlightShown = 1;
    }
    return 1;
}

void hideHighlight(HWND window) {
    trigger.highlightShown = 0;
    setTransparent(window, true);
    // Shrinking to nothing and back makes the system repaint what lies under
    // the strip, so no trace of the colour stays.
    MoveWindow(window, 0, 0, 0, 0, FALSE);
    placeTriggerWindow(window);
    // Some window managers let the resize drop the raised taskbar behind other
    // topmost windows; while raised it belongs right below the strip.
    if (trigger.taskbarRaised)
        placeTaskbarBelow(trigger.taskbarWindow, window);
}

void pointerOverStrip(HWND window, WPARAM wParam, LPARAM lParam) {
    if (settings.delayEnabled) {
        if (settings.restartDelayOnMove || !trigger.delayPending)
            armDelay(window);
    } else if (!program.inMenuLoop && showHighlight(window)) {
        activate(wParam, lParam);
    }
}

// The poll finds a pointer that rests in the strip without moving.
static int pollForPointer(HWND window) {
    POINT cursor = {};
    if (trigger.delayPending || trigger.taskbarRaised || program.inMenuLoop || !cursorInStrip(&cursor))
        return 1;
    if (settings.delayEnabled)
        return armDelay(window);
    if (!showHighlight(window))
        return 0;
    activate(0, packedLParam(cursor));
    return 1;
}

bool pollTick(HWND window) {
    APPBARDATA request = {};
    // A tick that does not ask behaves as one whose answer was the same rectangle.
    if (shellAskDue() && locateTaskbar(&request, &trigger.lastTaskbarRect))
        placeTriggerWindow(window);
    enforceZOrder();
    checkRelease();
    return pollForPointer(window) != 0;
}

static void endDelay(HWND window) {
    KillTimer(window, TIMER_DELAY);
    trigger.delayPending = 0;
}

void delayTick(HWND window) {
    POINT cursor = {};
    if (cursorInStrip(&cursor)) {
        // During a menu loop the delay keeps running and the next tick decides.
        if (program.inMenuLoop)
            return;
        activate(0, packedLParam(cursor));
        startTimer(window, TIMER_HIGHLIGHT, HIGHLIGHT_PERIOD_MS);
        endDelay(window);
        return;
    }
    endDelay(window);
    if (trigger.taskbarRaised)
        startTimer(window, TIMER_HIGHLIGHT, HIGHLIGHT_PERIOD_MS);
    else if (settings.highlight)
        hideHighlight(window);
}

void highlightTick(HWND window) {
    POINT cursor = {};
    if (!trigger.highlightShown)
        KillTimer(window, TIMER_HIGHLIGHT);
    else if (!cursorInStrip(&cursor))
        hideHighlight(window);  // the next tick finds it hidden and stops the timer
}

void stripClicked(POINT screenPoint) {
    activate(0, packedLParam(screenPoint));
}

bool stripHighlighted() {
    return trigger.highlightShown != 0;
}
