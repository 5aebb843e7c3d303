#include "support/app_fixture.h"

#include <shellapi.h>

#include "app/startup.h"
#include "trigger/locator.h"

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
    g_app.instance = GetModuleHandleA(nullptr);
    loadNames();
    static bool registered = false;
    if (!registered)
        registered = registerClasses();
    ASSERT_TRUE(registered);
    deleteSettingsKey();
}

void AppFixture::TearDown() {
    if (g_app.aboutDialog != nullptr)
        DestroyWindow(g_app.aboutDialog);
    if (g_app.configDialog != nullptr)
        DestroyWindow(g_app.configDialog);
    if (g_app.mainWindow != nullptr && IsWindow(g_app.mainWindow))
        DestroyWindow(g_app.mainWindow);
    pumpMessages(0);
    deleteSettingsKey();
}

HWND AppFixture::createTrigger() {
    HWND window = createTriggerWindow();
    EXPECT_NE(nullptr, window);
    g_app.strip = BOTTOM_STRIP;
    placeTriggerWindow(window);
    return window;
}
