#include "settings/sign_in.h"

#include <windows.h>

#include "resources/constants.h"
#include "resources/names.h"
#include "settings/run_value.h"

namespace {

// The program's own full path; false when it does not fit a path buffer.
bool programPath(char (&path)[MAX_PATH]) {
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length != 0 && length < MAX_PATH;
}

// The Run value's text, NUL-terminated; environment strings of an expandable
// value are expanded, as the shell does when it starts the programs.
bool readRunValue(char (&text)[RUN_VALUE_CAPACITY]) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RUN_KEY_PATH, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char data[RUN_VALUE_CAPACITY];
    DWORD type = 0;
    // One byte is kept for a NUL the stored text may lack.
    DWORD size = RUN_VALUE_CAPACITY - 1;
    const LONG result = RegQueryValueExA(key, PENDREL_RUN_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    data[size] = '\0';
    if (type == REG_SZ) {
        lstrcpynA(text, data, RUN_VALUE_CAPACITY);
        return true;
    }
    const DWORD expanded = ExpandEnvironmentStringsA(data, text, RUN_VALUE_CAPACITY);
    return expanded != 0 && expanded <= RUN_VALUE_CAPACITY;
}

void writeRunValue(const char* path) {
    char text[RUN_VALUE_CAPACITY];
    const size_t length = formRunValue(path, text, sizeof text);
    if (length == 0)
        return;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, RUN_KEY_PATH, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    // The byte count includes the NUL.
    RegSetValueExA(key, PENDREL_RUN_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(length + 1));
    RegCloseKey(key);
}

void deleteRunValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RUN_KEY_PATH, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, PENDREL_RUN_VALUE);
    RegCloseKey(key);
}

}  // namespace

bool startsAtSignIn() {
    char path[MAX_PATH];
    char text[RUN_VALUE_CAPACITY];
    return programPath(path) && readRunValue(text) && runValueNamesProgram(text, path);
}

// Failures are not reported: the box shows what the Run key holds when the
// dialog opens again.
void setStartAtSignIn(bool start) {
    char path[MAX_PATH];
    if (!programPath(path))
        return;
    if (start) {
        writeRunValue(path);
        return;
    }
    char text[RUN_VALUE_CAPACITY];
    if (readRunValue(text) && runValueNamesProgram(text, path))
        deleteRunValue();
}
