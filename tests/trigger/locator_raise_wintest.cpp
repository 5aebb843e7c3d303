// Finding the Wine desktop's taskbar, following it, raising and releasing it.
#include <windows.h>

#include "about/about_dialog.h"
#include "app/startup.h"
#include "resources/resource.h"
#include "support/app_fixture.h"
#include "trigger/locator.h"
#include "trigger/presence.h"
#include "trigger/raise.h"
#include "trigger/verify.h"

namespace {

// The next visible window below `window` in the z-order.
HWND nextVisible(HWND window) {
    HWND w = GetWindow(window, GW_HWNDNEXT);
    while (w != nullptr && !IsWindowVisible(w))
        w = GetWindow(w, GW_HWNDNEXT);
    return w;
}

// Whether `upper` comes before `lower` in the z-order.
bool isAbove(HWND upper, HWND lower) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT))
        if (w == lower)
            return true;
    return false;
}

// The taskbar's moves are asked asynchronously; Wine hands them to the
// shell as notify messages, which it handles before a message sent after them.
bool shellDidItsMoves() {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(shellTaskbar(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) != 0;
}

HWND createPlainWindow(DWORD exStyle) {
    HWND w = CreateWindowExA(exStyle, "STATIC", "", WS_POPUP, 100, 100, 200, 200, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(w, (exStyle & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return w;
}

class LocatorAndRaise : public AppFixture {
protected:
    HWND window = nullptr;
    void SetUp() override {
        AppFixture::SetUp();
        // Wine's shell keeps its taskbar out of the always-on-top band, where
        // a raise that an earlier test did not release leaves it.
        SetWindowPos(shellTaskbar(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        window = createTriggerWindow();
        ASSERT_NE(nullptr, window);
    }
};

TEST_F(LocatorAndRaise, FirstPlacementIsEmptyThenThePollFindsTheBottomStrip) {
    EXPECT_EQ(0x080000B8u, (DWORD)GetWindowLongA(window, GWL_EXSTYLE) & 0x080000B8u);
    placeStripWindow(g_app.trigger.primary);
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_TRUE(IsRectEmpty(&placed));
    EXPECT_FALSE(IsWindowVisible(window)) << "shown with nothing over the edge";

    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    EXPECT_EQ(shellTaskbar(), g_app.trigger.primary.taskbarWindow);
    EXPECT_TRUE(EqualRect(&g_app.trigger.primary.strip, &BOTTOM_STRIP));
    GetWindowRect(window, &placed);
    EXPECT_TRUE(EqualRect(&placed, &BOTTOM_STRIP));
}

TEST_F(LocatorAndRaise, TheSameRectangleTwiceRecomputesNothing) {
    APPBARDATA request = {};
    ASSERT_EQ(1, locateTaskbar(&request, &g_app.trigger.primary.lastTaskbarRect));
    const RECT shellRect = g_app.trigger.primary.lastTaskbarRect;
    g_app.trigger.primary.strip = RECT{1, 2, 3, 4};
    APPBARDATA again = {};
    EXPECT_EQ(0, locateTaskbar(&again, &g_app.trigger.primary.lastTaskbarRect));
    EXPECT_TRUE(EqualRect(&shellRect, &g_app.trigger.primary.lastTaskbarRect));
    EXPECT_EQ(1, g_app.trigger.primary.strip.left) << "an unchanged taskbar leaves the strip alone";
}

TEST_F(LocatorAndRaise, ATaskbarThatMovedIsFollowedOnTheNextPoll) {
    // The Wine taskbar cannot be moved, so the last rectangle is made to
    // differ: the poll must then recompute the strip and move the window.
    g_app.trigger.primary.lastTaskbarRect = RECT{0, 0, 1024, 20};
    g_app.trigger.primary.strip = RECT{0, 0, 1024, 4};
    placeStripWindow(g_app.trigger.primary);
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_TRUE(EqualRect(&placed, &BOTTOM_STRIP));
}

TEST_F(LocatorAndRaise, RaiseCountsOncePutsTheTaskbarBelowTheTriggerAndReleaseSendsItBack) {
    HWND cover = createPlainWindow(0);
    g_app.trigger.primary.strip = BOTTOM_STRIP;
    placeStripWindow(g_app.trigger.primary);
    activateTaskbar(g_app.trigger.primary);
    activateTaskbar(g_app.trigger.primary);
    EXPECT_EQ(1u, g_app.about.activationCount);
    EXPECT_EQ(1, g_app.trigger.primary.taskbarRaised);
    // The shell's window is moved asynchronously, so that a hung shell cannot hang us.
    EXPECT_TRUE(pumpUntil([&] { return nextVisible(window) == shellTaskbar(); }, 2000))
        << "directly below the TriggerWindow";
    EXPECT_TRUE(isAbove(shellTaskbar(), cover));

    // A taskbar the user is working in stays where it is.
    // Another process's window takes the foreground when that process gets
    // round to it: waited for, so that it cannot land after the cover's.
    SetForegroundWindow(shellTaskbar());
    ASSERT_TRUE(pumpUntil([] { return GetForegroundWindow() == shellTaskbar(); }, 2000))
        << "the taskbar never took the foreground";
    ASSERT_TRUE(movePointer(500, 300));
    checkRelease(g_app.trigger.primary);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised);
    ASSERT_TRUE(shellDidItsMoves());
    EXPECT_TRUE(isAbove(shellTaskbar(), cover)) << "the foreground taskbar is not sent back";
    g_app.trigger.primary.taskbarRaised = 1;

    SetForegroundWindow(cover);
    ASSERT_TRUE(pumpUntil([&] { return GetForegroundWindow() == cover; }, 2000));
    movePointer(500, 300);
    checkRelease(g_app.trigger.primary);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised);
    EXPECT_TRUE(pumpUntil([&] { return isAbove(cover, shellTaskbar()); }, 2000)) << "sent to the bottom after use";
    DestroyWindow(cover);
}

TEST_F(LocatorAndRaise, ReleaseWithoutSendBackLeavesTheZOrder) {
    HWND cover = createPlainWindow(0);
    g_app.settings.sendBackAfterUse = 0;
    activateTaskbar(g_app.trigger.primary);
    ASSERT_TRUE(pumpUntil([&] { return isAbove(shellTaskbar(), cover); }, 2000));
    // A taskbar in the foreground stays whatever the setting.
    SetForegroundWindow(cover);
    ASSERT_TRUE(pumpUntil([&] { return GetForegroundWindow() == cover; }, 2000));
    movePointer(500, 300);
    checkRelease(g_app.trigger.primary);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised);
    ASSERT_TRUE(shellDidItsMoves());
    EXPECT_TRUE(isAbove(shellTaskbar(), cover));
    DestroyWindow(cover);
}

TEST_F(LocatorAndRaise, ReleaseIsStrictFivePixelsAroundTheTaskbarWindow) {
    activateTaskbar(g_app.trigger.primary);
    RECT taskbar;
    ASSERT_TRUE(GetWindowRect(shellTaskbar(), &taskbar));
    movePointer(500, taskbar.top - 4);
    checkRelease(g_app.trigger.primary);
    EXPECT_EQ(1, g_app.trigger.primary.taskbarRaised);
    movePointer(500, taskbar.top - 5);
    checkRelease(g_app.trigger.primary);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised);
}

TEST_F(LocatorAndRaise, EachCountedRaiseRewritesTheOpenAboutDialogsCounter) {
    openAboutDialog();
    ASSERT_NE(nullptr, g_app.about.dialog);
    char label[256] = {};
    activateTaskbar(g_app.trigger.primary);
    GetDlgItemTextA(g_app.about.dialog, IDC_COUNTER_LABEL, label, sizeof(label));
    EXPECT_STREQ("You have activated 1 times the taskbar.", label);

    SetDlgItemTextA(g_app.about.dialog, IDC_COUNTER_LABEL, "untouched");
    activateTaskbar(g_app.trigger.primary);
    GetDlgItemTextA(g_app.about.dialog, IDC_COUNTER_LABEL, label, sizeof(label));
    EXPECT_STREQ("untouched", label) << "a repeated raise counts nothing";

    g_app.trigger.primary.taskbarRaised = 0;
    activateTaskbar(g_app.trigger.primary);
    GetDlgItemTextA(g_app.about.dialog, IDC_COUNTER_LABEL, label, sizeof(label));
    EXPECT_STREQ("You have activated 2 times the taskbar.", label);
}

TEST_F(LocatorAndRaise, AVanishedTaskbarEndsTheRaiseAndCannotBeRaised) {
    g_app.trigger.primary.taskbarRaised = 1;
    g_app.trigger.primary.taskbarWindow = (HWND)(INT_PTR)0x7FFF0001;  // no such window
    movePointer(500, 766);
    checkRelease(g_app.trigger.primary);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised);

    lstrcpyA(g_app.program.taskbarClassName, "NoTaskbarHere");
    activateTaskbar(g_app.trigger.primary);
    forwardHitTest(g_app.trigger.primary, 0, 0);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised);
    EXPECT_EQ(0u, g_app.about.activationCount);
    EXPECT_EQ(nullptr, g_app.trigger.primary.taskbarWindow);
}

