#pragma once
#include <windows.h>

const UINT TRAY_ICON_ID = 1;

// The notification-area icon, in the record's first form. Results are not
// examined: deleting an icon that is not there is harmless.
void addTrayIcon(HWND window, UINT iconId, HICON icon, const char* tooltip);
void deleteTrayIcon(HWND window, UINT iconId);
// Deletes and re-adds the icon with the program's tooltip.
void readdTrayIcon(HWND window, HICON icon);
