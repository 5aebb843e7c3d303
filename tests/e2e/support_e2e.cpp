#include "e2e/support.h"

#include <shellapi.h>

#include <stdio.h>

namespace e2e {

namespace {

const char COVER_CLASS[] = "PendrelE2ECover";
const DWORD TERMINATED_EXIT_CODE = 0xDEAD;
const DWORD INPUT_BOUND_MS = 2000;
const int ABSOLUTE_INPUT_SPAN = 65536;  // SendInput's absolute coordinates cover the screen in 0..65535
const POINT AWAY = {500, 300};

std::string exeDirectory() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, length);
    size_t slash = full.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

HWND findTriggerOf(DWORD pid) {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, TRIGGER_CLASS, TRIGGER_TITLE)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == pid)
            return found;
    }
    return nullptr;
}

// Copies left behind by an earlier, crashed run of the driver would answer
// for ours: close them, and end them if they do not go.
void endStrayCopies() {
    for (int attempt = 0; attempt < 8; ++attempt) {
        HWND stray = FindWindowA(TRIGGER_CLASS, nullptr);
        if (stray == nullptr)
            return;
        DWORD pid = 0;
        GetWindowThreadProcessId(stray, &pid);
        PostMessageA(stray, WM_CLOSE, 0, 0);
        if (waitUntil([&] { return !IsWindow(stray); }, EXIT_BOUND_MS))
            continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (process != nullptr) {
            TerminateProcess(process, TERMINATED_EXIT_CODE);
            WaitForSingleObject(process, EXIT_BOUND_MS);
            CloseHandle(process);
        }
    }
}

std::string toWindowsPath(const std::string& path) {
    std::string out = path;
    // Under Wine the test script hands over a Unix path; drive Z: is the Unix root.
    if (!out.empty() && out[0] == '/')
        out = "Z:" + out;
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}

struct WindowQuery {
    DWORD pid;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
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

LRESULT CALLBACK coverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void sendMouse(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

}  // namespace

std::string pendrelPath() {
    return exeDirectory() + "pendrel.exe";
}

bool startPendrel(Pendrel& copy) {
    std::string path = pendrelPath();
    std::string line = "\"" + path + "\"";
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return false;
    CloseHandle(info.hThread);
    copy.process = info.hProcess;
    copy.pid = info.dwProcessId;
    return true;
}

HWND waitForTriggerWindow(Pendrel& copy, DWORD boundMs) {
    waitUntil([&] { return (copy.trigger = findTriggerOf(copy.pid)) != nullptr || !isRunning(copy); }, boundMs);
    return copy.trigger;
}

std::vector<HWND> allTriggerWindows() {
    std::vector<HWND> found;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, TRIGGER_CLASS, nullptr)) != nullptr)
        found.push_back(window);
    return found;
}

bool isRunning(const Pendrel& copy) {
    return copy.process != nullptr && WaitForSingleObject(copy.process, 0) == WAIT_TIMEOUT;
}

