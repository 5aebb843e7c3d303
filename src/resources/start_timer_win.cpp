#include "resources/program.h"

#include "resources/resource.h"

int startTimer(HWND window, UINT_PTR timerId, UINT periodMs) {
    if (SetTimer(window, timerId, periodMs, nullptr) != 0)
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
