// The strips of secondary taskbars, with stand-in taskbars of this process on
// the one monitor of the Wine desktop.
#include <windows.h>

#include "resources/names.h"
#include "support/app_fixture.h"
#include "trigger/activation.h"
#include "trigger/locator.h"
#include "trigger/raise.h"

namespace {

int g_hitTests = 0;
// The taskbar that, handed a hit test, goes away and has a poll run, as a
// failing timer's warning box would run it inside the handler.
HWND g_goesOnHitTest = nullptr;

LRESULT CALLBACK secondaryTaskbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST)
        ++g_hitTests;
    if (message == WM_NCHITTEST && window == g_goesOnHitTest) {
        g_goesOnHitTest = nullptr;
        DestroyWindow(window);
        SendMessageA(g_app.program.mainWindow, WM_TIMER, TIMER_POLL, 0);
        return HTCLIENT;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

BOOL CALLBACK countStrips(HWND window, LPARAM count) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, PENDREL_STRIP_CLASS) == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

class SecondaryStrips : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(registerTestClass(SECONDARY_TASKBAR_CLASS_NAME, secondaryTaskbarProc));
        createTrigger();
        g_hitTests = 0;
    }
    // Like the shell's, the taskbar does not take the foreground by being shown.
    HWND taskbarAt(int x, int y, int width, int height) {
        HWND taskbar = CreateWindowExA(WS_EX_TOOLWINDOW, SECONDARY_TASKBAR_CLASS_NAME, "", WS_POPUP, x, y, width,
                                       height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(taskbar, SW_SHOWNA);
        return taskbar;
    }
    int stripWindows() {
        int count = 0;
        EnumThreadWindows(GetCurrentThreadId(), countStrips, reinterpret_cast<LPARAM>(&count));
        return count;
    }
    void poll() { SendMessageA(g_app.program.mainWindow, WM_TIMER, TIMER_POLL, 0); }
};

