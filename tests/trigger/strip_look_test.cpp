#include <gtest/gtest.h>

#include "trigger/strip_look.h"

namespace {

// Uncomposited only WS_EX_TRANSPARENT (0x20) follows the highlight; composited
// the strip is layered (0x80000) at opacity 1 or 255. Other bits stay.
TEST(StripLook, TransparentWithoutACompositorLayeredWithOne) {
    const uint32_t hidden = 0x080001B8, shown = 0x08000198, layered = 0x08080198;
    struct {
        uint32_t from;
        bool composited, shown;
        StripLook look;
    } cases[] = {
        {hidden, false, true, {shown, false, 255}},       {shown, false, false, {hidden, false, 255}},
        {hidden, true, false, {layered, true, 1}},        {layered, true, true, {layered, true, 255}},
        {layered, false, false, {hidden, false, 255}},    {0x080001A8, true, true, {0x08080188, true, 255}},
    };
    for (const auto& c : cases) {
        const StripLook look = stripLook(c.from, c.composited, c.shown);
        EXPECT_EQ(c.look.exStyle, look.exStyle) << std::hex << c.from << " " << c.composited << c.shown;
        EXPECT_EQ(c.look.layered, look.layered) << std::hex << c.from << " " << c.composited << c.shown;
        EXPECT_TRUE(!look.layered || c.look.alpha == look.alpha) << std::hex << c.from << " " << c.composited;
    }
}

}  // namespace
