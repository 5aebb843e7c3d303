// Starting and ending the measured programs, finding their windows, and the
// program's settings in the registry.
#include "bench.h"

#include <stdio.h>

namespace bench {

namespace {

const DWORD TERMINATED_EXIT_CODE = 0xDEAD;

std::string exeDirectory() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, length);
    size_t slash = full.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

std::string className(HWND window) {
    char name[256] = {};
    int length = GetClassNameA(window, name, sizeof(name));
    return std::string(name, length > 0 ? length : 0);
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

}  // namespace

bool startProgram(const char* exeName, Program& program) {
    std::string path = exeDirectory() + exeName;
    std::string line = "\"" + path + "\"";
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        fprintf(stderr, "cannot start %s (error %lu)\n", path.c_str(), GetLastError());
        return false;
    }
    CloseHandle(info.hThread);
    program.process = info.hProcess;
    program.pid = info.dwProcessId;
    program.window = nullptr;
    return true;
}

HWND waitForWindow(Program& program, const char* wantedClass, const char* title, DWORD boundMs) {
    waitUntil(
        [&] {
            program.window = findWindowOf(program.pid, wantedClass, title);
            return program.window != nullptr || !isRunning(program);
        },
        boundMs, 25);
    return program.window;
}

bool isRunning(const Program& program) {
    return program.process != nullptr && WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT;
}

bool stopProgram(Program& program) {
    if (program.process == nullptr)
        return true;
    bool endedByItself = true;
    if (isRunning(program)) {
        if (program.window != nullptr)
            PostMessageA(program.window, WM_CLOSE, 0, 0);
        if (program.window == nullptr || WaitForSingleObject(program.process, EXIT_BOUND_MS) != WAIT_OBJECT_0) {
            endedByItself = false;
            TerminateProcess(program.process, TERMINATED_EXIT_CODE);
            WaitForSingleObject(program.process, EXIT_BOUND_MS);
        }
    }
    CloseHandle(program.process);
    program = Program{};
    return endedByItself;
}

void closeAllOf(const char* wantedClass) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        HWND window = FindWindowA(wantedClass, nullptr);
        if (window == nullptr)
            return;
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (waitUntil([&] { return !IsWindow(window); }, EXIT_BOUND_MS, 25))
            continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (process != nullptr) {
            TerminateProcess(process, TERMINATED_EXIT_CODE);
            WaitForSingleObject(process, EXIT_BOUND_MS);
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

void deleteSettingsKey() {
    RegDeleteKeyA(HKEY_CURRENT_USER, SETTINGS_KEY);
}

bool writeSetting(const char* name, const char* text) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 static_cast<DWORD>(lstrlenA(text) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

}  // namespace bench
