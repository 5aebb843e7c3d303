// Pendrel seen from outside, through what any other program of the desktop
// can do and see: starting and ending it, its windows and dialogs, its
// settings in the registry, the pointer, the taskbar's place in the z-order, a
// full-screen cover, and the objects a process holds. The end-to-end tests
// and the benchmark's driver share it; no test framework in it.
#pragma once
#include <windows.h>

#include <string>

// The program's own names and numbers: its classes, titles, registry names,
// menu commands, control ids, private messages and timers.
#include "resources/constants.h"
#include "resources/names.h"
#include "resources/resource.h"
#include "tray/tray_icon.h"

namespace outside {

// The system's names, which the program must match rather than define.
const char TASKBAR_CLASS[] = "Shell_TrayWnd";
const char MENU_CLASS[] = "#32768";
const char MESSAGE_BOX_CLASS[] = "#32770";
const char TASKBAR_CREATED[] = "TaskbarCreated";

const char PENDREL_EXE[] = "pendrel.exe";
// The smallest window program (tools/bench), beside the driver: a program of
// its own that scenarios copy under the names they need.
const char BARE_PROGRAM_EXE[] = "bench_bare.exe";
const DWORD EXIT_OK = 0;
// What another process reads of the TriggerWindow's extended style: a tool
// window, topmost, transparent, accepting files and never activated
// (WS_EX_NOACTIVATE); the window manager drops the window edge from a
// frameless popup.
const LONG TRIGGER_EX_STYLE_SEEN = 0x080000B8;
// Where the pointer rests between moves: far from the strip and the taskbar.
const POINT AWAY = {500, 300};

// Bounds on waits. They only stop a hung run; none is a speed goal.
const DWORD START_BOUND_MS = 15000;
const DWORD EXIT_BOUND_MS = 15000;
const DWORD EFFECT_BOUND_MS = 5000;
const DWORD POINTER_BOUND_MS = 3000;
const DWORD POLL_STEP_MS = 25;
// For waits that are timed, or that thousands of rounds go through.
const DWORD FINE_STEP_MS = 1;

// Milliseconds from a monotonic high-resolution clock.
double nowMs();

// Polls the predicate every step until it holds or the bound runs out; the
// answer is the predicate's last value.
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

// --- Programs started beside the driver ----------------------------------------

struct Program {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;  // its main window once found: pendrel.exe's TriggerWindow
};

std::string besideDriver(const char* exeName);
// False when CreateProcess fails (GetLastError tells why). Without
// `activate` the program is asked to show its window without activating it.
bool startProgram(const char* exeName, Program& program, bool activate = true);
// The same for a program at a full path, which may hold any character, with
// the arguments given.
bool startProgramAt(const std::wstring& path, Program& program, bool activate = true,
                    const std::wstring& arguments = std::wstring());
// The program's top-level window of the class and title (either may be null).
HWND findWindowOf(DWORD pid, const char* className, const char* title);
// Waits for that window and keeps it as the program's window.
HWND waitForWindow(Program& program, const char* className, const char* title, DWORD boundMs = START_BOUND_MS);
bool isRunning(const Program& program);
// Waits for the program to end; false on timeout. The exit code is stored.
bool waitForExit(const Program& program, DWORD boundMs, DWORD* exitCode);
// Closes the program's window (its TriggerWindow when none is known yet),
// waits, and terminates as a last resort. True when it ended by itself.
bool stopProgram(Program& program, DWORD* exitCode = nullptr);
// Closes every top-level window of the class, whoever owns it, and ends the
// owners that do not go: copies left behind by an earlier run.
void closeAllOf(const char* className);

// A visible top-level window of the process with the class and/or title
// (either may be null).
HWND findVisibleWindow(DWORD pid, const char* className, const char* title);
std::string windowText(HWND window);
std::string className(HWND window);
RECT windowRect(HWND window);
bool sameRect(const RECT& a, const RECT& b);
std::string describe(const RECT& r);
// Returns once the window's thread has answered a message sent to it, and
// so once it handled the messages sent before. Messages posted before may
// still wait: a thread takes sent messages first.
bool roundTripTo(HWND window, DWORD boundMs = EFFECT_BOUND_MS);

// --- The program's dialogs ------------------------------------------------------

// Posts the menu command and waits for the dialog of that title; null when
// none shows.
HWND openDialog(const Program& pendrel, UINT command, const char* title);
HWND openAbout(const Program& pendrel);
// Closes a dialog as Cancel does (or as the message given), and waits for it to go.
bool closeDialog(HWND dialog, UINT message = WM_COMMAND, WPARAM wParam = IDCANCEL);
// The count that the About dialog's counter label shows; -1 when the label
// does not read as the counter's format.
long countShownInAbout(HWND about);

// --- Settings, in the registry of the current user ---------------------------------

void deleteSettingsKey();
bool writeSetting(const char* name, const char* text);
// Stores the bytes exactly as given, with the given type (no NUL added).
bool writeRawSetting(const char* name, DWORD type, const std::string& bytes);
// The text stored for the value; empty when there is none.
std::string readSetting(const char* name);

// --- The screen, the taskbar and the z-order ---------------------------------------

int screenWidth();
int screenHeight();
// The display's scale in dots per inch: 96 unless the desktop runs scaled.
int screenDpi();
HWND shellTaskbar();
// The strip as the program must lay it: the bottom `depth` rows of the
// taskbar the shell reports (the depth at 96 DPI unless a scaled display
// calls for more). False when the shell reports no taskbar along the whole
// bottom edge.
bool bottomStrip(RECT* strip, int depth = STRIP_DEPTH);
// An earlier raise may leave the taskbar in the always-on-top band, where the
// shell never puts it by itself.
void resetTaskbarBand();
HWND rootWindowAt(POINT p);
bool isTopmost(HWND window);
// A point over the taskbar, above the strip.
POINT taskbarProbePoint();
// Whether the taskbar is what lies at the probe point: true when it is in
// front of the cover.
bool taskbarAboveCover();
// Where a release puts the taskbar: below the cover and out of the
// always-on-top band. A taskbar below the cover but still in that band was
// not released by the program.
bool taskbarReleased();

// --- The pointer ----------------------------------------------------------------

const double NOT_SEEN = -1.0;
bool cursorAt(int x, int y);
// Absolute SendInput; returns at once.
void sendPointerMove(int x, int y);
// Through SendInput; true once the system reports the pointer there.
bool movePointer(int x, int y);
// A real motion through the X server (xdotool, whose Unix path
// PENDREL_XDOTOOL may name), as a user's would; SendInput when xdotool cannot
// be started. Under Wine, SendInput moves the X pointer too, and the echo of
// that move can put the system's pointer back where it was for about 100 ms.
// True once the system reports the pointer there; the time of that (nowMs)
// goes to seenAt.
bool movePointerThroughX(int x, int y, double* seenAt = nullptr);
// A double-click with the left button through the X server, as a user's
// (SendInput when xdotool cannot be started); true once the pointer is there.
bool doubleClickThroughX(int x, int y);
// "xdotool", or "SendInput" once xdotool could not be started.
const char* pointerMethod();
// Under Wine a process reads the pointer from the X server once the last
// input is 100 ms old, and the X pointer does not always follow synthesised
// input: a pointer that must stay put for long is placed both ways. True once
// this process reads it there past those 100 ms.
bool placePointerForGood(int x, int y);

// --- Windows of the driver's own ---------------------------------------------------

// Registers a window class of this program with a background of the colour
// (once: later calls find it registered).
void registerClass(const char* name, WNDPROC procedure, COLORREF background);

// A thread of the driver's own that makes a window and runs its message loop,
// so that the window answers while the driver waits.
class WindowThread {
public:
    typedef HWND (*Make)(void* param);
    WindowThread() = default;
    ~WindowThread() { stop(); }
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;
    // Starts the thread, which calls make(param) and then runs the loop; the
    // window made, or null. The window's end must end the loop (PostQuitMessage).
    HWND start(Make make, void* param);
    // Closes the window and waits for the thread.
    void stop();

private:
    static DWORD WINAPI threadMain(LPVOID self);
    Make make_ = nullptr;
    void* param_ = nullptr;
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HWND window_ = nullptr;
};

// A full-screen topmost window of the driver, standing for a maximised
// always-on-top program that the user works in; it runs its own message loop
// on its own thread.
class Cover {
public:
    static constexpr COLORREF COLOUR = RGB(64, 64, 64);  // no system colour has it
    Cover() = default;
    virtual ~Cover() { lower(); }
    Cover(const Cover&) = delete;
    Cover& operator=(const Cover&) = delete;
    // True once the cover lies in front at the middle of the screen (or at
    // the point given) and is the foreground window.
    bool raise();
    bool raise(POINT at);
    void lower();
    HWND window() const { return window_; }
    // Makes the cover the foreground window again, as a user going back to
    // the full-screen program would.
    bool takeForeground();
    // Its window procedure, on its thread. A cover that does more handles more
    // (and lowers itself in its own destructor).
    virtual LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // On the cover's thread, once its window exists.
    virtual void onCreated(HWND window) { (void)window; }

private:
    static HWND make(void* self);
    WindowThread thread_;
    HWND window_ = nullptr;
};

// A taskbar window of the driver's own, standing for one that the shell
// shows where this desktop shows none (Wine without its virtual desktop): of
// the class it is given (the primary taskbar's or a secondary one's), not
// always on top, in front of the rest of its band when shown, as the shell's
// are. It accepts what a shell's taskbar is sent (notification-area requests
// among them) on a thread of its own. The class is registered once per
// process: a class of that name registered before keeps its procedure.
class StandInTaskbar {
public:
    static constexpr COLORREF COLOUR = RGB(96, 0, 128);  // neither the cover's nor a system colour
    StandInTaskbar() = default;
    ~StandInTaskbar() { remove(); }
    StandInTaskbar(const StandInTaskbar&) = delete;
    StandInTaskbar& operator=(const StandInTaskbar&) = delete;
    // False when the window cannot be made.
    bool show(const char* windowClass, const RECT& rect);
    // Destroys the window, as a shell does with the taskbar of a monitor that went.
    void remove();
    HWND window() const { return window_; }

private:
    static HWND make(void* self);
    WindowThread thread_;
    const char* class_ = nullptr;
    RECT rect_ = {};
    HWND window_ = nullptr;
};

// --- Objects of a process, as far as the system lets another process see them ------

struct Counts {
    DWORD guiGdi = 0;  // GetGuiResources
    DWORD guiUser = 0;
    long gdiTable = -1;    // used entries of the process's GDI handle table, -1 unknown
    std::string gdiKinds;  // the same by kind, "bitmap:3,brush/pen:12"
    long gdiDcs = -1;        // DCs among them
    long gdiBeyondDcs = -1;  // the same without window DCs and their regions and surfaces
    long windows = 0;        // windows the process owns (top-level, child, message-only)
    long kernelHandles = -1;
    SIZE_T privateBytes = 0;
    SIZE_T workingSetBytes = 0;
};
Counts countsOf(HANDLE process, DWORD pid);

}  // namespace outside
