// What the program asks of the shell, seen by a stand-in shell that counts
// the requests: where the taskbar lies only when something may have changed,
// nothing that waits on a taskbar whose thread hangs, and the auto-hide bars
// when the shell reports no edge.
#include "e2e/hardship.h"

#include <shellapi.h>

#include <ostream>
#include <vector>

namespace e2e {
namespace {

// Another taskbar along the bottom, and its strip.
const RECT NARROW_BAR = {100, 718, 924, 768};
const RECT NARROW_STRIP = {100, 764, 924, 768};
// The next poll is at most one period away, the half period is slack for a
// busy machine; the safety net is thirty periods away.
const DWORD NEXT_POLL_BOUND_MS = POLL_PERIOD_MS + POLL_PERIOD_MS / 2;
const DWORD IDLE_MS = 5000;
// A dialog that opens at once, and not once a hung window lets go.
const double ABOUT_BOUND_MS = 1000.0;

class ShellWatch : public StandInShellTest {
protected:
    // Shows the stand-in taskbar at the bar, reported with the edge, starts
    // the program and waits for its strip; null when any of it failed.
    Pendrel* startBeside(const RECT& bar, UINT edge, const RECT& strip) {
        if (!shell_.showTaskbar(bar))
            return nullptr;
        shell_.reportTaskbar(bar, edge);
        Pendrel& copy = launch();
        return copy.window != nullptr && liesOn(copy, strip) ? &copy : nullptr;
    }
    bool askedSince(long before) {
        return waitUntil([&] { return shell_.requestsAnswered() > before; }, NEXT_POLL_BOUND_MS);
    }
};

// What happens between one request and the next. The shell reports a new
// rectangle with each, so that the strip shows whether the program asked.
enum Change { MOVED, REPLACED, DISPLAY, WORK_AREA, OTHER_SETTING, SCALE, SHELL_CREATED };

struct ChangeRow {
    const char* name;
    Change change;
    RECT reported;
    RECT strip;  // where the strip lies afterwards
    bool asks;
};

TEST_F(ShellWatch, AsksOnlyWhenTheTaskbarOrTheDisplayMayHaveChanged) {
    START_STAND_IN_SHELL_OR_SKIP();
    Pendrel* copy = startBeside(BOTTOM_BAR, ABE_BOTTOM, BOTTOM_STRIP);
    ASSERT_NE(copy, nullptr);
    // The strip is placed with the first answer, so that request is already
    // counted: nothing changes from here on, and the safety net is some
    // thirty seconds away. One more is allowed for an announcement that the
    // system may make on its own while a program starts.
    const long settled = shell_.requestsAnswered();
    Sleep(IDLE_MS);
    const long idleRequests = shell_.requestsAnswered() - settled;
    RecordProperty("idle_requests", static_cast<int>(idleRequests));
    EXPECT_LE(idleRequests, 1) << "the idle program kept asking";

    const ChangeRow rows[] = {
        {"TaskbarMoved", MOVED, NARROW_BAR, NARROW_STRIP, true},
        // The new window takes the old one's rectangle: only its handle differs.
        {"TaskbarReplaced", REPLACED, BOTTOM_BAR, BOTTOM_STRIP, true},
        {"DisplayChange", DISPLAY, NARROW_BAR, NARROW_STRIP, true},
        {"WorkAreaChange", WORK_AREA, BOTTOM_BAR, BOTTOM_STRIP, true},
        {"OtherSettingChange", OTHER_SETTING, NARROW_BAR, BOTTOM_STRIP, false},
        {"ScaleChange", SCALE, NARROW_BAR, NARROW_STRIP, true},
        {"ShellCreatedTheTaskbar", SHELL_CREATED, BOTTOM_BAR, BOTTOM_STRIP, true},
    };
    for (const ChangeRow& row : rows) {
        SCOPED_TRACE(row.name);
        // Reported before the change: a poll between the two sees nothing new.
        shell_.reportTaskbar(row.reported, ABE_BOTTOM);
        const long before = shell_.requestsAnswered();
        switch (row.change) {
        case MOVED: ASSERT_TRUE(shell_.showTaskbar(row.reported)); break;
        case REPLACED: ASSERT_TRUE(shell_.replaceTaskbar()); break;
        case DISPLAY: ASSERT_TRUE(announceTo(copy->window, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768))); break;
        case WORK_AREA: ASSERT_TRUE(announceTo(copy->window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0)); break;
        case OTHER_SETTING: ASSERT_TRUE(announceTo(copy->window, WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0)); break;
        case SCALE: ASSERT_TRUE(announceTo(copy->window, WM_DPICHANGED, MAKEWPARAM(96, 96), 0)); break;
        case SHELL_CREATED: PostMessageA(copy->window, RegisterWindowMessageA(TASKBAR_CREATED), 0, 0); break;
        }
        EXPECT_EQ(askedSince(before), row.asks) << shell_.requestsAnswered() - before << " requests";
        EXPECT_TRUE(liesOn(*copy, row.strip)) << describe(windowRect(copy->window));
    }
    EXPECT_TRUE(isRunning(*copy));
}

// The taskbar's thread stops handling messages, as a hung shell's does; the
// shell's requests are still answered from another thread. Moving the hung
// window itself would wait for its thread, so the taskbar moves as far as the
// shell can tell: its answer changes and it announces the new work area, as
// it does when the taskbar moves. Were the raise or the release to wait on the
// taskbar, the program would take no message at all from then on.
TEST_F(ShellWatch, AHungTaskbarDelaysNeitherTheDialogsNorTheStrip) {
    START_STAND_IN_SHELL_OR_SKIP();
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));  // raised on the first hit test
    // A window over the taskbar's edge, where the strip catches the pointer.
    ASSERT_TRUE(cover_.raise());
    Pendrel* copy = startBeside(BOTTOM_BAR, ABE_BOTTOM, BOTTOM_STRIP);
    ASSERT_NE(copy, nullptr);
    const POINT onStrip = {500, BOTTOM_STRIP.top + STRIP_DEPTH / 2};
    ASSERT_TRUE(waitUntil([&] { return rootWindowAt(onStrip) == copy->window; }, EFFECT_BOUND_MS));
    ASSERT_TRUE(shell_.hangTaskbar());

    ASSERT_TRUE(movePointer(onStrip.x, onStrip.y));
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    // The poll that finds the new rectangle also finds the pointer gone and
    // releases the taskbar.
    shell_.reportTaskbar(NARROW_BAR, ABE_BOTTOM);
    ASSERT_TRUE(announceTo(copy->window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0)) << "the program takes no message";
    const double asked = nowMs();
    HWND about = openAbout(*copy);
    ASSERT_NE(about, nullptr) << "no About dialog while the taskbar hangs";
    const double opened = nowMs() - asked;
    RecordProperty("about_opened_after_ms", static_cast<int>(opened));
    EXPECT_LT(opened, ABOUT_BOUND_MS);
    EXPECT_EQ(countShownInAbout(about), 1) << "the raise was not counted";

    // What the program asked of the taskbar meanwhile happens once it wakes.
    // A raise the hung taskbar could not take is said in the icon's tooltip,
    // a call that waits on the taskbar's window too: the shell's answers wait
    // behind it, and the strip follows the new rectangle once it is through.
    shell_.resumeTaskbar();
    EXPECT_TRUE(waitUntil([&] { return shell_.timesSentToBottom() == 1; }, EFFECT_BOUND_MS)) << "never released";
    EXPECT_TRUE(liesOn(*copy, NARROW_STRIP)) << describe(windowRect(copy->window));
    EXPECT_TRUE(isRunning(*copy));
}

