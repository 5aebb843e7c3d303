#include "settings/sign_in.h"

#include <windows.h>

#include "resources/constants.h"
#include "resources/names.h"
#include "settings/run_value.h"

// Paths and the Run value go through the wide functions end to end: the
// narrow ones replace every character outside the ANSI code page, so a
// folder named "Łódź" would be written, and read back, as another one. The
// text lives in char16_t buffers, which the system reads and writes as its
// wide text.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "the system's wide text is UTF-16");

namespace {

const wchar_t VALUE_NAME[] = L"" PENDREL_RUN_VALUE;

// A path can be 32767 characters long: the texts of one question about the
// start live here rather than on the stack. One set serves, as the program
// has one thread and no question runs inside another.
struct SignInTexts {
    char16_t path[PROGRAM_PATH_CAPACITY];  // this program's
    char16_t value[RUN_VALUE_CAPACITY];    // the Run value as the shell reads it
    char16_t raw[RUN_VALUE_CAPACITY];      // as stored, or as about to be stored
};
SignInTexts texts;

wchar_t* wide(char16_t* text) {
    return reinterpret_cast<wchar_t*>(text);
}

// The program's own full path, whatever its length; false only when the
// system cuts it.
bool programPath(char16_t (&path)[PROGRAM_PATH_CAPACITY]) {
    const DWORD length = GetModuleFileNameW(nullptr, wide(path), PROGRAM_PATH_CAPACITY);
    return length != 0 && length < PROGRAM_PATH_CAPACITY;
}

// Pendrel's value under the key; false when it is absent or longer than `capacity` bytes.
bool queryValue(const wchar_t* keyPath, void* data, DWORD capacity, DWORD* size, DWORD* type) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    *size = capacity;
    const LONG result = RegQueryValueExW(key, VALUE_NAME, nullptr, type, static_cast<BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void deleteValue(const wchar_t* keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, VALUE_NAME);
    RegCloseKey(key);
}

// The Run value's text, NUL-terminated; environment strings of an expandable
// value are expanded, as the shell does when it starts the programs.
bool readRunValue(char16_t (&text)[RUN_VALUE_CAPACITY]) {
    char16_t(&data)[RUN_VALUE_CAPACITY] = texts.raw;
    DWORD type = 0;
    DWORD size = 0;
    // One character is kept for a NUL the stored text may lack.
    if (!queryValue(RUN_KEY_PATH, data, (RUN_VALUE_CAPACITY - 1) * sizeof(char16_t), &size, &type) ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    data[size / sizeof(char16_t)] = u'\0';
    if (type == REG_SZ) {
        lstrcpynW(wide(text), wide(data), RUN_VALUE_CAPACITY);
        return true;
    }
    const DWORD expanded = ExpandEnvironmentStringsW(wide(data), wide(text), RUN_VALUE_CAPACITY);
    return expanded != 0 && expanded <= RUN_VALUE_CAPACITY;
}

void writeRunValue(const char16_t* path) {
    char16_t(&text)[RUN_VALUE_CAPACITY] = texts.raw;
    const size_t length = formRunValue(path, text, RUN_VALUE_CAPACITY);
    if (length == 0)
        return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RUN_KEY_PATH, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    // The byte count includes the NUL.
    RegSetValueExW(key, VALUE_NAME, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((length + 1) * sizeof(char16_t)));
    RegCloseKey(key);
}

// Whether the user switched the start off in Task Manager or Settings, which
// leave the Run value in place.
bool switchedOffByUser() {
    BYTE data[STARTUP_ENTRY_CAPACITY];
    DWORD type = 0;
    DWORD size = 0;
    return queryValue(STARTUP_APPROVED_KEY_PATH, data, sizeof data, &size, &type) && type == REG_BINARY &&
           startupEntrySaysOff(data, size);
}

}  // namespace

bool startsAtSignIn() {
    return programPath(texts.path) && readRunValue(texts.value) && runValueNamesProgram(texts.value, texts.path) &&
           !switchedOffByUser();
}

// Failures are not reported: the box shows what the registry holds when the
// dialog opens again.
void setStartAtSignIn(bool start) {
    if (!programPath(texts.path))
        return;
    if (start) {
        writeRunValue(texts.path);
        // Without its entry the start counts as switched on.
        if (switchedOffByUser())
            deleteValue(STARTUP_APPROVED_KEY_PATH);
        return;
    }
    if (readRunValue(texts.value) && runValueNamesProgram(texts.value, texts.path)) {
        deleteValue(RUN_KEY_PATH);
        deleteValue(STARTUP_APPROVED_KEY_PATH);
    }
}
