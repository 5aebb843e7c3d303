#include "settings/setting_rules.h"

#include "resources/constants.h"
#include "resources/resource.h"

const StoredSetting STORED_SETTINGS[STORED_SETTING_COUNT] = {
    {IDS_REG_DELAY_ENABLED, FIELD_DELAY_ENABLED, RULE_BOOLEAN},
    {IDS_REG_DELAY_MS, FIELD_DELAY_MS, RULE_DELAY},
    {IDS_REG_RESTART_ON_MOVE, FIELD_RESTART_DELAY_ON_MOVE, RULE_BOOLEAN},
    {IDS_REG_OVER_TOPMOST, FIELD_OVER_TOPMOST, RULE_BOOLEAN},
    {IDS_REG_SEND_BACK, FIELD_SEND_BACK_AFTER_USE, RULE_BOOLEAN},
    {IDS_REG_SHOW_ICON, FIELD_SHOW_TRAY_ICON, RULE_BOOLEAN},
    {IDS_REG_REMOVE_ICON, FIELD_REMOVE_ICON_AFTER_TIMEOUT, RULE_REMOVAL},
    {IDS_REG_HIGHLIGHT, FIELD_HIGHLIGHT, RULE_BOOLEAN},
    {IDS_REG_ALL_SCREENS, FIELD_ALL_SCREENS, RULE_BOOLEAN},
    {IDS_REG_HOT_KEY, FIELD_HOT_KEY, RULE_HOT_KEY},
    {IDS_REG_AVOID_FULL_SCREEN, FIELD_AVOID_FULL_SCREEN, RULE_BOOLEAN},
};

bool hotKeyUsable(uint32_t stored) {
    const uint32_t flags = (stored >> 8) & 0xFFu;
    return (stored & 0xFFu) != 0 && (flags & (HOT_KEY_FLAG_CONTROL | HOT_KEY_FLAG_ALT)) != 0;
}

uint32_t delayToStore(uint32_t typed) {
    if (typed < DELAY_MS_MIN_STORED)
        return DELAY_MS_MIN_STORED;
    return typed > DELAY_MS_MAX ? DELAY_MS_MAX : typed;
}

uint32_t acceptStoredNumber(SettingRule rule, int32_t number, uint32_t current) {
    switch (rule) {
    case RULE_BOOLEAN:
        return number == 1 ? current : 0;
    case RULE_DELAY:
        if (number >= static_cast<int32_t>(DELAY_MS_MIN_STORED) && number <= static_cast<int32_t>(DELAY_MS_MAX))
            return static_cast<uint32_t>(number);
        return current;
    case RULE_REMOVAL:
        return number != 0 ? 1 : current;
    case RULE_HOT_KEY:
        if (number >= 0 && number <= static_cast<int32_t>(HOT_KEY_STORED_MAX))
            return static_cast<uint32_t>(number);
        return current;
    }
    return current;
}

size_t formStoredText(SettingRule rule, uint32_t value, char* buffer, size_t size) {
    if (size <= STORED_TEXT_MAX) {
        if (size > 0)
            buffer[0] = '\0';
        return 0;
    }
    if (rule == RULE_BOOLEAN || rule == RULE_REMOVAL)
        value = value != 0 ? 1 : 0;
    // Digits come out lowest first; write them backwards, then move them up.
    char digits[STORED_TEXT_MAX];
    size_t length = 0;
    do {
        digits[length++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (size_t i = 0; i < length; ++i)
        buffer[i] = digits[length - 1 - i];
    buffer[length] = '\0';
    return length;
}
