#include "trigger/activation.h"

#include "resources/program.h"
#include "settings/settings.h"
#include "trigger/activation_rules.h"
#include "trigger/composition.h"
#include "trigger/geometry.h"
#include "trigger/locator.h"
#include "trigger/pointer.h"
#include "trigger/presence.h"
#include "trigger/raise.h"
#include "trigger/secondary.h"
#include "trigger/stand_aside.h"
#include "trigger/stand_aside_rules.h"
#include "trigger/strip_choice.h"
#include "trigger/taskbar.h"
#include "trigger/verify.h"

// The records this file works on, reached once.
static ProgramState& program = programState();
static const Settings& settings = currentSettings();
static TriggerState& trigger = triggerState();

static LPARAM packedLParam(POINT p) {
    return (LPARAM)packPosition(toPoint(p));
}

bool pointInStrip(const Strip& strip, POINT p) {
    return pointInStrip(toRect(strip.strip), toRect(strip.monitor), toPoint(p));
}

// A cursor that cannot be read is treated as outside the strip.
static bool cursorInStrip(const Strip& strip, POINT* cursor) {
    return GetCursorPos(cursor) && pointInStrip(strip, *cursor);
}

int showHighlight(Strip& strip) {
    if (strip.highlightShown || !settings.highlight)
        return 1;
    setStripShown(strip.window, true);
    InvalidateRect(strip.window, nullptr, TRUE);
    strip.highlightShown = 1;
    return startTimer(strip.window, TIMER_HIGHLIGHT, HIGHLIGHT_PERIOD_MS);
}

int armDelay(Strip& strip) {
    if (!startTimer(strip.window, TIMER_DELAY, settings.delayMs))
        return 0;
    // Re-arming a running delay asks for no repaint: the strip already shows.
    if (!strip.delayPending && settings.highlight)
        InvalidateRect(strip.window, nullptr, TRUE);
    strip.delayPending = 1;
    if (settings.highlight) {
        setStripShown(strip.window, true);
        strip.highlightShown = 1;
    }
    return 1;
}

void hideHighlight(Strip& strip) {
    strip.highlightShown = 0;
    setStripShown(strip.window, false);
    // Shrinking to nothing and back makes the system repaint what lies under
    // the strip, so no trace of the colour stays.
    MoveWindow(strip.window, 0, 0, 0, 0, FALSE);
    placeStripWindow(strip);
    // Some window managers let the resize drop the raised taskbar behind other
    // topmost windows; while raised it belongs right below the strip, unless
    // another window stayed over it and was left be. A hidden strip's place
    // says nothing of where the taskbar belongs (a taskbar that the shell
    // keeps always on top would lose that band below it).
    if (strip.taskbarRaised && !strip.raiseBlocked && strip.catching)
        placeTaskbarBelow(strip.taskbarWindow, strip.window);
}

static void endDelay(Strip& strip) {
    KillTimer(strip.window, TIMER_DELAY);
    strip.delayPending = 0;
}

// Carries the decided actions out in order; a timer that cannot start stops
// the rest. The raise hands the taskbar the hit test it was given.
static bool carryOut(Strip& strip, uint32_t actions, WPARAM wParam, LPARAM lParam) {
    if ((actions & ACTION_ARM_DELAY) && !armDelay(strip))
        return false;
    if ((actions & ACTION_SHOW_HIGHLIGHT) && !showHighlight(strip))
        return false;
    if (actions & ACTION_RAISE) {
        activateTaskbar(strip);
        forwardHitTest(strip, wParam, lParam);
        // The taskbar's answer can run other messages, a poll among them,
        // which may have taken the strip away meanwhile.
        if (!stripInUse(strip))
            return true;
    }
    if (actions & ACTION_END_DELAY)
        endDelay(strip);
    // A failure has been reported; the strip stays until the next event.
    if (actions & ACTION_START_HIGHLIGHT_TIMER)
        startTimer(strip.window, TIMER_HIGHLIGHT, HIGHLIGHT_PERIOD_MS);
    if (actions & ACTION_HIDE_HIGHLIGHT)
        hideHighlight(strip);
    if (actions & ACTION_STOP_HIGHLIGHT_TIMER)
        KillTimer(strip.window, TIMER_HIGHLIGHT);
    return true;
}

// Out of the way: nothing covers the taskbar's edge, a window stayed over the
// taskbar this approach of the pointer, or the strip stands aside.
static bool outOfTheWay(Strip& strip, TriggerEvent event) {
    return event != EVENT_HOT_KEY && (!strip.catching || strip.raiseBlocked || stripStandsAside(strip));
}

static bool handle(Strip& strip, TriggerEvent event, bool pointerInStrip, WPARAM wParam, LPARAM lParam) {
    switch (eventAccess(event, outOfTheWay(strip, event))) {
    case EVENT_AS_IS: break;
    case EVENT_AS_IF_AWAY: pointerInStrip = false; break;
    case EVENT_DROPPED: return true;
    }
    const ActivationFacts facts = {{strip.taskbarRaised != 0, strip.delayPending != 0, strip.highlightShown != 0},
                                   settings.delayEnabled != 0,
                                   settings.restartDelayOnMove != 0,
                                   settings.highlight != 0,
                                   program.inMenuLoop != 0,
                                   pointerInStrip};
    ++trigger.stripsHeld;
    const bool done = carryOut(strip, decideActivation(event, facts).actions, wParam, lParam);
    --trigger.stripsHeld;
    return done;
}

