// The taskbar brought in front of a full-screen always-on-top window when the
// pointer reaches the bottom edge, and sent back once the pointer has left.
#include "e2e/support.h"

namespace e2e {
namespace {

// A delay long enough that a raise at the pointer's arrival cannot be taken
// for one after the delay, however slowly the pointer is placed.
const DWORD HOLD_OFF_DELAY_MS = 1000;
// Longer than two polls: what a poll was going to do has happened. Only for
// what no poll shows another process.
const DWORD TWO_POLLS_MS = 2500;
const DWORD LONGEST_DELAY_MS = 2000;
const DWORD SWEEP_STEP_MS = 50;
const int SWEEP_STEP_PX = 7;
const DWORD CLICK_SETTLE_MS = 400;

class Trigger : public PendrelTest {
protected:
    // The cover first, then the program, whose TriggerWindow must come to
    // lie on the strip in front of the cover.
    Pendrel& launchCovered() {
        EXPECT_TRUE(cover_.raise());
        Pendrel& copy = launch();
        if (copy.window == nullptr)
            return copy;
        EXPECT_TRUE(waitOnStrip(copy)) << describe(windowRect(copy.window));
        EXPECT_TRUE(waitUntil([&] { return rootWindowAt(onStrip()) == copy.window; }, EFFECT_BOUND_MS))
            << "the TriggerWindow is not in front of the cover";
        EXPECT_FALSE(taskbarAboveCover());
        return copy;
    }
    POINT onStrip(int x = 500) const { return POINT{x, strip_.top + STRIP_DEPTH / 2}; }
    // The program reads the pointer until its next poll: input alone can
    // leave the X pointer behind, where every reading finds it 100 ms later.
    bool moveOntoStrip(int x = 500) { return placePointerForGood(x, onStrip(x).y); }
    bool moveAway() { return placePointerForGood(AWAY.x, AWAY.y); }
};

TEST_F(Trigger, LiesExactlyOnTheStripInFrontOfTheCover) {
    Pendrel& copy = launchCovered();
    ASSERT_NE(copy.window, nullptr);
    EXPECT_TRUE(sameRect(windowRect(copy.window), strip_)) << describe(windowRect(copy.window));
    EXPECT_TRUE(IsWindowVisible(copy.window));
}

TEST_F(Trigger, CoverRaisedLaterIsPutBackBehindTheTrigger) {
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    ASSERT_TRUE(cover_.raise());
    EXPECT_TRUE(waitUntil([&] { return rootWindowAt(onStrip()) == copy.window; }, EFFECT_BOUND_MS))
        << "the TriggerWindow stays behind a later always-on-top window";
}

TEST_F(Trigger, CoverRaisedLaterStaysInFrontWhenNotAskedToGoOverIt) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_OVER_TOPMOST, "0"));
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    ASSERT_TRUE(cover_.raise());
    // Not asked to go over other windows, a poll changes nothing that another
    // process sees: the wait is fixed.
    Sleep(TWO_POLLS_MS);
    EXPECT_EQ(rootWindowAt(onStrip()), cover_.window());
    EXPECT_TRUE(isRunning(copy));
}

// The hit tests of the pointer's arrival come after the clock was read: the
// raise must come a whole delay after that reading.
TEST_F(Trigger, RaisesOnceTheDelayRanOutAndSendsBackWhenThePointerLeaves) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_MS, std::to_string(HOLD_OFF_DELAY_MS).c_str()));
    Pendrel& copy = launchCovered();
    ASSERT_NE(copy.window, nullptr);

    const double sent = nowMs();
    ASSERT_TRUE(moveOntoStrip());
    ASSERT_LT(nowMs() - sent, HOLD_OFF_DELAY_MS / 2) << "the pointer came too late to tell a raise at once";
    const double raised = whenSeen(taskbarAboveCover, HOLD_OFF_DELAY_MS + EFFECT_BOUND_MS);
    ASSERT_NE(raised, NOT_SEEN) << "the taskbar never came in front";
    EXPECT_GE(raised - sent, HOLD_OFF_DELAY_MS - CLOCK_TICK_MS) << "the taskbar came up before the delay ran out";
    saveScreenshot("trigger-raised");

    ASSERT_TRUE(moveAway());
    EXPECT_TRUE(waitUntil([] { return !taskbarAboveCover(); }, EFFECT_BOUND_MS))
        << "the taskbar stayed in front after the pointer left";
    saveScreenshot("trigger-released");

    ASSERT_TRUE(moveOntoStrip(600));
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "a second approach did not raise it";
    EXPECT_TRUE(isRunning(copy));
}

