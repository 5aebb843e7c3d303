// What a strip does with the pointer, its timers and clicks: the actions the
// strip windows call for their messages.
#pragma once
#include <windows.h>

#include "trigger/trigger_state.h"

// 1 to go on with the event, 0 when the highlight timer could not start.
int showHighlight(Strip& strip);
// Starts (or restarts) the activation delay; 0 when the timer could not start.
int armDelay(Strip& strip);
void hideHighlight(Strip& strip);
// The point against the strip, inclusive on all four sides.
bool pointInStrip(const Strip& strip, POINT p);

// The strip's hit test: the pointer is over it.
void pointerOverStrip(Strip& strip, WPARAM wParam, LPARAM lParam);
void delayTick(Strip& strip);
void highlightTick(Strip& strip);
void stripClicked(Strip& strip, POINT screenPoint);
// While highlighted the strip is erased with its class brush.
bool stripHighlighted(const Strip& strip);

// The poll of every strip: follows the taskbars, polices the z-order,
// releases, and finds a resting pointer. False when a timer it needed could
// not start.
bool pollTick();
// The keyboard shortcut: raises the taskbar of the monitor under the pointer
// as an activation does, and gives it the foreground so that its buttons can
// be reached with the arrow keys. Its release waits until the foreground has
// left it.
void raiseTaskbarUnderPointer();
// Every strip at once goes quiet: delays end and highlights go out (a pause).
void quietStrips();
// The strip whose window this is, or null.
Strip* stripOfWindow(HWND window);
