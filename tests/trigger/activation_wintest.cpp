// The TriggerWindow's state machine driven with real messages, the real
// taskbar of the Wine desktop and the pointer placed by the test.
#include <windows.h>

#include "support/app_fixture.h"
#include "trigger/activation.h"
#include "trigger/locator.h"

namespace {

enum Event { HIT_TEST, POLL, DELAY_TICK, HIGHLIGHT_TICK, CLICK };
enum Cursor { IN_STRIP, ON_TASKBAR, AWAY };

const POINT CURSOR_AT[] = {{500, 766}, {500, 752}, {500, 300}};
// Long enough that no real tick arrives while a row runs.
const DWORD QUIET_DELAY_MS = 600000;

struct State {
    LONG raised, pending, shown, menu;
};
struct Options {
    DWORD delayEnabled, restartOnMove, highlight;
};
struct Expect {
    LONG raised, pending, shown;
    DWORD counted;
    bool highlightTimer;
};
struct Row {
    const char* name;
    State from;
    Options options;
    Cursor cursor;
    Event event;
    Expect expect;
};

const Options DELAY = {1, 1, 1};
const Options DELAY_NO_RESTART = {1, 0, 1};
const Options NO_DELAY = {0, 1, 1};
const Options DELAY_NO_HIGHLIGHT = {1, 1, 0};

const State IDLE = {0, 0, 0, 0};
const State IDLE_MENU = {0, 0, 0, 1};
const State WAITING = {0, 1, 1, 0};
const State WAITING_MENU = {0, 1, 1, 1};
const State RAISED = {1, 0, 1, 0};
const State RAISED_WAITING = {1, 1, 1, 0};
const State RAISED_WAITING_MENU = {1, 1, 1, 1};

const Row ROWS[] = {
    {"idle, hit test with delay arms it", IDLE, DELAY, IN_STRIP, HIT_TEST, {0, 1, 1, 0, false}},
    {"idle, hit test without delay raises", IDLE, NO_DELAY, IN_STRIP, HIT_TEST, {1, 0, 1, 1, true}},
    {"idle, hit test without delay in a menu loop", IDLE_MENU, NO_DELAY, IN_STRIP, HIT_TEST, {0, 0, 0, 0, false}},
    {"idle, hit test with delay in a menu loop still arms", IDLE_MENU, DELAY, IN_STRIP, HIT_TEST, {0, 1, 1, 0, false}},
    {"idle, poll in strip with delay arms", IDLE, DELAY, IN_STRIP, POLL, {0, 1, 1, 0, false}},
    {"idle, poll in strip without delay raises", IDLE, NO_DELAY, IN_STRIP, POLL, {1, 0, 1, 1, true}},
    {"idle, poll away does nothing", IDLE, NO_DELAY, AWAY, POLL, {0, 0, 0, 0, false}},
    {"idle, poll in a menu loop does nothing", IDLE_MENU, NO_DELAY, IN_STRIP, POLL, {0, 0, 0, 0, false}},
    {"idle, click raises at once", IDLE, DELAY, IN_STRIP, CLICK, {1, 0, 0, 1, false}},
    {"waiting, hit test restarts the delay", WAITING, DELAY, IN_STRIP, HIT_TEST, {0, 1, 1, 0, false}},
    {"waiting, hit test without restart", WAITING, DELAY_NO_RESTART, IN_STRIP, HIT_TEST, {0, 1, 1, 0, false}},
    {"waiting, delay switched off, hit test raises", WAITING, NO_DELAY, IN_STRIP, HIT_TEST, {1, 1, 1, 1, false}},
    {"waiting, delay ends in the strip", WAITING, DELAY, IN_STRIP, DELAY_TICK, {1, 0, 1, 1, true}},
    {"waiting, delay ends in the strip in a menu loop", WAITING_MENU, DELAY, IN_STRIP, DELAY_TICK, {0, 1, 1, 0, false}},
    {"waiting, delay ends away, strip hidden", WAITING, DELAY, AWAY, DELAY_TICK, {0, 0, 0, 0, false}},
    {"waiting, delay ends away with highlight off, strip stays", WAITING, DELAY_NO_HIGHLIGHT, AWAY, DELAY_TICK,
     {0, 0, 1, 0, false}},
    {"waiting, poll makes no activation", WAITING, NO_DELAY, IN_STRIP, POLL, {0, 1, 1, 0, false}},
    {"waiting, click raises", WAITING, DELAY, IN_STRIP, CLICK, {1, 1, 1, 1, false}},
    {"raised, hit test with delay arms", RAISED, DELAY, IN_STRIP, HIT_TEST, {1, 1, 1, 0, false}},
    {"raised, hit test without delay repeats, no count", RAISED, NO_DELAY, IN_STRIP, HIT_TEST, {1, 0, 1, 0, false}},
    {"raised, poll with the pointer away releases", RAISED, NO_DELAY, AWAY, POLL, {0, 0, 1, 0, false}},
    {"raised, poll on the taskbar keeps it", RAISED, NO_DELAY, ON_TASKBAR, POLL, {1, 0, 1, 0, false}},
    {"raised, poll in the strip does not activate again", RAISED, DELAY, IN_STRIP, POLL, {1, 0, 1, 0, false}},
    {"raised, click repeats, no count", RAISED, DELAY, IN_STRIP, CLICK, {1, 0, 1, 0, false}},
    {"raised waiting, hit test restarts", RAISED_WAITING, DELAY, IN_STRIP, HIT_TEST, {1, 1, 1, 0, false}},
    {"raised waiting, hit test without restart", RAISED_WAITING, DELAY_NO_RESTART, IN_STRIP, HIT_TEST,
     {1, 1, 1, 0, false}},
    {"raised waiting, hit test without delay", RAISED_WAITING, NO_DELAY, IN_STRIP, HIT_TEST, {1, 1, 1, 0, false}},
    {"raised waiting, delay ends in the strip", RAISED_WAITING, DELAY, IN_STRIP, DELAY_TICK, {1, 0, 1, 0, true}},
    {"raised waiting, delay ends in a menu loop", RAISED_WAITING_MENU, DELAY, IN_STRIP, DELAY_TICK,
     {1, 1, 1, 0, false}},
    {"raised waiting, delay ends off the strip", RAISED_WAITING, DELAY, ON_TASKBAR, DELAY_TICK, {1, 0, 1, 0, true}},
    {"raised waiting, poll away releases", RAISED_WAITING, DELAY, AWAY, POLL, {0, 1, 1, 0, false}},
    {"raised waiting, poll on the taskbar keeps it", RAISED_WAITING, DELAY, ON_TASKBAR, POLL, {1, 1, 1, 0, false}},
    {"raised waiting, click repeats", RAISED_WAITING, DELAY, IN_STRIP, CLICK, {1, 1, 1, 0, false}},
};

void pressLeftButton(DWORD upOrDown) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = upOrDown;
    SendInput(1, &input, sizeof(INPUT));
}

