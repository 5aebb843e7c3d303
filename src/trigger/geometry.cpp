#include "trigger/geometry.h"

#include "resources/constants.h"

const uint32_t AUTOHIDE_PROBE_ORDER[4] = {EDGE_TOP, EDGE_LEFT, EDGE_RIGHT, EDGE_BOTTOM};

static bool justOffScreen(int32_t coordinate) {
    return coordinate < 0 && coordinate > -CORNER_SLACK;
}

uint32_t edgeFromCorners(const Rect& r, int32_t cx) {
    uint32_t edge = EDGE_BOTTOM;
    // A: the top-left corner just off the screen: a bar along the top when it
    // spans the screen, else along the left.
    if (justOffScreen(r.top) && justOffScreen(r.left)) {
        // 64-bit: a hostile rectangle must not overflow the width.
        int64_t width = (int64_t)r.right - r.left;
        edge = width >= cx ? EDGE_TOP : EDGE_LEFT;
    }
    // B overrides A: the top just off the screen and the right well past it.
    if (justOffScreen(r.top) && (int64_t)r.right >= (int64_t)cx - 1 && (int64_t)r.right > (int64_t)cx + CORNER_SLACK)
        edge = EDGE_RIGHT;
    return edge;
}

int32_t clampToInt32(int64_t value) {
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return (int32_t)value;
}

// The shell's rectangle can lie anywhere in the int range: the sums are made
// in 64 bits and the strip clamped to what a rectangle can hold.
Rect stripForEdge(const Rect& r, uint32_t edge, int32_t depth) {
    switch (edge) {
    case EDGE_LEFT: return Rect{r.left, r.top, clampToInt32((int64_t)r.left + depth), r.bottom};
    case EDGE_TOP: return Rect{r.left, r.top, r.right, clampToInt32((int64_t)r.top + depth)};
    case EDGE_RIGHT: return Rect{clampToInt32((int64_t)r.right - depth), r.top, r.right, r.bottom};
    default: return Rect{r.left, clampToInt32((int64_t)r.bottom - depth), r.right, r.bottom};
    }
}

int32_t spanOf(int32_t from, int32_t to) {
    return clampToInt32((int64_t)to - from);
}

static bool onMonitor(const Rect& monitor, const Point& p) {
    const bool known = monitor.left < monitor.right && monitor.top < monitor.bottom;
    return !known || rectHolds(monitor, p);
}

bool pointInStrip(const Rect& s, const Rect& monitor, const Point& p) {
    return s.left <= p.x && p.x <= s.right && s.top <= p.y && p.y <= s.bottom && onMonitor(monitor, p);
}

bool pointerOnTaskbar(const Rect& r, const Rect& monitor, const Point& p, int32_t margin) {
    // 64-bit so that a rectangle at the ends of the int range cannot wrap.
    return (int64_t)r.left - margin < p.x && (int64_t)p.x < (int64_t)r.right + margin &&
           (int64_t)r.top - margin < p.y && (int64_t)p.y < (int64_t)r.bottom + margin && onMonitor(monitor, p);
}

uint32_t packPosition(const Point& p) {
    return ((uint32_t)p.x & 0xFFFFu) | (((uint32_t)p.y & 0xFFFFu) << 16);
}

static int64_t doubled(int32_t a, int32_t b) {
    return (int64_t)a + b;
}

// A square taskbar counts as one along the top or bottom.
static bool lying(const Rect& t) {
    return (int64_t)t.right - t.left >= (int64_t)t.bottom - t.top;
}

uint32_t secondaryEdge(const Rect& t, const Rect& m) {
    // Middles compared at twice their value, so no rounding enters.
    if (lying(t))
        return doubled(t.top, t.bottom) < doubled(m.top, m.bottom) ? EDGE_TOP : EDGE_BOTTOM;
    return doubled(t.left, t.right) < doubled(m.left, m.right) ? EDGE_LEFT : EDGE_RIGHT;
}

static int32_t larger(int32_t a, int32_t b) {
    return a > b ? a : b;
}

static int32_t smaller(int32_t a, int32_t b) {
    return a < b ? a : b;
}

static int32_t halfway(int32_t a, int32_t b) {
    return clampToInt32(doubled(a, b) / 2);
}

// The last pixel before an exclusive end, without wrapping at the range's end.
static int32_t lastBefore(int32_t end) {
    return clampToInt32((int64_t)end - 1);
}

void edgeProbePoints(const Rect& t, Point ends[2]) {
    if (lying(t)) {
        ends[0] = Point{halfway(t.left, t.right), t.top};
        ends[1] = Point{halfway(t.left, t.right), lastBefore(t.bottom)};
    } else {
        ends[0] = Point{t.left, halfway(t.top, t.bottom)};
        ends[1] = Point{lastBefore(t.right), halfway(t.top, t.bottom)};
    }
}

static int64_t overlap(int32_t from, int32_t to, int32_t otherFrom, int32_t otherTo) {
    const int64_t span = (int64_t)smaller(to, otherTo) - larger(from, otherFrom);
    return span > 0 ? span : 0;
}

static int64_t shortSideOn(const Rect& t, const Rect& m) {
    return lying(t) ? overlap(t.top, t.bottom, m.top, m.bottom) : overlap(t.left, t.right, m.left, m.right);
}

// A point off every monitor is given the nearest, which may hold none of the
// taskbar: such a monitor is never its own.
uint32_t edgeMonitorOf(const Rect& t, const Rect& first, const Rect& second) {
    if (sameRect(first, second))
        return 0;
    const int64_t onFirst = shortSideOn(t, first), onSecond = shortSideOn(t, second);
    if (onSecond == 0)
        return 0;
    return onFirst == 0 || onSecond < onFirst ? 1 : 0;
}

Rect secondaryStrip(const Rect& t, const Rect& m, uint32_t edge, int32_t depth) {
    const int32_t left = larger(t.left, m.left), right = smaller(t.right, m.right);
    const int32_t top = larger(t.top, m.top), bottom = smaller(t.bottom, m.bottom);
    switch (edge) {
    case EDGE_LEFT: return Rect{m.left, top, clampToInt32((int64_t)m.left + depth), bottom};
    case EDGE_TOP: return Rect{left, m.top, right, clampToInt32((int64_t)m.top + depth)};
    case EDGE_RIGHT: return Rect{clampToInt32((int64_t)m.right - depth), top, m.right, bottom};
    default: return Rect{left, clampToInt32((int64_t)m.bottom - depth), right, m.bottom};
    }
}

int32_t scaledForDpi(int32_t pixelsAt96, uint32_t dpi) {
    if (dpi == 0)
        return pixelsAt96;
    return clampToInt32(((int64_t)pixelsAt96 * dpi + BASE_DPI / 2) / BASE_DPI);
}
