// The one process-wide record every window and dialog procedure works on.
#pragma once

#include <windows.h>

#include "app/constants.h"

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
};

struct AppState {
    HINSTANCE instance = nullptr;

    // Names loaded from the string table at start-up.
    char triggerClassName[TEXT_BUFFER_SIZE] = {};
    char dialogClassName[TEXT_BUFFER_SIZE] = {};
    char caption[TEXT_BUFFER_SIZE] = {};
    char taskbarClassName[TEXT_BUFFER_SIZE] = {};

    Settings settings;

    // Statistics, not persisted.
    DWORD activationCount = 0;
    FILETIME countStart = {};
    DWORD statsUnit = STATS_UNIT_DEFAULT;

    // Taskbar geometry.
    HWND taskbarWindow = nullptr;
    RECT lastTaskbarRect = {};
    RECT strip = {};
    // What the last question to the shell saw, so that idle polls need not ask.
    HWND watchedTaskbar = nullptr;
    RECT watchedRect = {};
    LONG shellChangeAnnounced = 0;
    DWORD ticksSinceAsk = 0;

    // Activation state.
    LONG taskbarRaised = 0;
    LONG delayPending = 0;
    LONG highlightShown = 0;
    LONG inMenuLoop = 0;
    // The taskbar's place before the current raise, for its release.
    LONG taskbarWasTopmost = 0;
    HWND coverBeforeRaise = nullptr;

    // Windows and icons.
    HWND mainWindow = nullptr;
    HWND aboutDialog = nullptr;
    HWND configDialog = nullptr;
    HICON trayIconSmall = nullptr;
    HICON configIconSmall = nullptr;
    HICON aboutIconSmall = nullptr;
    UINT taskbarCreatedMessage = 0;  // registered "TaskbarCreated", 0 when registration failed
    LONG trayIconWanted = 0;         // the last add or delete we asked the shell for was an add

    // Link buttons of the About dialog.
    HWND hotLink = nullptr;
    HWND mailLink = nullptr;
    HWND webLink = nullptr;
    COLORREF mailLinkColor = 0;
    COLORREF webLinkColor = 0;
    LONG mailLinkSized = 0;
    LONG webLinkSized = 0;
    WNDPROC linkPrevProc = nullptr;
};

extern AppState g_app;

// Loads a string-table entry the way every text of the program is loaded:
// a 256-byte buffer, 255 passed as its size.
int loadText(UINT id, char (&buffer)[TEXT_BUFFER_SIZE]);
// A new 16 by 16 copy of the program icon; the caller keeps it.
HICON loadSmallAppIcon();
