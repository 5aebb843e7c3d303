// What the About dialog's Win32 tests share: a fresh AppState, the dialog class
// that start-up registers, the common controls, a bounded message pump and the
// statistics clock.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdint.h>
#include <string>

#include "about/about_dialog.h"
#include "app/app_state.h"
#include "resources/resource.h"

namespace about_test {

const DWORD PUMP_LIMIT_MS = 10000;  // generous: machines are shared and slow

inline void pumpOnce() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Dispatches messages until `done` holds or the bound runs out; returns `done`.
template <typename Done>
bool pumpUntil(Done done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > PUMP_LIMIT_MS)
            return false;
        pumpOnce();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

inline uint64_t nowTicks() {
    SYSTEMTIME system;
    GetSystemTime(&system);
    FILETIME now;
    SystemTimeToFileTime(&system, &now);
    return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

inline FILETIME fileTime(uint64_t ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

inline uint64_t ticksOf(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

const int64_t SECOND = 10000000;

// Counting started `seconds` ago (in the future when negative).
inline void startCountingAgo(int64_t seconds) {
    g_app.about.countStart = fileTime(nowTicks() - static_cast<uint64_t>(seconds * SECOND));
}

inline std::string itemText(HWND dialog, int id) {
    char text[TEXT_BUFFER_SIZE] = {};
    GetDlgItemTextA(dialog, id, text, TEXT_BUFFER_SIZE);
    return text;
}

inline std::string stringResource(UINT id) {
    char text[TEXT_BUFFER_SIZE];
    loadText(id, text);
    return text;
}

class AboutFixture : public ::testing::Test {
protected:
    void SetUp() override {
        g_app = AppState{};
        g_app.program.instance = GetModuleHandleA(nullptr);
        INITCOMMONCONTROLSEX controls = {};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_TAB_CLASSES;
        InitCommonControlsEx(&controls);
        registerDialogClass();
        startCountingAgo(0);
        // The real pointer would send its own WM_SETCURSOR to whatever lies
        // under it; keep it in the desktop's corner, away from the dialog.
        SetCursorPos(0, 0);
    }

    void TearDown() override {
        if (g_app.about.dialog != nullptr)
            DestroyWindow(g_app.about.dialog);
        pumpOnce();
    }

    // The class the template names, registered as start-up does.
    static void registerDialogClass() {
        char name[TEXT_BUFFER_SIZE];
        loadText(IDS_DIALOG_CLASS, name);
        WNDCLASSEXA existing = {};
        existing.cbSize = sizeof(existing);
        if (GetClassInfoExA(g_app.program.instance, name, &existing))
            return;
        WNDCLASSEXA cls = {};
        cls.cbSize = sizeof(cls);
        cls.style = CS_HREDRAW | CS_VREDRAW;
        cls.lpfnWndProc = DefDlgProcA;
        cls.cbWndExtra = DLGWINDOWEXTRA;
        cls.hInstance = g_app.program.instance;
        cls.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
        cls.lpszClassName = name;
        ASSERT_NE(RegisterClassExA(&cls), 0) << GetLastError();
    }

    // Opens the dialog and waits until both links have been fitted and painted.
    HWND openPainted() {
        openAboutDialog();
        HWND dialog = g_app.about.dialog;
        if (dialog == nullptr)
            return nullptr;
        pumpUntil([] { return g_app.about.mailLinkSized && g_app.about.webLinkSized; });
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        pumpOnce();
        return dialog;
    }
};

}  // namespace about_test
