#pragma once
#include <windows.h>

// Opens the About dialog, or brings the open one to the front.
void openAboutDialog();
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
