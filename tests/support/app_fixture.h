// A fresh program state for each Win32 test, with the real TriggerWindow
// procedure, the real registry of the Wine prefix and the real taskbar.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "app/app_state.h"

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates the TriggerWindow (its creation reads the settings and adds the
    // icon) and lays it on the real bottom strip.
    HWND createTrigger();
    // A full-screen always-on-top window of the test over the taskbar, as a
    // maximised program's would be, made at the first call and laid over the
    // taskbar again at each; the strips then show and catch the pointer.
    // Gone at the end of the test.
    HWND coverTheTaskbar();

private:
    HWND cover_ = nullptr;
};

// Dispatches what arrives for up to `ms` milliseconds; a WM_QUIT is dropped.
void pumpMessages(DWORD ms);
// What the program's message loop does with what is pending, the
// configuration dialog's keyboard navigation included.
void pumpDialogMessages();
// Waits, pumping, until the predicate holds or the bound runs out.
template <typename Predicate>
bool pumpUntil(Predicate holds, DWORD boundMs) {
    for (DWORD waited = 0; waited < boundMs; waited += 10) {
        if (holds())
            return true;
        pumpMessages(10);
    }
    return holds();
}
// Whether the timer was running; it is stopped by the question.
bool stopTimer(HWND window, UINT_PTR timerId);
// Asks the shell whether our icon exists (a modify succeeds only then).
bool trayIconExists(HWND window);
// Moves the pointer as the hardware would and waits (bounded) until the
// system reports it there. SetCursorPos can be overtaken by its own earlier
// motion under Wine, which is why input is synthesised instead.
bool movePointer(int x, int y);
// A window class of the test process with this procedure; one already
// registered counts as registered.
bool registerTestClass(const char* name, WNDPROC procedure);
void deleteSettingsKey();
void writeSetting(const char* name, const char* text);
// The shell's taskbar and the bottom strip of the Wine desktop.
HWND shellTaskbar();
extern const RECT BOTTOM_STRIP;
