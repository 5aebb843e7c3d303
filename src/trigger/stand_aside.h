// Whether a strip keeps out of the way now: paused, a program the user named
// in front on its monitor, or a full-screen game or presentation there.
// The strip's look at its edge, its hit test, click and timers ask here.
#pragma once
#include <windows.h>

#include "trigger/stand_aside_rules.h"
#include "trigger/trigger_state.h"

// Only the pause keeps the strips away unless the full-screen setting is on
// or the user named programs: the window in front matters only then.
bool frontMatters();
// A look down the z-order found the window in front on the strip's monitor:
// what the strip knows of it is brought up to date (its program read only
// when another window came, its fill measured again only when it moved), and
// the system asked when the rule says so.
void noteFrontWindow(Strip& strip, HWND front);
// Cheap between changes of the foreground: the window in front is looked for
// again only when another window has come to the foreground since the last
// look.
bool stripStandsAside(Strip& strip);
AsideReason stripAsideReason(Strip& strip);
// The file name of the program some strip keeps out of the way of (the
// primary strip's first), or null: for the icon's tooltip.
const wchar_t* programStoodAsideFor();
// The system's answer on the user's state (0 where it has none), and whether
// its pointer is hidden now.
DWORD systemNotificationState();
bool systemCursorHidden();
// At each poll, before the strips: a full-screen window in front is asked
// about once more by the next look.
void watchFront();
// The next look reads the windows in front afresh (the settings or the
// displays changed).
void forgetFront();
