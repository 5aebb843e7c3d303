// What lies where in the z-order, judged a window at a time from the top
// down: whether something covers a strip's band (so that the strip has to
// catch the pointer there), whether the strip lies under it, and which
// window is in front on a monitor. No windows.h: tested on the host.
#pragma once

#include "desktop/rect.h"

// What the look down the z-order reads of one window.
struct WindowFacts {
    bool strip;        // one of the program's strips
    bool ownStrip;     // the strip being asked about
    bool taskbar;      // a taskbar, of any monitor
    bool ownTaskbar;   // the taskbar of the strip asked about
    bool visible;
    bool cloaked;      // the compositor keeps it off the screen (another virtual desktop, a suspended app)
    bool minimised;
    bool topmost;
    bool shellWindow;  // something the shell shows from a taskbar (see shownByShell)
    bool onMonitor;    // it lies on the monitor asked about
    Rect rect;
};

// A window that lies over the band: visible, on the screen, overlapping it,
// and none of the program's strips, no taskbar and nothing the shell showed
// from one. Always-on-top windows count only with `countTopmost` (the strip
// is not to climb over them otherwise).
bool coversBand(const WindowFacts& window, const Rect& band, bool countTopmost);
// The same without what is dearer to read (cloaked, shown by the shell):
// false means the window cannot cover the band, whatever those are.
bool mayCoverBand(const WindowFacts& window, const Rect& band, bool countTopmost);

// Where a strip that lies under a window covering its band goes, so that it
// climbs over that window and nothing else: right below the window just
// above the cover, or, for a cover that is not always on top, right below
// the last always-on-top window (the strip stays in that band), or at the
// very top when no such window comes before.
enum EdgeAnchor {
    ANCHOR_NONE,
    ANCHOR_TOP,
    ANCHOR_BELOW_PREVIOUS,
    ANCHOR_BELOW_LAST_TOPMOST,
};

// One strip's look down the z-order, from the first window to its taskbar.
struct EdgeLook {
    bool ended;     // the strip's taskbar came: what lies below does not cover its edge
    bool ownSeen;   // the strip's own window came
    bool covered;   // a window above the taskbar covers the band
    bool buried;    // the first such window lies above the strip's own window
    EdgeAnchor anchor;  // for a buried strip, where it goes (as of the window that covers it)
    bool windowBefore;  // some window other than the strip came before
    bool topmostBefore; // an always-on-top one among them
};

// Takes the next window down the z-order into the look.
void lookAtWindow(EdgeLook& look, const WindowFacts& window, const Rect& band, bool countTopmost);

// The window in front on a monitor is the first from the top that is on it,
// visible and on the screen, and neither a strip nor a taskbar.
bool frontWindowCandidate(const WindowFacts& window);

// Whether a window covers a monitor the way a full-screen one does: its
// window rectangle contains the monitor's, or, for a window with a caption or
// a sizing frame (`framed`), its client rectangle on the screen does. A
// maximised window leaves the taskbar's band of the monitor free.
bool fillsMonitor(const Rect& window, const Rect& client, bool framed, const Rect& monitor);
