// A moment after each raise the strip looks whether the taskbar really came
// to the front at its edge (see verify_rule.h).
#pragma once
#include <windows.h>

#include "trigger/trigger_state.h"

// The raise was made: it is looked at a moment later, on the strip's timer.
void verifyLater(Strip& strip);
void verifyTick(Strip& strip);
// `over` stayed over the raised taskbar: no more raises in this approach of
// the pointer, and the program is named until a raise holds again.
void leaveBe(Strip& strip, HWND over);
// The file name of the program that stayed over a raised taskbar, until a
// raise holds again; null otherwise.
const wchar_t* programThatStayedOver();
