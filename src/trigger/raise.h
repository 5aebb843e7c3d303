#pragma once
#include <windows.h>

#include "trigger/trigger_state.h"

// Puts the strip's taskbar right below the strip, which then goes out of
// the way; the first raise since the last release counts one activation.
void activateTaskbar(Strip& strip);
// Hands the hit test that activated on to the strip's taskbar.
void forwardHitTest(const Strip& strip, WPARAM wParam, LPARAM lParam);
// After a raise by the keyboard shortcut: the taskbar gets the foreground,
// and keeps its raise until the foreground has left it.
void holdForKeyboard(Strip& strip);
// Ends the raise once the pointer has left the taskbar (and, after a raise by
// the keyboard, the foreground has left it too); every poll.
void checkRelease(Strip& strip);
// Ends a raise at once, wherever the pointer is, and puts the taskbar back as
// a release would: for a strip that goes.
void endRaise(Strip& strip);
