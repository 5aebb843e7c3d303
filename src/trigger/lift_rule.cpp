#include "trigger/lift_rule.h"

#include "resources/constants.h"

BackOff backOffAt(bool started, uint32_t until, uint32_t now) {
    if (!started)
        return BACK_OFF_NONE;
    return static_cast<int32_t>(until - now) > 0 ? BACK_OFF_RUNNING : BACK_OFF_ENDED;
}

LiftStep liftStep(const LiftFacts& facts) {
    if (!facts.sameWindow || facts.contactSince)
        return LiftStep{true, 1, false};
    switch (facts.backOff) {
    case BACK_OFF_RUNNING: return LiftStep{false, facts.liftsInARow, false};
    case BACK_OFF_ENDED: return LiftStep{true, facts.liftsInARow, false};
    case BACK_OFF_NONE: break;
    }
    if (facts.liftsInARow >= LIFTS_BEFORE_BACK_OFF)
        return LiftStep{false, facts.liftsInARow, true};
    return LiftStep{true, facts.liftsInARow + 1, false};
}
