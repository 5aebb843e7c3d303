// What the shell shows from its taskbar (thumbnails, jump lists, Start,
// search, flyouts) lies outside the taskbar: the raise holds while the
// pointer is on it or while it has the foreground. Copies of the smallest
// window program (the benchmark's) stand in for it under the names of the
// shell's processes.
#include "e2e/support.h"

namespace e2e {
namespace {

const char BARE_CLASS[] = "PendrelBenchBare";
const RECT ABOVE_TASKBAR = {300, 600, 500, 720};  // clear of the release margin
const POINT ON_STANDIN = {400, 660};

// Wine's taskbar is not always on top: the raise puts it into that band and
// the release takes it out, so the band tells whether the raise holds (Wine
// shows the band's other windows in front of it whenever one of them moves).
bool stillRaised() { return isTopmost(shellTaskbar()); }

class ShellFlyouts : public PendrelTest {
protected:
    void TearDown() override {
        for (Program& standIn : standIns_)
            stopProgram(standIn);
        PendrelTest::TearDown();
    }
    // Always on top, above the taskbar; with the foreground or never; without
    // a caption, as what the shell shows has none, or with one, as a folder
    // window has.
    Program& show(const char* exeName, bool foreground, bool captioned = false) {
        standIns_.emplace_back();
        Program& standIn = standIns_.back();
        EXPECT_TRUE(startProgram(exeName, standIn, foreground) && waitForWindow(standIn, BARE_CLASS, nullptr))
            << exeName;
        if (!captioned)
            SetWindowLongA(standIn.window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        const RECT& r = ABOVE_TASKBAR;
        SetWindowPos(standIn.window, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
        EXPECT_TRUE(waitUntil([&] { return rootWindowAt(ON_STANDIN) == standIn.window; }, EFFECT_BOUND_MS));
        if (foreground)
            SetForegroundWindow(standIn.window);
        waitUntil([&] { return GetForegroundWindow() == standIn.window; }, foreground ? EFFECT_BOUND_MS : 0);
        EXPECT_EQ(foreground, GetForegroundWindow() == standIn.window) << exeName;
        return standIn;
    }
    std::deque<Program> standIns_;
};

TEST_F(ShellFlyouts, KeepTheTaskbarRaisedUntilTheyAreGone) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));
    ASSERT_TRUE(cover_.raise());
    Pendrel& copy = launch();
    ASSERT_TRUE(copy.window != nullptr && waitOnStrip(copy));
    ASSERT_TRUE(movePointer(500, strip_.top + STRIP_DEPTH / 2));
    ASSERT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS));

    // A thumbnail: the shell's own image, without the foreground.
    Program& thumbnail = show("standins\\explorer.exe", false);
    ASSERT_TRUE(placePointerForGood(ON_STANDIN.x, ON_STANDIN.y));
    ASSERT_TRUE(waitForPolls());
    EXPECT_TRUE(stillRaised()) << "released with the pointer on a thumbnail";

    // Start: a host of its own, with the foreground.
    ASSERT_TRUE(placePointerForGood(taskbarProbePoint().x, taskbarProbePoint().y));
    stopProgram(thumbnail);
    show("standins\\StartMenuExperienceHost.exe", true);
    ASSERT_TRUE(placePointerForGood(ON_STANDIN.x, ON_STANDIN.y));
    ASSERT_TRUE(waitForPolls());
    EXPECT_TRUE(stillRaised()) << "released with the pointer on Start";
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    ASSERT_TRUE(waitForPolls());
    EXPECT_TRUE(stillRaised()) << "released while Start had the foreground";

    stopProgram(standIns_.back());
    ASSERT_TRUE(cover_.takeForeground());
    EXPECT_TRUE(waitUntil(taskbarReleased, EFFECT_BOUND_MS)) << "not sent back behind the cover";
}

// Search, quick settings, the touch keyboard and the widgets, each a host of
// its own with the foreground, hold the raise; a window with a caption of a
// program of the taskbar's image, as a folder window is, does not.
TEST_F(ShellFlyouts, EveryHostOfTheShellHoldsTheRaiseAFolderWindowDoesNot) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));
    ASSERT_TRUE(cover_.raise());
    Pendrel& copy = launch();
    ASSERT_TRUE(copy.window != nullptr && waitOnStrip(copy));
    for (const char* host : {"SearchApp.exe", "ShellHost.exe", "TextInputHost.exe", "Widgets.exe"}) {
        SCOPED_TRACE(host);
        const std::string copied = besideDriver((std::string("standins\\") + host).c_str());
        ASSERT_TRUE(CopyFileA(besideDriver(BARE_PROGRAM_EXE).c_str(), copied.c_str(), FALSE));
        ASSERT_TRUE(placePointerForGood(500, strip_.top + STRIP_DEPTH / 2));
        ASSERT_TRUE(waitUntil(stillRaised, EFFECT_BOUND_MS));
        show((std::string("standins\\") + host).c_str(), true);
        ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
        ASSERT_TRUE(waitForPolls());
        EXPECT_TRUE(stillRaised()) << "released while it had the foreground";
        stopProgram(standIns_.back());
        ASSERT_TRUE(cover_.takeForeground());
        EXPECT_TRUE(waitUntil(taskbarReleased, EFFECT_BOUND_MS)) << "not sent back once it went";
        DeleteFileA(copied.c_str());
    }
    ASSERT_TRUE(placePointerForGood(500, strip_.top + STRIP_DEPTH / 2));
    ASSERT_TRUE(waitUntil(stillRaised, EFFECT_BOUND_MS));
    show("standins\\explorer.exe", true, true);
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    EXPECT_TRUE(waitUntil([] { return !stillRaised(); }, EFFECT_BOUND_MS)) << "a folder window held the raise";
}

}  // namespace
}  // namespace e2e