bool waitForExit(const Pendrel& copy, DWORD boundMs, DWORD* exitCode) {
    if (copy.process == nullptr || WaitForSingleObject(copy.process, boundMs) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(copy.process, &code);
    if (exitCode != nullptr)
        *exitCode = code;
    return true;
}

bool stopPendrel(Pendrel& copy, DWORD* exitCode) {
    if (copy.process == nullptr)
        return true;
    bool endedByItself = true;
    if (isRunning(copy)) {
        HWND trigger = copy.trigger != nullptr ? copy.trigger : findTriggerOf(copy.pid);
        if (trigger != nullptr)
            PostMessageA(trigger, WM_CLOSE, 0, 0);
        if (trigger == nullptr || WaitForSingleObject(copy.process, EXIT_BOUND_MS) != WAIT_OBJECT_0) {
            endedByItself = false;
            TerminateProcess(copy.process, TERMINATED_EXIT_CODE);
            WaitForSingleObject(copy.process, EXIT_BOUND_MS);
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(copy.process, &code);
    if (exitCode != nullptr)
        *exitCode = code;
    CloseHandle(copy.process);
    copy.process = nullptr;
    copy.trigger = nullptr;
    return endedByItself;
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

int screenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

int screenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

HWND shellTaskbar() {
    return FindWindowA(TASKBAR_CLASS, nullptr);
}

bool expectedBottomStrip(RECT* strip) {
    APPBARDATA request = {};
    request.cbSize = sizeof(APPBARDATA);
    request.hWnd = shellTaskbar();
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &request))
        return false;
    const RECT& bar = request.rc;
    if (bar.bottom != screenHeight() || bar.right - bar.left != screenWidth())
        return false;
    *strip = {bar.left, bar.bottom - STRIP_DEPTH, bar.right, bar.bottom};
    return true;
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

DWORD WINAPI Cover::threadMain(LPVOID param) {
    Cover* self = static_cast<Cover*>(param);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, COVER_CLASS, &wc)) {
        wc.lpfnWndProc = coverProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = CreateSolidBrush(Cover::COLOUR);
        wc.lpszClassName = COVER_CLASS;
        RegisterClassA(&wc);
    }
    // A tool window: the taskbar shows no button for it.
    self->window_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, COVER_CLASS, "Pendrel e2e cover",
                                    WS_POPUP | WS_VISIBLE, 0, 0, screenWidth(), screenHeight(), nullptr, nullptr,
                                    instance, nullptr);
    // The program the user works in is the foreground window. Otherwise the
    // foreground may be left with the taskbar by an earlier scenario, and a
    // taskbar in the foreground is rightly never sent back.
    if (self->window_ != nullptr)
        SetForegroundWindow(self->window_);
    SetEvent(self->ready_);
    if (self->window_ == nullptr)
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

bool Cover::raise() {
    lower();
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
    if (thread_ == nullptr || WaitForSingleObject(ready_, START_BOUND_MS) != WAIT_OBJECT_0 || window_ == nullptr)
        return false;
    const POINT middle = {screenWidth() / 2, screenHeight() / 2};
    return waitUntil([&] { return rootWindowAt(middle) == window_ && GetForegroundWindow() == window_; },
                     EFFECT_BOUND_MS);
}

void Cover::lower() {
    if (window_ != nullptr)
        PostMessageA(window_, WM_CLOSE, 0, 0);
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, EXIT_BOUND_MS);
        CloseHandle(thread_);
    }
    if (ready_ != nullptr)
        CloseHandle(ready_);
    thread_ = nullptr;
    ready_ = nullptr;
    window_ = nullptr;
}

POINT taskbarProbePoint() {
    RECT bar = windowRect(shellTaskbar());
    // Clear of the Start button on the left and of the strip at the bottom.
    return POINT{300, (bar.top + bar.bottom) / 2};
}

HWND rootWindowAt(POINT p) {
    HWND window = WindowFromPoint(p);
    return window == nullptr ? nullptr : GetAncestor(window, GA_ROOT);
}

bool taskbarAboveCover() {
    HWND root = rootWindowAt(taskbarProbePoint());
    return root != nullptr && lstrcmpiA(className(root).c_str(), TASKBAR_CLASS) == 0;
}

bool movePointer(int x, int y) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Rounded up so that the system's scaling back lands on the pixel itself.
    input.mi.dx = static_cast<LONG>((static_cast<long long>(x) * ABSOLUTE_INPUT_SPAN + screenWidth() - 1) /
                                    screenWidth());
    input.mi.dy = static_cast<LONG>((static_cast<long long>(y) * ABSOLUTE_INPUT_SPAN + screenHeight() - 1) /
                                    screenHeight());
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(INPUT));
    return waitUntil(
        [&] {
            POINT p = {};
            return GetCursorPos(&p) && p.x == x && p.y == y;
        },
        INPUT_BOUND_MS);
}

void rightClickAt(int x, int y) {
    movePointer(x, y);
    sendMouse(MOUSEEVENTF_RIGHTDOWN);
    sendMouse(MOUSEEVENTF_RIGHTUP);
}

