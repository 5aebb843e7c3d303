#include "trigger/strip_look.h"

#include "resources/constants.h"

StripLook stripLook(uint32_t exStyle, bool composited, bool shown) {
    StripLook look = {exStyle & ~EX_STYLE_LAYERED, false, STRIP_ALPHA_SHOWN};
    if (composited) {
        look.exStyle = (exStyle | EX_STYLE_LAYERED) & ~EX_STYLE_TRANSPARENT;
        look.layered = true;
        look.alpha = shown ? STRIP_ALPHA_SHOWN : STRIP_ALPHA_HIDDEN;
    } else if (shown) {
        look.exStyle &= ~EX_STYLE_TRANSPARENT;
    } else {
        look.exStyle |= EX_STYLE_TRANSPARENT;
    }
    return look;
}
