#pragma once
#include <windows.h>

// The one way a timer is started: on failure the user is told, and 0 returned.
int startTimer(HWND window, UINT_PTR timerId, UINT periodMs);
