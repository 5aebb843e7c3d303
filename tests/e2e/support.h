// Support for the end-to-end scenarios: pendrel.exe is started as a separate
// process and watched only from outside, through what any other program of
// the desktop can see (windows, the registry, the pointer, the screen, the
// notification area).
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace e2e {

// The program's outside contract, written down here on purpose rather than
// taken from the program's headers: a change there must show up as a failure.
const char TRIGGER_CLASS[] = "Marrowick";
const char TRIGGER_TITLE[] = "Pendrel";
const char TASKBAR_CLASS[] = "Shell_TrayWnd";
const char MENU_CLASS[] = "#32768";
const char ABOUT_TITLE[] = "About Pendrel";
const char CONFIG_TITLE[] = "Pendrel Configuration";
const char SETTINGS_KEY[] = "Software\\Oxbrindle\\Marrowick";
const UINT MSG_TRAY_NOTIFY = 1025;
const UINT MSG_SECOND_INSTANCE = 1026;
const UINT MSG_READD_ICON = 51677;
const UINT CMD_ABOUT = 30001;
const UINT CMD_CONFIG = 30002;
const UINT CMD_EXIT = 30003;
const UINT TRAY_ICON_ID = 1;
const int ABOUT_COUNTER_LABEL = 1017;
const char COUNTER_TEXT_START[] = "You have activated ";
const LONG TRIGGER_EX_STYLE_SEEN = 0xB8;  // created with 0x1B8; the window manager drops the edge
const DWORD EXIT_OK = 0;
const DWORD EXIT_ALREADY_RUNNING = 1;
const int STRIP_DEPTH = 4;

// Value names byte for byte, in code page 1252.
const char VALUE_DELAY_ENABLED[] = "Temporiser";
const char VALUE_DELAY_MS[] = "ValeurTempo";
const char VALUE_RESTART_ON_MOVE[] = "RelanceTempo";
const char VALUE_OVER_TOPMOST[] = "DevantToujoursVisibles";
const char VALUE_SEND_BACK[] = "RetourArri\xE8rePlan";
const char VALUE_SHOW_ICON[] = "VoirIcone";
const char VALUE_REMOVE_ICON[] = "SupprimerIconeApresTempo";
const char VALUE_HIGHLIGHT[] = "Surbrillance";

// Bounds on waits. They only stop a hung test; none is a speed goal.
const DWORD START_BOUND_MS = 15000;
const DWORD EXIT_BOUND_MS = 15000;
const DWORD EFFECT_BOUND_MS = 5000;
const DWORD POLL_STEP_MS = 25;

// Polls the predicate every POLL_STEP_MS until it holds or the bound runs out;
// the answer is the predicate's last value.
template <typename Predicate>
bool waitUntil(Predicate holds, DWORD boundMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (holds())
            return true;
        if (GetTickCount() - start >= boundMs)
            return holds();
        Sleep(POLL_STEP_MS);
    }
}

// One started copy of pendrel.exe.
struct Pendrel {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND trigger = nullptr;  // its TriggerWindow, once found
};

std::string pendrelPath();
// Starts pendrel.exe beside the driver; false when CreateProcess fails.
bool startPendrel(Pendrel& copy);
// Waits for the copy's own TriggerWindow (class and title, owned by its pid).
HWND waitForTriggerWindow(Pendrel& copy, DWORD boundMs = START_BOUND_MS);
bool isRunning(const Pendrel& copy);
// Every top-level window of the TriggerWindow's class, whoever owns it.
std::vector<HWND> allTriggerWindows();
// Waits for the copy to end; false on timeout. The exit code is stored.
bool waitForExit(const Pendrel& copy, DWORD boundMs, DWORD* exitCode);
// Closes the TriggerWindow, waits, and terminates as a last resort. Returns
// whether the copy ended by itself; the handle is closed.
bool stopPendrel(Pendrel& copy, DWORD* exitCode = nullptr);

// Registry of the current user.
void deleteSettingsKey();
bool writeSetting(const char* name, const char* text);

// Screen geometry.
int screenWidth();
int screenHeight();
HWND shellTaskbar();
// The 4-pixel band of the taskbar on the screen edge, derived from what the
// shell reports; false when the shell gives no bottom-docked taskbar.
bool expectedBottomStrip(RECT* strip);
RECT windowRect(HWND window);
bool sameRect(const RECT& a, const RECT& b);
std::string describe(const RECT& r);

// A full-screen topmost window of the driver, standing for a maximised
// always-on-top program; it runs its own message loop on its own thread.
class Cover {
public:
    static constexpr COLORREF COLOUR = RGB(64, 64, 64);  // no system colour has it
    Cover() = default;
    ~Cover() { lower(); }
    Cover(const Cover&) = delete;
    Cover& operator=(const Cover&) = delete;
    bool raise();
    void lower();
    HWND window() const { return window_; }

private:
    static DWORD WINAPI threadMain(LPVOID self);
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HWND window_ = nullptr;
};

// The point over the taskbar, above the strip, where the tests look for it.
POINT taskbarProbePoint();
// Whether the window at the probe point belongs to the taskbar: true when the
// taskbar is in front of the cover.
bool taskbarAboveCover();
// The top-level window found under a screen point.
HWND rootWindowAt(POINT p);

// Input through the system's input queue, as a user would give it.
bool movePointer(int x, int y);
void rightClickAt(int x, int y);
void pressKey(WORD virtualKey);

// Screen contents.
COLORREF screenPixel(int x, int y);
// Whether every sampled pixel of the strip's rows (y 765..767 on this desktop)
// has the colour / none of them has it.
bool stripAllOfColour(const RECT& strip, COLORREF colour);
bool stripNoneOfColour(const RECT& strip, COLORREF colour);
// Saves the screen as NAME.bmp in the folder named by PENDREL_ARTIFACTS (a
// Unix path is taken through drive Z:). False when unset or on failure.
bool saveScreenshot(const char* name);

// Notification area: a modify succeeds exactly while the icon exists.
bool trayIconPresent(HWND owner, UINT iconId = TRAY_ICON_ID);

// A visible top-level window of the process with the class and/or title
// (either may be null).
HWND findVisibleWindow(DWORD pid, const char* className, const char* title);
std::string windowText(HWND window);
std::string className(HWND window);
// The count that the About dialog's counter label shows; -1 when the label
// does not read "You have activated N times the taskbar.".
long countShownInAbout(HWND about);
// The texts of a popup menu window's items, when another process may read
// them; false when the menu handle is not readable from here.
bool readMenuItems(HWND menuWindow, std::vector<std::string>* items);

// Each scenario starts from no settings key, no copy of the program running
// and the pointer away from the strip, and leaves the same behind.
class PendrelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts a copy and waits for its TriggerWindow; fails the test otherwise.
    Pendrel& launch();
    // Waits until the TriggerWindow lies on the strip, which happens at the
    // first poll, about a second after start.
    bool waitOnStrip(const Pendrel& copy, DWORD boundMs = EFFECT_BOUND_MS);
    // Opens the copy's About dialog with its menu command and waits for it.
    HWND openAbout(const Pendrel& copy);

    std::deque<Pendrel> copies_;  // references stay valid as copies are added
    RECT strip_ = {};
    Cover cover_;
};

}  // namespace e2e
