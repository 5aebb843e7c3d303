// When the poll reads the pointer. Reading it is a question to the display
// (an X server round trip under Wine), so an idle poll leaves it alone: the
// strips hear of a pointer that comes to them from their own hit tests. No
// windows.h: tested on the host.
#pragma once

struct PointerWatchFacts {
    bool taskbarRaised;  // a raise waits for the pointer to leave the taskbar
    bool timerRunning;   // a delay or a highlight runs on a strip
    bool pointerOnStrip;  // a hit test came to a strip, and no reading since saw the pointer off it
    // A strip was lifted back over another window, or moved or laid again,
    // since the pointer was last read: it may have missed the hit tests of
    // a pointer that did not move.
    bool pointerUnseen;
    // A mouse button is held: a drag hands the pointer's moves to the window
    // that took the pointer, and no hit test reaches a strip.
    bool buttonHeld;
    bool inMenuLoop;  // the context menu is open: only a release looks at the pointer then
};

bool pointerReadDue(const PointerWatchFacts& facts);
