// What the look at the desktop's windows keeps from one look to the next.
#pragma once
#include <windows.h>

typedef HRESULT(WINAPI* WindowAttributeQuery)(HWND, DWORD, PVOID, DWORD);

// The last windows asked whether the shell showed them: a window that
// covers a strip is asked at every poll, and its answer holds while it
// stays where it was.
struct ShellWindowMemo {
    HWND window = nullptr;
    HWND taskbar = nullptr;
    RECT rect = {};
    LONG shown = 0;
};
const unsigned SHELL_WINDOW_MEMOS = 4;

struct DesktopState {
    // The compositor's library, loaded the first time a window's cloaking is
    // asked about and kept; no query where the system has none.
    LONG compositorLooked = 0;
    WindowAttributeQuery windowAttribute = nullptr;
    ShellWindowMemo memos[SHELL_WINDOW_MEMOS];
    DWORD nextMemo = 0;
};

DesktopState& desktopState();
