// The program's start: names, the single-instance rule, the classes, the
// TriggerWindow, the poll, and the one message loop.
#pragma once
#include <windows.h>

int runPendrel(HINSTANCE instance);

// The pieces, in start-up order (also used by the tests).
void loadNames();
// Posts the second-instance message to a running copy; true when there is one.
bool handOverToRunningCopy();
// Takes the session's mutex for the life of the process, or, when another
// copy holds it, hands over to that copy: true when this start is to end.
// Waits at most SESSION_WAIT_MS for the other copy's window.
bool anotherCopyRuns();
bool registerClasses();
HWND createTriggerWindow();
int runMessageLoop();
