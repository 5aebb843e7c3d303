#include <gtest/gtest.h>

#include "app/hot_key.h"

namespace {

// Values as the hot-key control gives them: the virtual key in the low byte,
// HOTKEYF_SHIFT 1, CONTROL 2, ALT 4, EXT 8 in the high byte; RegisterHotKey
// takes MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_NOREPEAT 0x4000.
TEST(HotKey, ControlValueToRegisterHotKey) {
    struct Case {
        uint32_t stored;
        bool wanted;
        uint32_t modifiers;
        uint32_t key;
    } cases[] = {
        {1620, true, 0x4003, 'T'},     // Ctrl+Alt+T
        {0x0254, true, 0x4002, 'T'},   // Ctrl+T
        {0x0454, true, 0x4001, 'T'},   // Alt+T
        {0x0354, true, 0x4006, 'T'},   // Ctrl+Shift
        {0x0554, true, 0x4005, 'T'},   // Alt+Shift
        {0x0754, true, 0x4007, 'T'},   // all three
        {0x0E25, true, 0x4003, 0x25},  // Ctrl+Alt+Left: the extended-key flag is no modifier
        {0x06FF, true, 0x4003, 0xFF},
        {0xF654, true, 0x4003, 'T'},   // flags the control never gives are ignored
        // Without Ctrl or Alt the key would be taken from every program.
        {0x0154, false, 0, 0},         // Shift+T
        {0x0054, false, 0, 0},         // T alone
        {0x0070, false, 0, 0},         // F1 alone
        {0x0825, false, 0, 0},         // Left, an extended key
        {0xF054, false, 0, 0},
        {0, false, 0, 0},              // none
        {0x0600, false, 0, 0},         // modifiers without a key
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

// A new combination is taken before the held one goes; the same keys are
// kept as they are.
TEST(HotKey, FromTheHeldShortcutToTheChosenOne) {
    struct Case {
        uint32_t held;
        uint32_t chosen;
        HotKeyStep step;
    } cases[] = {
        {0, 0, HOT_KEY_KEEP},
        {0, 1620, HOT_KEY_TAKE},       // the first, or one refused before and tried again
        {1620, 1620, HOT_KEY_KEEP},
        {1620, 0x0E54, HOT_KEY_KEEP},  // the extended-key flag changes no keys
        {1620, 0x0659, HOT_KEY_TAKE},  // Ctrl+Alt+Y
        {1620, 0x0254, HOT_KEY_TAKE},  // Alt dropped
        {1620, 0, HOT_KEY_RELEASE},
        {1620, 0x0154, HOT_KEY_RELEASE},  // Shift+T is no shortcut
    };
    for (const Case& c : cases)
        EXPECT_EQ(hotKeyStep(c.held, c.chosen), c.step) << c.held << " to " << c.chosen;
}

}  // namespace
