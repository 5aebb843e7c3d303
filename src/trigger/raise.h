#pragma once
#include <windows.h>

#include "trigger/trigger_state.h"

// Puts the strip's taskbar right below the strip; the first raise since the
// last release counts one activation.
void activateTaskbar(Strip& strip);
// Hands the hit test that activated on to the strip's taskbar.
void forwardHitTest(const Strip& strip, WPARAM wParam, LPARAM lParam);
// Keeps the strip (or an always-on-top taskbar) placed; every poll.
void enforceZOrder(Strip& strip);
// Ends the raise once the pointer has left the taskbar; every poll.
void checkRelease(Strip& strip);