bool transparent(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
}

class Activation : public AppFixture {
protected:
    HWND window = nullptr;

    void SetUp() override {
        AppFixture::SetUp();
        window = createTrigger();
    }

    void enter(const State& s, const Options& o) {
        g_app.settings.delayEnabled = o.delayEnabled;
        g_app.settings.restartDelayOnMove = o.restartOnMove;
        g_app.settings.highlight = o.highlight;
        g_app.settings.delayMs = QUIET_DELAY_MS;
        g_app.trigger.primary.taskbarRaised = s.raised;
        // Each row is an approach of the pointer of its own.
        g_app.trigger.primary.raisesThisApproach = 0;
        g_app.trigger.primary.delayPending = s.pending;
        g_app.about.activationCount = 0;
        stopTimer(window, TIMER_DELAY);
        stopTimer(window, TIMER_HIGHLIGHT);
        if (s.pending)
            SetTimer(window, TIMER_DELAY, QUIET_DELAY_MS, nullptr);
        // The strip is shown whatever the setting says now: it may have been
        // switched off after the strip came up.
        g_app.settings.highlight = 1;
        if (s.shown)
            showHighlight(g_app.trigger.primary);  // starts the highlight timer: stopped below
        else
            hideHighlight(g_app.trigger.primary);
        g_app.settings.highlight = o.highlight;
        stopTimer(window, TIMER_HIGHLIGHT);
        ASSERT_EQ(s.shown, g_app.trigger.primary.highlightShown);
        // A raise lets the strip go out of the way: the cover comes back over
        // the taskbar, and the strip over the cover.
        coverTheTaskbar();
        ASSERT_EQ(g_app.trigger.primary.taskbarWindow != nullptr, g_app.trigger.primary.catching != 0);
        g_app.program.inMenuLoop = s.menu;
    }

