// The strip's transition table: what each event does to a strip's flags and
// which actions carry it out. No windows.h: tested on the host; the Win32
// side only carries the actions out, in the order of their bits.
#pragma once

#include <stdint.h>

enum TriggerEvent {
    EVENT_HIT_TEST,        // the pointer is over the strip
    EVENT_POLL,            // the once-a-second look for a pointer at rest (after the release check)
    EVENT_DELAY_TICK,      // the activation delay ran out
    EVENT_HIGHLIGHT_TICK,  // the half-second look at a shown strip
    EVENT_CLICK,           // a left click on the strip
    EVENT_HOT_KEY,         // the keyboard shortcut that shows the taskbar, for the strip of the pointer's monitor
};

struct StripFlags {
    bool raised;   // its taskbar is raised
    bool pending;  // the activation delay runs
    bool shown;    // the strip shows in the highlight colour
};

struct ActivationFacts {
    StripFlags flags;
    bool delayEnabled;
    bool restartOnMove;
    bool highlight;
    bool inMenuLoop;
    bool pointerInStrip;  // read for the timers; hit tests and clicks are on the strip by nature
};

// In the order they are carried out. A timer that cannot start stops the
// actions after it.
enum ActivationAction : uint32_t {
    ACTION_ARM_DELAY = 1u << 0,             // (re)start the delay; the strip shows while it runs
    ACTION_SHOW_HIGHLIGHT = 1u << 1,        // show the strip and start the highlight timer
    ACTION_RAISE = 1u << 2,                 // raise the taskbar and hand it the hit test
    ACTION_END_DELAY = 1u << 3,             // stop the delay
    ACTION_START_HIGHLIGHT_TIMER = 1u << 4,  // watch the shown strip until the pointer leaves
    ACTION_HIDE_HIGHLIGHT = 1u << 5,        // back to invisible
    ACTION_STOP_HIGHLIGHT_TIMER = 1u << 6,
};

struct ActivationDecision {
    uint32_t actions;
    StripFlags after;  // the flags once every action is carried out and the taskbar was found
};

ActivationDecision decideActivation(TriggerEvent event, const ActivationFacts& facts);
