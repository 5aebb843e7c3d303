// Support for the end-to-end scenarios: pendrel.exe is started as a separate
// process and watched only from outside (tests/outside), through what any
// other program of the desktop can see (windows, the registry, the pointer,
// the screen, the notification area).
#pragma once
#include "outside/outside.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace e2e {

using namespace outside;

// One started copy of pendrel.exe; its window is the TriggerWindow.
using Pendrel = Program;

// A path the test script handed over, as Windows names it: under Wine a Unix
// path is taken through drive Z:, the Unix root.
std::string toWindowsPath(const std::string& path);

// Every top-level window of the TriggerWindow's class, whoever owns it.
std::vector<HWND> allTriggerWindows();

// Input through the system's input queue, as a user would give it. The left
// click waits for a pointer that stays put; false (and no click) otherwise.
bool leftClickAt(int x, int y);
void rightClickAt(int x, int y);
// Keys go to the foreground window's thread.
void pressKey(WORD virtualKey);
// Ctrl+Alt+T as the hot-key control stores it, and the keys pressed through
// the system's input queue: keys typed through X reach Wine's hot keys only
// while its desktop has the X focus, SendInput reaches them always.
const char CTRL_ALT_T[] = "1620";
void pressCtrlAltT();
// The control that has the keyboard focus on the window's thread, as the
// system tells any process; null when none has it.
HWND keyboardFocusOf(HWND window);

// Screen contents.
COLORREF screenPixel(int x, int y);
// Whether every sampled pixel of the strip's rows (y 765..767 on this desktop)
// has the colour / none of them has it.
bool stripAllOfColour(const RECT& strip, COLORREF colour);
bool stripNoneOfColour(const RECT& strip, COLORREF colour);
// Saves the screen, every monitor of it, as NAME.bmp in the folder named by
// PENDREL_ARTIFACTS (a Unix path is taken through drive Z:). False when unset
// or on failure.
bool saveScreenshot(const char* name);

// Notification area: a modify succeeds exactly while the icon exists.
bool trayIconPresent(HWND owner, UINT iconId = TRAY_ICON_ID);
// What a restarting shell does to every icon: forgets it.
bool deleteIconFromOutside(HWND owner, UINT iconId = TRAY_ICON_ID);

// The texts of a popup menu window's items, when another process may read
// them; false when the menu handle is not readable from here.
bool readMenuItems(HWND menuWindow, std::vector<std::string>* items);

// A system timer keeps to the clock's tick, about 16 ms on Windows: it may
// run out that much early as a finer clock reads it.
const double CLOCK_TICK_MS = 16;
// When (nowMs) the predicate was first seen to hold; NOT_SEEN when it did not
// within the bound.
template <typename Predicate>
double whenSeen(Predicate holds, DWORD boundMs) {
    double seen = NOT_SEEN;
    waitUntil(
        [&] {
            if (seen == NOT_SEEN && holds())
                seen = nowMs();
            return seen != NOT_SEEN;
        },
        boundMs);
    return seen;
}

// A full-screen program that hides the pointer over it, as games do, and the
// same with the pointer shown (a video, a browser in full screen).
class Game : public Cover {
public:
    void showPointer(bool shown) { shown_ = shown ? 1 : 0; }
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_SETCURSOR)
            return Cover::onMessage(window, message, wParam, lParam);
        SetCursor(shown_ ? LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)) : nullptr);
        return TRUE;
    }

private:
    volatile LONG shown_ = 0;
};

// Starts `pendrel.exe /report ARGUMENTS`.
bool startReport(const std::string& arguments, Program& program);
// The report that `pendrel.exe /report` writes to a new file NAME beside the
// driver; fails the test when it does not say it wrote one.
std::string pendrelReport(const char* name);
// The report's line that starts with KEY, without its line end; empty when none.
std::string reportLine(const std::string& report, const std::string& key);
// The menu's command, handled by the running copy by the time the call returns.
bool choose(const Pendrel& copy, UINT command);

// Each scenario starts from no settings key, no copy of the program running
// and the pointer away from the strip, and leaves the same behind.
class PendrelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts a copy (the one beside the driver unless a full path is given)
    // and waits for its TriggerWindow; fails the test otherwise.
    Pendrel& launch(const std::wstring& path = std::wstring());
    // Waits until the TriggerWindow lies on the strip, which happens at the
    // first poll, about a second after start.
    bool waitOnStrip(const Pendrel& copy, DWORD boundMs = EFFECT_BOUND_MS);
    // Waits until the copy has made a whole poll from now on, and the shell
    // has handled what it asked of its taskbar: what a poll was going to do
    // has then been done. A poll that changes nothing shows nothing another
    // process can see (the strips stay where they are, hidden over a raised
    // taskbar), so the wait is two polls' time, one to begin and one whole.
    // False when the shell does not answer.
    bool waitForPolls();

    std::deque<Pendrel> copies_;  // references stay valid as copies are added
    RECT strip_ = {};
    Cover cover_;
};

}  // namespace e2e
