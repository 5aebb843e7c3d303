#include <gtest/gtest.h>

#include "trigger/shell_watch.h"

namespace {

TEST(ShellWatch, AsksOnAnySignOfChangeAndOtherwiseTwiceAMinute) {
    struct {
        ShellWatchFacts facts;
        bool ask;
    } cases[] = {
        {{false, false, false, false, 0}, false},                            // an idle tick
        {{false, false, false, false, 28}, false},                           // still idle
        {{false, false, false, false, 29}, true},                            // the safety net: every 30th poll
        {{false, false, false, false, 0xFFFFFFF0u}, true},                   // long overdue
        {{true, false, false, false, 0}, true},                              // another or no taskbar window
        {{false, true, false, false, 0}, true},                              // moved, resized, slid in or out
        {{false, false, true, false, 0}, true},                              // display, work area, scale, shell restart
        {{false, false, false, true, 0}, true},                              // the shell gave no answer last time
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.ask, shouldAskShell(c.facts))
            << c.facts.taskbarChanged << c.facts.rectChanged << c.facts.changeAnnounced << c.facts.lastAskUnanswered << " " << c.facts.ticksSinceAsk;
}

}  // namespace
