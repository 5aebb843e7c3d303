#pragma once
#include <windows.h>
#include <shellapi.h>

#include "trigger/trigger_state.h"

// Asks the shell where the primary taskbar is and, when its rectangle
// changed since `last`, works out the edge and the strip. Returns 1 when the
// strip was recomputed, with the answer in `request`. A shell that does not
// answer in time is not waited for: its answer is taken when it comes (and
// the strip moved then), and until then no other question is asked.
int locateTaskbar(APPBARDATA* request, RECT* last);
// Moves and sizes the strip's window on its strip (shown while it catches
// the pointer), leaving its z-order alone; the next poll looks for a
// pointer resting on it.
void placeStripWindow(const Strip& strip);
struct TaskbarPoll {
    bool searched;  // the primary taskbar was looked for afresh: the secondary ones are to be too
    // The taskbar window is another one, its rectangle changed, a change was
    // announced, or the safety interval ran out.
    bool askShell;
};
// Once a poll: keeps the primary taskbar's window, looking for it again only
// when it died, after a change, or with the safety-net ask, and says whether
// the shell is to be asked where it is.
TaskbarPoll watchTaskbars(bool secondariesWanted);
// A display, work-area, scale or shell change: the next polls look for the
// taskbar windows, the next asks the shell, and every strip is worked out again.
void announceShellChange();
