#include "trigger/release_rule.h"

ReleasePlacement releasePlacement(const ReleaseFacts& facts) {
    if (!facts.sendBackAfterUse || facts.taskbarForeground)
        return RELEASE_LEAVE;
    if (facts.wasTopmost)
        return facts.coverStillTopmost ? RELEASE_BELOW_COVER : RELEASE_TOP_OF_BAND;
    if (facts.coverWasOrdinary && !facts.frontFillsMonitor)
        return RELEASE_LEAVE;
    return RELEASE_TO_BOTTOM;
}

bool releaseDue(const ReleaseTiming& timing) {
    if (timing.pointerOnTaskbar || timing.pointerOnShellWindow || timing.shellForeground)
        return false;
    return !(timing.raisedByKeyboard && timing.taskbarForeground);
}
