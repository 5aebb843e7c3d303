#pragma once
#include <windows.h>

const UINT TRAY_ICON_ID = 1;

// The notification-area icon of the main window. Each function says what the
// icon is to be; the shell is told as soon as it takes calls again (see
// resources/shell_calls.h), the latest wish only. An add the shell refuses is
// offered again, every retry period for two minutes and at each re-add.
// The icon with the program's name as its tooltip, which says so while the
// strips are paused.
void showTrayIcon(HICON icon);
void hideTrayIcon();
// Deletes and re-adds the icon with the program's tooltip.
void readdTrayIcon(HICON icon);
// The icon's tooltip: the program's name, or why its strips do not act (the
// pause, the program a strip keeps out of the way of, the program that
// stayed over the raised taskbar; null or empty when none), cut to
// TOOLTIP_MAX_CHARS. The shell is told only of a text that changed.
void showTrayTip(const wchar_t* asideFor, const wchar_t* blockedBy);
// The retry timer's tick.
void retryTrayIcon();
// Tells the shell what it has not been told yet: after a late call landed.
void syncTrayIcon();
// Whether the icon is meant to be showing: the last request was an add,
// whatever the shell answered.
bool trayIconWanted();
