// The stored shortcut as RegisterHotKey takes it, and how the main window
// moves from the shortcut it holds to a newly chosen one. No windows.h:
// tested on the host.
#pragma once

#include <stdint.h>

struct HotKeyRegistration {
    bool wanted;  // the stored value names a key with Ctrl or Alt
    uint32_t modifiers;  // MOD_ALT, MOD_CONTROL, MOD_SHIFT, and always MOD_NOREPEAT
    uint32_t virtualKey;
};

// From the hot-key control's value (virtual key in the low byte, HOTKEYF_
// flags in the high byte). HOTKEYF_EXT only says the key lies in the grey
// block; it is no modifier and is dropped. A value without a virtual key
// (0, or modifiers alone), or without Ctrl or Alt, is no shortcut.
HotKeyRegistration hotKeyRegistration(uint32_t stored);

enum HotKeyStep {
    HOT_KEY_KEEP,     // what is held (or nothing) is already the choice
    HOT_KEY_RELEASE,  // let the held one go: no shortcut is chosen
    HOT_KEY_TAKE,     // register the choice; only once it is taken, let the held one go
};

// `held` is the stored value whose combination is registered now, 0 when
// none is; `chosen` the value wanted from now on. A choice that was refused
// before is tried again: the other program may have let it go since.
HotKeyStep hotKeyStep(uint32_t held, uint32_t chosen);
