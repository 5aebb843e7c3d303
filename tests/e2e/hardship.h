// More outside help for the robustness, flood and soak scenarios: the
// registry key as stored, the configuration dialog read from another process,
// the process's object and memory figures, and a stand-in shell that a
// scenario can switch off, move or bring back.
#pragma once
#include "e2e/support.h"

#include <string>
#include <utility>
#include <vector>

namespace e2e {

using outside::describe;  // beside the overloads below

// Every stored value name, in the order the program reads them.
extern const char* const ALL_VALUE_NAMES[8];

// --- Registry -------------------------------------------------------------

// Everything stored under the key, as the registry keeps it (wide names and
// data), with the key's last write time: on Windows a value rewritten with the
// very same bytes still moves that time (Wine ignores such a write altogether).
struct StoredValue {
    std::wstring name;
    DWORD type = 0;
    std::vector<BYTE> data;
};
struct KeySnapshot {
    bool exists = false;
    FILETIME lastWrite = {};
    std::vector<StoredValue> values;
};
KeySnapshot snapshotSettingsKey();
bool sameSnapshot(const KeySnapshot& a, const KeySnapshot& b);
std::string describe(const KeySnapshot& snapshot);

// Lets everyone only read the key (it must exist): opening it with full access
// is then refused. The owner keeps the right to give full access back.
bool restrictSettingsKeyToReading();
// Gives full access back; harmless when the key is missing or not restricted.
void unrestrictSettingsKey();

// --- What the program shows -------------------------------------------------

// The settings as the configuration dialog shows them.
struct ShownSettings {
    bool delayEnabled = false;
    std::string delayText;
    bool restartOnMove = false;
    bool overTopmost = false;
    bool sendBack = false;
    bool showIcon = false;
    bool removeIcon = false;
    bool highlight = false;
};
// Opens the configuration dialog with its menu command, waits until it is
// visible and filled, and reads it; null when it did not open.
HWND openConfigAndRead(const Pendrel& copy, ShownSettings* shown);
// A visible message box of the program ("#32770" titled "Pendrel").
bool messageBoxShown(DWORD pid);
// Visible top-level windows of the process with that title.
int visibleWindowsTitled(DWORD pid, const char* title);

// --- Figures of the process ---------------------------------------------------

struct ProcessFigures {
    long gdiObjects = -1;   // -1: could not be read
    long userObjects = -1;  // see userObjectsAreWindowsOnly
    bool userObjectsAreWindowsOnly = false;
    SIZE_T privateBytes = 0;
    SIZE_T workingSet = 0;
};
// GetGuiResources where the system answers it. Where it is a stub (Wine), GDI
// objects are counted in the process's own GDI handle table (one icon holds
// GDI bitmaps, so a lost icon shows there), and USER objects are replaced by
// the windows of the process, the only USER objects another process can see.
ProcessFigures readFigures(const Pendrel& copy);
std::string describe(const ProcessFigures& figures);

// --- Notification area ---------------------------------------------------------

// What a new shell broadcasts once its taskbar exists.
void broadcastTaskbarCreated();
// Sends a change the system announces to every top-level window (a display,
// a setting, a scale): such messages cannot be posted to another process.
// False when the window did not take it in time.
bool announceTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// --- A stand-in shell -----------------------------------------------------------

// Wine's shell answers the taskbar requests (SHAppBarMessage) through a window
// of the class "WineAppBar"; the newest such window is the one asked. This
// stand-in makes one, so it answers for the shell while it exists: with no
// taskbar at all, or with the rectangle and edge it is told. It can also show
// a taskbar window of its own (the class "Shell_TrayWnd", in front of the
// real one, which the program then finds first), standing for the taskbar of
// a restarted shell; sent to the bottom, it stays in front of the real one.
// Being found first, it is the notification area too: it keeps the icons
// added to it, and a new one has none.
// It is restacked at once, where Wine's own taskbar takes a few hundred
// milliseconds. The taskbar window lives on a thread of its own, which can be
// made to hang; the requests are answered on another one.
class FakeShell {
public:
    static constexpr COLORREF COLOUR = RGB(0, 128, 96);
    // An edge outside 0..3: as an edge reported, the asker's own value is left
    // as it was (the shell reports none); as an auto-hide edge, none.
    static const UINT NO_EDGE = 0xFFFFFFFF;
    FakeShell() = default;
    ~FakeShell() { stop(); }
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;

