// The benchmark's baseline: a window program that does nothing but run a
// one-second timer in its message loop, built the way pendrel.exe is. Its CPU
// time and memory are what any resident program of this kind costs under the
// same system, so Pendrel's own figures are read against it.
//
// Built with BENCH_ASK_SHELL, it also asks the shell for the taskbar's
// rectangle at each tick, as a once-a-second taskbar locator must: what that
// one question costs, apart from everything else Pendrel does.
#include <windows.h>
#ifdef BENCH_ASK_SHELL
#include <shellapi.h>
#endif

namespace {

const char BASELINE_CLASS[] = "PendrelBenchBaseline";
const UINT_PTR TICK_TIMER = 1;
const UINT TICK_PERIOD_MS = 1000;

LRESULT onTimer() {
#ifdef BENCH_ASK_SHELL
    APPBARDATA request = {};
    request.cbSize = sizeof(APPBARDATA);
    SHAppBarMessage(ABM_GETTASKBARPOS, &request);
#endif
    return 0;
}

LRESULT onDestroy() {
    PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK baselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: return onTimer();
    case WM_DESTROY: return onDestroy();
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = baselineProc;
    wc.hInstance = instance;
    wc.lpszClassName = BASELINE_CLASS;
    if (!RegisterClassA(&wc))
        return 1;
    // Never shown: the timer needs a window, not a picture.
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, BASELINE_CLASS, BASELINE_CLASS, WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
    if (window == nullptr || SetTimer(window, TICK_TIMER, TICK_PERIOD_MS, nullptr) == 0)
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
