#pragma once
#include <windows.h>
#include <shellapi.h>

#include "resources/constants.h"

// One taskbar and the strip along its outer edge.
struct Strip {
    HWND window = nullptr;  // the strip's window; the TriggerWindow for the primary taskbar
    HWND taskbarWindow = nullptr;
    RECT lastTaskbarRect = {};  // as last seen: the shell's answer (primary), the window's own (secondary)
    RECT strip = {};
    DWORD dpi = 0;  // of the taskbar's monitor when the strip was laid; 0 before

    // Activation state.
    LONG taskbarRaised = 0;
    LONG delayPending = 0;
    LONG highlightShown = 0;
    // The keyboard shortcut raised the taskbar and gave it the foreground:
    // the release waits until the foreground has gone elsewhere.
    LONG raisedByKeyboard = 0;
    // The taskbar's place before the current raise, for its release.
    LONG taskbarWasTopmost = 0;
    HWND coverBeforeRaise = nullptr;
    LONG coverWasOrdinary = 0;  // that cover was not always on top

    // The pointer came onto the strip (its hit test), and no poll has seen
    // it off the strip since.
    LONG pointerOnStrip = 0;
};

typedef HRESULT(WINAPI* NotificationStateQuery)(QUERY_USER_NOTIFICATION_STATE* state);

// What the strips know of the window in front: looked at again when another
// window comes to the front, and at each poll.
struct FrontWatch {
    HWND window = nullptr;
    LONG listed = 0;              // its program is on the user's list
    DWORD notificationState = 0;  // the system's answer while it covers its monitor, else 0
    RECT rect = {};               // where it was when last measured
    LONG coversMonitor = 0;       // it then covered its own monitor
    LONG pollLookDue = 0;         // a poll came since the last full look
    // Stands in for the system's SHQueryUserNotificationState when set (the
    // tests: Wine always answers that notifications are welcome).
    NotificationStateQuery query = nullptr;
};

// The taskbars, their strips and where each activation stands.
struct TriggerState {
    Strip primary;
    // The first secondaryCount records are taken, some perhaps emptied: a
    // record emptied while a handler ran is taken out only once none runs.
    Strip secondary[MAX_SECONDARY_STRIPS];
    DWORD secondaryCount = 0;
    // Handlers running that may hold a strip's record: a warning box, or a
    // hit test handed to a taskbar, runs other messages inside them.
    LONG stripsHeld = 0;

    // What the last question to the shell saw, so that idle polls need not ask.
    HWND watchedTaskbar = nullptr;
    RECT watchedRect = {};
    LONG shellChangeAnnounced = 0;
    LONG lastAskUnanswered = 0;
    DWORD ticksSinceAsk = 0;
    // Polls still to look for the taskbar windows after a change, and
    // whether the strips of the other monitors were wanted at the last poll.
    DWORD searchesLeft = 0;
    LONG secondariesWanted = 0;
    LONG secondaryWentAway = 0;  // a kept secondary taskbar died or hid: the shell may be making others

    // A strip was lifted, moved or laid again since the pointer was last
    // read: the next poll reads it.
    LONG pointerUnseen = 0;

    // The desktop is composited: the strips are layered windows.
    LONG composited = 0;
    // The window in front, for the strips that stand aside from it.
    FrontWatch front;
};

TriggerState& triggerState();

// A record of a strip that went has no window.
inline bool stripInUse(const Strip& strip) {
    return strip.window != nullptr;
}
