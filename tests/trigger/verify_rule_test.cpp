#include <gtest/gtest.h>

#include "trigger/verify_rule.h"

namespace {

// A window that puts itself back over the taskbar at once is tried over
// once more, then left be: no endless fight.
TEST(VerifyRule, ARaiseThatDidNotTakeIsTriedOnceMore) {
    EXPECT_EQ(VERIFY_HELD, verifyRaise(true, false));
    EXPECT_EQ(VERIFY_HELD, verifyRaise(true, true));
    EXPECT_EQ(VERIFY_RETRY, verifyRaise(false, false));
    EXPECT_EQ(VERIFY_BLOCKED, verifyRaise(false, true));
}

// However slowly a window comes back over the taskbar, one approach of the
// pointer raises it three times at most.
TEST(VerifyRule, AnApproachRaisesThreeTimesAtMost) {
    EXPECT_TRUE(raiseAllowed(2));
    EXPECT_FALSE(raiseAllowed(3));
}

}  // namespace
