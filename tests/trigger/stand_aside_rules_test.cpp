#include <gtest/gtest.h>

#include "trigger/stand_aside_rules.h"

namespace {

// The system's answers, as it numbers them.
const uint32_t NOT_ASKED = 0, BUSY = 2, D3D = 3, PRESENTATION = 4, ACCEPTS = 5;

struct Row {
    const char* name;
    StandAsideFacts facts;  // paused, listed program in front, setting, answer, front covers the strip's monitor
    bool aside;
};

const Row ROWS[] = {
    {"nothing in the way", {false, false, true, ACCEPTS, true}, false},
    {"paused", {true, false, true, ACCEPTS, false}, true},
    {"a listed program in front", {false, true, false, NOT_ASKED, false}, true},
    {"an exclusive full-screen game over the strip's monitor", {false, false, true, D3D, true}, true},
    {"a presentation over the strip's monitor", {false, false, true, PRESENTATION, true}, true},
    {"a game over another monitor", {false, false, true, D3D, false}, false},
    {"a game with the setting off", {false, false, false, D3D, true}, false},
    {"busy alone", {false, false, true, BUSY, true}, false},
    {"not asked", {false, false, true, NOT_ASKED, true}, false},
};

// Standing aside, the strip is neither lifted nor acts on the pointer, but
// the shortcut still raises.
TEST(StandAsideRules, WhenAStripKeepsOutOfTheWay) {
    for (const Row& row : ROWS) {
        const bool aside = standsAside(row.facts);
        EXPECT_EQ(row.aside, aside) << row.name;
        EXPECT_EQ(row.aside ? EVENT_DROPPED : EVENT_AS_IS, eventAccess(EVENT_HIT_TEST, aside)) << row.name;
        EXPECT_EQ(EVENT_AS_IS, eventAccess(EVENT_HOT_KEY, aside)) << row.name;
    }
}

TEST(StandAsideRules, EventsOfAStripThatStandsAside) {
    const struct {
        TriggerEvent event;
        EventAccess access;
    } rows[] = {
        {EVENT_HIT_TEST, EVENT_DROPPED},        {EVENT_POLL, EVENT_DROPPED},
        {EVENT_CLICK, EVENT_DROPPED},           {EVENT_DELAY_TICK, EVENT_AS_IF_AWAY},
        {EVENT_HIGHLIGHT_TICK, EVENT_AS_IF_AWAY}, {EVENT_HOT_KEY, EVENT_AS_IS},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.access, eventAccess(row.event, true)) << row.event;
        EXPECT_EQ(EVENT_AS_IS, eventAccess(row.event, false)) << row.event;
    }
}

}  // namespace
