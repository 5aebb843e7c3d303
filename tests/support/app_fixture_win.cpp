#include "support/app_fixture.h"

#include <shellapi.h>

#include "app/startup.h"
#include "trigger/locator.h"
#include "trigger/presence.h"
#include "trigger/taskbar.h"

const RECT BOTTOM_STRIP = {0, 764, 1024, 768};
static const char SETTINGS_KEY[] = "Software\\Oxbrindle\\Marrowick";

void pumpMessages(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    } while (GetTickCount() - start < ms);
}

void pumpDialogMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        if (g_app.config.dialog != nullptr && IsDialogMessageA(g_app.config.dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool stopTimer(HWND window, UINT_PTR timerId) {
    return KillTimer(window, timerId) != 0;
}

bool trayIconExists(HWND window) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != 0;
}

static void sendAbsoluteMove(int x, int y) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (LONG)(((LONGLONG)x * 65535 + width / 2) / (width - 1));
    input.mi.dy = (LONG)(((LONGLONG)y * 65535 + height / 2) / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

static bool pointerAt(int x, int y) {
    POINT p;
    return GetCursorPos(&p) && p.x == x && p.y == y;
}

bool movePointer(int x, int y) {
    // The display's own echo of an earlier move can arrive late and put the
    // pointer back; let the pending display events in (a zero wait does that
    // without dispatching anything) and insist until the position holds.
    for (int attempt = 0; attempt < 20; ++attempt) {
        sendAbsoluteMove(x, y);
        int steady = 0;
        for (int waited = 0; waited < 300 && steady < 10; waited += 5) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
            steady = pointerAt(x, y) ? steady + 1 : 0;
            Sleep(5);
        }
        if (steady >= 10) {
            // Input alone can leave the display's own pointer behind, and a
            // reading made 100 ms later finds it there again: it is moved too.
            SetCursorPos(x, y);
            return true;
        }
    }
    return false;
}

bool registerTestClass(const char* name, WNDPROC procedure) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    // As an ordinary program's: the pointer shows over its windows.
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void deleteSettingsKey() {
    RegDeleteKeyA(HKEY_CURRENT_USER, SETTINGS_KEY);
}

void writeSetting(const char* name, const char* text) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != 0)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)lstrlenA(text) + 1);
    RegCloseKey(key);
}

HWND shellTaskbar() {
    return FindWindowA("Shell_TrayWnd", nullptr);
}

void AppFixture::SetUp() {
    g_app = AppState{};
    for (Strip& strip : secondaryStripRecords)
        strip = Strip{};
    neverOverList() = ProgramList{};
    g_app.program.instance = GetModuleHandleA(nullptr);
    loadNames();
    static bool registered = false;
    if (!registered)
        registered = registerClasses();
    ASSERT_TRUE(registered);
    deleteSettingsKey();
}

void AppFixture::TearDown() {
    if (cover_ != nullptr)
        DestroyWindow(cover_);
    cover_ = nullptr;
    if (g_app.about.dialog != nullptr)
        DestroyWindow(g_app.about.dialog);
    if (g_app.config.dialog != nullptr)
        DestroyWindow(g_app.config.dialog);
    if (g_app.program.mainWindow != nullptr && IsWindow(g_app.program.mainWindow))
        DestroyWindow(g_app.program.mainWindow);
    pumpMessages(0);
    deleteSettingsKey();
}

HWND AppFixture::createTrigger() {
    HWND window = createTriggerWindow();
    EXPECT_NE(nullptr, window);
    g_app.trigger.primary.strip = BOTTOM_STRIP;
    placeStripWindow(g_app.trigger.primary);
    return window;
}

HWND AppFixture::coverTheTaskbar() {
    if (cover_ == nullptr)
        cover_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    // As the first poll would find it, if it can be found.
    if (g_app.trigger.primary.taskbarWindow == nullptr)
        g_app.trigger.primary.taskbarWindow = findTaskbar();
    SetWindowPos(shellTaskbar(), HWND_BOTTOM, 0, 0, 0, 0, flags);
    SetWindowPos(cover_, HWND_TOPMOST, 0, 0, 0, 0, flags | SWP_SHOWWINDOW);
    // The pointer shows over it, as over any program that is not a game: the
    // thread never handles the message that would set it.
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    // Laid again by the test, it is a new cover, not one that fights the strip.
    g_app.trigger.primary.liftedOver = nullptr;
    followCovers();
    return cover_;
}
