#include <gtest/gtest.h>

#include "trigger/release_rule.h"

namespace {

TEST(ReleaseRule, AnAlwaysOnTopTaskbarGoesBackIntoItsBandNeverToTheBottom) {
    struct {
        // send back, foreground, was topmost, cover still topmost, cover was ordinary, front fills the monitor
        ReleaseFacts facts;
        ReleasePlacement expected;
    } cases[] = {
        {{true, false, false, false, false, false}, RELEASE_TO_BOTTOM},    // an ordinary taskbar, as before
        {{true, false, false, true, false, false}, RELEASE_TO_BOTTOM},     // a cover does not matter to it
        {{true, false, true, true, false, false}, RELEASE_BELOW_COVER},    // back below the window it was under
        {{true, false, true, false, false, false}, RELEASE_TOP_OF_BAND},   // that window went or left the band
        {{false, false, true, true, false, false}, RELEASE_LEAVE},         // the user keeps it where it is
        {{false, false, false, false, false, false}, RELEASE_LEAVE},
        {{true, true, false, false, false, false}, RELEASE_LEAVE},         // the user is working in the taskbar
        {{true, true, true, true, false, false}, RELEASE_LEAVE},
        // An ordinary full-screen window covered it: behind it again only
        // while a full-screen window is still in front.
        {{true, false, false, false, true, true}, RELEASE_TO_BOTTOM},
        {{true, false, false, false, true, false}, RELEASE_LEAVE},
        {{true, false, true, true, true, false}, RELEASE_BELOW_COVER},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, releasePlacement(c.facts))
            << c.facts.sendBackAfterUse << c.facts.taskbarForeground << c.facts.wasTopmost << c.facts.coverStillTopmost
            << c.facts.coverWasOrdinary << c.facts.frontFillsMonitor;
}

// A raise from the keyboard gave the taskbar the foreground: it stays up
// while the user works in it, wherever the pointer is.
TEST(ReleaseRule, AfterTheKeyboardTheReleaseWaitsForTheForegroundToLeave) {
    struct {
        // on the taskbar, raised by the keyboard, taskbar foreground, on a shell window, shell foreground
        ReleaseTiming timing;
        bool due;
    } cases[] = {
        {{false, false, false, false, false}, true},
        {{false, false, true, false, false}, true},  // raised by the pointer: the foreground does not hold it
        {{true, false, false, false, false}, false},
        {{true, false, true, false, false}, false},
        {{false, true, true, false, false}, false},
        {{false, true, false, false, false}, true},  // the foreground went elsewhere, or never came (refused)
        {{true, true, false, false, false}, false},  // and the pointer still holds it
        {{true, true, true, false, false}, false},
        // What the shell showed holds it, under the pointer or in the foreground.
        {{false, false, false, true, false}, false},
        {{false, true, false, false, true}, false},
        {{false, false, true, false, false}, true},  // not the taskbar itself
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.due, releaseDue(c.timing))
            << c.timing.pointerOnTaskbar << c.timing.raisedByKeyboard << c.timing.taskbarForeground
            << c.timing.pointerOnShellWindow << c.timing.shellForeground;
}

}  // namespace
