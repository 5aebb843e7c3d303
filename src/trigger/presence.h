// Where a strip is: shown over its taskbar's edge while a window covers
// that edge (lying right above the cover, climbing over nothing else), and
// hidden otherwise, so that the pointer reaches the taskbar or the program
// below: while the taskbar shows at its edge, while it is raised, and while
// the strip keeps out of the way.
#pragma once
#include <windows.h>

#include "trigger/trigger_state.h"

// Once a poll, after the releases, and when the pause changes: one look down
// the z-order for every strip, and each shown, lifted or hidden as it finds.
void followCovers();
// A raise put the taskbar over what covered it: the strip goes out of the
// way until something covers the edge again.
void stepAside(Strip& strip);
// The shortcut: the strip goes to the top of the z-order (shown or not), so
// that the taskbar comes in front right below it; with the strips kept below
// other always-on-top windows, it stays where it is in that band.
void liftForShortcut(Strip& strip);
// The strip goes over every window of its band without being shown, so that
// the taskbar placed right below it comes over them too.
void liftOutOfSight(Strip& strip);
// The window right above the strip's taskbar that covers part of it, as the
// look counts covers; null for none.
HWND coverOverTaskbar(const Strip& strip);
// The window in front on the strip's monitor, or null.
HWND frontWindowOf(const Strip& strip);
