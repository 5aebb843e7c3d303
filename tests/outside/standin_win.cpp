// Taskbars of the driver's own where the desktop shows none.
#include "outside/outside.h"

namespace outside {

namespace {

LRESULT CALLBACK standInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA: return TRUE;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

HWND StandInTaskbar::make(void* param) {
    StandInTaskbar* self = static_cast<StandInTaskbar*>(param);
    registerClass(self->class_, standInProc, StandInTaskbar::COLOUR);
    const RECT& r = self->rect_;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, self->class_, "", WS_POPUP, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    if (window != nullptr)
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return window;
}

bool StandInTaskbar::show(const char* windowClass, const RECT& rect) {
    remove();
    class_ = windowClass;
    rect_ = rect;
    window_ = thread_.start(make, this);
    return window_ != nullptr;
}

void StandInTaskbar::remove() {
    thread_.stop();
    window_ = nullptr;
}

}  // namespace outside
