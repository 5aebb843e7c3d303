#include "app/start_timer.h"

#include "app/app_state.h"
#include "resources/resource.h"

int startTimer(HWND window, UINT_PTR timerId, UINT periodMs) {
    if (SetTimer(window, timerId, periodMs, nullptr) != 0)
        return 1;
    char text[TEXT_BUFFER_SIZE];
    loadText(IDS_TIMER_ERROR, text);
    MessageBoxA(window, text, g_app.caption, MB_ICONWARNING);
    return 0;
}
