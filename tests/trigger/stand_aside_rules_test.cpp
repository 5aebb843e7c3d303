#include <gtest/gtest.h>

#include "trigger/stand_aside_rules.h"

namespace {

// The system's answers, as it numbers them.
const uint32_t NOT_ASKED = 0, NOT_PRESENT = 1, BUSY = 2, D3D = 3, PRESENTATION = 4, ACCEPTS = 5, APP = 6;

struct Row {
    const char* name;
    // paused, listed in front, setting, answer, front fills the monitor, pointer hidden, front has the keyboard
    StandAsideFacts facts;
    AsideReason reason;
};

const Row ROWS[] = {
    {"nothing in the way", {false, false, true, ACCEPTS, true, false, true}, ASIDE_NONE},
    {"paused", {true, false, true, ACCEPTS, false, false, true}, ASIDE_PAUSED},
    {"paused over a game", {true, true, true, D3D, true, true, true}, ASIDE_PAUSED},
    {"a listed program in front", {false, true, false, NOT_ASKED, false, false, true}, ASIDE_LISTED},
    {"a listed game", {false, true, true, D3D, true, true, true}, ASIDE_LISTED},
    {"an exclusive full-screen game over the strip's monitor", {false, false, true, D3D, true, false, true},
     ASIDE_FULL_SCREEN},
    {"a presentation over the strip's monitor", {false, false, true, PRESENTATION, true, false, true}, ASIDE_FULL_SCREEN},
    {"a game over another monitor", {false, false, true, D3D, false, true, true}, ASIDE_NONE},
    {"a game with the setting off", {false, false, false, D3D, true, true, true}, ASIDE_NONE},
    {"busy alone", {false, false, true, BUSY, true, false, true}, ASIDE_NONE},
    {"not present, quiet time, an app in full screen", {false, false, true, NOT_PRESENT, true, false, true}, ASIDE_NONE},
    {"an app's own full screen", {false, false, true, APP, true, false, true}, ASIDE_NONE},
    {"not asked", {false, false, true, NOT_ASKED, true, false, true}, ASIDE_NONE},
    {"a borderless game hiding the pointer", {false, false, true, BUSY, true, true, true}, ASIDE_GAME},
    {"a hidden pointer over a window that does not fill", {false, false, true, BUSY, false, true, true}, ASIDE_NONE},
    {"a hidden pointer with the setting off", {false, false, false, BUSY, true, true, true}, ASIDE_NONE},
    {"an exclusive game that hides the pointer", {false, false, true, D3D, true, true, true}, ASIDE_FULL_SCREEN},
    {"a pointer hidden by another program than the one in front", {false, false, true, BUSY, true, true, false},
     ASIDE_NONE},
    {"an exclusive game without the keyboard", {false, false, true, D3D, true, false, false}, ASIDE_FULL_SCREEN},
};

// Standing aside, the strip is neither shown nor acts on the pointer, but
// the shortcut still raises.
TEST(StandAsideRules, WhenAStripKeepsOutOfTheWay) {
    for (const Row& row : ROWS) {
        EXPECT_EQ(row.reason, asideReason(row.facts)) << row.name;
        const bool aside = standsAside(row.facts);
        EXPECT_EQ(row.reason != ASIDE_NONE, aside) << row.name;
        EXPECT_EQ(aside ? EVENT_DROPPED : EVENT_AS_IS, eventAccess(EVENT_HIT_TEST, aside)) << row.name;
        EXPECT_EQ(EVENT_AS_IS, eventAccess(EVENT_HOT_KEY, aside)) << row.name;
    }
}

TEST(StandAsideRules, EventsOfAStripOutOfTheWay) {
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

// The system is asked only with the setting on and a window filling its
// monitor in front: when it came, and at each poll; never at a mere hit test.
TEST(StandAsideRules, WhenTheSystemIsAsked) {
    const struct {
        bool avoid, fills, changed, atPoll, ask;
    } rows[] = {
        {true, true, true, false, true},   {true, true, false, true, true},   {true, true, true, true, true},
        {true, true, false, false, false}, {true, false, true, true, false},  {false, true, true, true, false},
        {false, false, false, false, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.ask, askNotificationState(r.avoid, r.fills, r.changed, r.atPoll))
            << r.avoid << r.fills << r.changed << r.atPoll;
}

}  // namespace
