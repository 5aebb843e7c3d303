#pragma once
#include <windows.h>

// The notification-area icon as the program last asked for it, and what the
// shell answered.
struct TrayState {
    HICON iconSmall = nullptr;  // the icon shown at start-up, kept for re-adds
    HICON iconShown = nullptr;  // the icon the last show asked for
    LONG iconWanted = 0;        // the last add or delete we asked the shell for was an add
    LONG iconSent = 0;          // an add went to the shell since the last delete
    LONG iconHeld = 0;          // the shell said it holds the icon
    LONG readdAsked = 0;        // a delete and a fresh add are due
    LONG retryDue = 0;          // a refused icon is to be offered again
    DWORD retriesLeft = 0;      // offers still to make, one each retry period
};

TrayState& trayState();
