#include "settings/settings_store.h"

#include "resources/program.h"
#include "resources/resource.h"
#include "settings/decimal.h"
#include "settings/program_list.h"
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
    &Settings::avoidFullScreen,
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

// The list of programs is text of its own kind: wide, so that names outside
// the ANSI code page survive, and only as REG_SZ.
enum StoredList { LIST_ABSENT, LIST_TAKEN, LIST_REFUSED };

StoredList readStoredList(HKEY key, const WCHAR* name, WCHAR (&list)[NEVER_OVER_MAX_CHARS + 1]) {
    WCHAR data[NEVER_OVER_MAX_CHARS + 1];
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    const LONG read = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    if (read == ERROR_FILE_NOT_FOUND)
        return LIST_ABSENT;
    size_t length = 0;
    if (read != ERROR_SUCCESS || type != REG_SZ || !acceptStoredList(data, size / sizeof(WCHAR), &length))
        return LIST_REFUSED;
    CopyMemory(list, data, length * sizeof(WCHAR));
    list[length] = L'\0';
    return LIST_TAKEN;
}

void loadListName(WCHAR (&name)[TEXT_BUFFER_SIZE]) {
    name[0] = L'\0';
    LoadStringW(programState().instance, IDS_REG_NEVER_OVER, name, TEXT_LOAD_SIZE);
}

void loadNeverOver(HKEY key) {
    WCHAR name[TEXT_BUFFER_SIZE];
    loadListName(name);
    readStoredList(key, name, neverOverList().names);
}

// A stored value that was not taken (another type, too long) stays as it is
// while the list is empty: it was ignored, and is not replaced behind the
// user's back.
void saveNeverOver(HKEY key) {
    WCHAR name[TEXT_BUFFER_SIZE];
    loadListName(name);
    const WCHAR* list = neverOverList().names;
    WCHAR stored[NEVER_OVER_MAX_CHARS + 1];
    if (list[0] == L'\0' && readStoredList(key, name, stored) == LIST_REFUSED)
        return;
    const DWORD bytes = static_cast<DWORD>((lstrlenW(list) + 1) * sizeof(WCHAR));
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(list), bytes);
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
    loadNeverOver(key);
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
    saveNeverOver(key);
    RegCloseKey(key);
}