// Once raised, the taskbar has its edge to itself: the strip goes out of its
// way, and the taskbar stays in front while the pointer is on it.
TEST_F(Trigger, TaskbarStaysInFrontWhileThePointerRestsOnIt) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));
    Pendrel& copy = launchCovered();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(moveOntoStrip());
    ASSERT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS));
    EXPECT_EQ(rootWindowAt(onStrip()), shellTaskbar()) << "the strip stayed over the raised taskbar's edge";
    ASSERT_TRUE(movePointer(500, strip_.top - 8));
    ASSERT_TRUE(waitForPolls());
    EXPECT_TRUE(taskbarAboveCover()) << "the taskbar fell behind the cover under the resting pointer";
}

// After several idle polls a window comes to cover the strip, and the pointer
// comes to rest on the edge over it at once: the strip, under the window, has
// no hit test; the next poll lifts it back to the top and finds the pointer
// there.
TEST_F(Trigger, APointerRestingOnTheStripWhenACoverCameIsFoundByThePoll) {
    Pendrel& copy = launch();
    ASSERT_TRUE(copy.window != nullptr && waitOnStrip(copy));
    Sleep(3 * POLL_PERIOD_MS);
    ASSERT_TRUE(cover_.raise() && moveOntoStrip());
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "the taskbar stayed behind the cover";
}

// What happens to the taskbar once the pointer has left it, per setting.
struct ReleaseRow {
    const char* name;
    const char* sendBack;   // text stored for the send-back value; null: not stored
    const char* highlight;  // text stored for the highlight value; null: not stored
    bool goesBehind;
};

class Release : public Trigger, public ::testing::WithParamInterface<ReleaseRow> {};

TEST_P(Release, AfterThePointerLeaves) {
    const ReleaseRow& row = GetParam();
    if (row.sendBack != nullptr) {
        ASSERT_TRUE(writeSetting(PENDREL_REG_SEND_BACK, row.sendBack));
    }
    if (row.highlight != nullptr) {
        ASSERT_TRUE(writeSetting(PENDREL_REG_HIGHLIGHT, row.highlight));
    }
    Pendrel& copy = launchCovered();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(moveOntoStrip());
    ASSERT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS));
    ASSERT_TRUE(moveAway());
    if (row.goesBehind) {
        EXPECT_TRUE(waitUntil([] { return !taskbarAboveCover(); }, EFFECT_BOUND_MS))
            << "foreground: " << className(GetForegroundWindow());
    } else {
        ASSERT_TRUE(waitForPolls());
        EXPECT_TRUE(taskbarAboveCover()) << "sent back although asked not to";
    }
}

INSTANTIATE_TEST_SUITE_P(E2E, Release,
                         ::testing::Values(ReleaseRow{"Default", nullptr, nullptr, true},
                                           ReleaseRow{"SendBack", "1", nullptr, true},
                                           // Under Wine, moving any window of the topmost band (as hiding the
                                           // highlight does) puts a raised taskbar back behind the other
                                           // always-on-top windows, so the case without send-back is
                                           // looked at without the highlight.
                                           ReleaseRow{"KeptInFront", "0", "0", false}),
                         [](const ::testing::TestParamInfo<ReleaseRow>& info) { return std::string(info.param.name); });

// Windows 10 and 11 keep their taskbar always on top, and sending it to the
// bottom would strip it of that for good: the release puts it back into the
// always-on-top band, below the window that lay right above it when the raise
// began, the cover. (Without a cover nothing hides such a taskbar's edge, and
// its strip stays out of the way.)
class TopmostTaskbar : public Trigger {
protected:
    void TearDown() override {
        Trigger::TearDown();
        resetTaskbarBand();
    }
    // Under Wine, HWND_TOPMOST leaves the window in front of every other
    // visible one as it is: the taskbar goes into the band from under the
    // cover, and then back under it, or the cover away. Wine's shell keeps a
    // hidden always-on-top tooltip of the taskbar's own for every icon ever
    // shown, which can come between the two: the taskbar is put right under
    // the cover until it stays there.
    bool taskbarIntoBand(const Pendrel& copy) {
        const UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
        HWND taskbar = shellTaskbar();
        if (!cover_.raise())
            return false;
        SetWindowPos(taskbar, HWND_TOPMOST, 0, 0, 0, 0, flags);
        if (!waitUntil([&] { return isTopmost(taskbar); }, EFFECT_BOUND_MS))
            return false;
        const bool underCover = waitUntil(
            [&] {
                if (GetWindow(taskbar, GW_HWNDPREV) == cover_.window())
                    return true;
                SetWindowPos(taskbar, cover_.window(), 0, 0, 0, 0, flags);
                return false;
            },
            EFFECT_BOUND_MS);
        return underCover && waitUntil([&] { return rootWindowAt(onStrip()) == copy.window; }, EFFECT_BOUND_MS);
    }
};

