// When the strips keep out of the way: while the user has paused them, while
// a program the user named is in front, and in front of a full-screen game or
// presentation. A strip that stands aside neither acts on the pointer nor is
// lifted over other windows; the keyboard shortcut, an explicit request,
// still raises. No windows.h: tested on the host.
#pragma once

#include <stdint.h>

#include "trigger/activation_rules.h"

struct StandAsideFacts {
    bool paused;
    bool listedInFront;          // the program in front on the strip's monitor is on the user's list
    bool avoidFullScreen;        // the setting
    uint32_t notificationState;  // the system's last answer on the user's state, 0 when not asked
    bool frontFillsMonitor;      // the window in front on the strip's monitor fills it (see fillsMonitor)
    bool cursorHidden;           // the system's pointer is hidden: a game with mouse-look or a pointer of its own
    bool frontHasTheKeyboard;    // the window in front there is the foreground's (its thread's pointer is the one read)
};

enum AsideReason {
    ASIDE_NONE,
    ASIDE_PAUSED,
    ASIDE_LISTED,
    ASIDE_FULL_SCREEN,  // the system reports an exclusive full-screen program or a presentation
    ASIDE_GAME,         // a window fills the monitor and hides the pointer
};

// Why the strip stands aside, the first reason that holds in this order.
AsideReason asideReason(const StandAsideFacts& facts);
bool standsAside(const StandAsideFacts& facts);

// How an event reaches a strip.
enum EventAccess {
    EVENT_AS_IS,
    EVENT_AS_IF_AWAY,  // the pointer counts as off the strip: a running delay ends, a lit strip goes out
    EVENT_DROPPED,
};

// A strip out of the way (standing aside, or with nothing over its taskbar's
// edge) drops its hit tests, polls and clicks, and its timers see the
// pointer away; the shortcut goes through.
EventAccess eventAccess(TriggerEvent event, bool outOfTheWay);

// The system is asked (the user's state, and whether the pointer shows) only
// while the setting is on and a window filling its monitor is in front: once
// when it came to the front, then at each poll (a game can enter or leave
// exclusive mode, or hide the pointer, in the same window). Never at a hit
// test otherwise.
bool askNotificationState(bool avoidFullScreen, bool frontFillsItsMonitor, bool frontChanged, bool atPoll);
