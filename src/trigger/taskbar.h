// Every operation the program performs on the shell's taskbar window.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "trigger/geometry.h"

HWND findTaskbar();
// The next secondary taskbar after `after` (null: the first), or null.
HWND findSecondaryTaskbar(HWND after);
// Whether a top-level window still exists and is shown.
bool taskbarShown(HWND taskbar);
// The full path of the process's image, its length in `path`; 0 when the
// process cannot be opened or the path is longer than the buffer. The
// function exists from Windows Vista on.
DWORD imagePathOf(DWORD pid, wchar_t (&path)[IMAGE_PATH_CAPACITY]);
// The rectangle of the monitor the window is on, or nearest to.
bool monitorRectOf(HWND window, RECT* monitor);
// The DPI of the monitor the window is on, or nearest to, where the system
// tells it (Windows 8.1 and later), else of the window (Windows 10), else of
// the system.
uint32_t monitorDpiOf(HWND window);
// The monitor whose edge a secondary taskbar with this rectangle lies along
// (not always the one it mostly lies over: an auto-hidden one hides over the
// neighbour), and its DPI as above.
bool edgeMonitorOf(HWND taskbar, const RECT& rect, RECT* monitor, uint32_t* dpi);
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
// The window right above in the z-order, null for the first.
HWND windowAbove(HWND window);
// The nearest window above the taskbar that covers part of it: visible,
// overlapping it, and not one of the taskbar's own (its hidden tooltips move
// with it); null for none.
HWND coverAbove(HWND taskbar);
bool taskbarIsTopmost(HWND taskbar);

Rect toRect(const RECT& r);
RECT toRECT(const Rect& r);
Point toPoint(const POINT& p);
