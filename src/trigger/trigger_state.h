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

    // The monitor whose edge the taskbar lies along, and that edge, as the
    // strip was laid.
    RECT monitor = {};
    HMONITOR monitorHandle = nullptr;
    DWORD edge = 0;  // set when the strip is laid

    // The strip is shown and catches the pointer: a window covers the
    // taskbar's edge and nothing keeps the strip out of the way. Otherwise it
    // is hidden, and the pointer reaches the taskbar or the window below.
    LONG catching = 0;
    HWND topCover = nullptr;  // the highest window over the band at the last look
    // Why it kept out of the way of the window in front at the last look,
    // though something covers the edge (an AsideReason); 0 otherwise.
    LONG standingAside = 0;

    // Lifts over a window that puts itself back over the strip.
    HWND liftedOver = nullptr;
    DWORD liftsInARow = 0;
    LONG contactSinceLift = 0;
    LONG backOffStarted = 0;
    DWORD backOffUntil = 0;

    // The window in front on the strip's monitor, as last looked at.
    HWND front = nullptr;
    RECT frontRect = {};
    LONG frontFills = 0;   // it filled the monitor then
    LONG frontListed = 0;  // its program is on the user's list
    WCHAR frontProgram[PROGRAM_NAME_CAPACITY] = {};  // its program's file name, empty when unknown

    // The raise is checked a moment after it was made: the taskbar really in
    // front at its edge. Tried once more when it is not, then left alone for
    // this approach of the pointer.
    LONG verifyRetried = 0;
    LONG raiseBlocked = 0;  // until the pointer leaves the edge, or the shortcut
    DWORD raisesThisApproach = 0;  // counted likewise
};

// What became of the raises, for the tooltip and the report.
struct RaiseRecord {
    DWORD raises = 0;       // raises made since start, each activation counted once
    DWORD blocked = 0;      // raises another window stayed over
    LONG blockedNow = 0;    // the last such raise, with none verified since
    WCHAR blockedProgram[PROGRAM_NAME_CAPACITY] = {};  // the file name of the program that stayed over
    SYSTEMTIME blockedAt = {};                          // local time
};

typedef HRESULT(WINAPI* NotificationStateQuery)(QUERY_USER_NOTIFICATION_STATE* state);

// What the strips know of the windows in front: looked at again at each poll
// and when another window comes to the front.
struct FrontWatch {
    HWND foreground = nullptr;    // at the last look
    LONG pollLookDue = 0;         // a poll came since the last full look
    DWORD notificationState = 0;  // the system's answer while a window in front fills its monitor, else 0
    LONG cursorHidden = 0;        // the system's pointer was hidden then
    // Stands in for the system's SHQueryUserNotificationState when set (the
    // tests: Wine always answers that notifications are welcome).
    NotificationStateQuery query = nullptr;
};

extern Strip secondaryStripRecords[MAX_SECONDARY_STRIPS];

// The taskbars, their strips and where each activation stands.
struct TriggerState {
    Strip primary;
    // The first secondaryCount records are taken, some perhaps emptied: a
    // record emptied while a handler ran is taken out only once none runs.
    // They lie beside the state record (see secondaryStripRecords), which the
    // program file carries whole: they start empty, and cost nothing there.
    Strip* secondary = secondaryStripRecords;
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
    // The windows in front, for the strips that stand aside from them.
    FrontWatch front;
    RaiseRecord raises;
};

TriggerState& triggerState();

// A record of a strip that went has no window.
inline bool stripInUse(const Strip& strip) {
    return strip.window != nullptr;
}
