#include "support/standin_shell.h"

#include <shellapi.h>

#include <initializer_list>

#include "support/wine_shell_records.h"

namespace {

const char TASKBAR_CLASS[] = "Shell_TrayWnd";
const char RESPONDER_CLASS[] = "WineAppBar";
const UINT HANG = WM_APP + 1;

struct Shell {
    HANDLE thread, ready, resume, hung;
    HWND taskbar, responder;
    RECT bar;
    volatile LONG refusals, adds, icons, positions;
};
Shell g_shell;

void answerPosition(const COPYDATASTRUCT* data) {
    if (data->dwData != ABM_GETTASKBARPOS || data->cbData != sizeof(AppBarRequest))
        return;
    const AppBarRequest* request = static_cast<const AppBarRequest*>(data->lpData);
    AppBarAnswer answer = {1, request->fields};
    answer.fields.rect = g_shell.bar;
    HANDLE mapping = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(request->answerMapping)),
                        GetCurrentProcess(), &mapping, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof answer);
        if (view != nullptr) {
            CopyMemory(view, &answer, sizeof answer);
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
    }
    InterlockedIncrement(&g_shell.positions);
}

// One icon at most: a second add of it is refused, as the shell refuses it.
LRESULT answerIcon(const COPYDATASTRUCT* data) {
    switch (data->dwData) {
    case NIM_ADD:
        InterlockedIncrement(&g_shell.adds);
        if (g_shell.refusals > 0) {
            InterlockedDecrement(&g_shell.refusals);
            return FALSE;
        }
        return InterlockedCompareExchange(&g_shell.icons, 1, 0) == 0;
    case NIM_DELETE: return InterlockedExchange(&g_shell.icons, 0) != 0;
    default: return g_shell.icons != 0;
    }
}

LRESULT CALLBACK shellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA:
        if (window == g_shell.taskbar)
            return answerIcon(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        answerPosition(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return TRUE;
    case HANG:
        SetEvent(g_shell.hung);
        WaitForSingleObject(g_shell.resume, StandInShell::HANG_BOUND_MS);
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND make(const char* name, HWND parent, DWORD exStyle, const RECT& r) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = shellProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
    return CreateWindowExA(exStyle, name, "", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                           nullptr, wc.hInstance, nullptr);
}

DWORD WINAPI runShell(void*) {
    g_shell.taskbar = make(TASKBAR_CLASS, nullptr, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, g_shell.bar);
    ShowWindow(g_shell.taskbar, SW_SHOWNA);
    g_shell.responder = make(RESPONDER_CLASS, HWND_MESSAGE, 0, RECT{});
    SetEvent(g_shell.ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    DestroyWindow(g_shell.taskbar);
    DestroyWindow(g_shell.responder);
    return 0;
}

}  // namespace

bool StandInShell::start(const RECT& bar) {
    stop();
    g_shell = Shell{};
    g_shell.bar = bar;
    g_shell.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_shell.resume = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_shell.hung = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_shell.thread = CreateThread(nullptr, 0, runShell, nullptr, 0, nullptr);
    return g_shell.thread != nullptr && WaitForSingleObject(g_shell.ready, 5000) == WAIT_OBJECT_0 &&
           g_shell.taskbar != nullptr && g_shell.responder != nullptr &&
           FindWindowA(TASKBAR_CLASS, nullptr) == g_shell.taskbar;
}

void StandInShell::stop() {
    if (g_shell.thread == nullptr)
        return;
    resume();
    PostThreadMessageA(GetThreadId(g_shell.thread), WM_QUIT, 0, 0);
    WaitForSingleObject(g_shell.thread, 5000);
    for (HANDLE handle : {g_shell.thread, g_shell.ready, g_shell.resume, g_shell.hung})
        CloseHandle(handle);
    g_shell = Shell{};
    UnregisterClassA(TASKBAR_CLASS, GetModuleHandleA(nullptr));
    UnregisterClassA(RESPONDER_CLASS, GetModuleHandleA(nullptr));
}

void StandInShell::report(const RECT& rect) {
    g_shell.bar = rect;
}

void StandInShell::refuseAdds(LONG count) {
    InterlockedExchange(&g_shell.refusals, count);
}

bool StandInShell::hang() {
    ResetEvent(g_shell.resume);
    ResetEvent(g_shell.hung);
    PostMessageA(g_shell.taskbar, HANG, 0, 0);
    return WaitForSingleObject(g_shell.hung, 5000) == WAIT_OBJECT_0;
}

void StandInShell::resume() {
    SetEvent(g_shell.resume);
}

HWND StandInShell::taskbar() const {
    return g_shell.taskbar;
}

LONG StandInShell::adds() const {
    return g_shell.adds;
}

LONG StandInShell::icons() const {
    return g_shell.icons;
}

LONG StandInShell::positions() const {
    return g_shell.positions;
}
