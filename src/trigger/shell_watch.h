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

// When the poll looks for the taskbar windows (the primary one by its class,
// the secondary ones by theirs) rather than keeping the ones it has.
struct TaskbarSearchFacts {
    bool taskbarGone;        // no primary taskbar window, or one of the kept windows died or hid
    bool changeAnnounced;    // the display, the work area, the scale or the shell announced a change
    bool secondariesNewlyWanted;  // the strips of the other monitors were just switched on
    uint32_t searchesLeft;   // polls still to look after the last of these
    uint32_t ticksSinceAsk;  // the shell's safety-net ask looks too
};

struct TaskbarSearch {
    bool search;
    uint32_t searchesLeft;  // for the next poll
};

// After a change the shell may make its taskbars a moment later, so the
// search goes on for a few polls.
TaskbarSearch taskbarSearch(const TaskbarSearchFacts& facts);
