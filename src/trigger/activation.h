// What the strip does with the pointer, its timers and clicks: the actions
// the main window calls for its messages.
#pragma once
#include <windows.h>

// 1 to go on with the event, 0 when the highlight timer could not start.
int showHighlight(HWND window);
// Starts (or restarts) the activation delay; 0 when the timer could not start.
int armDelay(HWND window);
void hideHighlight(HWND window);
// The cursor against the current strip, inclusive on all four sides.
bool pointInStrip(POINT p);

// The strip's hit test: the pointer is over it.
void pointerOverStrip(HWND window, WPARAM wParam, LPARAM lParam);
// Follows the taskbar, polices the z-order, releases, and finds a resting
// pointer. False when a timer it needed could not start.
bool pollTick(HWND window);
void delayTick(HWND window);
void highlightTick(HWND window);
void stripClicked(POINT screenPoint);
// While highlighted the strip is erased with its class brush.
bool stripHighlighted();
