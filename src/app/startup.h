// The program's start: names, the single-instance rule, the classes, the
// TriggerWindow, the poll, and the one message loop.
#pragma once
#include <windows.h>

int runPendrel(HINSTANCE instance);

// The pieces, in start-up order (also used by the tests).
void loadNames();
// Posts the second-instance message to a running copy; true when there is one.
bool handOverToRunningCopy();
bool registerClasses();
HWND createTriggerWindow();
int runMessageLoop();
