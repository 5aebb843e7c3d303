#include "app/message_filter.h"

#include "resources/program.h"

typedef BOOL(WINAPI* ChangeFilterProc)(HWND, UINT, DWORD, void*);

// Windows 7 and later; before it no filter applies to the window.
void letShellMessagesThrough(HWND window) {
    ChangeFilterProc allow = (ChangeFilterProc)(void*)systemFunction("user32.dll", "ChangeWindowMessageFilterEx");
    if (allow == nullptr)
        return;
    const UINT messages[] = {programState().taskbarCreatedMessage, WM_TRAY_NOTIFY, WM_SECOND_INSTANCE, WM_READD_ICON};
    for (UINT message : messages)
        if (message != 0)
            allow(window, message, MSGFLT_ALLOW, nullptr);
}
