#pragma once
#include <windows.h>

// Opens the About dialog, or brings the open one to the front.
void openAboutDialog();
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Counts one raise of the taskbar; an open dialog shows the new count at once.
void countActivation();
// Counting starts now: at start-up and when the user resets it.
void startCounting();
