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
};

// Sending an always-on-top taskbar to the bottom would strip it of its
// always-on-top style for good, so such a taskbar goes back into its band.
ReleasePlacement releasePlacement(const ReleaseFacts& facts);

// Whether a raised taskbar is released at this poll: once the pointer is off
// it, and, when the keyboard shortcut raised it and gave it the foreground,
// not before the user has left it (the foreground went elsewhere).
struct ReleaseTiming {
    bool pointerOnTaskbar;
    bool raisedByKeyboard;
    bool taskbarForeground;
};
bool releaseDue(const ReleaseTiming& timing);
