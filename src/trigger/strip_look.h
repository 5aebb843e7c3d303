// How a strip shows nothing, or the highlight colour. No windows.h: tested on
// the host.
#pragma once

#include <stdint.h>

struct StripLook {
    uint32_t exStyle;  // the strip's extended style
    bool layered;      // its opacity is set (LWA_ALPHA) to `alpha`
    uint8_t alpha;
};

// Without a compositor the strip is transparent (WS_EX_TRANSPARENT: what lies
// below shows through) and opaque while shown. A compositor draws every
// window from what the window painted itself, so there a strip that paints
// nothing would show as an undefined band: it becomes a layered window, all
// but invisible while hidden (opacity 0 would let the pointer through, and
// the strip lives on its hit tests) and opaque while shown; WS_EX_TRANSPARENT
// goes, since with WS_EX_LAYERED it would make the strip click-through.
StripLook stripLook(uint32_t exStyle, bool composited, bool shown);
