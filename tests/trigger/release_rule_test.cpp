#include <gtest/gtest.h>

#include "trigger/release_rule.h"

namespace {

TEST(ReleaseRule, AnAlwaysOnTopTaskbarGoesBackIntoItsBandNeverToTheBottom) {
    struct {
        ReleaseFacts facts;  // send back, foreground, was topmost, cover still topmost
        ReleasePlacement expected;
    } cases[] = {
        {{true, false, false, false}, RELEASE_TO_BOTTOM},    // an ordinary taskbar, as before
        {{true, false, false, true}, RELEASE_TO_BOTTOM},     // a cover does not matter to it
        {{true, false, true, true}, RELEASE_BELOW_COVER},    // back below the window it was under
        {{true, false, true, false}, RELEASE_TOP_OF_BAND},   // that window went or left the band
        {{false, false, true, true}, RELEASE_LEAVE},         // the user keeps it where it is
        {{false, false, false, false}, RELEASE_LEAVE},
        {{true, true, false, false}, RELEASE_LEAVE},         // the user is working in the taskbar
        {{true, true, true, true}, RELEASE_LEAVE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, releasePlacement(c.facts))
            << c.facts.sendBackAfterUse << c.facts.taskbarForeground << c.facts.wasTopmost << c.facts.coverStillTopmost;
}

// A raise from the keyboard gave the taskbar the foreground: it stays up
// while the user works in it, wherever the pointer is.
TEST(ReleaseRule, AfterTheKeyboardTheReleaseWaitsForTheForegroundToLeave) {
    struct {
        ReleaseTiming timing;  // pointer on the taskbar, raised by the keyboard, taskbar foreground
        bool due;
    } cases[] = {
        {{false, false, false}, true},
        {{false, false, true}, true},  // raised by the pointer: the foreground does not hold it
        {{true, false, false}, false},
        {{true, false, true}, false},
        {{false, true, true}, false},
        {{false, true, false}, true},  // the foreground went elsewhere, or never came (refused)
        {{true, true, false}, false},  // and the pointer still holds it
        {{true, true, true}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.due, releaseDue(c.timing))
            << c.timing.pointerOnTaskbar << c.timing.raisedByKeyboard << c.timing.taskbarForeground;
}

}  // namespace
