// shoot.exe: puts pendrel.exe in the states that tools/screenshots.sh takes
// pictures of, on a Wine desktop, one step per run. Each step that shows
// something prints the part of the screen to keep as ImageMagick geometry
// (WIDTHxHEIGHT+X+Y); the script then grabs the X display itself.
//   shoot.exe start                  no settings, a fresh pendrel.exe from beside this
//                                     program, back once its strip lies on the edge
//   shoot.exe about | config         opens that dialog and waits for it to be painted
//   shoot.exe close                  closes the dialogs that are open
//   shoot.exe raise SECONDS          a full-screen always-on-top window, the pointer on the
//                                     strip; prints the geometry and then READY once the taskbar
//                                     is in front and the strip out of its way, and keeps it so
//                                     for SECONDS
//   shoot.exe two-monitors SECONDS   on two monitors side by side: stand-in taskbars on both, a
//                                     fresh pendrel.exe, a cover over both and the second taskbar
//                                     raised over it, the primary strip lit for its delay; prints
//                                     the geometry and READY, keeps it so for SECONDS, then ends
//                                     pendrel.exe
//   shoot.exe stop                   ends pendrel.exe and removes its settings
// Exit code 0 when the step's state was reached, 1 otherwise (why on stderr).
#include "outside/outside.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

using namespace outside;

namespace {

const DWORD PAINT_SETTLE_MS = 700;
// What the raised view keeps of the screen: the bottom of the full-screen
// window, the taskbar and the strip.
enum RaisedView { RAISED_VIEW_HEIGHT = 150, LABEL_ABOVE_BOTTOM = 110, STRIP_POINTER_X = 500 };
const DWORD MAX_HOLD_SECONDS = 600;
// Where the pointer waits while a dialog is taken: off every dialog and link.
const POINT POINTER_ASIDE = {8, 8};
// The two-monitor view. The desktop shows no taskbar there: the driver's
// stand-ins take their place, as tall as the shell's.
const int STAND_IN_HEIGHT = 30;
const int BAR_PROBE_ABOVE_BOTTOM = 18;
// A strip stays lit while its delay runs: the primary one still shows when a
// click on the second strip has raised its taskbar (and that strip went out
// of its way).
const char TWO_MONITOR_DELAY_MS[] = "2000";
const DWORD STACK_SETTLE_MS = 150;

int fail(const char* what) {
    fprintf(stderr, "shoot: %s\n", what);
    return 1;
}

void printGeometry(const RECT& r) {
    printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    fflush(stdout);
}

// The running copy, found by its TriggerWindow.
bool findPendrel(Program* pendrel) {
    pendrel->window = FindWindowA(PENDREL_TRIGGER_CLASS, nullptr);
    if (pendrel->window == nullptr)
        return false;
    GetWindowThreadProcessId(pendrel->window, &pendrel->pid);
    return true;
}

// The strip of any depth along the bottom edge, as wide as the screen (out
// of the way, hidden, until something covers the taskbar).
bool stripOnBottomEdge(HWND trigger) {
    const RECT r = windowRect(trigger);
    return r.bottom == screenHeight() && r.top < r.bottom && r.left == 0 && r.right == screenWidth();
}

// A pendrel.exe from beside this program, with the settings stored now.
int launch() {
    Program pendrel;
    if (!startProgram(PENDREL_EXE, pendrel))
        return fail("pendrel.exe could not be started");
    if (waitForWindow(pendrel, PENDREL_TRIGGER_CLASS, PENDREL_CAPTION) == nullptr)
        return fail("pendrel.exe showed no TriggerWindow");
    // The first poll, about a second after start, lays the window on the strip.
    if (!waitUntil([&] { return stripOnBottomEdge(pendrel.window); }, START_BOUND_MS))
        return fail("the TriggerWindow never came to lie on the bottom edge");
    CloseHandle(pendrel.process);
    return 0;
}

int start() {
    closeAllOf(PENDREL_TRIGGER_CLASS);
    deleteSettingsKey();
    return launch();
}

int openAndShow(UINT command, const char* title) {
    Program pendrel;
    if (!findPendrel(&pendrel))
        return fail("pendrel.exe is not running");
    placePointerForGood(POINTER_ASIDE.x, POINTER_ASIDE.y);
    HWND dialog = openDialog(pendrel, command, title);
    if (dialog == nullptr)
        return fail("the dialog did not show");
    // The link buttons fit themselves to their text at their first paint.
    Sleep(PAINT_SETTLE_MS);
    printGeometry(windowRect(dialog));
    return 0;
}

int closeDialogs() {
    Program pendrel;
    if (!findPendrel(&pendrel))
        return fail("pendrel.exe is not running");
    for (const char* title : {PENDREL_ABOUT_TITLE, PENDREL_CONFIG_TITLE}) {
        HWND dialog = findVisibleWindow(pendrel.pid, PENDREL_DIALOG_CLASS, title);
        if (dialog != nullptr && !closeDialog(dialog))
            return fail("a dialog did not close");
    }
    return 0;
}

// The full-screen window says what it stands for, just above the taskbar.
class LabelledCover : public Cover {
public:
    ~LabelledCover() override { lower(); }
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_PAINT)
            return Cover::onMessage(window, message, wParam, lParam);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client = {};
        GetClientRect(window, &client);
        HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        // Once on each monitor that it covers.
        for (int left = 0; left < client.right; left += screenWidth()) {
            RECT line = {left, client.bottom - LABEL_ABOVE_BOTTOM, left + screenWidth(), client.bottom};
            DrawTextA(dc, "A full-screen always-on-top window", -1, &line, DT_CENTER | DT_TOP | DT_SINGLELINE);
        }
        SelectObject(dc, previous);
        EndPaint(window, &paint);
        return 0;
    }

