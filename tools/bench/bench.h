// The benchmark's Windows-side driver: it starts pendrel.exe and the baseline
// program beside it, moves the pointer, watches the z-order from outside and
// counts the objects the programs hold. It prints what it measured as
// "RESULT name value" lines for tools/benchmark.sh; it asserts nothing.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

namespace bench {

// The program's outside contract, as a user or another program sees it.
const char TRIGGER_CLASS[] = "Marrowick";
const char TRIGGER_TITLE[] = "Pendrel";
const char TASKBAR_CLASS[] = "Shell_TrayWnd";
const char ABOUT_TITLE[] = "About Pendrel";
const char CONFIG_TITLE[] = "Pendrel Configuration";
const char SETTINGS_KEY[] = "Software\\Oxbrindle\\Marrowick";
const char VALUE_DELAY_ENABLED[] = "Temporiser";
const char VALUE_DELAY_MS[] = "ValeurTempo";
const UINT CMD_ABOUT = 30001;
const UINT CMD_CONFIG = 30002;
const int COUNTER_LABEL_ID = 1017;
const UINT_PTR PENDREL_POLL_TIMER = 1;
const int STRIP_DEPTH = 4;

const char PENDREL_EXE[] = "pendrel.exe";
const char BASELINE_EXE[] = "bench_baseline.exe";
const char BASELINE_CLASS[] = "PendrelBenchBaseline";

// Where the pointer rests between tries: far from the strip and the taskbar.
const POINT AWAY = {500, 300};
// Where it rests while the dialogs open: above both centred dialogs, so that
// no opening finds it over a control by chance.
const POINT CLEAR_OF_DIALOGS = {500, 80};
// The row of the cover where the baseline responder answers the pointer, well
// above the taskbar; its release test uses a band around it.
const int RESPONDER_ROW = 700;
const int RESPONDER_BAND_HALF = 10;
const int RELEASE_MARGIN = 5;

// Bounds on waits. They stop a hung run; none is a speed goal.
const DWORD START_BOUND_MS = 15000;
const DWORD EXIT_BOUND_MS = 15000;
const DWORD EFFECT_BOUND_MS = 5000;
const DWORD POINTER_BOUND_MS = 3000;
const DWORD POLL_STEP_MS = 1;
const DWORD SETTLE_MS = 1500;

// Milliseconds from a monotonic high-resolution clock.
double nowMs();

// Polls the predicate until it holds or the bound runs out; the answer is the
// predicate's last value. The step is short because some waits are timed.
template <typename Predicate>
bool waitUntil(Predicate holds, DWORD boundMs, DWORD stepMs = POLL_STEP_MS) {
    const double start = nowMs();
    for (;;) {
        if (holds())
            return true;
        if (nowMs() - start >= boundMs)
            return holds();
        Sleep(stepMs);
    }
}

void printResult(const char* name, const char* value);
void printResult(const char* name, double value);  // one decimal
void printCount(const char* name, long value);

// --- Programs: pendrel.exe and the baseline, started beside the driver.
struct Program {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;  // its TriggerWindow, or the baseline's window
};

bool startProgram(const char* exeName, Program& program);
// Waits for the program's window of the class (and title, when not null).
HWND waitForWindow(Program& program, const char* className, const char* title, DWORD boundMs = START_BOUND_MS);
// Closes the window, waits, and terminates as a last resort; true when the
// program ended by itself.
bool stopProgram(Program& program);
// Closes every window of the class on this desktop and waits for it to go.
void closeAllOf(const char* className);
bool isRunning(const Program& program);
HWND findVisibleWindow(DWORD pid, const char* className, const char* title);
std::string windowText(HWND window);

void deleteSettingsKey();
bool writeSetting(const char* name, const char* text);

// --- Screen, pointer and z-order.
int screenWidth();
int screenHeight();
HWND shellTaskbar();
// The strip as the program must lay it: the bottom 4 pixels of the taskbar
// the shell reports. False when the shell reports no bottom taskbar.
bool bottomStrip(RECT* strip);
// An earlier raise may leave the taskbar in the always-on-top band.
void resetTaskbarBand();
HWND rootWindowAt(POINT p);
// Whether the taskbar is what lies at a point over it, above the strip:
// true when it is in front of the cover.
bool taskbarAboveCover();

// Where the release puts the taskbar: below the cover and out of the
// always-on-top band. A taskbar below the cover but still in that band was
// not released by the program.
bool taskbarReleased();

// Pointer motions. A real motion comes from xdotool, through the X server,
// as a user's would; SendInput is the fallback when xdotool cannot be
// started. Under Wine, SendInput moves the X pointer too, and the echo of
// that move can put the system's pointer back where it was for about 100 ms,
// so it is not used where the program reads the pointer right after a move.
const double NOT_SEEN = -1.0;
void sendPointerMove(int x, int y);
// Starts a real motion and returns the time at which the system first
// reports the pointer there, or NOT_SEEN.
double movePointerNoted(int x, int y);
bool movePointer(int x, int y);
const char* pointerMethod();
bool cursorAt(int x, int y);

// A full-screen topmost window of the driver, standing for a maximised
// always-on-top program, on a thread of its own. It also acts as the
// latency baseline: it notes when its own hit test for an armed point comes
// (at once, or after a timer of the given delay, as a program with that
// delay would act), and, on a one-second timer, when it first finds the
// pointer outside its band, as a program that checks once a second would.
class Cover {
public:
    static constexpr COLORREF COLOUR = RGB(64, 64, 64);
    Cover() = default;
    ~Cover() { lower(); }
    Cover(const Cover&) = delete;
    Cover& operator=(const Cover&) = delete;
    bool raise();
    void lower();
    HWND window() const { return window_; }
    // Makes the cover the foreground window again, as a user going back to
    // the full-screen program would.
    bool takeForeground();

    void armHitTest(POINT target, UINT delayMs);
    void armRelease();
    // The time (nowMs) of the answer, or 0 while none has come.
    double answeredAt() const { return answeredAt_.load(); }

    // The window procedure's handlers, on the cover's thread.
    LRESULT onHitTest(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT onTimer(HWND window, WPARAM id);

private:
    static DWORD WINAPI threadMain(LPVOID self);
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HWND window_ = nullptr;
    std::atomic<int> hitArmed_{0};
    std::atomic<int> releaseArmed_{0};
    std::atomic<LONG> targetX_{0};
    std::atomic<LONG> targetY_{0};
    std::atomic<UINT> delayMs_{0};
    std::atomic<double> answeredAt_{0.0};
};

// --- Object counts of a process, as far as the system lets another process see them.
struct Counts {
    DWORD guiGdi = 0;   // GetGuiResources
    DWORD guiUser = 0;
    long gdiTable = -1;  // used entries of the process's GDI handle table, -1 unknown
    std::string gdiKinds;  // the same by kind, "bitmap:3,brush/pen:12"
    long gdiDcs = -1;        // DCs among them
    long gdiBeyondDcs = -1;  // the same without window DCs and their regions and surfaces
    long windows = 0;    // windows the process owns (top-level, child, message-only)
    long kernelHandles = -1;
    double privateKiB = 0;
    double workingSetKiB = 0;
};

Counts countsOf(HANDLE process, DWORD pid);
void printCounts(const char* prefix, const Counts& counts);
bool checkCounting();

// --- The measurements.
int runLatency(int tries, UINT delayMs);
int runChurn(int activations, int openings);

}  // namespace bench
