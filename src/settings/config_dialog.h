#pragma once
#include <windows.h>

// Opens the configuration dialog, or brings the open one to the front.
void openConfigDialog();
INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
