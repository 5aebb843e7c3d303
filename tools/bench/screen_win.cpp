// The clock, the pointer, the z-order seen from outside, and the cover that
// doubles as the latency baseline.
#include "bench.h"

#include <shellapi.h>

#include <stdio.h>

namespace bench {

namespace {

const char COVER_CLASS[] = "PendrelBenchCover";
const UINT_PTR RESPONDER_DELAY_TIMER = 1;
const UINT_PTR RESPONDER_CHECK_TIMER = 2;
const UINT RESPONDER_CHECK_PERIOD_MS = 1000;
const int ABSOLUTE_INPUT_SPAN = 65536;  // SendInput's absolute coordinates cover the screen in 0..65535
const size_t COMMAND_LINE_CAPACITY = 512;

Cover* g_cover = nullptr;  // the one cover whose procedure runs; set before its window exists

LRESULT onDestroy() {
    PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK coverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: return g_cover->onHitTest(window, wParam, lParam);
    case WM_TIMER: return g_cover->onTimer(window, wParam);
    case WM_DESTROY: return onDestroy();
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool g_xdotoolUsable = true;

// Starts xdotool, a real X pointer motion, and returns at once; false when
// it cannot be started. BENCH_XDOTOOL names its Unix path.
bool startXdotool(int x, int y) {
    char unixPath[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("BENCH_XDOTOOL", unixPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || unixPath[0] != '/')
        return false;
    // Drive Z: is the Unix root under Wine. Wine gives no usable handle for
    // a Unix process: the caller waits on the pointer, not on the process.
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    char commandLine[COMMAND_LINE_CAPACITY];
    snprintf(commandLine, sizeof(commandLine), "\"%s\" mousemove %d %d", path.c_str(), x, y);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hThread != nullptr)
        CloseHandle(info.hThread);
    if (info.hProcess != nullptr)
        CloseHandle(info.hProcess);
    return true;
}

LONG absoluteCoordinate(int pixel, int span) {
    // Rounded up so that the system's scaling back lands on the pixel itself.
    return static_cast<LONG>((static_cast<long long>(pixel) * ABSOLUTE_INPUT_SPAN + span - 1) / span);
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

void printResult(const char* name, const char* value) {
    printf("RESULT %s %s\n", name, value);
    fflush(stdout);
}

void printCount(const char* name, long value) {
    char text[32];
    snprintf(text, sizeof(text), "%ld", value);
    printResult(name, text);
}

void printResult(const char* name, double value) {
    char text[64];
    snprintf(text, sizeof(text), "%.1f", value);
    printResult(name, text);
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

bool bottomStrip(RECT* strip) {
    APPBARDATA request = {};
    request.cbSize = sizeof(APPBARDATA);
    request.hWnd = shellTaskbar();
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &request))
        return false;
    const RECT& bar = request.rc;
    if (bar.bottom != screenHeight())
        return false;
    *strip = {bar.left, bar.bottom - STRIP_DEPTH, bar.right, bar.bottom};
    return true;
}

void resetTaskbarBand() {
    SetWindowPos(shellTaskbar(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

HWND rootWindowAt(POINT p) {
    HWND window = WindowFromPoint(p);
    return window == nullptr ? nullptr : GetAncestor(window, GA_ROOT);
}

bool taskbarAboveCover() {
    RECT bar = {};
    GetWindowRect(shellTaskbar(), &bar);
    // Clear of the Start button on the left and of the strip at the bottom.
    const POINT probe = {300, (bar.top + bar.bottom - STRIP_DEPTH) / 2};
    HWND root = rootWindowAt(probe);
    char name[64] = {};
    return root != nullptr && GetClassNameA(root, name, sizeof(name)) > 0 && lstrcmpiA(name, TASKBAR_CLASS) == 0;
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

const char* pointerMethod() {
    return g_xdotoolUsable ? "xdotool" : "SendInput";
}

double movePointerNoted(int x, int y) {
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
        POINTER_BOUND_MS);
    return seen;
}

bool movePointer(int x, int y) {
    return movePointerNoted(x, y) != NOT_SEEN;
}

bool taskbarReleased() {
    const LONG exStyle = GetWindowLongA(shellTaskbar(), GWL_EXSTYLE);
    return (exStyle & WS_EX_TOPMOST) == 0 && !taskbarAboveCover();
}

DWORD WINAPI Cover::threadMain(LPVOID param) {
    Cover* self = static_cast<Cover*>(param);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = coverProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(Cover::COLOUR);
    wc.lpszClassName = COVER_CLASS;
    RegisterClassA(&wc);  // fails harmlessly when an earlier cover registered it
    // A tool window: the taskbar shows no button for it.
    self->window_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, COVER_CLASS, "Pendrel bench cover",
                                    WS_POPUP | WS_VISIBLE, 0, 0, screenWidth(), screenHeight(), nullptr, nullptr,
                                    instance, nullptr);
    if (self->window_ != nullptr)
        SetTimer(self->window_, RESPONDER_CHECK_TIMER, RESPONDER_CHECK_PERIOD_MS, nullptr);
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
    g_cover = this;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
    if (thread_ == nullptr || WaitForSingleObject(ready_, START_BOUND_MS) != WAIT_OBJECT_0 || window_ == nullptr)
        return false;
    const POINT middle = {screenWidth() / 2, screenHeight() / 2};
    return waitUntil([&] { return rootWindowAt(middle) == window_; }, EFFECT_BOUND_MS, 25);
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

bool Cover::takeForeground() {
    SetForegroundWindow(window_);
    return waitUntil([&] { return GetForegroundWindow() == window_; }, EFFECT_BOUND_MS, 25);
}

void Cover::armHitTest(POINT target, UINT delayMs) {
    answeredAt_ = 0.0;
    releaseArmed_ = 0;
    targetX_ = target.x;
    targetY_ = target.y;
    delayMs_ = delayMs;
    hitArmed_ = 1;
}

void Cover::armRelease() {
    answeredAt_ = 0.0;
    hitArmed_ = 0;
    releaseArmed_ = 1;
}

LRESULT Cover::onHitTest(HWND window, WPARAM wParam, LPARAM lParam) {
    const LONG x = static_cast<short>(LOWORD(lParam));
    const LONG y = static_cast<short>(HIWORD(lParam));
    if (hitArmed_.load() && x == targetX_.load() && y == targetY_.load()) {
        hitArmed_ = 0;
        if (delayMs_.load() == 0)
            answeredAt_ = nowMs();
        else
            SetTimer(window, RESPONDER_DELAY_TIMER, delayMs_.load(), nullptr);
    }
    return DefWindowProcA(window, WM_NCHITTEST, wParam, lParam);
}

LRESULT Cover::onTimer(HWND window, WPARAM id) {
    if (id == RESPONDER_DELAY_TIMER) {
        KillTimer(window, RESPONDER_DELAY_TIMER);
        answeredAt_ = nowMs();
    } else if (id == RESPONDER_CHECK_TIMER && releaseArmed_.load()) {
        // The same test a once-a-second release makes: the pointer outside
        // the band grown by the margin.
        POINT p = {};
        GetCursorPos(&p);
        const LONG top = RESPONDER_ROW - RESPONDER_BAND_HALF - RELEASE_MARGIN;
        const LONG bottom = RESPONDER_ROW + RESPONDER_BAND_HALF + RELEASE_MARGIN;
        if (p.y <= top || p.y >= bottom) {
            releaseArmed_ = 0;
            answeredAt_ = nowMs();
        }
    }
    return 0;
}

}  // namespace bench
