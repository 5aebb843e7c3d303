#include <gtest/gtest.h>

#include "trigger/activation_rules.h"

namespace {

const uint32_t ARM = ACTION_ARM_DELAY, SHOW = ACTION_SHOW_HIGHLIGHT, RAISE = ACTION_RAISE, END = ACTION_END_DELAY,
               WATCH = ACTION_START_HIGHLIGHT_TIMER, HIDE = ACTION_HIDE_HIGHLIGHT, STOP = ACTION_STOP_HIGHLIGHT_TIMER;

struct Options {
    bool delay, restart, highlight;
};
const Options DELAY = {true, true, true};
const Options DELAY_NO_RESTART = {true, false, true};
const Options NO_DELAY = {false, true, true};
const Options NO_DELAY_NO_HIGHLIGHT = {false, true, false};
const Options DELAY_NO_HIGHLIGHT = {true, true, false};

// raised, pending, shown
const StripFlags IDLE = {false, false, false};
const StripFlags WAITING = {false, true, true};
const StripFlags RAISED = {true, false, true};
const StripFlags RAISED_HIDDEN = {true, false, false};
const StripFlags RAISED_WAITING = {true, true, true};

const bool IN = true, OUT = false, MENU = true, FREE = false;

struct Row {
    const char* name;
    TriggerEvent event;
    StripFlags from;
    Options options;
    bool menu;
    bool inStrip;
    uint32_t actions;
    StripFlags after;
};

const Row ROWS[] = {
    {"idle, hit test with delay arms it", EVENT_HIT_TEST, IDLE, DELAY, FREE, IN, ARM, {false, true, true}},
    {"idle, hit test arms it without restart too", EVENT_HIT_TEST, IDLE, DELAY_NO_RESTART, FREE, IN, ARM,
     {false, true, true}},
    {"idle, hit test with delay, no highlight", EVENT_HIT_TEST, IDLE, DELAY_NO_HIGHLIGHT, FREE, IN, ARM,
     {false, true, false}},
    {"idle, hit test without delay raises", EVENT_HIT_TEST, IDLE, NO_DELAY, FREE, IN, SHOW | RAISE, {true, false, true}},
    {"idle, hit test without delay or highlight", EVENT_HIT_TEST, IDLE, NO_DELAY_NO_HIGHLIGHT, FREE, IN, RAISE,
     {true, false, false}},
    {"idle, hit test without delay in a menu loop", EVENT_HIT_TEST, IDLE, NO_DELAY, MENU, IN, 0, IDLE},
    {"idle, hit test with delay in a menu loop still arms", EVENT_HIT_TEST, IDLE, DELAY, MENU, IN, ARM,
     {false, true, true}},
    {"idle, poll in strip with delay arms", EVENT_POLL, IDLE, DELAY, FREE, IN, ARM, {false, true, true}},
    {"idle, poll in strip without delay raises", EVENT_POLL, IDLE, NO_DELAY, FREE, IN, SHOW | RAISE,
     {true, false, true}},
    {"idle, poll away does nothing", EVENT_POLL, IDLE, NO_DELAY, FREE, OUT, 0, IDLE},
    {"idle, poll in a menu loop does nothing", EVENT_POLL, IDLE, NO_DELAY, MENU, IN, 0, IDLE},
    {"idle, click raises at once", EVENT_CLICK, IDLE, DELAY, FREE, IN, RAISE, {true, false, false}},
    // The shortcut raises at once wherever the pointer is, without a highlight.
    {"idle, shortcut raises at once", EVENT_HOT_KEY, IDLE, DELAY, FREE, OUT, RAISE, {true, false, false}},
    {"idle, shortcut in a menu loop raises", EVENT_HOT_KEY, IDLE, NO_DELAY, MENU, OUT, RAISE, {true, false, false}},
    {"waiting, shortcut raises and the delay runs on", EVENT_HOT_KEY, WAITING, DELAY, FREE, IN, RAISE,
     {true, true, true}},
    {"raised, shortcut repeats", EVENT_HOT_KEY, RAISED, NO_DELAY, FREE, OUT, RAISE, RAISED},
    {"waiting, hit test restarts the delay", EVENT_HIT_TEST, WAITING, DELAY, FREE, IN, ARM, WAITING},
    {"waiting, hit test without restart", EVENT_HIT_TEST, WAITING, DELAY_NO_RESTART, FREE, IN, 0, WAITING},
    {"waiting, delay switched off, hit test raises", EVENT_HIT_TEST, WAITING, NO_DELAY, FREE, IN, RAISE,
     {true, true, true}},
    {"waiting, delay ends in the strip", EVENT_DELAY_TICK, WAITING, DELAY, FREE, IN, RAISE | END | WATCH,
     {true, false, true}},
    {"waiting, delay ends in the strip in a menu loop", EVENT_DELAY_TICK, WAITING, DELAY, MENU, IN, 0, WAITING},
    {"waiting, delay ends away, strip hidden", EVENT_DELAY_TICK, WAITING, DELAY, FREE, OUT, END | HIDE, IDLE},
    {"waiting, delay ends away with highlight off, strip stays", EVENT_DELAY_TICK, WAITING, DELAY_NO_HIGHLIGHT, FREE,
     OUT, END, {false, false, true}},
    {"waiting, poll makes no activation", EVENT_POLL, WAITING, NO_DELAY, FREE, IN, 0, WAITING},
    {"waiting, click raises", EVENT_CLICK, WAITING, DELAY, FREE, IN, RAISE, {true, true, true}},
    {"raised, hit test with delay arms", EVENT_HIT_TEST, RAISED, DELAY, FREE, IN, ARM, RAISED_WAITING},
    {"raised, hit test without delay repeats the raise", EVENT_HIT_TEST, RAISED, NO_DELAY, FREE, IN, RAISE, RAISED},
    {"raised, poll in the strip does not activate again", EVENT_POLL, RAISED, DELAY, FREE, IN, 0, RAISED},
    {"raised, click repeats", EVENT_CLICK, RAISED, DELAY, FREE, IN, RAISE, RAISED},
    {"raised waiting, hit test restarts", EVENT_HIT_TEST, RAISED_WAITING, DELAY, FREE, IN, ARM, RAISED_WAITING},
    {"raised waiting, hit test without restart", EVENT_HIT_TEST, RAISED_WAITING, DELAY_NO_RESTART, FREE, IN, 0,
     RAISED_WAITING},
    {"raised waiting, hit test without delay", EVENT_HIT_TEST, RAISED_WAITING, NO_DELAY, FREE, IN, RAISE,
     RAISED_WAITING},
    {"raised waiting, delay ends in the strip", EVENT_DELAY_TICK, RAISED_WAITING, DELAY, FREE, IN, RAISE | END | WATCH,
     RAISED},
    {"raised waiting, delay ends in a menu loop", EVENT_DELAY_TICK, RAISED_WAITING, DELAY, MENU, IN, 0,
     RAISED_WAITING},
    {"raised waiting, delay ends off the strip keeps watching", EVENT_DELAY_TICK, RAISED_WAITING, DELAY, FREE, OUT,
     END | WATCH, RAISED},
    {"raised waiting without highlight, delay ends off the strip keeps watching", EVENT_DELAY_TICK,
     {true, true, false}, DELAY_NO_HIGHLIGHT, FREE, OUT, END | WATCH, RAISED_HIDDEN},
    {"shown, highlight tick in the strip keeps it", EVENT_HIGHLIGHT_TICK, RAISED, NO_DELAY, FREE, IN, 0, RAISED},
    {"shown, highlight tick away hides it", EVENT_HIGHLIGHT_TICK, RAISED, NO_DELAY, FREE, OUT, HIDE, RAISED_HIDDEN},
    {"hidden, highlight tick stops its timer", EVENT_HIGHLIGHT_TICK, RAISED_HIDDEN, NO_DELAY, FREE, OUT, STOP,
     RAISED_HIDDEN},
};

TEST(ActivationRules, EveryRowOfTheTransitionTable) {
    for (const Row& row : ROWS) {
        const ActivationFacts facts = {row.from, row.options.delay, row.options.restart, row.options.highlight,
                                       row.menu, row.inStrip};
        const ActivationDecision d = decideActivation(row.event, facts);
        EXPECT_EQ(row.actions, d.actions) << row.name;
        EXPECT_EQ(row.after.raised, d.after.raised) << row.name;
        EXPECT_EQ(row.after.pending, d.after.pending) << row.name;
        EXPECT_EQ(row.after.shown, d.after.shown) << row.name;
    }
}

}  // namespace