// The shell reports no edge: the auto-hide bar of each edge is asked for in
// the order top, left, right, bottom, up to the one that is the taskbar;
// without one, the corners of the rectangle tell. The program asks only on a
// change, so each row brings a new rectangle.
struct ProbeRow {
    const char* name;
    bool taskbarWindow;
    RECT bar;
    UINT reportedEdge;
    UINT autoHideEdge;  // the edge whose auto-hide bar is the taskbar
    std::vector<UINT> probes;
    RECT strip;
};

TEST_F(ShellWatch, AnUnreportedEdgeIsLookedForAmongTheAutoHideBars) {
    START_STAND_IN_SHELL_OR_SKIP();
    Pendrel* copy = startBeside(NARROW_BAR, ABE_BOTTOM, NARROW_STRIP);
    ASSERT_NE(copy, nullptr);
    const UINT NONE = FakeShell::NO_EDGE;
    // Each row's strip lies elsewhere than where any other edge would put it.
    const ProbeRow rows[] = {
        {"ReportedEdge", true, BOTTOM_BAR, ABE_BOTTOM, ABE_TOP, {}, BOTTOM_STRIP},
        {"AutoHideOnTop", true, {0, 0, 1024, 44}, NONE, ABE_TOP, {ABE_TOP}, {0, 0, 1024, 4}},
        {"AutoHideOnRight", true, {984, 0, 1024, 768}, NONE, ABE_RIGHT, {ABE_TOP, ABE_LEFT, ABE_RIGHT},
         {1020, 0, 1024, 768}},
        // The top-left corner just off the screen and the full width: the top.
        {"NoAutoHideBar", true, {-2, -2, 1026, 42}, NONE, NONE, {ABE_TOP, ABE_LEFT, ABE_RIGHT, ABE_BOTTOM},
         {-2, -2, 1026, 2}},
        // A null answer would match the null window: probing it would give the top.
        {"NoTaskbarWindow", false, {0, 738, 1024, 768}, NONE, ABE_TOP, {}, {0, 764, 1024, 768}},
    };
    for (const ProbeRow& row : rows) {
        SCOPED_TRACE(row.name);
        // Without a window every poll asks, with the rectangle it last had.
        if (!row.taskbarWindow) {
            ASSERT_TRUE(shell_.hideShellTaskbar()) << "the desktop's taskbar cannot be hidden here";
            shell_.removeTaskbar();
            ASSERT_EQ(FindWindowA(TASKBAR_CLASS, nullptr), nullptr);
        }
        shell_.answerAutoHideOn(row.autoHideEdge);
        shell_.takeAutoHideProbes();
        shell_.reportTaskbar(row.bar, row.reportedEdge);
        if (row.taskbarWindow) {
            ASSERT_TRUE(shell_.showTaskbar(row.bar));
        }
        EXPECT_TRUE(liesOn(*copy, row.strip)) << describe(windowRect(copy->window));
        EXPECT_EQ(shell_.takeAutoHideProbes(), row.probes);
    }
    EXPECT_TRUE(isRunning(*copy));
}

}  // namespace
}  // namespace e2e
