#include <gtest/gtest.h>

#include "trigger/lift_rule.h"

namespace {

TEST(LiftRule, AWindowThatUndoesEveryLiftIsLeftAloneForAWhile) {
    struct {
        const char* name;
        LiftFacts facts;  // same window, contact since, lifts in a row, back-off
        LiftStep step;    // lift, lifts in a row after, start the back-off
    } cases[] = {
        {"a new window", {false, false, 0, BACK_OFF_NONE}, {true, 1, false}},
        {"another window after a back-off", {false, false, 2, BACK_OFF_RUNNING}, {true, 1, false}},
        {"the same window undid the first lift", {true, false, 1, BACK_OFF_NONE}, {true, 2, false}},
        {"and the second", {true, false, 2, BACK_OFF_NONE}, {false, 2, true}},
        {"while it waits", {true, false, 2, BACK_OFF_RUNNING}, {false, 2, false}},
        {"once the wait is over", {true, false, 2, BACK_OFF_ENDED}, {true, 2, false}},
        {"the pointer came between", {true, true, 2, BACK_OFF_NONE}, {true, 1, false}},
        {"the pointer came during the wait", {true, true, 2, BACK_OFF_RUNNING}, {true, 1, false}},
    };
    for (const auto& c : cases) {
        const LiftStep step = liftStep(c.facts);
        EXPECT_EQ(c.step.lift, step.lift) << c.name;
        EXPECT_EQ(c.step.liftsInARow, step.liftsInARow) << c.name;
        EXPECT_EQ(c.step.startBackOff, step.startBackOff) << c.name;
    }
}

TEST(LiftRule, TheWaitEndsAtItsTickAcrossTheWrap) {
    EXPECT_EQ(BACK_OFF_NONE, backOffAt(false, 1000, 0));
    EXPECT_EQ(BACK_OFF_RUNNING, backOffAt(true, 30000, 0));
    EXPECT_EQ(BACK_OFF_RUNNING, backOffAt(true, 30000, 29999));
    EXPECT_EQ(BACK_OFF_ENDED, backOffAt(true, 30000, 30000));
    EXPECT_EQ(BACK_OFF_ENDED, backOffAt(true, 30000, 90000));
    EXPECT_EQ(BACK_OFF_RUNNING, backOffAt(true, 20000, 0xFFFFF000u));  // started just before the wrap
    EXPECT_EQ(BACK_OFF_ENDED, backOffAt(true, 0xFFFFF000u, 20000));
}

}  // namespace
