#include "app/hot_key.h"

#include "resources/constants.h"
#include "settings/setting_rules.h"

HotKeyRegistration hotKeyRegistration(uint32_t stored) {
    const uint32_t flags = (stored >> 8) & 0xFFu;
    HotKeyRegistration registration = {hotKeyUsable(stored), HOT_KEY_MOD_NOREPEAT, stored & 0xFFu};
    if (flags & HOT_KEY_FLAG_ALT)
        registration.modifiers |= HOT_KEY_MOD_ALT;
    if (flags & HOT_KEY_FLAG_CONTROL)
        registration.modifiers |= HOT_KEY_MOD_CONTROL;
    if (flags & HOT_KEY_FLAG_SHIFT)
        registration.modifiers |= HOT_KEY_MOD_SHIFT;
    return registration;
}

// Values that differ only in the extended-key flag register the same keys.
static bool sameCombination(uint32_t a, uint32_t b) {
    const HotKeyRegistration first = hotKeyRegistration(a);
    const HotKeyRegistration second = hotKeyRegistration(b);
    return first.modifiers == second.modifiers && first.virtualKey == second.virtualKey;
}

HotKeyStep hotKeyStep(uint32_t held, uint32_t chosen) {
    if (!hotKeyUsable(chosen))
        return held != 0 ? HOT_KEY_RELEASE : HOT_KEY_KEEP;
    if (held != 0 && sameCombination(held, chosen))
        return HOT_KEY_KEEP;
    return HOT_KEY_TAKE;
}
