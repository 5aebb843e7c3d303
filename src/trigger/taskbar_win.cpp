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

bool monitorRectOf(HWND window, RECT* monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        return false;
    *monitor = info.rcMonitor;
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

HWND windowAbove(HWND window) {
    return GetWindow(window, GW_HWNDPREV);
}

bool taskbarIsTopmost(HWND taskbar) {
    return (GetWindowLongA(taskbar, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

Rect toRect(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

RECT toRECT(const Rect& r) {
    RECT result = {r.left, r.top, r.right, r.bottom};
    return result;
}

Point toPoint(const POINT& p) {
    return Point{p.x, p.y};
}
