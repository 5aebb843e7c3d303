#include "settings/settings_store.h"

#include "resources/program.h"
#include "resources/resource.h"
#include "settings/decimal.h"
#include "settings/setting_rules.h"
#include "settings/settings.h"

namespace {

// The Settings member behind each field of the stored table, in the order of
// SettingField.
DWORD Settings::* const SETTING_MEMBERS[SETTING_FIELD_COUNT] = {
    &Settings::delayEnabled,
    &Settings::delayMs,
    &Settings::restartDelayOnMove,
    &Settings::overTopmost,
    &Settings::sendBackAfterUse,
    &Settings::showTrayIcon,
    &Settings::removeIconAfterTimeout,
    &Settings::highlight,
    &Settings::allScreens,
    &Settings::hotKey,
};

DWORD& settingOf(const StoredSetting& stored) {
    return currentSettings().*SETTING_MEMBERS[stored.field];
}

void loadStoredValue(HKEY key, const StoredSetting& stored) {
    char name[TEXT_BUFFER_SIZE];
    loadText(stored.nameId, name);
    BYTE data[TEXT_BUFFER_SIZE];
    // The capacity is an in/out count, so it is set again before every query.
    // The type is not asked for: whatever is stored is read as text.
    DWORD size = REGISTRY_VALUE_CAPACITY;
    if (RegQueryValueExA(key, name, nullptr, nullptr, data, &size) != ERROR_SUCCESS)
        return;
    if (size > REGISTRY_VALUE_CAPACITY)
        return;
    DWORD& setting = settingOf(stored);
    setting = acceptStoredNumber(stored.rule, readDecimal(reinterpret_cast<const char*>(data), size), setting);
}

void saveStoredValue(HKEY key, const StoredSetting& stored) {
    char name[TEXT_BUFFER_SIZE];
    loadText(stored.nameId, name);
    char text[TEXT_BUFFER_SIZE];
    const size_t length = formStoredText(stored.rule, settingOf(stored), text, sizeof text);
    // The byte count includes the NUL.
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(length + 1));
}

}  // namespace

void loadSettings() {
    char path[TEXT_BUFFER_SIZE];
    loadText(IDS_REGISTRY_KEY, path);
    HKEY key = nullptr;
    // Full access, as the save asks for: a key we could only read counts as
    // missing, and every setting keeps its start value.
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    for (const StoredSetting& stored : STORED_SETTINGS)
        loadStoredValue(key, stored);
    RegCloseKey(key);
}

void saveSettings() {
    char path[TEXT_BUFFER_SIZE];
    loadText(IDS_REGISTRY_KEY, path);
    char noClass[] = "";
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return;
    // A failed write is not reported and does not stop the ones after it.
    for (const StoredSetting& stored : STORED_SETTINGS)
        saveStoredValue(key, stored);
    RegCloseKey(key);
}
