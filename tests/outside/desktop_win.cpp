// The clock, the screen, the taskbar seen from outside, the pointer and the
// cover.
#include "outside/outside.h"

#include <shellapi.h>

#include <stdio.h>

#include <vector>

namespace outside {

namespace {

const char COVER_CLASS[] = "PendrelOutsideCover";
const char DEFAULT_XDOTOOL[] = "/usr/bin/xdotool";
const char UNIX_SHELL[] = "/bin/sh";
const int ABSOLUTE_INPUT_SPAN = 65536;  // SendInput's absolute coordinates cover the screen in 0..65535
const size_t COMMAND_LINE_CAPACITY = 512;
const DWORD X_POINTER_AGE_MS = 150;
const int PLACE_ATTEMPTS = 5;

bool g_xdotoolUsable = true;

LONG absoluteCoordinate(int pixel, int span) {
    // Rounded up so that the system's scaling back lands on the pixel itself.
    return static_cast<LONG>((static_cast<long long>(pixel) * ABSOLUTE_INPUT_SPAN + span - 1) / span);
}

// A Unix path as a Windows program of the prefix names it: drive Z: is the
// Unix root.
std::string throughDriveZ(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

bool startUnixProgram(const std::string& commandLine) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hThread != nullptr)
        CloseHandle(info.hThread);
    if (info.hProcess != nullptr)
        CloseHandle(info.hProcess);
    return true;
}

// Starts xdotool with arguments naming a point ("mousemove %d %d", a real X
// pointer motion, and what follows it); false when it cannot be started.
// Wine gives no usable handle for a Unix process, so with `doneMark` (a Unix
// path) the shell runs it and then creates that file: the caller waits on
// the file, not on the process.
bool startXdotool(int x, int y, const char* arguments = "mousemove %d %d", const std::string& doneMark = std::string()) {
    char unixPath[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("PENDREL_XDOTOOL", unixPath, MAX_PATH);
    if (length == 0)
        lstrcpynA(unixPath, DEFAULT_XDOTOOL, MAX_PATH);
    if (length >= MAX_PATH || unixPath[0] != '/')
        return false;
    char action[COMMAND_LINE_CAPACITY];
    snprintf(action, sizeof(action), arguments, x, y);
    char motion[COMMAND_LINE_CAPACITY];
    if (doneMark.empty()) {
        snprintf(motion, sizeof(motion), "\"%s\" %s", throughDriveZ(unixPath).c_str(), action);
        return startUnixProgram(motion);
    }
    snprintf(motion, sizeof(motion), "\"%s\" -c \"'%s' %s; : >'%s'\"", throughDriveZ(UNIX_SHELL).c_str(), unixPath,
             action, doneMark.c_str());
    return startUnixProgram(motion);
}

// An X motion that a slow machine starts late would put the pointer back
// after later moves: the motion is over before this returns (or the bound
// ran out).
bool runXdotool(int x, int y) {
    char name[MAX_PATH];
    snprintf(name, sizeof(name), "/tmp/pendrel-xdotool-%lu.done", GetCurrentProcessId());
    const std::string mark = throughDriveZ(name);
    DeleteFileA(mark.c_str());
    if (!startXdotool(x, y, "mousemove %d %d", name))
        return false;
    const bool done =
        waitUntil([&] { return GetFileAttributesA(mark.c_str()) != INVALID_FILE_ATTRIBUTES; }, EFFECT_BOUND_MS);
    DeleteFileA(mark.c_str());
    return done;
}

LRESULT CALLBACK coverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    Cover* cover = reinterpret_cast<Cover*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return cover != nullptr ? cover->onMessage(window, message, wParam, lParam)
                            : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

double nowMs() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

int screenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

int screenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

HWND shellTaskbar() {
    return FindWindowA(TASKBAR_CLASS, nullptr);
}

bool bottomStrip(RECT* strip, int depth) {
    APPBARDATA request = {};
    request.cbSize = sizeof(APPBARDATA);
    request.hWnd = shellTaskbar();
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &request))
        return false;
    const RECT& bar = request.rc;
    // A taskbar on a side edge reaches the bottom too: only one as wide as the
    // screen lies along it.
    if (bar.bottom != screenHeight() || bar.right - bar.left != screenWidth())
        return false;
    *strip = {bar.left, bar.bottom - depth, bar.right, bar.bottom};
    return true;
}

