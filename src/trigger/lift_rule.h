// Whether a strip under a window that covers its band climbs back over it at
// this poll. Some always-on-top windows (clocks, notes, picture-in-picture
// players) put themselves back on top whenever something climbs over them:
// two lifts in a row over the same window, with no pointer on the strip
// between, and the strip waits before it tries over that window again,
// rather than fight it at every poll. No windows.h: tested on the host.
#pragma once

#include <stdint.h>

enum BackOff {
    BACK_OFF_NONE,
    BACK_OFF_RUNNING,
    BACK_OFF_ENDED,  // a wait was started and is over: one more try
};

// `started` says a wait began and lasts until `until` (tick counts, which
// wrap after 49 days).
BackOff backOffAt(bool started, uint32_t until, uint32_t now);

struct LiftFacts {
    bool sameWindow;       // the window over the strip is the one it was last lifted over
    bool contactSince;     // the pointer came onto the strip since that lift
    uint32_t liftsInARow;  // lifts over that window so far, one after the other
    BackOff backOff;
};

struct LiftStep {
    bool lift;
    uint32_t liftsInARow;  // after this poll
    bool startBackOff;     // wait before trying over this window again
};

LiftStep liftStep(const LiftFacts& facts);
