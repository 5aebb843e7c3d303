#include "trigger/release_rule.h"

ReleasePlacement releasePlacement(const ReleaseFacts& facts) {
    if (!facts.sendBackAfterUse || facts.taskbarForeground)
        return RELEASE_LEAVE;
    if (!facts.wasTopmost)
        return RELEASE_TO_BOTTOM;
    return facts.coverStillTopmost ? RELEASE_BELOW_COVER : RELEASE_TOP_OF_BAND;
}

bool releaseDue(const ReleaseTiming& timing) {
    if (timing.pointerOnTaskbar)
        return false;
    return !(timing.raisedByKeyboard && timing.taskbarForeground);
}
