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
// milliseconds. Both windows live on a thread of their own.
class FakeShell {
public:
    static constexpr COLORREF COLOUR = RGB(0, 128, 96);
    FakeShell() = default;
    ~FakeShell() { stop(); }
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;

    // Starts answering, at first with "no taskbar". False when the thread or
    // its window cannot be made.
    bool start();
    // Whether a request of this process reaches the stand-in (false on a
    // system that answers some other way).
    bool answersTaskbarRequests();
    void reportNoTaskbar();
    void reportTaskbar(const RECT& rect, UINT edge);
    // Shows (or moves) the stand-in taskbar window at the rectangle.
    bool showTaskbar(const RECT& rect);
    void removeTaskbar();
    HWND taskbar() const { return taskbar_; }
    // How many taskbar requests it has answered so far.
    long requestsAnswered() const { return answered_; }
    // How many times the stand-in taskbar was sent to the bottom of the
    // z-order: what the program does when it releases it.
    long timesSentToBottom() const { return sentToBottom_; }

    void stop();

    // Run on the stand-in's thread only.
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static HWND make(void* self);
    void answer(const COPYDATASTRUCT* request);
    LRESULT answerIcon(const COPYDATASTRUCT* request);

    WindowThread thread_;
    HWND responder_ = nullptr;
    HWND taskbar_ = nullptr;
    CRITICAL_SECTION lock_;
    bool lockMade_ = false;
    bool reporting_ = false;
    RECT rect_ = {};
    UINT edge_ = 0;
    volatile long answered_ = 0;
    volatile long sentToBottom_ = 0;
    std::vector<std::pair<LONG, UINT>> icons_;  // owner and id; on the stand-in's thread only

};

}  // namespace e2e
