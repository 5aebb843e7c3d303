#pragma once
#include <windows.h>

// The notification-area icon as the program last asked for it.
struct TrayState {
    HICON iconSmall = nullptr;  // the icon shown at start-up, kept for re-adds
    LONG iconWanted = 0;        // the last add or delete we asked the shell for was an add
};

TrayState& trayState();
