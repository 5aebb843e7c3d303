// Arbitrary stored text through the shortcut's reading: the decimal reading,
// the stored value's rule, and the registration the main window makes of it.
// The bytes sit in a heap buffer of exactly the given size. Checked whatever
// the text: the value kept fits the control's 16 bits and is written back as
// the same number; a registration holds the value's key with Ctrl or Alt,
// their modifiers and MOD_NOREPEAT, and nothing else; what the main window
// does with it follows from whether it is a shortcut.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <memory>

#include "app/hot_key.h"
#include "settings/decimal.h"
#include "settings/setting_rules.h"

namespace {

// MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_NOREPEAT 0x4000; the control's
// flags are Shift 1, Ctrl 2, Alt 4 (0x6: Ctrl or Alt).
const uint32_t ALT = 0x1, CONTROL = 0x2, SHIFT = 0x4, NO_REPEAT = 0x4000;

uint32_t readBack(uint32_t value) {
    char text[STORED_TEXT_MAX + 1];
    const size_t length = formStoredText(RULE_HOT_KEY, value, text, sizeof text);
    return acceptStoredNumber(RULE_HOT_KEY, readDecimal(text, length), 0x5A5A5);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> exact(new char[size]);
    if (size > 0)
        memcpy(exact.get(), data, size);
    const uint32_t stored = acceptStoredNumber(RULE_HOT_KEY, readDecimal(exact.get(), size), 0);
    if (stored > 0xFFFF || readBack(stored) != stored)
        abort();

    const HotKeyRegistration key = hotKeyRegistration(stored);
    const uint32_t flags = stored >> 8;
    const bool withCtrlOrAlt = (flags & 0x6) != 0 && (stored & 0xFF) != 0;
    if (key.wanted != withCtrlOrAlt)
        abort();
    const uint32_t others = key.modifiers & ~(NO_REPEAT | ALT | CONTROL | SHIFT);
    if (key.wanted && (key.virtualKey != (stored & 0xFF) || (key.modifiers & NO_REPEAT) == 0 ||
                       (key.modifiers & (ALT | CONTROL)) == 0 || others != 0))
        abort();

    // Nothing held: a shortcut is taken, anything else leaves nothing held.
    // Held: the same value is kept, none lets it go.
    if (hotKeyStep(0, stored) != (key.wanted ? HOT_KEY_TAKE : HOT_KEY_KEEP))
        abort();
    if (key.wanted && (hotKeyStep(stored, stored) != HOT_KEY_KEEP || hotKeyStep(stored, 0) != HOT_KEY_RELEASE))
        abort();
    return 0;
}
