// Direct access to the program's registry key for the Win32 tests of this
// folder: they set up raw values and read back exactly what was stored.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace registry_probe {

const char* const KEY_PATH = "Software\\Oxbrindle\\Marrowick";

// The value names as bytes of code page 1252, in the order they are
// stored, with the text each one gets from the start values.
struct NamedValue {
    const char* name;
    const char* startText;
};
const NamedValue VALUE_NAMES[11] = {
    {"Temporiser", "1"},
    {"ValeurTempo", "200"},
    {"RelanceTempo", "1"},
    {"DevantToujoursVisibles", "1"},
    {"RetourArri\xE8rePlan", "1"},
    {"VoirIcone", "1"},
    {"SupprimerIconeApresTempo", "0"},
    {"Surbrillance", "1"},
    {"TousLesEcrans", "1"},
    {"Raccourci", "0"},
    {"EviterPleinEcran", "1"},
};
// The list of programs, stored after them as wide text.
const char* const LIST_NAME = "JamaisDevant";

struct StoredValue {
    std::string name;  // ANSI bytes
    DWORD type = 0;
    std::string data;  // raw bytes
    bool operator==(const StoredValue& other) const {
        return name == other.name && type == other.type && data == other.data;
    }
};

inline void deleteKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, KEY_PATH);
}

inline bool keyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

inline LONG setRaw(const char* name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    // The registry adds a NUL to a string value whose count leaves it out
    // when a NUL follows in memory: a byte other than NUL after the data
    // keeps a value without NUL as it is.
    const std::string guarded = bytes + 'Z';
    result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(guarded.data()),
                            static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    return result;
}

// A text stored as REG_SZ with its NUL.
inline LONG setText(const char* name, const std::string& text) {
    return setRaw(name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

// Every value of the key, in the order the registry enumerates them.
inline std::vector<StoredValue> readAll() {
    std::vector<StoredValue> values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; ++index) {
        char name[1024];
        DWORD nameLength = sizeof name;
        BYTE data[4096];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        StoredValue value;
        value.name.assign(name, nameLength);
        value.type = type;
        value.data.assign(reinterpret_cast<const char*>(data), dataSize);
        values.push_back(value);
    }
    RegCloseKey(key);
    return values;
}

inline const StoredValue* findValue(const std::vector<StoredValue>& values, const std::string& name) {
    for (const StoredValue& value : values)
        if (value.name == name)
            return &value;
    return nullptr;
}

}  // namespace registry_probe
