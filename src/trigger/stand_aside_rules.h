// When the strips keep out of the way: while the user has paused them, while
// a program the user named is in front, and in front of a full-screen game or
// presentation. A strip that stands aside neither acts on the pointer nor is
// lifted over other windows; the keyboard shortcut, an explicit request,
// still raises. No windows.h: tested on the host.
#pragma once

#include <stdint.h>

#include "trigger/activation_rules.h"
#include "trigger/geometry.h"

struct StandAsideFacts {
    bool paused;
    bool listedInFront;         // the program of the window in front is on the user's list
    bool avoidFullScreen;       // the setting
    uint32_t notificationState;  // the system's last answer on the user's state, 0 when not asked
    bool frontCoversMonitor;    // the window in front covers the strip's monitor
};

bool standsAside(const StandAsideFacts& facts);

// How an event reaches a strip.
enum EventAccess {
    EVENT_AS_IS,
    EVENT_AS_IF_AWAY,  // the pointer counts as off the strip: a running delay ends, a lit strip goes out
    EVENT_DROPPED,
};

// A strip that stands aside drops its hit tests, polls and clicks, and its
// timers see the pointer away; the shortcut goes through.
EventAccess eventAccess(TriggerEvent event, bool asideNow);

// The system is asked only while the setting is on and a window covering its
// monitor is in front: once when it came to the front, then at each poll
// (a game can enter or leave exclusive mode in the same window). Never at a
// hit test otherwise.
bool askNotificationState(bool avoidFullScreen, bool frontCoversItsMonitor, bool frontChanged, bool atPoll);

// The window covers the whole monitor.
bool coversMonitor(const Rect& window, const Rect& monitor);