protected:
    // Its button on the taskbar reads as what it stands for.
    void onCreated(HWND window) override { SetWindowTextA(window, "Full-screen program"); }
};

// The same over every monitor.
class WideLabelledCover : public LabelledCover {
protected:
    void onCreated(HWND window) override {
        LabelledCover::onCreated(window);
        SetWindowPos(window, nullptr, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

bool litAt(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF seen = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return seen == GetSysColor(COLOR_HIGHLIGHT);
}

void holdThenPointerAway(DWORD holdSeconds) {
    printf("READY\n");
    fflush(stdout);
    Sleep(holdSeconds * 1000);
    placePointerForGood(AWAY.x, AWAY.y);
}

int raiseOverCover(DWORD holdSeconds) {
    Program pendrel;
    if (!findPendrel(&pendrel))
        return fail("pendrel.exe is not running");
    LabelledCover cover;
    if (!cover.raise())
        return fail("the full-screen window did not come to the front");
    const RECT strip = windowRect(pendrel.window);
    if (!waitUntil([&] { return rootWindowAt(POINT{STRIP_POINTER_X, strip.top}) == pendrel.window; },
                   EFFECT_BOUND_MS))
        return fail("the strip is not in front of the full-screen window");
    placePointerForGood(STRIP_POINTER_X, strip.bottom - 1);
    if (!waitUntil([&] { return taskbarAboveCover() && !IsWindowVisible(pendrel.window); }, EFFECT_BOUND_MS))
        return fail("the taskbar did not come in front with the strip out of its way");
    // Wine restacks a window on screen only when it goes to the very top, so
    // the raised taskbar is in front in the window order but not yet in the
    // picture. Taken to the top, it shows in the order it already has.
    const UINT zOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(shellTaskbar(), HWND_TOPMOST, 0, 0, 0, 0, zOrderOnly);
    // Its buttons read their windows' titles as they paint: the cover's new one too.
    RedrawWindow(shellTaskbar(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    const auto inOrder = [&] {
        return taskbarAboveCover() && rootWindowAt(POINT{STRIP_POINTER_X, strip.bottom - 1}) == shellTaskbar();
    };
    Sleep(PAINT_SETTLE_MS);
    if (!waitUntil(inOrder, EFFECT_BOUND_MS))
        return fail("the taskbar and the strip did not keep their order");
    printGeometry(RECT{0, screenHeight() - RAISED_VIEW_HEIGHT, screenWidth(), screenHeight()});
    holdThenPointerAway(holdSeconds);
    return 0;
}

bool monitorAt(POINT p, RECT* monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(MonitorFromPoint(p, MONITOR_DEFAULTTONULL), &info))
        return false;
    *monitor = info.rcMonitor;
    return true;
}

RECT bottomBand(const RECT& monitor) {
    return RECT{monitor.left, monitor.bottom - STAND_IN_HEIGHT, monitor.right, monitor.bottom};
}

void clickHere() {
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
}

// The taskbars live as long as this step: the picture is taken while it holds.
int twoMonitors(DWORD holdSeconds) {
    RECT primary = {}, second = {};
    if (GetSystemMetrics(SM_CMONITORS) != 2 || !monitorAt(POINT{0, 0}, &primary) ||
        !monitorAt(POINT{primary.right, primary.top}, &second))
        return fail("needs two monitors side by side");
    // The primary one lines up with the place the shell reports for the taskbar.
    StandInTaskbar primaryBar, secondBar;
    if (!primaryBar.show(TASKBAR_CLASS, bottomBand(primary)) ||
        !secondBar.show(SECONDARY_TASKBAR_CLASS_NAME, bottomBand(second)))
        return fail("the stand-in taskbars could not be shown");
    closeAllOf(PENDREL_TRIGGER_CLASS);
    deleteSettingsKey();
    if (!writeSetting(PENDREL_REG_DELAY_MS, TWO_MONITOR_DELAY_MS))
        return fail("the delay could not be stored");
    if (launch() != 0)
        return 1;
    Program pendrel;
    if (!findPendrel(&pendrel))
        return fail("pendrel.exe is not running");
    const POINT onPrimaryStrip = {(primary.left + primary.right) / 2, primary.bottom - 2};
    const POINT onSecondStrip = {(second.left + second.right) / 2, second.bottom - 2};
    const POINT onSecondBar = {onSecondStrip.x, second.bottom - BAR_PROBE_ABOVE_BOTTOM};
    HWND secondStrip = nullptr;
    if (!waitUntil(
            [&] {
                secondStrip = findWindowOf(pendrel.pid, PENDREL_STRIP_CLASS, nullptr);
                return secondStrip != nullptr;
            },
            START_BOUND_MS))
        return fail("no strip on the second taskbar");
    WideLabelledCover cover;
    if (!cover.raise())
        return fail("the cover did not come to the front");
    const auto stripsInFront = [&] {
        return rootWindowAt(onPrimaryStrip) == pendrel.window && rootWindowAt(onSecondStrip) == secondStrip;
    };
    if (!waitUntil(stripsInFront, EFFECT_BOUND_MS))
        return fail("the strips are not in front of the cover");
    // The primary strip lights up for its delay; the pointer goes on to the
    // second strip, whose click raises its taskbar before that delay is out.
    if (!movePointer(onPrimaryStrip.x, onPrimaryStrip.y) ||
        !waitUntil([&] { return litAt(onPrimaryStrip.x, primary.bottom - 1); }, EFFECT_BOUND_MS))
        return fail("the primary strip did not light up");
    if (!movePointer(onSecondStrip.x, onSecondStrip.y) ||
        !waitUntil([&] { return litAt(onSecondStrip.x, second.bottom - 1); }, EFFECT_BOUND_MS))
        return fail("the second strip did not light up");
    clickHere();
    if (!waitUntil([&] { return rootWindowAt(onSecondBar) == secondBar.window(); }, EFFECT_BOUND_MS))
        return fail("the second taskbar did not come in front of the cover");
    // As for the raise over the cover: to the very top for Wine to restack
    // them on screen, the second taskbar (whose strip went out of its way)
    // and the primary strip, still lit.
    const UINT zOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(secondBar.window(), HWND_TOPMOST, 0, 0, 0, 0, zOrderOnly);
    SetWindowPos(pendrel.window, HWND_TOPMOST, 0, 0, 0, 0, zOrderOnly);
    Sleep(STACK_SETTLE_MS);
    if (!litAt(onPrimaryStrip.x, primary.bottom - 1) || IsWindowVisible(secondStrip) ||
        rootWindowAt(onSecondBar) != secondBar.window())
        return fail("the primary strip went out, the second stayed or its taskbar went back");
    printGeometry(RECT{primary.left, primary.top, second.right, second.bottom});
    holdThenPointerAway(holdSeconds);
    cover.lower();
    closeAllOf(PENDREL_TRIGGER_CLASS);
    deleteSettingsKey();
    return 0;
}

int stop() {
    closeAllOf(PENDREL_TRIGGER_CLASS);
    deleteSettingsKey();
    return FindWindowA(PENDREL_TRIGGER_CLASS, nullptr) == nullptr ? 0 : fail("pendrel.exe did not end");
}

DWORD holdSeconds(const char* text) {
    const unsigned long seconds = strtoul(text, nullptr, 10);
    return seconds < MAX_HOLD_SECONDS ? seconds : MAX_HOLD_SECONDS;
}

}  // namespace

int main(int argc, char** argv) {
    const char* step = argc > 1 ? argv[1] : "";
    if (strcmp(step, "start") == 0)
        return start();
    if (strcmp(step, "about") == 0)
        return openAndShow(IDM_ABOUT, PENDREL_ABOUT_TITLE);
    if (strcmp(step, "config") == 0)
        return openAndShow(IDM_CONFIG, PENDREL_CONFIG_TITLE);
    if (strcmp(step, "close") == 0)
        return closeDialogs();
    if (strcmp(step, "raise") == 0 && argc > 2)
        return raiseOverCover(holdSeconds(argv[2]));
    if (strcmp(step, "two-monitors") == 0 && argc > 2)
        return twoMonitors(holdSeconds(argv[2]));
    if (strcmp(step, "stop") == 0)
        return stop();
    fprintf(stderr, "usage: shoot.exe start | about | config | close | raise SECONDS | two-monitors SECONDS | stop\n");
    return 2;
}
