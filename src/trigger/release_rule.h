// Where the released taskbar goes in the z-order. No windows.h: tested on the host.
#pragma once

#include "trigger/geometry.h"

enum ReleasePlacement {
    RELEASE_LEAVE,        // stays where it is
    RELEASE_TO_BOTTOM,    // below every window
    RELEASE_BELOW_COVER,  // back below the always-on-top window that covered it
    RELEASE_TOP_OF_BAND,  // at the top of the always-on-top windows
};

// What was true of the taskbar when the raise began, and what is true now.
struct ReleaseFacts {
    bool sendBackAfterUse;   // the user wants the taskbar back where it was
    bool taskbarForeground;  // the user is working in the taskbar: leave it be
    bool wasTopmost;         // the taskbar was always on top before the raise
    bool coverStillTopmost;  // the window that lay right above it then still exists and is always on top
    // What covered the taskbar then was an ordinary window: a shell that
    // keeps its taskbar always on top had taken it out of that band for a
    // full-screen window, and puts it back once the foreground moves on.
    bool coverWasOrdinary;
    bool foregroundFillsMonitor;  // the foreground window now covers the taskbar's monitor
};

// Sending an always-on-top taskbar to the bottom would strip it of its
// always-on-top style for good, so such a taskbar goes back into its band.
// One that the shell had let an ordinary window cover goes back behind only
// while a full-screen window is still in front; otherwise the shell keeps it
// where it is now.
ReleasePlacement releasePlacement(const ReleaseFacts& facts);

// Whether a window covers a monitor the way a full-screen one does: its
// window rectangle contains the monitor's, or, for a window with a caption or
// a sizing frame (`framed`), its client rectangle on the screen does. A
// maximised window leaves the taskbar's band of the monitor free.
bool fillsMonitor(const Rect& window, const Rect& client, bool framed, const Rect& monitor);

// What is known of a window other than the taskbar, to tell whether the
// shell showed it from the taskbar (a thumbnail, a jump list, Start, search,
// a flyout of the notification area).
struct WindowKin {
    bool taskbarProcess;  // it belongs to the taskbar's process
    bool ownedByTaskbar;  // the taskbar owns it
    bool fillsMonitor;    // it covers the taskbar's monitor (see fillsMonitor)
    // Its process's image path and the taskbar process's, null when unknown.
    const wchar_t* image;
    const wchar_t* taskbarImage;
};

// The shell's own hosts of Start, search and the flyouts count whatever they
// show. Otherwise a window of the taskbar's process, of a process with the
// same image (the shell may run its folder windows apart) or owned by the
// taskbar counts, unless it fills the monitor: that is a window the user
// works in (a folder window in full screen, the desktop itself).
bool shownByShell(const WindowKin& kin);

// Whether a raised taskbar is released at this poll: once the pointer is off
// it and off whatever the shell showed from it, none of which has the
// foreground, and, when the keyboard shortcut raised it and gave it the
// foreground, not before the user has left it (the foreground went elsewhere).
struct ReleaseTiming {
    bool pointerOnTaskbar;
    bool raisedByKeyboard;
    bool taskbarForeground;
    bool pointerOnShellWindow;  // over a window the shell showed (shownByShell)
    bool shellForeground;       // such a window, not the taskbar itself, has the foreground
};
bool releaseDue(const ReleaseTiming& timing);
