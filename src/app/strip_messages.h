// The messages every strip window handles the same way, the TriggerWindow's
// and the secondary strips'.
#pragma once
#include <windows.h>

#include "trigger/trigger_state.h"

LRESULT onStripHitTest(Strip& strip, HWND window, WPARAM wParam, LPARAM lParam);
LRESULT onStripDelayTick(Strip& strip);
LRESULT onStripHighlightTick(Strip& strip);
LRESULT onStripVerifyTick(Strip& strip);
LRESULT onStripLeftButtonDown(Strip& strip, HWND window, LPARAM lParam);
LRESULT onStripRightButtonDown(HWND window, LPARAM lParam);
LRESULT onStripMouseActivate();
LRESULT onStripPaint(HWND window);
LRESULT onStripEraseBackground(const Strip& strip, HWND window, WPARAM wParam, LPARAM lParam);