    void send(Event event, POINT cursor) {
        POINT client = cursor;
        ScreenToClient(window, &client);
        switch (event) {
        case HIT_TEST: SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y)); break;
        case POLL: SendMessageA(window, WM_TIMER, TIMER_POLL, 0); break;
        case DELAY_TICK: SendMessageA(window, WM_TIMER, TIMER_DELAY, 0); break;
        case HIGHLIGHT_TICK: SendMessageA(window, WM_TIMER, TIMER_HIGHLIGHT, 0); break;
        case CLICK: SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y)); break;
        }
    }
};

TEST_F(Activation, EveryTransitionOfTheStateMachine) {
    for (const Row& row : ROWS) {
        SCOPED_TRACE(row.name);
        enter(row.from, row.options);
        ASSERT_TRUE(movePointer(CURSOR_AT[row.cursor].x, CURSOR_AT[row.cursor].y));
        send(row.event, CURSOR_AT[row.cursor]);

        EXPECT_EQ(row.expect.raised, g_app.trigger.primary.taskbarRaised);
        EXPECT_EQ(row.expect.pending, g_app.trigger.primary.delayPending);
        EXPECT_EQ(row.expect.shown, g_app.trigger.primary.highlightShown);
        EXPECT_EQ(row.expect.counted, g_app.about.activationCount);
        // The delay timer runs exactly while a delay is pending, and the strip
        // is opaque exactly while the highlight is shown.
        EXPECT_EQ(row.expect.pending != 0, stopTimer(window, TIMER_DELAY));
        EXPECT_EQ(row.expect.shown == 0, transparent(window));
        EXPECT_EQ(row.expect.highlightTimer, stopTimer(window, TIMER_HIGHLIGHT));
    }
}

TEST_F(Activation, HighlightTickHidesOnlyOncePointerLeftAndThenStops) {
    enter(IDLE, DELAY);
    movePointer(500, 766);
    showHighlight(g_app.trigger.primary);
    SendMessageA(window, WM_TIMER, TIMER_HIGHLIGHT, 0);
    EXPECT_EQ(1, g_app.trigger.primary.highlightShown);

    movePointer(500, 300);
    SendMessageA(window, WM_TIMER, TIMER_HIGHLIGHT, 0);
    EXPECT_EQ(0, g_app.trigger.primary.highlightShown);
    EXPECT_TRUE(transparent(window));
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_TRUE(EqualRect(&placed, &BOTTOM_STRIP)) << "hiding puts the window back on the strip";
    // The timer outlives the hiding by one tick, which then stops it.
    SendMessageA(window, WM_TIMER, TIMER_HIGHLIGHT, 0);
    EXPECT_FALSE(stopTimer(window, TIMER_HIGHLIGHT));
}

TEST_F(Activation, HighlightOffKeepsTheStripTransparent) {
    enter(IDLE, Options{0, 1, 0});
    movePointer(500, 766);
    SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(500, 766));
    EXPECT_EQ(1, g_app.trigger.primary.taskbarRaised);
    EXPECT_EQ(0, g_app.trigger.primary.highlightShown);
    EXPECT_TRUE(transparent(window));
}

TEST_F(Activation, StripRightAndBottomEdgesCountForTheTimers) {
    enter(IDLE, NO_DELAY);
    movePointer(BOTTOM_STRIP.right, BOTTOM_STRIP.bottom - 1);
    POINT p;
    GetCursorPos(&p);
    // The desktop may clamp the pointer to its last column; the test is about
    // the inclusive bound, so use whatever column the pointer reached.
    g_app.trigger.primary.strip.right = p.x;
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    EXPECT_EQ(1, g_app.trigger.primary.taskbarRaised);
}

TEST_F(Activation, ReleaseCountsAgainOnTheNextRaise) {
    enter(IDLE, NO_DELAY);
    movePointer(500, 766);
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(500, 766));
    EXPECT_EQ(1u, g_app.about.activationCount);
    movePointer(500, 300);
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised);
    // The shell sends its taskbar behind the cover when it gets round to it.
    coverTheTaskbar();
    movePointer(500, 766);
    SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(500, 766));
    EXPECT_EQ(2u, g_app.about.activationCount);
}