void resetTaskbarBand() {
    SetWindowPos(shellTaskbar(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

HWND rootWindowAt(POINT p) {
    HWND window = WindowFromPoint(p);
    return window == nullptr ? nullptr : GetAncestor(window, GA_ROOT);
}

bool isTopmost(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

POINT taskbarProbePoint() {
    RECT bar = windowRect(shellTaskbar());
    // Clear of the Start button on the left and of the strip at the bottom.
    return POINT{300, (bar.top + bar.bottom - STRIP_DEPTH) / 2};
}

bool taskbarAboveCover() {
    HWND root = rootWindowAt(taskbarProbePoint());
    return root != nullptr && lstrcmpiA(className(root).c_str(), TASKBAR_CLASS) == 0;
}

bool taskbarReleased() {
    return !isTopmost(shellTaskbar()) && !taskbarAboveCover();
}

bool cursorAt(int x, int y) {
    POINT p = {};
    return GetCursorPos(&p) && p.x == x && p.y == y;
}

void sendPointerMove(int x, int y) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = absoluteCoordinate(x, screenWidth());
    input.mi.dy = absoluteCoordinate(y, screenHeight());
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(INPUT));
}

bool movePointer(int x, int y) {
    sendPointerMove(x, y);
    return waitUntil([&] { return cursorAt(x, y); }, POINTER_BOUND_MS);
}

bool movePointerThroughX(int x, int y, double* seenAt) {
    if (g_xdotoolUsable && !startXdotool(x, y)) {
        g_xdotoolUsable = false;
        fprintf(stderr, "xdotool cannot be started: SendInput moves the pointer instead\n");
    }
    if (!g_xdotoolUsable)
        sendPointerMove(x, y);
    double seen = NOT_SEEN;
    waitUntil(
        [&] {
            if (cursorAt(x, y))
                seen = nowMs();
            return seen != NOT_SEEN;
        },
        POINTER_BOUND_MS, FINE_STEP_MS);
    if (seenAt != nullptr)
        *seenAt = seen;
    return seen != NOT_SEEN;
}

bool doubleClickThroughX(int x, int y) {
    if (g_xdotoolUsable && startXdotool(x, y, "mousemove %d %d click --repeat 2 1"))
        return waitUntil([&] { return cursorAt(x, y); }, POINTER_BOUND_MS);
    if (!movePointer(x, y))
        return false;
    const DWORD presses[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (DWORD flags : presses) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        SendInput(1, &input, sizeof(INPUT));
    }
    return true;
}

const char* pointerMethod() {
    return g_xdotoolUsable ? "xdotool" : "SendInput";
}

bool placePointerForGood(int x, int y) {
    for (int attempt = 0; attempt < PLACE_ATTEMPTS; ++attempt) {
        runXdotool(x, y);
        movePointer(x, y);
        Sleep(X_POINTER_AGE_MS);
        if (cursorAt(x, y))
            return true;
    }
    return false;
}

DWORD WINAPI WindowThread::threadMain(LPVOID param) {
    WindowThread* self = static_cast<WindowThread*>(param);
    self->window_ = self->make_(self->param_);
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

HWND WindowThread::start(Make make, void* param) {
    stop();
    make_ = make;
    param_ = param;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
    if (thread_ == nullptr || WaitForSingleObject(ready_, START_BOUND_MS) != WAIT_OBJECT_0)
        return nullptr;
    return window_;
}

void WindowThread::stop() {
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

void registerClass(const char* name, WNDPROC procedure, COLORREF background) {
    WNDCLASSA wc = {};
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoA(instance, name, &wc))
        return;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(background);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

HWND Cover::make(void* param) {
    Cover* self = static_cast<Cover*>(param);
    registerClass(COVER_CLASS, coverProc, Cover::COLOUR);
    // A tool window: the taskbar shows no button for it.
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, COVER_CLASS, "Pendrel test cover",
                                  WS_POPUP | WS_VISIBLE, 0, 0, screenWidth(), screenHeight(), nullptr, nullptr,
                                  GetModuleHandleA(nullptr), self);
    if (window != nullptr) {
        self->onCreated(window);
        // The program the user works in is the foreground window. Otherwise the
        // foreground may be left with the taskbar by an earlier run, and a
        // taskbar in the foreground is rightly never sent back.
        SetForegroundWindow(window);
    }
    return window;
}

bool Cover::raise() {
    return raise(POINT{screenWidth() / 2, screenHeight() / 2});
}

bool Cover::raise(POINT at) {
    window_ = thread_.start(make, this);
    if (window_ == nullptr)
        return false;
    return waitUntil([&] { return rootWindowAt(at) == window_ && GetForegroundWindow() == window_; },
                     EFFECT_BOUND_MS);
}

void Cover::lower() {
    thread_.stop();
    window_ = nullptr;
}

bool Cover::takeForeground() {
    SetForegroundWindow(window_);
    return waitUntil([&] { return GetForegroundWindow() == window_; }, EFFECT_BOUND_MS);
}

LRESULT Cover::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace outside