TEST_F(TopmostTaskbar, StaysInItsBandAfterTheRelease) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    ASSERT_TRUE(taskbarIntoBand(copy));

    ASSERT_TRUE(moveOntoStrip());
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "the taskbar never came in front";
    // The program reads where the pointer is for a whole poll.
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    EXPECT_TRUE(waitUntil([] { return !taskbarAboveCover(); }, EFFECT_BOUND_MS)) << "the taskbar stayed in front";
    EXPECT_TRUE(isTopmost(shellTaskbar())) << "the release took the taskbar out of the always-on-top band";
}

// A window of the user's that is not always on top, in the place given.
class OrdinaryWindow : public Cover {
public:
    explicit OrdinaryWindow(const RECT& place) : place_(place) {}

protected:
    void onCreated(HWND window) override {
        SetWindowPos(window, HWND_NOTOPMOST, place_.left, place_.top, place_.right - place_.left,
                     place_.bottom - place_.top, SWP_NOACTIVATE);
    }
    RECT place_;
};

// Windows 10 and 11 take their taskbar out of the always-on-top band while a
// full-screen window that is not always on top is in front, and put it back
// once the user moves on to a window that does not fill the monitor: the
// release sends it back behind only while the full-screen window is in front.
TEST_F(Trigger, AfterAFullScreenWindowTheReleaseLeavesTheTaskbarWhereTheShellPutsIt) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));
    OrdinaryWindow fullScreen(RECT{0, 0, screenWidth(), screenHeight()});
    ASSERT_TRUE(fullScreen.raise());
    Pendrel& copy = launch();
    ASSERT_TRUE(copy.window != nullptr && waitOnStrip(copy));
    ASSERT_TRUE(moveOntoStrip() && waitUntil(taskbarAboveCover, EFFECT_BOUND_MS));
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    EXPECT_TRUE(waitUntil(taskbarReleased, EFFECT_BOUND_MS)) << "not sent back behind the full-screen window";

    ASSERT_TRUE(moveOntoStrip() && waitUntil(taskbarAboveCover, EFFECT_BOUND_MS));
    SetWindowPos(shellTaskbar(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    const POINT middle = {screenWidth() / 2, screenHeight() / 2};
    OrdinaryWindow small(RECT{middle.x - 100, middle.y - 50, middle.x + 100, middle.y + 50});
    ASSERT_TRUE(small.raise() && placePointerForGood(middle.x, middle.y));
    ASSERT_TRUE(waitForPolls());
    EXPECT_TRUE(isTopmost(shellTaskbar()) && taskbarAboveCover()) << "the release put the taskbar behind";
    resetTaskbarBand();
}

// A click raises the taskbar at once, and neither the strip nor its thread
// ever takes the foreground from the program the user works in.
TEST_F(Trigger, AClickRaisesWithoutTakingTheForeground) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_MS, "2000"));
    Pendrel& copy = launchCovered();
    ASSERT_TRUE(copy.window != nullptr && cover_.takeForeground());
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    bool activated = false;
    auto watch = [&](bool (*done)()) {
        return [&, done] {
            GetGUIThreadInfo(GetWindowThreadProcessId(copy.window, nullptr), &thread);
            activated = activated || GetForegroundWindow() == copy.window || thread.hwndActive == copy.window;
            return done();
        };
    };
    ASSERT_TRUE(leftClickAt(500, onStrip().y));
    const double clicked = nowMs();
    EXPECT_TRUE(waitUntil(watch(taskbarAboveCover), EFFECT_BOUND_MS)) << "the click did not raise the taskbar";
    EXPECT_LT(nowMs() - clicked, LONGEST_DELAY_MS) << "raised by the delay, not by the click";
    // Watched past the delay's end, which no other process sees.
    waitUntil(watch([] { return false; }), TWO_POLLS_MS);
    EXPECT_FALSE(activated) << "the strip took the foreground or became active";
}

// The pointer sweeps along the strip, so hit tests keep coming; whether the
// taskbar comes up during the sweep tells how the delay is set up. A raise is
// seen in front of the cover or in the About dialog's counter: under Wine a
// later restacking of the TriggerWindow (the activation a click brings) can
// put the taskbar back behind the cover, while the count stays.
struct SweepRow {
    const char* name;
    const char* delayEnabled;
    const char* delayMs;
    const char* restartOnMove;
    bool clickFirst;
    bool raisedWhileMoving;
};

class Sweep : public Trigger, public ::testing::WithParamInterface<SweepRow> {};

