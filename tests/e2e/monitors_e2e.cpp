// A taskbar on each of two monitors side by side (tools/two-monitor-desktop.sh):
// the second monitor's taskbar gets a strip of its own, raised and released
// like the primary one, gone with its taskbar and back with it, and none at
// all with the setting off. The desktop shows no taskbar there, so the
// scenarios bring their own: the stand-in shell's on the primary monitor,
// which also answers the position request, and a secondary one beside it.
#include "e2e/hardship.h"

#include <shellapi.h>

#include <ostream>

namespace e2e {
namespace {

const RECT PRIMARY_MONITOR = {0, 0, 1024, 768};
const RECT SECOND_MONITOR = {1024, 0, 2048, 768};
const char SECOND_DISPLAY[] = "\\\\.\\DISPLAY2";
const RECT PRIMARY_BAR = {0, 738, 1024, 768};
const RECT PRIMARY_STRIP = {0, 764, 1024, 768};
const RECT SECOND_BAR = {1024, 738, 2048, 768};
const RECT SECOND_STRIP = {1024, 764, 2048, 768};
const RECT HIDDEN_ON_SHARED_EDGE = {966, 0, 1026, 768};
const RECT STRIP_ON_SHARED_EDGE = {1024, 0, 1028, 768};
const POINT ON_PRIMARY_STRIP = {500, 766};
const POINT ON_PRIMARY_BAR = {500, 750};
const POINT ON_SECOND_STRIP = {1500, 766};
const POINT ON_SECOND_BAR = {1500, 750};
const POINT AWAY_ON_SECOND = {1500, 300};
// A strip is looked at once a second: what goes with a poll has gone by then.
const DWORD ONE_POLL_BOUND_MS = POLL_PERIOD_MS + POLL_PERIOD_MS / 2;
const char LONG_DELAY_MS[] = "2000";

RECT monitorAt(POINT p) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoA(MonitorFromPoint(p, MONITOR_DEFAULTTONULL), &info);
    return info.rcMonitor;
}

bool twoMonitorsSideBySide() {
    return GetSystemMetrics(SM_CMONITORS) == 2 && sameRect(monitorAt(POINT{0, 0}), PRIMARY_MONITOR) &&
           sameRect(monitorAt(AWAY_ON_SECOND), SECOND_MONITOR);
}

// As a user does in the display settings: the system announces the change to
// every top-level window.
bool setSecondMonitor(bool present) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPosition.x = SECOND_MONITOR.left;
    mode.dmPosition.y = SECOND_MONITOR.top;
    mode.dmPelsWidth = present ? SECOND_MONITOR.right - SECOND_MONITOR.left : 0;
    mode.dmPelsHeight = present ? SECOND_MONITOR.bottom - SECOND_MONITOR.top : 0;
    if (ChangeDisplaySettingsExA(SECOND_DISPLAY, &mode, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr) !=
            DISP_CHANGE_SUCCESSFUL ||
        ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr) != DISP_CHANGE_SUCCESSFUL)
        return false;
    return waitUntil([&] { return twoMonitorsSideBySide() == present; }, EFFECT_BOUND_MS);
}

