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
//                                     is in front and the strip lit, and keeps it so for SECONDS
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
const int RAISED_VIEW_HEIGHT = 150;
const int LABEL_ABOVE_BOTTOM = 110;
const int STRIP_POINTER_X = 500;
const DWORD MAX_HOLD_SECONDS = 600;
// Where the pointer waits while a dialog is taken: off every dialog and link.
const POINT POINTER_ASIDE = {8, 8};

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

// The strip of any depth along the bottom edge, as wide as the screen.
bool stripOnBottomEdge(HWND trigger) {
    const RECT r = windowRect(trigger);
    return IsWindowVisible(trigger) && r.bottom == screenHeight() && r.top < r.bottom && r.left == 0 &&
           r.right == screenWidth();
}

int start() {
    closeAllOf(PENDREL_TRIGGER_CLASS);
    deleteSettingsKey();
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
        RECT line = {0, screenHeight() - LABEL_ABOVE_BOTTOM, screenWidth(), screenHeight()};
        HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextA(dc, "A full-screen always-on-top window", -1, &line, DT_CENTER | DT_TOP | DT_SINGLELINE);
        SelectObject(dc, previous);
        EndPaint(window, &paint);
        return 0;
    }

protected:
    // Its button on the taskbar reads as what it stands for.
    void onCreated(HWND window) override { SetWindowTextA(window, "Full-screen program"); }
};

bool stripLit(const RECT& strip) {
    HDC screen = GetDC(nullptr);
    const COLORREF seen = GetPixel(screen, STRIP_POINTER_X, strip.bottom - 1);
    ReleaseDC(nullptr, screen);
    return seen == GetSysColor(COLOR_HIGHLIGHT);
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
    if (!waitUntil([&] { return taskbarAboveCover() && stripLit(strip); }, EFFECT_BOUND_MS))
        return fail("the taskbar did not come in front with the strip lit");
    // Wine restacks a window on screen only when it goes to the very top, so
    // the raised taskbar, placed just below the strip, is in front in the
    // window order but not yet in the picture. Taken to the top and then the
    // strip above it again, both show in the order they already have.
    const UINT zOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(shellTaskbar(), HWND_TOPMOST, 0, 0, 0, 0, zOrderOnly);
    SetWindowPos(pendrel.window, HWND_TOPMOST, 0, 0, 0, 0, zOrderOnly);
    // Its buttons read their windows' titles as they paint: the cover's new one too.
    RedrawWindow(shellTaskbar(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    const auto inOrder = [&] {
        return taskbarAboveCover() && rootWindowAt(POINT{STRIP_POINTER_X, strip.top}) == pendrel.window &&
               stripLit(strip);
    };
    Sleep(PAINT_SETTLE_MS);
    if (!waitUntil(inOrder, EFFECT_BOUND_MS))
        return fail("the taskbar and the strip did not keep their order");
    printGeometry(RECT{0, screenHeight() - RAISED_VIEW_HEIGHT, screenWidth(), screenHeight()});
    printf("READY\n");
    fflush(stdout);
    Sleep(holdSeconds * 1000);
    placePointerForGood(AWAY.x, AWAY.y);
    return 0;
}

int stop() {
    closeAllOf(PENDREL_TRIGGER_CLASS);
    deleteSettingsKey();
    return FindWindowA(PENDREL_TRIGGER_CLASS, nullptr) == nullptr ? 0 : fail("pendrel.exe did not end");
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
    if (strcmp(step, "raise") == 0 && argc > 2) {
        const unsigned long seconds = strtoul(argv[2], nullptr, 10);
        return raiseOverCover(seconds < MAX_HOLD_SECONDS ? seconds : MAX_HOLD_SECONDS);
    }
    if (strcmp(step, "stop") == 0)
        return stop();
    fprintf(stderr, "usage: shoot.exe start | about | config | close | raise SECONDS | stop\n");
    return 2;
}