TEST_P(Sweep, AlongTheStrip) {
    const SweepRow& row = GetParam();
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, row.delayEnabled));
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_MS, row.delayMs));
    ASSERT_TRUE(writeSetting(PENDREL_REG_RESTART_ON_MOVE, row.restartOnMove));
    Pendrel& copy = launchCovered();
    ASSERT_NE(copy.window, nullptr);
    HWND about = openAbout(copy);
    ASSERT_NE(about, nullptr) << "no About dialog";
    ASSERT_TRUE(waitUntil([&] { return countShownInAbout(about) == 0; }, EFFECT_BOUND_MS))
        << windowText(GetDlgItem(about, IDC_COUNTER_LABEL));
    auto raised = [&] { return countShownInAbout(about) > 0 || taskbarAboveCover(); };

    int x = strip_.left + 20;
    ASSERT_TRUE(moveOntoStrip(x));
    if (row.clickFirst) {
        // Under Wine a button pressed in the instant the pointer arrives can
        // fall through to the window below; a user's click comes from a
        // pointer at rest. The pause is well inside the 2000 ms delay.
        Sleep(CLICK_SETTLE_MS);
        INPUT click[2] = {};
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, click, sizeof(INPUT));
    }
    // Sweep for three delays' worth of the longest delay: enough for any
    // delay that is not restarted to run out.
    const DWORD sweepMs = 3 * LONGEST_DELAY_MS;
    const DWORD start = GetTickCount();
    DWORD last = start;
    DWORD longestGap = 0;
    bool raisedDuringSweep = false;
    while (!raisedDuringSweep && GetTickCount() - start < sweepMs) {
        x = x + SWEEP_STEP_PX < strip_.right - 20 ? x + SWEEP_STEP_PX : strip_.left + 20;
        movePointer(x, onStrip(x).y);
        const DWORD now = GetTickCount();
        longestGap = now - last > longestGap ? now - last : longestGap;
        last = now;
        raisedDuringSweep = raised();
        Sleep(SWEEP_STEP_MS);
    }
    if (row.raisedWhileMoving) {
        EXPECT_TRUE(raisedDuringSweep) << row.name << ": not raised while the pointer moved along the strip";
        EXPECT_TRUE(waitUntil([&] { return countShownInAbout(about) == 1; }, EFFECT_BOUND_MS))
            << row.name << ": " << windowText(GetDlgItem(about, IDC_COUNTER_LABEL));
        return;
    }
    // Only a pause of a whole delay between two moves lets it run out.
    EXPECT_FALSE(raisedDuringSweep) << row.name << ": raised although every move restarted the delay; longest pause "
                                    << longestGap << " ms";
    // Once the pointer rests, the delay runs out.
    EXPECT_TRUE(waitUntil(raised, LONGEST_DELAY_MS + EFFECT_BOUND_MS)) << row.name << ": not raised at rest";
}

INSTANTIATE_TEST_SUITE_P(
    E2E, Sweep,
    ::testing::Values(SweepRow{"NoDelay", "0", "2000", "1", false, true},
                      SweepRow{"DelayRestartedByEveryMove", "1", "2000", "1", false, false},
                      SweepRow{"DelayNotRestarted", "1", "1000", "0", false, true},
                      SweepRow{"ClickRaisesAtOnce", "1", "2000", "1", true, true}),
    [](const ::testing::TestParamInfo<SweepRow>& info) { return std::string(info.param.name); });

TEST_F(Trigger, StripShowsTheHighlightWhileThePointerRestsOnIt) {
    Pendrel& copy = launchCovered();
    ASSERT_NE(copy.window, nullptr);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_TRUE(stripNoneOfColour(strip_, highlight)) << "highlighted before the pointer came";

    ASSERT_TRUE(moveOntoStrip());
    EXPECT_TRUE(waitUntil([&] { return stripAllOfColour(strip_, highlight); }, EFFECT_BOUND_MS))
        << "strip pixel " << std::hex << screenPixel(500, strip_.top + 2) << ", highlight " << highlight;
    saveScreenshot("strip-highlighted");

    ASSERT_TRUE(moveAway());
    EXPECT_TRUE(waitUntil([&] { return stripNoneOfColour(strip_, highlight); }, EFFECT_BOUND_MS))
        << "the highlight stayed after the pointer left";
    saveScreenshot("strip-after-leave");
}

TEST_F(Trigger, StripStaysUnlitWithTheHighlightSwitchedOff) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_HIGHLIGHT, "0"));
    Pendrel& copy = launchCovered();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(moveOntoStrip());
    ASSERT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS));
    EXPECT_TRUE(stripNoneOfColour(strip_, GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_NE(GetWindowLongA(copy.window, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0)
        << "the TriggerWindow lost its transparency without a highlight";
}

}  // namespace
}  // namespace e2e
