#pragma once
#include <windows.h>
#include <shellapi.h>

// Finds the taskbar and, when its rectangle changed since `last`, works out the
// edge and the strip. Returns 1 when the strip was recomputed.
int locateTaskbar(APPBARDATA* request, RECT* last);
// Moves, sizes and shows the window on the strip, leaving its z-order alone.
void placeTriggerWindow(HWND window);
