// Whether a strip keeps out of the way now: paused, a program the user named
// in front, or a full-screen game or presentation in front of its monitor.
// The hit test, the poll, the click and the z-order policing ask here.
#pragma once
#include <windows.h>

#include "trigger/trigger_state.h"

// Cheap between changes of the window in front: the system is asked only
// when another window comes to the front, or by watchFront.
bool stripStandsAside(const Strip& strip);
// At each poll, before the strips: the window in front is to be looked at
// again, and a full-screen one asked about once more, by the next question.
void watchFront();
// The next look reads the window in front afresh (the settings or the
// displays changed).
void forgetFront();
