#pragma once
#include <windows.h>

LRESULT CALLBACK triggerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
