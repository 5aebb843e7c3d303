#include "desktop/process.h"

#include "desktop/shell_windows.h"
#include "resources/file_names.h"
#include "resources/program.h"

typedef BOOL(WINAPI* ImagePathQuery)(HANDLE, DWORD, LPWSTR, PDWORD);

DWORD imagePathOf(DWORD pid, wchar_t (&path)[IMAGE_PATH_CAPACITY]) {
    ImagePathQuery query = (ImagePathQuery)(void*)systemFunction("kernel32.dll", "QueryFullProcessImageNameW");
    if (query == nullptr || pid == 0)
        return 0;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr)
        return 0;
    DWORD length = IMAGE_PATH_CAPACITY;
    if (!query(process, 0, path, &length))
        length = 0;
    CloseHandle(process);
    return length;
}

struct FramedSearch {
    DWORD framePid;
    DWORD appPid;
};

static BOOL CALLBACK findFramedApp(HWND child, LPARAM param) {
    FramedSearch* search = reinterpret_cast<FramedSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(child, &pid);
    if (pid == 0 || pid == search->framePid)
        return TRUE;
    search->appPid = pid;
    return FALSE;
}

DWORD programPathOf(HWND window, wchar_t (&path)[IMAGE_PATH_CAPACITY]) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const DWORD length = imagePathOf(pid, path);
    if (length == 0 || !frameHostImage(path))
        return length;
    FramedSearch search = {pid, 0};
    EnumChildWindows(window, findFramedApp, reinterpret_cast<LPARAM>(&search));
    // A frame whose app has not come yet is the frame's own program.
    return search.appPid != 0 ? imagePathOf(search.appPid, path) : length;
}

void programNameOf(HWND window, wchar_t (&name)[PROGRAM_NAME_CAPACITY]) {
    wchar_t path[IMAGE_PATH_CAPACITY];
    const DWORD length = window != nullptr ? programPathOf(window, path) : 0;
    path[length < IMAGE_PATH_CAPACITY ? length : 0] = L'\0';
    lstrcpynW(name, path + fileNameStart(path, length), PROGRAM_NAME_CAPACITY);
}
