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

// The taskbar windows are kept from poll to poll; they are looked for again
// for five polls from a sign of change on, and with the safety-net ask.
TEST(ShellWatch, TaskbarWindowsAreLookedForOnlyAfterAChange) {
    struct {
        TaskbarSearchFacts facts;  // gone, announced, newly wanted, searches left, ticks since ask
        TaskbarSearch expected;
    } cases[] = {
        {{false, false, false, 0, 0}, {false, 0}},   // an idle tick
        {{false, false, false, 0, 28}, {false, 0}},  // still idle
        {{false, false, false, 0, 29}, {true, 0}},   // with the safety-net ask
        {{true, false, false, 0, 0}, {true, 4}},     // a kept window died or hid, or there is none
        {{false, true, false, 0, 0}, {true, 4}},     // display, work area, scale, shell restart
        {{false, false, true, 0, 0}, {true, 4}},     // the other monitors' strips switched on
        {{true, false, false, 2, 0}, {true, 4}},     // another change restarts the count
        {{false, false, false, 3, 0}, {true, 2}},    // the polls after a change
        {{false, false, false, 1, 0}, {true, 0}},    // the last of them
    };
    for (const auto& c : cases) {
        const TaskbarSearch search = taskbarSearch(c.facts);
        EXPECT_EQ(c.expected.search, search.search) << c.facts.searchesLeft << " " << c.facts.ticksSinceAsk;
        EXPECT_EQ(c.expected.searchesLeft, search.searchesLeft) << c.facts.searchesLeft;
    }
}

}  // namespace
