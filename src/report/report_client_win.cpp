#include "report/report.h"

#include "report/report_file.h"
#include "report/report_rules.h"
#include "resources/program.h"

namespace {

const char ON_CLIPBOARD_TEXT[] = "Pendrel's report is on the clipboard: paste it where you ask your question.";
const char FAILED_TEXT[] = "Pendrel could not write its report.\n\nUse: pendrel.exe /report [FILE]";
const unsigned PATH_CAPACITY = REPORT_PATH_MAX_CHARS + 1;

// The running copy writes what it sees; a copy started as administrator
// takes no such request from this one, and one that hangs is not waited for.
bool askRunningCopy(HWND running, const WCHAR* path, DWORD length) {
    COPYDATASTRUCT request = {REPORT_REQUEST_TAG, (length + 1) * static_cast<DWORD>(sizeof(WCHAR)),
                              const_cast<WCHAR*>(path)};
    DWORD_PTR answer = FALSE;
    return SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request), SMTO_ABORTIFHUNG,
                               REPORT_WAIT_MS, &answer) != 0 &&
           answer == TRUE;
}

bool writeWhereAsked(const WCHAR* path, DWORD length) {
    HWND running = FindWindowA(programState().triggerClassName, nullptr);
    return running != nullptr ? askRunningCopy(running, path, length) : writeReport(path, length + 1, false);
}

// The file named on the command line, against the current folder; 0 when
// it does not fit.
DWORD givenPath(const wchar_t* line, const Command& command, WCHAR (&path)[PATH_CAPACITY]) {
    WCHAR given[PATH_CAPACITY];
    if (command.pathLength >= PATH_CAPACITY)
        return 0;
    lstrcpynW(given, line + command.pathStart, static_cast<int>(command.pathLength + 1));
    const DWORD length = GetFullPathNameW(given, PATH_CAPACITY, path, nullptr);
    return length < PATH_CAPACITY ? length : 0;
}

// A new empty file of the user's temporary folder, which the running copy
// may write over.
DWORD temporaryFile(WCHAR (&path)[PATH_CAPACITY]) {
    WCHAR folder[PATH_CAPACITY];
    const DWORD length = GetTempPathW(PATH_CAPACITY, folder);
    if (length == 0 || length >= PATH_CAPACITY || GetTempFileNameW(folder, L"pdr", 0, path) == 0)
        return 0;
    return static_cast<DWORD>(lstrlenW(path));
}

// The clipboard takes only memory of its own kind, which is its own once
// given; the window is there to own the clipboard while it is filled.
bool copyToClipboard(const WCHAR* path) {
    char bytes[REPORT_CAPACITY];
    DWORD size = 0;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const BOOL read = ReadFile(file, bytes, sizeof bytes, &size, nullptr);
    CloseHandle(file);
    const int units = read && size > 0 ? MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(size), nullptr, 0) : 0;
    HGLOBAL memory = units > 0 ? GlobalAlloc(GMEM_MOVEABLE, (units + 1) * sizeof(WCHAR)) : nullptr;
    WCHAR* text = memory != nullptr ? static_cast<WCHAR*>(GlobalLock(memory)) : nullptr;
    if (text == nullptr) {
        if (memory != nullptr)
            GlobalFree(memory);
        return false;
    }
    MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(size), text, units);
    text[units] = L'\0';
    GlobalUnlock(memory);
    HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const bool opened = owner != nullptr && OpenClipboard(owner);
    const bool copied = opened && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (opened)
        CloseClipboard();
    if (!copied)
        GlobalFree(memory);
    return copied;
}

}  // namespace

// Without a file the report goes to the clipboard, by way of a file of the
// temporary folder, and a message box says how it went; with one, only
// the exit code does.
bool runReportCommand(const wchar_t* commandLine, int* exitCode) {
    const Command command = readCommandLine(commandLine);
    if (command.kind == COMMAND_RUN)
        return false;
    const bool given = command.kind == COMMAND_REPORT && command.pathLength > 0;
    WCHAR path[PATH_CAPACITY] = {};
    DWORD length = 0;
    if (command.kind == COMMAND_REPORT)
        length = given ? givenPath(commandLine, command, path) : temporaryFile(path);
    bool written = length > 0 && writeWhereAsked(path, length);
    if (!given) {
        written = written && copyToClipboard(path);
        if (length > 0)
            DeleteFileW(path);
        MessageBoxA(nullptr, written ? ON_CLIPBOARD_TEXT : FAILED_TEXT, programState().caption,
                    written ? MB_ICONINFORMATION : MB_ICONWARNING);
    }
    *exitCode = written ? EXIT_REPORT_WRITTEN : EXIT_REPORT_FAILED;
    return true;
}
