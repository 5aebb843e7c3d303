#pragma once
#include <windows.h>
#include <shellapi.h>

#include "trigger/trigger_state.h"

// Finds the primary taskbar and, when its rectangle changed since `last`,
// works out the edge and the strip. Returns 1 when the strip was recomputed.
int locateTaskbar(APPBARDATA* request, RECT* last);
// Moves, sizes and shows the strip's window on its strip, leaving its z-order alone.
void placeStripWindow(const Strip& strip);
// Whether this poll should ask the shell: only when the taskbar window is
// another one, its rectangle changed, a change was announced, or the safety
// interval ran out. Refreshes the taskbar window either way.
bool shellAskDue();
// A display, work-area, scale or shell change: the next poll asks, and every
// strip is worked out again.
void announceShellChange();
