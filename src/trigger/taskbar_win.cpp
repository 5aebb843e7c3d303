#include "trigger/taskbar.h"

#include "resources/program.h"

// The record this file works on, reached once.
static ProgramState& program = programState();

// The record's size differs between 32-bit (36 bytes) and 64-bit builds; the
// shell refuses a request whose size does not match the caller's.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(APPBARDATA) == 36, "APPBARDATA is 36 bytes on 32-bit builds");
#endif

// Asynchronous: the taskbar belongs to the shell's thread, and a hung shell
// must not hang us while it would handle the move.
static const UINT ZORDER_ONLY = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;

HWND findTaskbar() {
    return FindWindowA(program.taskbarClassName, nullptr);
}

HWND findSecondaryTaskbar(HWND after) {
    return FindWindowExA(nullptr, after, SECONDARY_TASKBAR_CLASS_NAME, nullptr);
}

// The style alone: a window that died has none, and a top-level window is
// shown exactly while it carries WS_VISIBLE. IsWindowVisible would also look
// at the parents, a second question to the system under Wine.
bool taskbarShown(HWND taskbar) {
    return (GetWindowLongA(taskbar, GWL_STYLE) & WS_VISIBLE) != 0;
}


typedef HRESULT(WINAPI* GetDpiForMonitorProc)(HMONITOR, int, UINT*, UINT*);
typedef UINT(WINAPI* GetDpiForWindowProc)(HWND);
static const int EFFECTIVE_DPI = 0;  // MDT_EFFECTIVE_DPI

// Looked up once: the functions of newer systems are taken where they exist,
// so that the program still runs on the older ones.
static GetDpiForMonitorProc dpiForMonitor() {
    static bool looked = false;
    static GetDpiForMonitorProc proc = nullptr;
    if (!looked) {
        looked = true;
        HMODULE shcore = LoadLibraryA("shcore.dll");
        if (shcore != nullptr)
            proc = (GetDpiForMonitorProc)(void*)GetProcAddress(shcore, "GetDpiForMonitor");
    }
    return proc;
}

static GetDpiForWindowProc dpiForWindow() {
    return (GetDpiForWindowProc)(void*)systemFunction("user32.dll", "GetDpiForWindow");
}

uint32_t monitorDpi(HMONITOR monitor, HWND window) {
    UINT x = 0, y = 0;
    GetDpiForMonitorProc forMonitor = dpiForMonitor();
    if (forMonitor != nullptr && SUCCEEDED(forMonitor(monitor, EFFECTIVE_DPI, &x, &y)) && y != 0)
        return y;
    GetDpiForWindowProc forWindow = dpiForWindow();
    if (forWindow != nullptr && window != nullptr && (y = forWindow(window)) != 0)
        return y;
    HDC screen = GetDC(nullptr);
    const int system = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return system > 0 ? (uint32_t)system : BASE_DPI;
}



bool edgeMonitorOf(HWND taskbar, const RECT& rect, EdgeMonitor* monitor) {
    Point ends[2];
    edgeProbePoints(toRect(rect), ends);
    HMONITOR handles[2];
    MONITORINFO info[2];
    for (int i = 0; i < 2; ++i) {
        const POINT end = {ends[i].x, ends[i].y};
        handles[i] = MonitorFromPoint(end, MONITOR_DEFAULTTONEAREST);
        info[i] = MONITORINFO{};
        info[i].cbSize = sizeof(MONITORINFO);
        if (!GetMonitorInfoA(handles[i], &info[i]))
            return false;
    }
    const uint32_t own = edgeMonitorOf(toRect(rect), toRect(info[0].rcMonitor), toRect(info[1].rcMonitor));
    *monitor = EdgeMonitor{info[own].rcMonitor, handles[own], monitorDpi(handles[own], taskbar)};
    return true;
}

BOOL requestTaskbarPosition(APPBARDATA* request) {
    return SHAppBarMessage(ABM_GETTASKBARPOS, request) != 0;
}

HWND autoHideBarOn(APPBARDATA* request, UINT edge) {
    request->uEdge = edge;
    return (HWND)SHAppBarMessage(ABM_GETAUTOHIDEBAR, request);
}

void placeTaskbarBelow(HWND taskbar, HWND above) {
    SetWindowPos(taskbar, above, 0, 0, 0, 0, ZORDER_ONLY);
}

void sendTaskbarToBottom(HWND taskbar) {
    SetWindowPos(taskbar, HWND_BOTTOM, 0, 0, 0, 0, ZORDER_ONLY);
}

void placeTaskbarAtTopOfBand(HWND taskbar) {
    SetWindowPos(taskbar, HWND_TOPMOST, 0, 0, 0, 0, ZORDER_ONLY);
}

void giveTaskbarForeground(HWND taskbar) {
    SetForegroundWindow(taskbar);
}


bool taskbarIsTopmost(HWND taskbar) {
    return (GetWindowLongA(taskbar, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}
