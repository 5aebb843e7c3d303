// Windows seen against a taskbar: whether one fills a monitor, and whether
// the shell showed it from the taskbar.
#pragma once
#include <windows.h>

// The top-level window under the point, or null.
HWND topLevelWindowAt(POINT p);
// The window fills the monitor the way a full-screen one does (see fillsMonitor).
bool fillsMonitorRect(HWND window, const RECT& monitor);
// A thumbnail, a jump list, Start, search, a flyout of the notification area
// and the like, shown from the taskbar on that monitor: never the taskbar
// itself.
bool shownFromTaskbar(HWND window, HWND taskbar, const RECT& monitor);
