// A taskbar of this test process in place of the shell's, on a thread of its
// own: its "Shell_TrayWnd" (topmost, made last) is found before the desktop's
// and is the notification area Wine's Shell_NotifyIcon talks to, and its
// "WineAppBar" answers the position requests with `bar`, as Wine's shell
// does. It refuses the first `refusals` adds and holds one icon at most.
#pragma once
#include <windows.h>

struct StandInShell {
    RECT bar;
    volatile LONG refusals, adds, icons, positions;
    HWND taskbar;
    HANDLE thread, hung, resume;
};
extern StandInShell g_standIn;

bool startStandInShell(const RECT& bar);
void stopStandInShell();
// Its thread handles no message until resumed, for a minute at most.
bool hangStandInShell();
void resumeStandInShell();
