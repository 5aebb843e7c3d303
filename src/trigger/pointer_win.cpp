#include "trigger/pointer.h"

#include "resources/program.h"
#include "trigger/activation.h"
#include "trigger/pointer_watch.h"
#include "trigger/verify.h"

// The records this file works on, reached once.
static ProgramState& program = programState();
static TriggerState& trigger = triggerState();

void pointerCameOnStrip(Strip& strip) {
    strip.pointerOnStrip = 1;
    strip.contactSinceLift = 1;
}

void pointerUnseen() {
    trigger.pointerUnseen = 1;
}

// The buttons as they are now, whichever of them is the primary one.
static bool buttonHeld() {
    return (GetAsyncKeyState(VK_LBUTTON) & KEY_HELD_BIT) != 0 || (GetAsyncKeyState(VK_RBUTTON) & KEY_HELD_BIT) != 0;
}

static void addFacts(const Strip& strip, PointerWatchFacts* facts) {
    facts->taskbarRaised = facts->taskbarRaised || strip.taskbarRaised;
    facts->timerRunning = facts->timerRunning || strip.delayPending || strip.highlightShown;
    facts->pointerOnStrip = facts->pointerOnStrip || strip.pointerOnStrip;
}

// A pointer off the strip ends the approach: the next one tries again over a
// window that stayed over the taskbar.
static void seenAt(Strip& strip, POINT pointer) {
    if (!pointInStrip(strip, pointer)) {
        strip.pointerOnStrip = 0;
        newApproach(strip);
    }
}

bool pointerForPoll(POINT* pointer) {
    PointerWatchFacts facts = {false, false, false, trigger.pointerUnseen != 0, buttonHeld(), program.inMenuLoop != 0};
    addFacts(trigger.primary, &facts);
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        if (stripInUse(trigger.secondary[i]))
            addFacts(trigger.secondary[i], &facts);
    if (!pointerReadDue(facts))
        return false;
    trigger.pointerUnseen = 0;
    if (!GetCursorPos(pointer))
        return false;
    seenAt(trigger.primary, *pointer);
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        if (stripInUse(trigger.secondary[i]))
            seenAt(trigger.secondary[i], *pointer);
    return true;
}
