// The strips of the secondary taskbars: windows of their own class, without
// an icon or a taskbar button. The main window keeps the tray icon, the poll
// and the dialogs; these only raise their taskbar and open the menu.
#pragma once
#include <windows.h>

LRESULT CALLBACK secondaryStripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
