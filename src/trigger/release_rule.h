// Where the released taskbar goes in the z-order. No windows.h: tested on the host.
#pragma once

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
    bool frontFillsMonitor;  // the window in front on the taskbar's monitor now fills that monitor
};

// Sending an always-on-top taskbar to the bottom would strip it of its
// always-on-top style for good, so such a taskbar goes back into its band.
// One that the shell had let an ordinary window cover goes back behind only
// while a full-screen window is still in front; otherwise the shell keeps it
// where it is now.
ReleasePlacement releasePlacement(const ReleaseFacts& facts);

// Whether a raised taskbar is released at this poll: once the pointer is off
// it and off whatever the shell showed from it, none of which has the
// foreground, and, when the keyboard shortcut raised it and gave it the
// foreground, not before the user has left it (the foreground went elsewhere).
struct ReleaseTiming {
    bool pointerOnTaskbar;
    bool raisedByKeyboard;
    bool taskbarForeground;
    bool pointerOnShellWindow;  // over a window the shell showed (see shownByShell)
    bool shellForeground;       // such a window, not the taskbar itself, has the foreground
};
bool releaseDue(const ReleaseTiming& timing);
