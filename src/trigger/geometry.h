// Pure geometry of the trigger: which edge the taskbar is docked on, the strip
// it gets, and the pointer tests. No windows.h: tested on the host.
#pragma once

#include <stdint.h>

#include "desktop/rect.h"
#include "resources/constants.h"

int32_t clampToInt32(int64_t value);
// to - from without overflow, clamped to the int range (a width or height).
int32_t spanOf(int32_t from, int32_t to);

// The edge when the shell reported none and no auto-hide bar matched: bottom,
// unless the rectangle's corner sits just off the screen (rules A and B).
uint32_t edgeFromCorners(const Rect& taskbar, int32_t fullScreenWidth);

// The 4-pixel band of the taskbar on the side of its screen edge; an edge
// outside 0..3 gives the bottom band.
Rect stripForEdge(const Rect& taskbar, uint32_t edge, int32_t depth = STRIP_DEPTH);

// The edge of its monitor a secondary taskbar lies along: a long side along
// the top or bottom, a tall one along the left or right, on the side of the
// monitor's middle it lies on. An auto-hidden taskbar, mostly off its
// monitor, lies along the edge it hides behind.
uint32_t secondaryEdge(const Rect& taskbar, const Rect& monitor);

// Where to look for the monitor a secondary taskbar belongs to: the two ends
// of its short side, halfway along its length.
void edgeProbePoints(const Rect& taskbar, Point ends[2]);

// Of the monitors under those two points, the one whose edge the taskbar
// lies along: 0 for `first`, 1 for `second`. They are one monitor unless the
// taskbar lies across the border of two: an auto-hidden taskbar leaves a
// sliver on its own monitor and hides over the neighbour, so of two monitors
// the one that holds less of its short side (but some of it).
uint32_t edgeMonitorOf(const Rect& taskbar, const Rect& first, const Rect& second);

// The 4-pixel band inside the monitor along that edge, as long as the part of
// the taskbar on the monitor: on the taskbar's outer edge when it shows, on
// the monitor's edge where it hides.
Rect secondaryStrip(const Rect& taskbar, const Rect& monitor, uint32_t edge, int32_t depth = STRIP_DEPTH);

// A length in pixels at 96 DPI as many pixels cover the same physical length
// at `dpi`, rounded to the nearest (4 at 96 is 6 at 144, 8 at 192); a DPI of 0,
// unknown, leaves it as it is.
int32_t scaledForDpi(int32_t pixelsAt96, uint32_t dpi);

// The strip test is inclusive on all four sides, so it covers one pixel more
// to the right and below than the window itself; never past the strip's
// monitor, though: the pixel beyond is the next monitor's. A monitor of no
// area (not known) holds every point.
bool pointInStrip(const Rect& strip, const Rect& monitor, const Point& p);

// The pointer is still on the taskbar inside the rectangle grown by the
// release margin, with strict comparisons, and on the taskbar's monitor
// (known as above).
bool pointerOnTaskbar(const Rect& taskbar, const Rect& monitor, const Point& p, int32_t margin = RELEASE_MARGIN);

// A screen point as one message parameter: x in the low 16 bits, y in the high.
uint32_t packPosition(const Point& p);

// The order in which the edges are probed for an auto-hide bar.
extern const uint32_t AUTOHIDE_PROBE_ORDER[4];
