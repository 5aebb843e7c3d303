// Windows seen against the taskbar: whether one fills the taskbar's monitor,
// and whether the shell showed it from the taskbar. Only looked at while a
// taskbar is raised.
#pragma once
#include <windows.h>

// The top-level window under the point, or null.
HWND topLevelWindowAt(POINT p);
bool fillsTaskbarMonitor(HWND window, HWND taskbar);
// A thumbnail, a jump list, Start, search or a flyout of the notification
// area: never the taskbar itself.
bool shownFromTaskbar(HWND window, HWND taskbar);
