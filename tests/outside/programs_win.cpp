// Starting and ending programs, finding their windows and the program's
// dialogs, and the program's settings in the registry.
#include "outside/outside.h"

#include <stdio.h>

#include <vector>

namespace outside {

namespace {

const DWORD TERMINATED_EXIT_CODE = 0xDEAD;
const int STRAY_CLOSE_ATTEMPTS = 8;

struct WindowQuery {
    DWORD pid;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK matchVisibleWindow(HWND window, LPARAM param) {
    WindowQuery* query = reinterpret_cast<WindowQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->pid || !IsWindowVisible(window))
        return TRUE;
    if (query->className != nullptr && className(window) != query->className)
        return TRUE;
    if (query->title != nullptr && windowText(window) != query->title)
        return TRUE;
    query->found = window;
    return FALSE;
}

void terminate(HANDLE process) {
    TerminateProcess(process, TERMINATED_EXIT_CODE);
    WaitForSingleObject(process, EXIT_BOUND_MS);
}

}  // namespace

std::string besideDriver(const char* exeName) {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, length);
    size_t slash = full.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : full.substr(0, slash + 1)) + exeName;
}

bool startProgram(const char* exeName, Program& program, bool activate) {
    const std::string path = besideDriver(exeName);
    wchar_t widePath[MAX_PATH] = {};
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) == 0)
        return false;
    return startProgramAt(widePath, program, activate);
}

bool startProgramAt(const std::wstring& path, Program& program, bool activate, const std::wstring& arguments) {
    std::wstring line = L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = activate ? 0 : STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNOACTIVATE;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(path.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    program.process = info.hProcess;
    program.pid = info.dwProcessId;
    program.window = nullptr;
    return true;
}

HWND findWindowOf(DWORD pid, const char* wantedClass, const char* title) {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, wantedClass, title)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == pid)
            return found;
    }
    return nullptr;
}

HWND waitForWindow(Program& program, const char* wantedClass, const char* title, DWORD boundMs) {
    waitUntil(
        [&] {
            program.window = findWindowOf(program.pid, wantedClass, title);
            return program.window != nullptr || !isRunning(program);
        },
        boundMs);
    return program.window;
}

bool isRunning(const Program& program) {
    return program.process != nullptr && WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT;
}

bool waitForExit(const Program& program, DWORD boundMs, DWORD* exitCode) {
    if (program.process == nullptr || WaitForSingleObject(program.process, boundMs) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(program.process, &code);
    if (exitCode != nullptr)
        *exitCode = code;
    return true;
}

bool stopProgram(Program& program, DWORD* exitCode) {
    if (program.process == nullptr)
        return true;
    bool endedByItself = true;
    if (isRunning(program)) {
        HWND window = program.window != nullptr ? program.window
                                                : findWindowOf(program.pid, PENDREL_TRIGGER_CLASS, nullptr);
        if (window != nullptr)
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (window == nullptr || WaitForSingleObject(program.process, EXIT_BOUND_MS) != WAIT_OBJECT_0) {
            endedByItself = false;
            terminate(program.process);
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(program.process, &code);
    if (exitCode != nullptr)
        *exitCode = code;
    CloseHandle(program.process);
    program.process = nullptr;
    program.window = nullptr;
    return endedByItself;
}

void closeAllOf(const char* wantedClass) {
    for (int attempt = 0; attempt < STRAY_CLOSE_ATTEMPTS; ++attempt) {
        HWND stray = FindWindowA(wantedClass, nullptr);
        if (stray == nullptr)
            return;
        DWORD pid = 0;
        GetWindowThreadProcessId(stray, &pid);
        PostMessageA(stray, WM_CLOSE, 0, 0);
        if (waitUntil([&] { return !IsWindow(stray); }, EXIT_BOUND_MS))
            continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (process != nullptr) {
            terminate(process);
            CloseHandle(process);
        }
    }
}

HWND findVisibleWindow(DWORD pid, const char* wantedClass, const char* title) {
    WindowQuery query = {pid, wantedClass, title, nullptr};
    EnumWindows(matchVisibleWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::string windowText(HWND window) {
    char text[256] = {};
    int length = GetWindowTextA(window, text, sizeof(text));
    return std::string(text, length > 0 ? length : 0);
}

std::string className(HWND window) {
    char name[256] = {};
    int length = GetClassNameA(window, name, sizeof(name));
    return std::string(name, length > 0 ? length : 0);
}

RECT windowRect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string describe(const RECT& r) {
    char text[96];
    snprintf(text, sizeof(text), "(%ld, %ld, %ld, %ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

bool roundTripTo(HWND window, DWORD boundMs) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, boundMs, &answer) != 0;
}

HWND openDialog(const Program& pendrel, UINT command, const char* title) {
    PostMessageA(pendrel.window, WM_COMMAND, command, 0);
    HWND dialog = nullptr;
    waitUntil([&] { return (dialog = findVisibleWindow(pendrel.pid, PENDREL_DIALOG_CLASS, title)) != nullptr; },
              EFFECT_BOUND_MS, FINE_STEP_MS);
    return dialog;
}

HWND openAbout(const Program& pendrel) {
    return openDialog(pendrel, IDM_ABOUT, PENDREL_ABOUT_TITLE);
}

bool closeDialog(HWND dialog, UINT message, WPARAM wParam) {
    PostMessageA(dialog, message, wParam, 0);
    return waitUntil([&] { return !IsWindow(dialog); }, EFFECT_BOUND_MS, FINE_STEP_MS);
}

long countShownInAbout(HWND about) {
    const std::string text = windowText(GetDlgItem(about, IDC_COUNTER_LABEL));
    const std::string format = PENDREL_COUNTER_FORMAT;
    const size_t field = format.find("%lu");
    const std::string before = format.substr(0, field);
    const std::string after = format.substr(field + 3);
    size_t at = before.size();
    if (text.compare(0, at, before) != 0 || at >= text.size() || text[at] < '0' || text[at] > '9')
        return -1;
    long count = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        count = count * 10 + (text[at] - '0');
    return text.compare(at, std::string::npos, after) == 0 ? count : -1;
}

void deleteSettingsKey() {
    RegDeleteKeyA(HKEY_CURRENT_USER, PENDREL_REGISTRY_KEY);
}

bool writeSetting(const char* name, const char* text) {
    return writeRawSetting(name, REG_SZ, std::string(text, lstrlenA(text) + 1));
}

bool writeRawSetting(const char* name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, PENDREL_REGISTRY_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    // The system counts a text's NUL in when the caller left it out and one
    // follows the data in memory: a byte that is not NUL follows ours.
    std::string buffer = bytes + 'x';
    LONG result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(buffer.data()),
                                 static_cast<DWORD>(bytes.size()));
    // Read back: the stored count must be the one asked for.
    std::vector<BYTE> stored(bytes.size() + 16);
    DWORD size = static_cast<DWORD>(stored.size());
    if (result == ERROR_SUCCESS)
        result = RegQueryValueExA(key, name, nullptr, nullptr, stored.data(), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && size == bytes.size();
}

std::string readSetting(const char* name) {
    char text[64] = {};
    DWORD size = sizeof(text) - 1;  // room for a NUL the stored text may lack
    if (RegGetValueA(HKEY_CURRENT_USER, PENDREL_REGISTRY_KEY, name, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return std::string();
    return text;
}

}  // namespace outside
