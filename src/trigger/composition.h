// Whether the desktop is composited, and the strips' look that goes with it.
#pragma once
#include <windows.h>

// Asks the compositor (where there is one) and gives every strip the look
// that goes with its answer: at start and whenever composition changes.
void followComposition();
// The compositor's answer now.
bool desktopComposited();
// Gives a strip's window the look of a hidden or a shown strip.
void setStripShown(HWND window, bool shown);
