// A moment after each raise the strip looks whether the taskbar really came
// to the front at its edge (see verify_rule.h).
#pragma once
#include <windows.h>

#include "trigger/trigger_state.h"

// The raise was made: it is looked at a moment later, on the strip's timer.
void verifyLater(Strip& strip);
void verifyTick(Strip& strip);
// A raise spends one of the approach's raises. With none left, `over`
// stayed over the taskbar: it is left be for the rest of the approach and
// named until a raise holds again, and false is returned.
bool raiseAgain(Strip& strip, HWND over);
// The pointer left the edge, the taskbar was released or the shortcut was
// pressed: whatever stayed over the taskbar is tried over again.
void newApproach(Strip& strip);
// The file name of the program that stayed over a raised taskbar, until a
// raise holds again; null otherwise.
const wchar_t* programThatStayedOver();
