#include "support/standin_shell.h"

#include <shellapi.h>

#include "support/wine_shell_records.h"

StandInShell g_standIn;

namespace {

const UINT HANG = WM_APP + 1;

// The answer goes to the mapping the asker names.
void answerPosition(const AppBarRequest* request) {
    AppBarAnswer answer = {1, request->fields};
    answer.fields.rect = g_standIn.bar;
    HANDLE mapping = nullptr;
    DuplicateHandle(GetCurrentProcess(), LongToHandle(request->answerMapping), GetCurrentProcess(), &mapping, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof answer);
    if (view != nullptr)
        CopyMemory(view, &answer, sizeof answer);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    InterlockedIncrement(&g_standIn.positions);
}

LRESULT answerIcon(ULONG_PTR request) {
    if (request == NIM_DELETE)
        return InterlockedExchange(&g_standIn.icons, 0);
    if (request != NIM_ADD)
        return g_standIn.icons;
    InterlockedIncrement(&g_standIn.adds);
    if (g_standIn.refusals > 0)
        return InterlockedDecrement(&g_standIn.refusals) < 0;
    return InterlockedCompareExchange(&g_standIn.icons, 1, 0) == 0;
}

LRESULT CALLBACK shellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (message == WM_COPYDATA && window == g_standIn.taskbar)
        return answerIcon(data->dwData);
    if (message == WM_COPYDATA && data->dwData == ABM_GETTASKBARPOS)
        answerPosition(static_cast<const AppBarRequest*>(data->lpData));
    if (message == HANG) {
        SetEvent(g_standIn.hung);
        WaitForSingleObject(g_standIn.resume, 60000);
    }
    return message == WM_COPYDATA ? TRUE : DefWindowProcA(window, message, wParam, lParam);
}

HWND make(const char* name, HWND parent, DWORD exStyle) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = shellProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
    const RECT& r = g_standIn.bar;
    return CreateWindowExA(exStyle, name, "", WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                           nullptr, wc.hInstance, nullptr);
}

DWORD WINAPI runShell(void*) {
    g_standIn.taskbar = make("Shell_TrayWnd", nullptr, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    ShowWindow(g_standIn.taskbar, SW_SHOWNA);
    HWND responder = make("WineAppBar", HWND_MESSAGE, 0);
    SetEvent(g_standIn.hung);
    MSG msg;
    while (responder != nullptr && GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    DestroyWindow(g_standIn.taskbar);
    DestroyWindow(responder);
    return 0;
}

}  // namespace

bool startStandInShell(const RECT& bar) {
    g_standIn = StandInShell{};
    g_standIn.bar = bar;
    g_standIn.hung = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    g_standIn.resume = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    g_standIn.thread = CreateThread(nullptr, 0, runShell, nullptr, 0, nullptr);
    return WaitForSingleObject(g_standIn.hung, 5000) == WAIT_OBJECT_0 &&
           FindWindowA("Shell_TrayWnd", nullptr) == g_standIn.taskbar;
}

void stopStandInShell() {
    resumeStandInShell();
    PostThreadMessageA(GetThreadId(g_standIn.thread), WM_QUIT, 0, 0);
    WaitForSingleObject(g_standIn.thread, 5000);
    UnregisterClassA("Shell_TrayWnd", GetModuleHandleA(nullptr));
    UnregisterClassA("WineAppBar", GetModuleHandleA(nullptr));
}

bool hangStandInShell() {
    PostMessageA(g_standIn.taskbar, HANG, 0, 0);
    return WaitForSingleObject(g_standIn.hung, 5000) == WAIT_OBJECT_0;
}

void resumeStandInShell() {
    SetEvent(g_standIn.resume);
}