bool topmost(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The cover over both monitors.
class WideCover : public Cover {
protected:
    void onCreated(HWND window) override {
        SetWindowPos(window, nullptr, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

class Monitors : public PendrelTest {
protected:
    void SetUp() override {
        PendrelTest::SetUp();
        if (HasFatalFailure())
            return;
        if (!twoMonitorsSideBySide())
            GTEST_SKIP() << "needs the two monitors of tools/two-monitor-desktop.sh";
        ASSERT_TRUE(shell_.start() && shell_.answersTaskbarRequests()) << "the stand-in shell is not asked";
        ASSERT_TRUE(shell_.showTaskbar(PRIMARY_BAR));
        shell_.reportTaskbar(PRIMARY_BAR, ABE_BOTTOM);
        ASSERT_TRUE(second_.show(SECONDARY_TASKBAR_CLASS_NAME, SECOND_BAR));
    }
    void TearDown() override {
        if (secondTakenAway_) {
            EXPECT_TRUE(giveSecondMonitorBack()) << "the second monitor did not come back";
        }
        wide_.lower();
        second_.remove();
        shell_.stop();
        PendrelTest::TearDown();
    }
    // Under a window over both monitors, where both strips show.
    Pendrel& launchWithBothStrips() {
        EXPECT_TRUE(wide_.raise());
        Pendrel& copy = launch();
        EXPECT_TRUE(waitOnStrip(copy)) << describe(windowRect(copy.window));
        EXPECT_TRUE(waitUntil([&] { return secondStripPlaced(copy); }, EFFECT_BOUND_MS))
            << "no strip on the second taskbar's edge";
        return copy;
    }
    static HWND secondStrip(const Pendrel& copy) { return findWindowOf(copy.pid, PENDREL_STRIP_CLASS, nullptr); }
    static bool secondStripPlaced(const Pendrel& copy) {
        HWND strip = secondStrip(copy);
        return strip != nullptr && IsWindowVisible(strip) && sameRect(windowRect(strip), SECOND_STRIP);
    }
    bool takeSecondMonitorAway() {
        secondTakenAway_ = true;
        return setSecondMonitor(false);
    }
    bool giveSecondMonitorBack() {
        secondTakenAway_ = !setSecondMonitor(true);
        return !secondTakenAway_;
    }
    bool secondBarInFront() { return rootWindowAt(ON_SECOND_BAR) == second_.window(); }
    bool secondBarReleased() { return rootWindowAt(ON_SECOND_BAR) == wide_.window() && !topmost(second_.window()); }

    FakeShell shell_;
    StandInTaskbar second_;
    WideCover wide_;
    bool secondTakenAway_ = false;
};

// The pointer at the second taskbar's edge, behind a window that is always
// on top, with the strips of every taskbar wanted and not.
struct EdgeRow {
    const char* name;
    const char* allScreens;  // null: not stored
    bool secondStrip;
};
void PrintTo(const EdgeRow& row, std::ostream* out) {
    *out << row.name;
}

class SecondEdge : public Monitors, public ::testing::WithParamInterface<EdgeRow> {};

TEST_P(SecondEdge, RaisesItsOwnTaskbarOnly) {
    const EdgeRow& row = GetParam();
    if (row.allScreens != nullptr) {
        ASSERT_TRUE(writeSetting(PENDREL_REG_ALL_SCREENS, row.allScreens));
    }
    ASSERT_TRUE(wide_.raise());
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy)) << describe(windowRect(copy.window));
    if (row.secondStrip) {
        ASSERT_TRUE(waitUntil([&] { return secondStripPlaced(copy); }, EFFECT_BOUND_MS))
            << "no strip on the second taskbar's edge";
        EXPECT_EQ(rootWindowAt(ON_SECOND_STRIP), secondStrip(copy)) << "the strip is not in front of the cover";
    } else {
        // Two polls have looked for secondary taskbars.
        Sleep(2 * POLL_PERIOD_MS);
        EXPECT_EQ(secondStrip(copy), nullptr) << "a strip for the second taskbar, with the setting off";
    }

    ASSERT_TRUE(movePointer(ON_SECOND_STRIP.x, ON_SECOND_STRIP.y));
    if (row.secondStrip) {
        EXPECT_TRUE(waitUntil([&] { return secondBarInFront(); }, EFFECT_BOUND_MS))
            << "the second taskbar never came in front of the cover";
        // The pointer rests on the strip through a poll: still one raise.
        Sleep(POLL_PERIOD_MS);
        EXPECT_TRUE(secondBarInFront());
        EXPECT_EQ(rootWindowAt(ON_PRIMARY_BAR), wide_.window()) << "the primary taskbar came up too";

        ASSERT_TRUE(movePointer(AWAY_ON_SECOND.x, AWAY_ON_SECOND.y));
        EXPECT_TRUE(waitUntil([&] { return secondBarReleased(); }, ONE_POLL_BOUND_MS))
            << "not released after the pointer left: in front " << className(rootWindowAt(ON_SECOND_BAR))
            << ", topmost " << topmost(second_.window());
    } else {
        Sleep(ONE_POLL_BOUND_MS);
        EXPECT_EQ(rootWindowAt(ON_SECOND_BAR), wide_.window()) << "raised without a strip";
    }
    HWND about = openAbout(copy);
    ASSERT_NE(about, nullptr);
    const long expected = row.secondStrip ? 1 : 0;
    EXPECT_TRUE(waitUntil([&] { return countShownInAbout(about) == expected; }, EFFECT_BOUND_MS))
        << windowText(GetDlgItem(about, IDC_COUNTER_LABEL));
}

INSTANTIATE_TEST_SUITE_P(E2E, SecondEdge,
                         ::testing::Values(EdgeRow{"EveryScreen", nullptr, true},
                                           EdgeRow{"PrimaryOnly", "0", false}),
                         [](const ::testing::TestParamInfo<EdgeRow>& info) { return std::string(info.param.name); });

// The shell destroys the taskbar of a monitor that goes and makes a new one
// when it comes back, and hides it behind its edge when it hides.
TEST_F(Monitors, StripGoesWithTheSecondMonitorAndComesBackWithIt) {
    Pendrel& copy = launchWithBothStrips();
    ASSERT_TRUE(secondStripPlaced(copy));

    ASSERT_TRUE(takeSecondMonitorAway()) << "the second monitor could not be taken away";
    second_.remove();
    EXPECT_TRUE(waitUntil([&] { return secondStrip(copy) == nullptr; }, ONE_POLL_BOUND_MS))
        << "the strip stayed after its taskbar went: " << describe(windowRect(secondStrip(copy)));

    ASSERT_TRUE(giveSecondMonitorBack()) << "the second monitor did not come back";
    ASSERT_TRUE(second_.show(SECONDARY_TASKBAR_CLASS_NAME, SECOND_BAR));
    EXPECT_TRUE(waitUntil([&] { return secondStripPlaced(copy); }, EFFECT_BOUND_MS))
        << "no strip on the new taskbar's edge: " << describe(windowRect(secondStrip(copy)));
    EXPECT_TRUE(sameRect(windowRect(copy.window), PRIMARY_STRIP)) << describe(windowRect(copy.window));

    // Auto-hidden on the edge it shares with the primary monitor, it lies
    // mostly over that one: its strip stays on its own monitor's edge.
    ASSERT_TRUE(second_.show(SECONDARY_TASKBAR_CLASS_NAME, HIDDEN_ON_SHARED_EDGE));
    EXPECT_TRUE(waitUntil([&] { return sameRect(windowRect(secondStrip(copy)), STRIP_ON_SHARED_EDGE); },
                          EFFECT_BOUND_MS))
        << describe(windowRect(secondStrip(copy)));
}

// An ordinary window, not always on top, in the place given; with a
// caption, a window the user works in: the stand-in shell runs in this
// process, whose windows without one count as shown from its taskbar.
class PlacedWindow : public Cover {
public:
    PlacedWindow(const RECT& place, bool captioned) : place_(place), captioned_(captioned) {}

protected:
    void onCreated(HWND window) override {
        if (captioned_)
            SetWindowLongA(window, GWL_STYLE, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        SetWindowPos(window, HWND_NOTOPMOST, place_.left, place_.top, place_.right - place_.left,
                     place_.bottom - place_.top, SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    RECT place_;
    bool captioned_;
};

// A full-screen video on the primary monitor, not always on top, and the
// user at work on the second: the primary taskbar raised over the video goes
// back behind it once the pointer has left, the monitor's own window in front
// deciding, not the foreground on the other monitor.
TEST_F(Monitors, TheReleaseLooksAtTheWindowInFrontOnTheTaskbarsOwnMonitor) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));
    PlacedWindow video(PRIMARY_MONITOR, false), work(RECT{1200, 100, 1800, 600}, true);
    ASSERT_TRUE(video.raise());
    Pendrel& copy = launch();
    ASSERT_TRUE(copy.window != nullptr && waitOnStrip(copy));
    ASSERT_TRUE(work.raise(POINT{1500, 300}));
    ASSERT_TRUE(waitUntil([&] { return rootWindowAt(ON_PRIMARY_STRIP) == copy.window; }, EFFECT_BOUND_MS))
        << "no strip over the video";
    ASSERT_TRUE(movePointer(ON_PRIMARY_STRIP.x, ON_PRIMARY_STRIP.y));
    ASSERT_TRUE(waitUntil([&] { return rootWindowAt(ON_PRIMARY_BAR) == shell_.taskbar(); }, EFFECT_BOUND_MS))
        << "the primary taskbar never came over the video";
    ASSERT_TRUE(work.takeForeground());
    ASSERT_TRUE(movePointer(AWAY_ON_SECOND.x, AWAY_ON_SECOND.y));
    EXPECT_TRUE(waitUntil([&] { return rootWindowAt(ON_PRIMARY_BAR) == video.window(); }, EFFECT_BOUND_MS))
        << "the taskbar stayed over the video: in front " << className(rootWindowAt(ON_PRIMARY_BAR));
}

// Both strips lit at once: the primary one still waits out its delay when
// the pointer reaches the second. The screenshot shows both.
TEST_F(Monitors, BothStripsShowTheHighlightDuringTheirDelays) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_MS, LONG_DELAY_MS));
    Pendrel& copy = launchWithBothStrips();
    ASSERT_NE(copy.window, nullptr);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_TRUE(stripNoneOfColour(PRIMARY_STRIP, highlight) && stripNoneOfColour(SECOND_STRIP, highlight))
        << "lit before the pointer came";

    ASSERT_TRUE(movePointer(ON_PRIMARY_STRIP.x, ON_PRIMARY_STRIP.y));
    ASSERT_TRUE(waitUntil([&] { return stripAllOfColour(PRIMARY_STRIP, highlight); }, EFFECT_BOUND_MS))
        << "primary strip pixel " << std::hex << screenPixel(ON_PRIMARY_STRIP.x, ON_PRIMARY_STRIP.y);
    ASSERT_TRUE(movePointer(ON_SECOND_STRIP.x, ON_SECOND_STRIP.y));
    EXPECT_TRUE(waitUntil(
        [&] { return stripAllOfColour(SECOND_STRIP, highlight) && stripAllOfColour(PRIMARY_STRIP, highlight); },
        EFFECT_BOUND_MS))
        << "pixels " << std::hex << screenPixel(ON_PRIMARY_STRIP.x, ON_PRIMARY_STRIP.y) << " and "
        << screenPixel(ON_SECOND_STRIP.x, ON_SECOND_STRIP.y) << ", highlight " << highlight;
    EXPECT_TRUE(saveScreenshot("two-monitors-strips-lit"));
}

}  // namespace
}  // namespace e2e
