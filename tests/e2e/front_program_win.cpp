// A full-screen always-on-top program of its own process, standing for a game
// in front: the scenarios copy it under the names the user lists. It takes
// the foreground as it starts and ends with its window.
#include <windows.h>

#include "outside/outside.h"

namespace {

LRESULT onDestroy() {
    PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK frontProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: return onDestroy();
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = frontProc;
    wc.hInstance = instance;
    wc.hbrBackground = CreateSolidBrush(outside::Cover::COLOUR);
    wc.lpszClassName = outside::FRONT_PROGRAM_CLASS;
    if (!RegisterClassA(&wc))
        return 1;
    HWND window = CreateWindowExA(WS_EX_TOPMOST, outside::FRONT_PROGRAM_CLASS, "", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  instance, nullptr);
    if (window == nullptr)
        return 1;
    SetForegroundWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