// What makes the poll look for a pointer that rests on the strip. Nothing is
// pumped here, so the strip hears no hit test of the pointer's arrival.
TEST_F(Activation, ThePollLooksForTheRestingPointerOnlyWhenTheStripCannotKnow) {
    enum Cause { NOTHING, HIT_TEST_IN_MENU, LIFTED, LAID, BUTTON_HELD };
    const struct {
        const char* name;
        Cause cause;
        LONG raised;
    } rows[] = {
        {"an idle poll", NOTHING, 0},
        {"a hit test heard while the menu was open", HIT_TEST_IN_MENU, 1},
        {"the strip lifted back over a window", LIFTED, 1},
        {"the strip laid again", LAID, 1},
        {"a drag, which gives the strip no hit test", BUTTON_HELD, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        enter(IDLE, NO_DELAY);
        movePointer(500, 300);
        SendMessageA(window, WM_TIMER, TIMER_POLL, 0);  // sees the pointer off the strip
        movePointer(500, 766);
        HWND rival = nullptr;
        switch (row.cause) {
        case NOTHING: break;
        case HIT_TEST_IN_MENU:
            g_app.program.inMenuLoop = 1;
            SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(500, 766));
            g_app.program.inMenuLoop = 0;
            break;
        case LIFTED:
            rival = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 700,
                                    1024, 68, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
            break;
        case LAID: placeStripWindow(g_app.trigger.primary); break;
        case BUTTON_HELD: pressLeftButton(MOUSEEVENTF_LEFTDOWN); break;
        }
        SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
        EXPECT_EQ(row.raised, g_app.trigger.primary.taskbarRaised);
        if (row.cause == BUTTON_HELD)
            pressLeftButton(MOUSEEVENTF_LEFTUP);
        if (rival != nullptr)
            DestroyWindow(rival);
    }
}

TEST_F(Activation, HighlightPaintsTheStripInTheHighlightColour) {
    enter(IDLE, NO_DELAY);
    movePointer(500, 300);
    HDC screen = GetDC(nullptr);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    showHighlight(g_app.trigger.primary);
    EXPECT_TRUE(pumpUntil([&] { return GetPixel(screen, 500, 766) == highlight; }, 3000));
    hideHighlight(g_app.trigger.primary);
    EXPECT_TRUE(pumpUntil([&] { return GetPixel(screen, 500, 766) != highlight; }, 3000));
    ReleaseDC(nullptr, screen);
}

TEST_F(Activation, MenuLoopMessagesSetAndClearTheGuard) {
    SendMessageA(window, WM_ENTERMENULOOP, 0, 0);
    EXPECT_EQ(1, g_app.program.inMenuLoop);
    SendMessageA(window, WM_EXITMENULOOP, 0, 0);
    EXPECT_EQ(0, g_app.program.inMenuLoop);
}

}  // namespace

namespace {

// While no taskbar window can be found (a shell that ended), every signal goes
// through the state machine harmlessly: nothing counts, nothing stays raised;
// once the taskbar is back the next signal raises it.
TEST_F(Activation, WithoutATaskbarNothingIsRaisedOrCountedUntilItComesBack) {
    char realClass[sizeof(g_app.program.taskbarClassName)];
    lstrcpyA(realClass, g_app.program.taskbarClassName);
    lstrcpyA(g_app.program.taskbarClassName, "NoShellRunning");

    enter(IDLE, NO_DELAY);
    movePointer(500, 766);
    for (int round = 0; round < 3; ++round) {
        SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(500, 766));
        SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(500, 2));
        g_app.settings.delayEnabled = 1;
        SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(500, 766));
        SendMessageA(window, WM_TIMER, TIMER_DELAY, 0);
        g_app.settings.delayEnabled = 0;
    }
    EXPECT_EQ(nullptr, g_app.trigger.primary.taskbarWindow);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised);
    EXPECT_EQ(0u, g_app.about.activationCount);
    EXPECT_EQ(0, g_app.trigger.primary.delayPending);
    EXPECT_FALSE(stopTimer(window, TIMER_DELAY));

    lstrcpyA(g_app.program.taskbarClassName, realClass);
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    EXPECT_EQ(shellTaskbar(), g_app.trigger.primary.taskbarWindow);
    SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(500, 766));
    EXPECT_EQ(1, g_app.trigger.primary.taskbarRaised);
    EXPECT_EQ(1u, g_app.about.activationCount);
}

}  // namespace
