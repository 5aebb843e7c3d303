#include "app/hot_key.h"

#include "resources/constants.h"

HotKeyRegistration hotKeyRegistration(uint32_t stored) {
    const uint32_t key = stored & 0xFFu;
    const uint32_t flags = (stored >> 8) & 0xFFu;
    HotKeyRegistration registration = {key != 0, 0, key};
    if (flags & HOT_KEY_FLAG_ALT)
        registration.modifiers |= HOT_KEY_MOD_ALT;
    if (flags & HOT_KEY_FLAG_CONTROL)
        registration.modifiers |= HOT_KEY_MOD_CONTROL;
    if (flags & HOT_KEY_FLAG_SHIFT)
        registration.modifiers |= HOT_KEY_MOD_SHIFT;
    return registration;
}
