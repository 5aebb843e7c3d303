#pragma once
#include <windows.h>

const UINT TRAY_ICON_ID = 1;

// The notification-area icon, in the record's first form. Results are not
// examined: deleting an icon that is not there is harmless.
void addTrayIcon(HWND window, UINT iconId, HICON icon, const char* tooltip);
void deleteTrayIcon(HWND window, UINT iconId);
// The icon with the program's name as its tooltip, which says so while the
// strips are paused.
void showTrayIcon(HWND window, HICON icon);
// Brings a shown icon's tooltip in line with the pause.
void showTrayTip(HWND window);
void hideTrayIcon(HWND window);
// Deletes and re-adds the icon with the program's tooltip.
void readdTrayIcon(HWND window, HICON icon);
// Whether the icon is meant to be showing: the last request was an add,
// whatever the shell answered.
bool trayIconWanted();
