// The look down the z-order: what covers each strip's band, where a strip
// goes to lie over it, and which window is in front on a strip's monitor.
#pragma once
#include <windows.h>

#include "desktop/zorder_rules.h"

// One strip's questions, and the look's answers.
struct BandLook {
    HWND strip;
    HWND taskbar;
    RECT band;
    RECT monitor;
    HMONITOR monitorHandle;
    bool wantFront;  // look for the window in front on its monitor too

    EdgeLook edge;
    HWND anchor;    // for a buried strip: the window it goes right below, or HWND_TOPMOST
    HWND topCover;  // the first window from the top that covers its band, or null
    HWND front;     // the window in front on its monitor, when wanted; null for none
};

// One look from the top of the z-order down for every strip at once. The
// windows of `looks` are the program's strips and the taskbars; with
// `countTopmost` false, always-on-top windows do not count as covers.
void lookDownTheZOrder(BandLook* looks, size_t count, bool countTopmost);

// The nearest window above a strip's taskbar that covers part of the
// taskbar, counted as the look counts covers (always-on-top ones too); null
// for none.
HWND coverAbove(const BandLook* looks, size_t count, size_t which);
// The windows above a strip's taskbar that cover `area`, counted as the
// look counts covers, the nearest to the taskbar first: at most `capacity`
// of them in `found`, and how many that is.
size_t coversAbove(const BandLook* looks, size_t count, size_t which, const RECT& area, bool countTopmost,
                   HWND* found, size_t capacity);