void pressKey(WORD virtualKey) {
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = virtualKey;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

COLORREF screenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

namespace {

template <typename Test>
bool everyStripSample(const RECT& strip, Test test) {
    const int width = strip.right - strip.left;
    const int xs[] = {strip.left + 2, strip.left + width / 4, strip.left + width / 2, strip.left + 3 * width / 4,
                      strip.right - 3};
    HDC screen = GetDC(nullptr);
    bool all = true;
    // The strip's inner rows: its first row may carry the taskbar's border.
    for (int y = strip.top + 1; y < strip.bottom && all; ++y)
        for (int x : xs)
            all = all && test(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return all;
}

}  // namespace

bool stripAllOfColour(const RECT& strip, COLORREF colour) {
    return everyStripSample(strip, [&](COLORREF seen) { return seen == colour; });
}

bool stripNoneOfColour(const RECT& strip, COLORREF colour) {
    return everyStripSample(strip, [&](COLORREF seen) { return seen != colour; });
}

bool saveScreenshot(const char* name) {
    char folder[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("PENDREL_ARTIFACTS", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    std::string directory = toWindowsPath(folder);
    CreateDirectoryA(directory.c_str(), nullptr);
    std::string file = directory + "\\" + name + ".bmp";

    const int width = screenWidth();
    const int height = screenHeight();
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;  // bottom-up rows, as a BMP file stores them
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP image = CreateDIBSection(memory, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                     nullptr, 0);
    bool saved = false;
    if (image != nullptr) {
        HGDIOBJ previous = SelectObject(memory, image);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        BITMAPFILEHEADER fileHeader = {};
        fileHeader.bfType = 0x4D42;  // "BM"
        fileHeader.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        fileHeader.bfSize = fileHeader.bfOffBits + imageSize;
        HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
        if (out != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            saved = WriteFile(out, &fileHeader, sizeof(fileHeader), &written, nullptr) &&
                    WriteFile(out, &header, sizeof(header), &written, nullptr) &&
                    WriteFile(out, bits, imageSize, &written, nullptr) && written == imageSize;
            CloseHandle(out);
        }
        SelectObject(memory, previous);
        DeleteObject(image);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

bool trayIconPresent(HWND owner, UINT iconId) {
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = owner;
    probe.uID = iconId;
    probe.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

HWND findVisibleWindow(DWORD pid, const char* wantedClass, const char* title) {
    WindowQuery query = {pid, wantedClass, title, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&query));
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

long countShownInAbout(HWND about) {
    const std::string text = windowText(GetDlgItem(about, ABOUT_COUNTER_LABEL));
    const std::string start = COUNTER_TEXT_START;
    if (text.compare(0, start.size(), start) != 0)
        return -1;
    long count = 0;
    size_t at = start.size();
    if (at >= text.size() || text[at] < '0' || text[at] > '9')
        return -1;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        count = count * 10 + (text[at] - '0');
    return text.compare(at, std::string::npos, " times the taskbar.") == 0 ? count : -1;
}

bool readMenuItems(HWND menuWindow, std::vector<std::string>* items) {
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    if (menu == nullptr)
        return false;
    int count = GetMenuItemCount(menu);
    if (count <= 0)
        return false;
    items->clear();
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        int length = GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        items->push_back(std::string(text, length > 0 ? length : 0));
    }
    return true;
}

void PendrelTest::SetUp() {
    ASSERT_TRUE(waitUntil([] { return shellTaskbar() != nullptr; }, START_BOUND_MS))
        << "no taskbar: the tests need the shell desktop";
    ASSERT_TRUE(expectedBottomStrip(&strip_)) << "the shell reports no taskbar along the bottom edge";
    // An earlier raise can leave the taskbar in the always-on-top band, where
    // the shell never puts it by itself; each scenario starts as a fresh
    // desktop would.
    SetWindowPos(shellTaskbar(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    endStrayCopies();
    ASSERT_EQ(FindWindowA(TRIGGER_CLASS, nullptr), nullptr) << "a copy of the program is still running";
    deleteSettingsKey();
    ASSERT_TRUE(movePointer(AWAY.x, AWAY.y));
}

void PendrelTest::TearDown() {
    // Whatever a scenario left open, closing the TriggerWindow ends the
    // program cleanly.
    for (Pendrel& copy : copies_) {
        const bool wasRunning = isRunning(copy);
        DWORD code = 0;
        const bool endedByItself = stopPendrel(copy, &code);
        if (wasRunning) {
            EXPECT_TRUE(endedByItself) << "pid " << copy.pid << " did not end on WM_CLOSE";
            EXPECT_EQ(code, EXIT_OK) << "pid " << copy.pid;
        }
    }
    copies_.clear();
    cover_.lower();
    deleteSettingsKey();
    movePointer(AWAY.x, AWAY.y);
}

Pendrel& PendrelTest::launch() {
    copies_.emplace_back();
    Pendrel& copy = copies_.back();
    if (!startPendrel(copy)) {
        ADD_FAILURE() << "cannot start " << pendrelPath() << " (error " << GetLastError() << ")";
        return copy;
    }
    if (waitForTriggerWindow(copy) == nullptr)
        ADD_FAILURE() << "no TriggerWindow of pid " << copy.pid << " appeared";
    return copy;
}

bool PendrelTest::waitOnStrip(const Pendrel& copy, DWORD boundMs) {
    return waitUntil([&] { return sameRect(windowRect(copy.trigger), strip_); }, boundMs);
}

HWND PendrelTest::openAbout(const Pendrel& copy) {
    PostMessageA(copy.trigger, WM_COMMAND, CMD_ABOUT, 0);
    HWND about = nullptr;
    waitUntil([&] { return (about = findVisibleWindow(copy.pid, nullptr, ABOUT_TITLE)) != nullptr; },
              EFFECT_BOUND_MS);
    return about;
}

}  // namespace e2e
