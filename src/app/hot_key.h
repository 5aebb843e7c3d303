// The stored shortcut as RegisterHotKey takes it. No windows.h: tested on the host.
#pragma once

#include <stdint.h>

struct HotKeyRegistration {
    bool wanted;  // a key was chosen: the stored value names a virtual key
    uint32_t modifiers;  // MOD_ALT, MOD_CONTROL, MOD_SHIFT
    uint32_t virtualKey;
};

// From the hot-key control's value (virtual key in the low byte, HOTKEYF_
// flags in the high byte). HOTKEYF_EXT only says the key lies in the grey
// block; it is no modifier and is dropped. A value without a virtual key
// (0, or modifiers alone) is no shortcut.
HotKeyRegistration hotKeyRegistration(uint32_t stored);