// A window over the edge, and one elsewhere that is always on top too.
HWND createWindowAt(const RECT& r, bool topmost) {
    HWND w = CreateWindowExA(topmost ? WS_EX_TOPMOST : 0, "STATIC", "", WS_POPUP, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(w, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return w;
}
const RECT SCREEN = {0, 0, 1024, 768}, TOP_RIGHT = {900, 0, 1024, 60};

// The strip shows only while a window covers the taskbar's edge, right above
// that window and below the one elsewhere, and goes once nothing covers it;
// kept below always-on-top windows it leaves an always-on-top cover be, and
// the context menu stops every change.
TEST_F(LocatorAndRaise, TheStripShowsOnlyOverWhatCoversTheEdge) {
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    ASSERT_TRUE(EqualRect(&g_app.trigger.primary.strip, &BOTTOM_STRIP));
    EXPECT_FALSE(IsWindowVisible(window)) << "shown over a taskbar nothing covers";

    HWND cover = createWindowAt(SCREEN, true);
    HWND clock = createWindowAt(TOP_RIGHT, true);
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(isAbove(clock, window) && isAbove(window, cover)) << "not right above the cover";
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_TRUE(EqualRect(&placed, &BOTTOM_STRIP));

    g_app.program.inMenuLoop = 1;
    ShowWindow(cover, SW_HIDE);
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    EXPECT_TRUE(IsWindowVisible(window)) << "changed while the menu was open";
    g_app.program.inMenuLoop = 0;
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    EXPECT_FALSE(IsWindowVisible(window)) << "stayed with nothing over the edge";

    g_app.settings.overTopmost = 0;
    SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    EXPECT_FALSE(IsWindowVisible(window)) << "climbed over an always-on-top cover";
    HWND ordinary = createWindowAt(SCREEN, false);
    DestroyWindow(cover);
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    EXPECT_TRUE(IsWindowVisible(window) && isAbove(window, ordinary)) << "not over an ordinary cover";
    DestroyWindow(ordinary);
    DestroyWindow(clock);
}

// A cover that puts itself back on top at once is climbed over twice, then
// left alone; the pointer on the strip between lifts starts the count again.
TEST_F(LocatorAndRaise, ACoverThatUndoesEveryLiftIsClimbedOverTwice) {
    HWND cover = createWindowAt(SCREEN, true);
    int lifts = 0;
    for (int poll = 0; poll < 5; ++poll) {
        SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
        if (isAbove(window, cover))
            ++lifts;
        SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(isAbove(cover, window));
    }
    EXPECT_EQ(2, lifts);
    EXPECT_EQ(cover, g_app.trigger.primary.liftedOver);
    g_app.trigger.primary.contactSinceLift = 1;
    SendMessageA(window, WM_TIMER, TIMER_POLL, 0);
    EXPECT_TRUE(isAbove(window, cover)) << "the pointer's visit did not start the count again";
    DestroyWindow(cover);
}

// A window that comes back over the raised taskbar after every raise, at
// whatever pace, gets three raises in one approach of the pointer, is then
// left be and named; the release ends the approach and the next one raises.
TEST_F(LocatorAndRaise, AWindowThatComesBackOverTheTaskbarIsLeftBeAfterThreeRaises) {
    Strip& strip = g_app.trigger.primary;
    strip.strip = BOTTOM_STRIP;
    placeStripWindow(strip);
    // A static control is transparent to WindowFromPoint; a button is not.
    HWND cover = CreateWindowExA(WS_EX_TOPMOST, "BUTTON", "", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    strip.topCover = cover;
    const UINT inPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    int cameOver = 0;
    for (int raise = 0; raise < 5; ++raise) {
        // As the poll does, the strip goes back over the cover.
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, inPlace);
        activateTaskbar(strip);
        ASSERT_TRUE(shellDidItsMoves());
        if (isAbove(shellTaskbar(), cover))
            ++cameOver;
        SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, inPlace);
    }
    EXPECT_EQ(3, cameOver);
    EXPECT_EQ(1, strip.raiseBlocked);
    ASSERT_NE(nullptr, programThatStayedOver());
    EXPECT_EQ(0, lstrcmpiW(L"win_trigger_tests.exe", programThatStayedOver()));

    ASSERT_TRUE(movePointer(500, 300));
    checkRelease(strip);
    EXPECT_EQ(0, strip.raiseBlocked) << "still left be after the pointer left";
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, inPlace);
    activateTaskbar(strip);
    ASSERT_TRUE(shellDidItsMoves());
    EXPECT_TRUE(isAbove(shellTaskbar(), cover)) << "the next approach did not raise";
    // The look finds the cover back over the taskbar, and over the hidden
    // strip: the retry climbs over it all the same.
    SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, inPlace);
    verifyTick(strip);
    ASSERT_TRUE(shellDidItsMoves());
    EXPECT_TRUE(isAbove(shellTaskbar(), cover)) << "the retry stayed below the cover";
    DestroyWindow(cover);
}

}  // namespace
