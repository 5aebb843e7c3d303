#pragma once
#include <windows.h>

// Shows the About / Configuration / Pause / Exit menu at a screen point; the
// chosen command reaches the main window as WM_COMMAND.
void showContextMenu(POINT point);
// The same menu at the pointer, as a press on the icon asks.
void showContextMenuAtPointer();
