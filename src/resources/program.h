// What every part of the program shares: its module, the names loaded at
// start-up, its main window, and the few services each part uses the same
// way. The record lives in the program's state; each part reaches it here.
#pragma once
#include <windows.h>

#include "resources/constants.h"

struct ProgramState {
    HINSTANCE instance = nullptr;
    // Names loaded from the string table at start-up.
    char triggerClassName[TEXT_BUFFER_SIZE] = {};
    char dialogClassName[TEXT_BUFFER_SIZE] = {};
    char caption[TEXT_BUFFER_SIZE] = {};
    char taskbarClassName[TEXT_BUFFER_SIZE] = {};
    // The TriggerWindow: owner of the icon, the timers and the menus.
    HWND mainWindow = nullptr;
    UINT taskbarCreatedMessage = 0;  // registered "TaskbarCreated", 0 when registration failed
    LONG inMenuLoop = 0;             // the main window is tracking a menu
    // The stored shortcut whose keys the main window holds registered (0
    // when none), and under which of its two ids.
    DWORD hotKeyHeld = 0;
    int hotKeyId = 0;
    // The dialog (its menu command) a double-click on the icon opened, until
    // the shell reports the button let go.
    UINT dialogAwaitingClickEnd = 0;
    // The user paused the strips from the icon's menu; never stored, so a
    // new start is never paused.
    LONG paused = 0;
};

ProgramState& programState();

// Loads a string-table entry the way every text of the program is loaded:
// a 256-byte buffer, 255 passed as its size.
int loadText(UINT id, char (&buffer)[TEXT_BUFFER_SIZE]);
// A new 16 by 16 copy of the program icon; the caller keeps it.
HICON loadSmallAppIcon();
// A function of a newer Windows in a module the program has loaded (user32,
// kernel32, shell32), looked up where it is called for; null on a system
// without it.
FARPROC systemFunction(const char* module, const char* name);
// The one way a timer is started: on failure the user is told, and 0 returned.
// A tolerance lets the system (Windows 8 and later) fire the timer up to that
// much later, together with other work, rather than wake for it alone.
int startTimer(HWND window, UINT_PTR timerId, UINT periodMs, ULONG toleranceMs = 0);
// Registers the tab control class both dialogs frame their content with, and
// the configuration dialog's hot-key control class. The library is loaded on
// the first dialog, not at start-up, so a Pendrel that never opens a dialog
// neither imports nor maps it.
void ensureCommonControls();
// The dialogs lay their controls over a tab control: labels and check boxes
// are given the pane's texture behind their text instead of the dialog's grey.
void giveDialogTheTabTexture(HWND dialog);
