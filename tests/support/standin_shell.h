// A taskbar of this test process in place of the shell's, on a thread of its
// own: its "Shell_TrayWnd" (topmost and made last) is found before the
// desktop's and is the notification area Wine's Shell_NotifyIcon talks to,
// and its "WineAppBar" answers the position requests as Wine's shell does.
// It can refuse the first adds of an icon, and its thread can stop handling
// messages, as a hung shell's does.
#pragma once
#include <windows.h>

class StandInShell {
public:
    StandInShell() = default;
    ~StandInShell() { stop(); }
    StandInShell(const StandInShell&) = delete;
    StandInShell& operator=(const StandInShell&) = delete;

    // The taskbar window lies at `bar`, which is also the position reported.
    bool start(const RECT& bar);
    void stop();
    void report(const RECT& rect);
    void refuseAdds(LONG count);
    // The thread handles nothing until resume(), or at most HANG_BOUND_MS.
    bool hang();
    void resume();

    HWND taskbar() const;
    LONG adds() const;       // icon adds received
    LONG icons() const;      // icons it holds
    LONG positions() const;  // position requests answered

    static const DWORD HANG_BOUND_MS = 60000;
};
