// When the poll asks the shell where the taskbar is. Asking is a message to
// the shell's process that wakes it; the taskbar window's own rectangle is
// read without one. No windows.h: tested on the host.
#pragma once

#include <stdint.h>

struct ShellWatchFacts {
    bool taskbarChanged;   // another taskbar window than at the last ask, or none
    bool rectChanged;      // its window rectangle moved, or could not be read
    bool changeAnnounced;  // the display, the work area, the scale or the shell announced a change
    bool lastAskUnanswered;  // the shell gave no rectangle the last time: nothing is known yet
    uint32_t ticksSinceAsk;
};

// Ask only when something may have changed, and now and then in any case.
bool shouldAskShell(const ShellWatchFacts& facts);
