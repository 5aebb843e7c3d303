// Where the pointer is, for the poll: the strips note what their own
// messages tell of it, and the poll reads it only when those cannot tell.
#pragma once
#include <windows.h>

#include "trigger/trigger_state.h"

// The strip's hit test: the pointer came onto it. The poll reads the
// pointer until it sees it off the strip again. (The system's word that the
// pointer left, TrackMouseEvent, is not asked for: under Wine the tracking
// hit-tests the window every 400 ms while the pointer rests on it, and every
// hit test restarts the strip's delay.)
void pointerCameOnStrip(Strip& strip);
// A strip was lifted, moved or laid again, or the context menu closed: a
// pointer that rested meanwhile sent no hit test, so the next poll reads it.
void pointerUnseen();
// The poll's reading of the pointer, made only when due; false when it was
// not made or failed.
bool pointerForPoll(POINT* pointer);
