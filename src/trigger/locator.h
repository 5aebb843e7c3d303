#pragma once
#include <windows.h>
#include <shellapi.h>

// Finds the taskbar and, when its rectangle changed since `last`, works out the
// edge and the strip. Returns 1 when the strip was recomputed.
int locateTaskbar(APPBARDATA* request, RECT* last);
// Moves, sizes and shows the window on the strip, leaving its z-order alone.
void placeTriggerWindow(HWND window);
// Whether this poll should ask the shell: only when the taskbar window is
// another one, its rectangle changed, a change was announced, or the safety
// interval ran out. Refreshes the taskbar window either way.
bool shellAskDue();
// A display, work-area, scale or shell change: the next poll asks.
void announceShellChange();
