// Every operation the program performs on the shell's taskbar window.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "desktop/win_rect.h"
#include "trigger/geometry.h"

HWND findTaskbar();
// The next secondary taskbar after `after` (null: the first), or null.
HWND findSecondaryTaskbar(HWND after);
// Whether a top-level window still exists and is shown.
bool taskbarShown(HWND taskbar);
// The monitor whose edge a taskbar with this rectangle lies along (not
// always the one it mostly lies over: an auto-hidden one hides over the
// neighbour), and its DPI where the system tells it (Windows 8.1 and later),
// else the taskbar's (Windows 10), else the system's. Every question of which
// monitor is a taskbar's is answered here.
struct EdgeMonitor {
    RECT rect;
    HMONITOR handle;
    uint32_t dpi;
};
bool edgeMonitorOf(HWND taskbar, const RECT& rect, EdgeMonitor* monitor);
// A monitor's DPI as above, `window` the taskbar on it (or null).
uint32_t monitorDpi(HMONITOR monitor, HWND window);
// ABM_GETTASKBARPOS: nonzero on success with rc (and maybe uEdge) filled.
BOOL requestTaskbarPosition(APPBARDATA* request);
// ABM_GETAUTOHIDEBAR for one edge: the auto-hide bar there, or null.
HWND autoHideBarOn(APPBARDATA* request, UINT edge);
// Z-order calls change the z-order alone and activate nothing.
void placeTaskbarBelow(HWND taskbar, HWND above);
void sendTaskbarToBottom(HWND taskbar);
void placeTaskbarAtTopOfBand(HWND taskbar);
// Makes the taskbar the foreground window, so that it takes the keyboard.
void giveTaskbarForeground(HWND taskbar);
bool taskbarIsTopmost(HWND taskbar);

