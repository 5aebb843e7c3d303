#pragma once
#include <windows.h>

// Puts the taskbar right below the TriggerWindow; the first raise since the
// last release counts one activation.
void activateTaskbar();
// Hands the hit test that activated on to the taskbar.
void forwardHitTest(WPARAM wParam, LPARAM lParam);
// Keeps the TriggerWindow (or an always-on-top taskbar) placed; every poll.
void enforceZOrder();
// Ends the raise once the pointer has left the taskbar; every poll.
void checkRelease();
