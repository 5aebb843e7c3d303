#include "resources/program.h"

#include "resources/resource.h"

typedef UINT_PTR(WINAPI* SetCoalescableTimerProc)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG);

// Windows 8 and later have the coalescable timer.
static bool timerStarted(HWND window, UINT_PTR timerId, UINT periodMs, ULONG toleranceMs) {
    SetCoalescableTimerProc coalescable =
        toleranceMs != 0 ? (SetCoalescableTimerProc)(void*)systemFunction("user32.dll", "SetCoalescableTimer") : nullptr;
    if (coalescable != nullptr && coalescable(window, timerId, periodMs, nullptr, toleranceMs) != 0)
        return true;
    return SetTimer(window, timerId, periodMs, nullptr) != 0;
}

int startTimer(HWND window, UINT_PTR timerId, UINT periodMs, ULONG toleranceMs) {
    if (timerStarted(window, timerId, periodMs, toleranceMs))
        return 1;
    // The box is modal and runs a message loop, in which the same failure can
    // come round again: one box at a time, or they would nest without end.
    static bool warning = false;
    if (warning)
        return 0;
    warning = true;
    char text[TEXT_BUFFER_SIZE];
    loadText(IDS_TIMER_ERROR, text);
    MessageBoxA(window, text, programState().caption, MB_ICONWARNING);
    warning = false;
    return 0;
}
