// The stored settings: which string names each value, which field it
// holds and how a number read from the registry is accepted. No windows.h:
// tested on the host.
#pragma once

#include <stddef.h>
#include <stdint.h>

// How a number read back is accepted, and how the value is written.
enum SettingRule {
    RULE_BOOLEAN,  // exactly 1 keeps the setting, any other number clears it
    RULE_DELAY,    // 1 to 2000 is taken, anything else keeps the setting
    RULE_REMOVAL,  // any nonzero number sets it, 0 keeps it
    RULE_HOT_KEY,  // 0 to 0xFFFF is taken, anything else keeps the setting
};

// The fields of Settings, named here without the Win32 types.
enum SettingField {
    FIELD_DELAY_ENABLED,
    FIELD_DELAY_MS,
    FIELD_RESTART_DELAY_ON_MOVE,
    FIELD_OVER_TOPMOST,
    FIELD_SEND_BACK_AFTER_USE,
    FIELD_SHOW_TRAY_ICON,
    FIELD_REMOVE_ICON_AFTER_TIMEOUT,
    FIELD_HIGHLIGHT,
    FIELD_ALL_SCREENS,
    FIELD_HOT_KEY,
    FIELD_AVOID_FULL_SCREEN,
    SETTING_FIELD_COUNT
};

struct StoredSetting {
    unsigned nameId;  // string-table entry holding the registry value name
    SettingField field;
    SettingRule rule;
};

const size_t STORED_SETTING_COUNT = 11;

// In the order the values are read and written. "RetourArrièrePlan" comes
// before "VoirIcone", against the order of their string numbers; existing
// keys were written in this order.
extern const StoredSetting STORED_SETTINGS[STORED_SETTING_COUNT];

// Whether a stored shortcut is one to take system-wide: a key with Ctrl or
// Alt. A bare key, or one with Shift alone, would be taken away from every
// program the user types in.
bool hotKeyUsable(uint32_t stored);

// The delay that the dialog stores for the number read from its box: one
// the stored-value rules accept, the nearest to it.
uint32_t delayToStore(uint32_t typed);

// The setting's new value after `number` was read for it.
uint32_t acceptStoredNumber(SettingRule rule, int32_t number, uint32_t current);

// Longest text formStoredText writes, without its NUL: ten digits.
const size_t STORED_TEXT_MAX = 10;

// Writes the value's stored text and a NUL into `buffer` and returns the text's
// length: "1" or "0" for a flag, the shortest decimal form for the delay and
// the shortcut.
// `size` must be more than STORED_TEXT_MAX; a smaller buffer gets an empty text.
size_t formStoredText(SettingRule rule, uint32_t value, char* buffer, size_t size);
