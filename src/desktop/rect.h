// Screen rectangles and points, and the few questions every part asks of
// them. No windows.h: tested on the host.
#pragma once

#include <stdint.h>

struct Rect {
    int32_t left, top, right, bottom;  // right and bottom exclusive
};

struct Point {
    int32_t x, y;
};

bool sameRect(const Rect& a, const Rect& b);
// `outer` holds all of `inner` (edges may meet).
bool rectContains(const Rect& outer, const Rect& inner);
// The two share at least one pixel; an empty rectangle shares none.
bool rectsOverlap(const Rect& a, const Rect& b);
// The point is one of the rectangle's pixels (right and bottom exclusive).
bool rectHolds(const Rect& r, const Point& p);
