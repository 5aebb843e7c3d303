// The system's rectangles and points as the pure decisions take them.
#pragma once
#include <windows.h>

#include "desktop/rect.h"

inline Rect toRect(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

inline RECT toRECT(const Rect& r) {
    RECT result = {r.left, r.top, r.right, r.bottom};
    return result;
}

inline Point toPoint(const POINT& p) {
    return Point{p.x, p.y};
}
