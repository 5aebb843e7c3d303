#include <gtest/gtest.h>

#include "trigger/pointer_watch.h"

namespace {

TEST(PointerWatch, ReadOnlyWhenTheStripsCannotTellFromTheirOwnMessages) {
    struct {
        const char* name;
        PointerWatchFacts facts;  // raised, timer, on strip, unseen, button, menu
        bool read;
    } rows[] = {
        {"idle", {false, false, false, false, false, false}, false},
        {"a raise waits for its release", {true, false, false, false, false, false}, true},
        {"a delay or a highlight runs", {false, true, false, false, false, false}, true},
        {"a hit test came, the pointer not yet seen off the strip", {false, false, true, false, false, false}, true},
        {"a strip lifted, moved or laid again", {false, false, false, true, false, false}, true},
        {"a drag: a button held", {false, false, false, false, true, false}, true},
        {"the menu is open: nothing to activate", {false, true, true, true, true, true}, false},
        {"the menu is open while raised: the release still looks", {true, false, false, false, false, true}, true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.read, pointerReadDue(row.facts)) << row.name;
}

}  // namespace
