// The user's settings and the configuration dialog's own state. The records
// live in the program's state; every part reads the settings here.
#pragma once
#include <windows.h>

#include "resources/constants.h"

// Booleans are 32-bit integers holding exactly 0 or 1.
struct Settings {
    DWORD delayEnabled = 1;
    DWORD delayMs = DELAY_MS_DEFAULT;
    DWORD restartDelayOnMove = 1;
    DWORD overTopmost = 1;
    DWORD sendBackAfterUse = 1;
    DWORD showTrayIcon = 1;
    DWORD removeIconAfterTimeout = 0;
    DWORD highlight = 1;
    DWORD allScreens = 1;  // a strip for the taskbar of every monitor
    DWORD hotKey = 0;      // the shortcut that shows the taskbar, as the hot-key control gives it; 0: none
    DWORD avoidFullScreen = 1;  // keep out of the way of full-screen games and presentations
};

// The programs in front of which the strips keep out of the way, as stored:
// file names separated by semicolons. A record of its own that starts empty:
// the program file carries every record with start values other than zero
// whole, and this one would add 2 KiB of zeros to it.
struct ProgramList {
    WCHAR names[NEVER_OVER_MAX_CHARS + 1];
};

struct ConfigDialogState {
    HWND dialog = nullptr;
    HICON iconSmall = nullptr;  // loaded at the first opening and kept: the tray may show it
    DWORD signInShown = 0;      // the sign-in box as it was filled or last applied
};

Settings& currentSettings();
ProgramList& neverOverList();
ConfigDialogState& configDialogState();
