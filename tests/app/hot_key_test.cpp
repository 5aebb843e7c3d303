#include <gtest/gtest.h>

#include "app/hot_key.h"

namespace {

// Values as the hot-key control gives them: the virtual key in the low byte,
// HOTKEYF_SHIFT 1, CONTROL 2, ALT 4, EXT 8 in the high byte; RegisterHotKey
// takes MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4.
TEST(HotKey, ControlValueToRegisterHotKey) {
    struct Case {
        uint32_t stored;
        bool wanted;
        uint32_t modifiers;
        uint32_t key;
    } cases[] = {
        {1620, true, 0x3, 'T'},     // Ctrl+Alt+T
        {0x0154, true, 0x4, 'T'},   // Shift+T
        {0x0254, true, 0x2, 'T'},   // Ctrl+T
        {0x0454, true, 0x1, 'T'},   // Alt+T
        {0x0354, true, 0x6, 'T'},   // Ctrl+Shift
        {0x0554, true, 0x5, 'T'},   // Alt+Shift
        {0x0754, true, 0x7, 'T'},   // all three
        {0x0E25, true, 0x3, 0x25},  // Ctrl+Alt+Left: the extended-key flag is no modifier
        {0x0825, true, 0x0, 0x25},
        {0x0070, true, 0x0, 0x70},  // F1 alone
        {0x00FF, true, 0x0, 0xFF},
        {0xF054, true, 0x0, 'T'},   // flags the control never gives are ignored
        {0, false, 0, 0},           // none
        {0x0600, false, 0x3, 0},    // modifiers without a key
    };
    for (const Case& c : cases) {
        const HotKeyRegistration r = hotKeyRegistration(c.stored);
        EXPECT_EQ(r.wanted, c.wanted) << c.stored;
        if (c.wanted) {
            EXPECT_EQ(r.modifiers, c.modifiers) << c.stored;
            EXPECT_EQ(r.virtualKey, c.key) << c.stored;
        }
    }
}

}  // namespace
