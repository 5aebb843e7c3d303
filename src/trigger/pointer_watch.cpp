#include "trigger/pointer_watch.h"

bool pointerReadDue(const PointerWatchFacts& facts) {
    if (facts.taskbarRaised)
        return true;
    if (facts.inMenuLoop)
        return false;
    return facts.timerRunning || facts.pointerOnStrip || facts.pointerUnseen || facts.buttonHeld;
}