    // Starts answering, at first with "no taskbar". False when the threads or
    // their windows cannot be made.
    bool start();
    // Whether a request of this process reaches the stand-in (false on a
    // system that answers some other way).
    bool answersTaskbarRequests();
    void reportNoTaskbar();
    void reportTaskbar(const RECT& rect, UINT edge);
    // Shows (or moves) the stand-in taskbar window at the rectangle.
    bool showTaskbar(const RECT& rect);
    // Another window in place of the stand-in taskbar, at its rectangle: made
    // before the old one goes, so that no other taskbar is found in between.
    bool replaceTaskbar();
    void removeTaskbar();
    HWND taskbar() const { return taskbar_; }
    // The desktop's own taskbar window goes under a window of the stand-in,
    // where no search for a taskbar finds it, until stop(): with the stand-in
    // taskbar removed, there is no taskbar window at all.
    bool hideShellTaskbar();
    // The stand-in taskbar's thread handles no message until resumeTaskbar()
    // or stop(); the requests are still answered.
    bool hangTaskbar();
    void resumeTaskbar();
    // From now on the auto-hide request for that edge answers the stand-in
    // taskbar's window, every other one null.
    void answerAutoHideOn(UINT edge);
    // The edges of the auto-hide requests received since the last call, in order.
    std::vector<UINT> takeAutoHideProbes();
    // How many taskbar requests it has answered so far.
    long requestsAnswered() const { return answered_; }
    // How many times the stand-in taskbar was sent to the bottom of the
    // z-order: what the program does when it releases it.
    long timesSentToBottom() const { return sentToBottom_; }

    void stop();

    // Run on the stand-in's threads only.
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static HWND makeControl(void* self);
    static HWND makeResponder(void* self);
    HWND makeTaskbar(const RECT& rect);
    void answer(const COPYDATASTRUCT* request);
    LRESULT answerIcon(const COPYDATASTRUCT* request);
    void restoreShellTaskbar();

    WindowThread taskbarThread_;  // the control window and the taskbar windows
    WindowThread answerThread_;   // the responder
    HWND control_ = nullptr;
    HWND responder_ = nullptr;
    HWND taskbar_ = nullptr;
    HWND hiddenShellTaskbar_ = nullptr;
    HANDLE hung_ = nullptr;    // set while the taskbar's thread hangs
    HANDLE resume_ = nullptr;  // ends the hang
    CRITICAL_SECTION lock_;
    bool lockMade_ = false;
    bool reporting_ = false;
    RECT rect_ = {};
    UINT edge_ = 0;
    HWND autoHideAnswer_ = nullptr;
    UINT autoHideEdge_ = NO_EDGE;
    std::vector<UINT> autoHideProbes_;
    volatile long answered_ = 0;
    volatile long sentToBottom_ = 0;
    std::vector<std::pair<LONG, UINT>> icons_;  // owner and id; on the taskbar's thread only
};

// A stand-in taskbar along the bottom of the 1024 by 768 desktop of the
// tests, and its strip.
const RECT BOTTOM_BAR = {0, 728, 1024, 768};
const RECT BOTTOM_STRIP = {0, 764, 1024, 768};

// A scenario with a stand-in shell on the 1024 by 768 desktop of the tests.
class StandInShellTest : public PendrelTest {
protected:
    static const int DESKTOP_WIDTH = 1024;
    static const int DESKTOP_HEIGHT = 768;
    void TearDown() override;
    // Starts the stand-in shell; false where the system's shell does not
    // consult it (the scenario is then skipped).
    bool standInShell();
    // Waits until the TriggerWindow lies on the strip.
    bool liesOn(const Pendrel& copy, const RECT& strip);

    FakeShell shell_;
};

#define START_STAND_IN_SHELL_OR_SKIP()                                                              \
    do {                                                                                            \
        if (!standInShell())                                                                        \
            GTEST_SKIP() << "the shell's taskbar requests cannot be answered from here (not Wine's " \
                            "shell, or not the 1024x768 test desktop)";                             \
    } while (0)

}  // namespace e2e