// Timers measure the cursor themselves and hand its position on.
static bool handleAtCursor(Strip& strip, TriggerEvent event) {
    POINT cursor = {};
    const bool in = cursorInStrip(strip, &cursor);
    return handle(strip, event, in, 0, packedLParam(cursor));
}

void pointerOverStrip(Strip& strip, WPARAM wParam, LPARAM lParam) {
    pointerCameOnStrip(strip);
    handle(strip, EVENT_HIT_TEST, true, wParam, lParam);
}

void delayTick(Strip& strip) {
    handleAtCursor(strip, EVENT_DELAY_TICK);
}

void highlightTick(Strip& strip) {
    handleAtCursor(strip, EVENT_HIGHLIGHT_TICK);
}

void stripClicked(Strip& strip, POINT screenPoint) {
    handle(strip, EVENT_CLICK, true, 0, packedLParam(screenPoint));
}

bool stripHighlighted(const Strip& strip) {
    return strip.highlightShown != 0;
}

// A poll acts only on a pointer resting on the strip: without one there is
// nothing to decide, nor to ask whether the strip stands aside.
static bool pollStrip(Strip& strip, bool pointerKnown, POINT pointer) {
    if (!pointerKnown || !pointInStrip(strip, pointer))
        return true;
    return handle(strip, EVENT_POLL, true, 0, packedLParam(pointer));
}

// Every strip is released and laid over what covers its edge before the
// pointer is looked at: a strip shown or lifted may lie under a pointer that
// never moved.
bool pollTick() {
    const bool secondariesWanted = settings.allScreens != 0;
    const TaskbarPoll watch = watchTaskbars(secondariesWanted);
    APPBARDATA request = {};
    watchFront();
    // A tick that does not ask behaves as one whose answer was the same rectangle.
    if (watch.askShell && locateTaskbar(&request, &trigger.primary.lastTaskbarRect))
        placeStripWindow(trigger.primary);
    followSecondaryTaskbars(secondariesWanted, watch.searched);
    checkRelease(trigger.primary);
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        if (stripInUse(trigger.secondary[i]))
            checkRelease(trigger.secondary[i]);
    // After the releases: a taskbar sent back behind its cover gets its strip
    // back at once.
    followCovers();
    // The position the system stamps on the tick's message is no substitute
    // for a reading: it can lag behind the pointer that the release reads.
    POINT pointer = {};
    const bool known = pointerForPoll(&pointer);
    bool timersStarted = pollStrip(trigger.primary, known, pointer);
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        if (stripInUse(trigger.secondary[i]))
            timersStarted = pollStrip(trigger.secondary[i], known, pointer) && timersStarted;
    return timersStarted;
}

// A taskbar that is gone lies on no monitor; one that is there, on the
// monitor whose edge it lies along.
static uintptr_t monitorOf(const Strip& strip) {
    if (!IsWindow(strip.taskbarWindow))
        return 0;
    return reinterpret_cast<uintptr_t>(strip.monitorHandle);
}

static Strip& stripUnderPointer() {
    POINT cursor = {};
    if (!GetCursorPos(&cursor))
        return trigger.primary;
    uintptr_t monitors[1 + MAX_SECONDARY_STRIPS] = {monitorOf(trigger.primary)};
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        monitors[1 + i] = monitorOf(trigger.secondary[i]);
    const uintptr_t pointer = reinterpret_cast<uintptr_t>(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST));
    const size_t chosen = stripOnPointerMonitor(monitors, 1 + trigger.secondaryCount, pointer);
    return chosen == 0 ? trigger.primary : trigger.secondary[chosen - 1];
}

void raiseTaskbarUnderPointer() {
    Strip& strip = stripUnderPointer();
    ++trigger.stripsHeld;
    // An explicit request: the strip goes back on top first, even where it
    // was kept out of the way, so that the taskbar comes in front below it.
    liftForShortcut(strip);
    // Pressed again, it tries over whatever stayed over the taskbar before.
    newApproach(strip);
    handleAtCursor(strip, EVENT_HOT_KEY);
    holdForKeyboard(strip);
    --trigger.stripsHeld;
}

static void quiet(Strip& strip) {
    if (strip.delayPending)
        endDelay(strip);
    if (strip.highlightShown)
        hideHighlight(strip);
}

void quietStrips() {
    quiet(trigger.primary);
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        if (stripInUse(trigger.secondary[i]))
            quiet(trigger.secondary[i]);
}

Strip* stripOfWindow(HWND window) {
    if (window == trigger.primary.window)
        return &trigger.primary;
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        if (window == trigger.secondary[i].window)
            return &trigger.secondary[i];
    return nullptr;
}