// A strip comes with its taskbar, lies on its outer edge, follows it to
// another edge and goes with it; with the setting off there is none.
TEST_F(SecondaryStrips, FollowTheirTaskbarsAndTheSetting) {
    HWND top = taskbarAt(0, 0, 1024, 30);
    poll();
    ASSERT_EQ(1u, g_app.trigger.secondaryCount);
    const Strip& strip = g_app.trigger.secondary[0];
    RECT placed = {};
    GetWindowRect(strip.window, &placed);
    EXPECT_EQ(0, placed.top);
    EXPECT_EQ(4, placed.bottom);
    EXPECT_EQ(1024, placed.right);
    EXPECT_NE(0, GetWindowLongA(strip.window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "no taskbar button";
    EXPECT_NE(0, GetWindowLongA(strip.window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    MoveWindow(top, 994, 0, 30, 768, FALSE);
    poll();
    GetWindowRect(g_app.trigger.secondary[0].window, &placed);
    EXPECT_EQ(1020, placed.left) << "now on the right edge";
    EXPECT_EQ(768, placed.bottom);

    g_app.settings.allScreens = 0;
    poll();
    EXPECT_EQ(0u, g_app.trigger.secondaryCount);
    EXPECT_EQ(0, stripWindows());
    g_app.settings.allScreens = 1;
    poll();
    EXPECT_EQ(1u, g_app.trigger.secondaryCount);

    ShowWindow(top, SW_HIDE);
    poll();
    EXPECT_EQ(0u, g_app.trigger.secondaryCount) << "a hidden taskbar keeps no strip";
    ShowWindow(top, SW_SHOWNA);
    poll();
    EXPECT_EQ(1u, g_app.trigger.secondaryCount);

    DestroyWindow(top);
    poll();
    EXPECT_EQ(0u, g_app.trigger.secondaryCount);
    EXPECT_EQ(0, stripWindows());
}

// A strip that goes while its taskbar is raised, the pointer on the taskbar,
// first sends the taskbar back out of the always-on-top band it was raised
// into: when the setting is turned off and when the taskbar is hidden.
TEST_F(SecondaryStrips, AStripThatGoesWhileRaisedLetsItsTaskbarGoFirst) {
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way == 0 ? "setting off" : "taskbar hidden");
        HWND bottom = taskbarAt(0, 738, 1024, 30);
        poll();
        ASSERT_EQ(1u, g_app.trigger.secondaryCount);
        coverTheTaskbar();
        SendMessageA(g_app.trigger.secondary[0].window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 1));
        ASSERT_TRUE(GetWindowLongA(bottom, GWL_EXSTYLE) & WS_EX_TOPMOST) << "raised into the band";
        ASSERT_TRUE(movePointer(500, 750));
        if (way == 0)
            g_app.settings.allScreens = 0;
        else
            ShowWindow(bottom, SW_HIDE);
        poll();
        EXPECT_EQ(0u, g_app.trigger.secondaryCount);
        EXPECT_FALSE(GetWindowLongA(bottom, GWL_EXSTYLE) & WS_EX_TOPMOST) << "left above every window";
        g_app.settings.allScreens = 1;
        DestroyWindow(bottom);
    }
}

// A poll run inside a strip's handler takes that strip away: the handler
// goes on with its own emptied record, and the strip that was last keeps
// its pending delay rather than having it ended by another strip's handler.
TEST_F(SecondaryStrips, AStripThatGoesInsideItsHandlerLeavesTheOthersRecordsAlone) {
    HWND staying = taskbarAt(0, 738, 1024, 30);
    HWND going = taskbarAt(0, 0, 1024, 30);  // in front, so found first
    poll();
    ASSERT_EQ(2u, g_app.trigger.secondaryCount);
    coverTheTaskbar();
    ASSERT_EQ(going, g_app.trigger.secondary[0].taskbarWindow);
    SendMessageA(g_app.trigger.secondary[1].window, WM_NCHITTEST, 0, MAKELPARAM(500, 766));
    ASSERT_EQ(1, g_app.trigger.secondary[1].delayPending);

    ASSERT_TRUE(movePointer(500, 2));
    g_goesOnHitTest = going;
    SendMessageA(g_app.trigger.secondary[0].window, WM_TIMER, TIMER_DELAY, 0);
    ASSERT_EQ(nullptr, g_goesOnHitTest) << "the taskbar was not handed the hit test";
    poll();
    ASSERT_EQ(1u, g_app.trigger.secondaryCount);
    const Strip& left = g_app.trigger.secondary[0];
    ASSERT_EQ(staying, left.taskbarWindow);
    EXPECT_EQ(1, left.delayPending);
    EXPECT_TRUE(stopTimer(left.window, TIMER_DELAY)) << "its delay timer was stopped";
    // A timer started for no window would tick for the thread until the end.
    Sleep(HIGHLIGHT_PERIOD_MS * 2);
    MSG tick;
    bool windowless = false;
    while (PeekMessageA(&tick, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
        windowless = windowless || tick.hwnd == nullptr;
    EXPECT_FALSE(windowless) << "a timer started for the strip that went";
    DestroyWindow(staying);
}

// A change of scale while running lays every strip again at the depth of
// its monitor's scale. The system's scale cannot change under a running
// program here (Wine reads it once per process): the strips are laid as at
// 144 DPI, 6 pixels deep, and the monitor's 96 DPI is the new scale.
TEST_F(SecondaryStrips, AScaleChangeLaysEveryStripAgainAtTheNewDepth) {
    HWND top = taskbarAt(0, 0, 1024, 30);
    poll();
    ASSERT_EQ(1u, g_app.trigger.secondaryCount);
    Strip* strips[] = {&g_app.trigger.primary, &g_app.trigger.secondary[0]};
    const RECT deeper[] = {{0, 762, 1024, 768}, {0, 0, 1024, 6}};
    const RECT laidAgain[] = {BOTTOM_STRIP, {0, 0, 1024, 4}};
    for (int i = 0; i < 2; ++i) {
        strips[i]->dpi = 144;
        strips[i]->strip = deeper[i];
        placeStripWindow(*strips[i]);
    }
    SendMessageA(g_app.program.mainWindow, WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    poll();
    for (int i = 0; i < 2; ++i) {
        RECT placed = {};
        GetWindowRect(strips[i]->window, &placed);
        EXPECT_TRUE(EqualRect(&placed, &laidAgain[i])) << i << ": " << placed.top << ".." << placed.bottom;
    }
    DestroyWindow(top);
}

// A click on a secondary strip raises its own taskbar, once counted, hands it
// the hit test, and leaves the primary taskbar alone; the strip then goes out
// of the way, and a click that still reached it would do nothing.
TEST_F(SecondaryStrips, AClickRaisesItsOwnTaskbarOnce) {
    HWND bottom = taskbarAt(0, 738, 1024, 30);
    poll();
    ASSERT_EQ(1u, g_app.trigger.secondaryCount);
    coverTheTaskbar();
    Strip& strip = g_app.trigger.secondary[0];
    ASSERT_TRUE(IsWindowVisible(strip.window));
    SendMessageA(strip.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 1));
    EXPECT_FALSE(IsWindowVisible(strip.window));
    SendMessageA(strip.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 1));
    EXPECT_EQ(1, strip.taskbarRaised);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised);
    EXPECT_EQ(1u, g_app.about.activationCount);
    EXPECT_EQ(1, g_hitTests);
    EXPECT_EQ(bottom, GetWindow(strip.window, GW_HWNDNEXT)) << "right below its strip";
    ASSERT_TRUE(movePointer(500, 300));
    checkRelease(strip);
    EXPECT_EQ(0, strip.taskbarRaised);
    DestroyWindow(bottom);
}

// Monitors that come and go leave nothing behind.
TEST_F(SecondaryStrips, AThousandComingsAndGoingsLeaveNothingBehind) {
    for (int i = 0; i < 1000; ++i) {
        HWND taskbar = taskbarAt(0, i % 2 ? 0 : 738, 1024, 30);
        poll();
        ASSERT_EQ(1u, g_app.trigger.secondaryCount) << i;
        DestroyWindow(taskbar);
        poll();
        ASSERT_EQ(0u, g_app.trigger.secondaryCount) << i;
    }
    EXPECT_EQ(0, stripWindows());
}

}  // namespace
