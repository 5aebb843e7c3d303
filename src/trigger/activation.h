// The TriggerWindow's decisions on hit tests, timers and clicks.
#pragma once
#include <windows.h>

// 1 to go on with the event, 0 when the highlight timer could not start.
int showHighlight(HWND window);
// Starts (or restarts) the activation delay; 0 when the timer could not start.
int armDelay(HWND window);
void hideHighlight(HWND window);
// The cursor against the current strip, inclusive on all four sides.
bool pointInStrip(POINT p);

LRESULT onHitTest(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT onPollTick(HWND window);
LRESULT onDelayTick(HWND window);
LRESULT onHighlightTick(HWND window);
LRESULT onLeftButtonDown(HWND window, LPARAM lParam);
LRESULT onPaint(HWND window);
LRESULT onEraseBackground(HWND window, WPARAM wParam, LPARAM lParam);
// The display, the work area or the scale changed: the next poll asks the shell.
LRESULT onShellChange(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT onMenuLoop(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
