// Out of the way: a pause from the icon's menu, and programs the user names,
// in front of which the strips neither raise the taskbar nor climb over them.
#include "e2e/support.h"

namespace e2e {
namespace {

// Longer than two polls: what a poll was going to do has happened. A strip
// that stands aside is left where it lies, so its polls show nothing to
// another process and these waits are fixed.
const DWORD TWO_POLLS_MS = 2500;
const char LISTED_COPY[] = "Listed.EXE";
const char FRAME_COPY[] = "ApplicationFrameHost.exe";

class OutOfTheWay : public PendrelTest {
protected:
    POINT onStrip() const { return POINT{500, strip_.top + STRIP_DEPTH / 2}; }
    // The pointer rests there: the polls are what must find it.
    bool moveOntoStrip() { return placePointerForGood(onStrip().x, onStrip().y); }
    bool stripInFront(const Pendrel& copy) const { return rootWindowAt(onStrip()) == copy.window; }
    // Command 30004, as the menu sends it.
    void choosePause(const Pendrel& copy) {
        PostMessageA(copy.window, WM_COMMAND, IDM_PAUSE, 0);
        ASSERT_TRUE(roundTripTo(copy.window));
    }
};

TEST_F(OutOfTheWay, PauseStopsThePointerNotTheShortcutAndLetsNewWindowsOverTheStripUntilResumed) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_HOT_KEY, CTRL_ALT_T));
    ASSERT_TRUE(cover_.raise());
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    ASSERT_TRUE(waitUntil([&] { return stripInFront(copy); }, EFFECT_BOUND_MS));

    choosePause(copy);
    ASSERT_TRUE(moveOntoStrip());
    Sleep(TWO_POLLS_MS);
    EXPECT_FALSE(taskbarAboveCover()) << "the pointer raised the taskbar while paused";
    cover_.lower();
    ASSERT_TRUE(cover_.raise());
    Sleep(TWO_POLLS_MS);
    EXPECT_EQ(rootWindowAt(onStrip()), cover_.window()) << "the strip climbed over a window shown while paused";
    EXPECT_FALSE(taskbarAboveCover());

    pressCtrlAltT();
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "the shortcut did not raise the taskbar";
    // The taskbar's activation reaches the shell later than the raise: taken
    // back before it lands, the foreground would end on the taskbar.
    EXPECT_TRUE(waitUntil([] { return GetForegroundWindow() == shellTaskbar(); }, EFFECT_BOUND_MS));
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    ASSERT_TRUE(cover_.takeForeground());
    ASSERT_TRUE(waitUntil(taskbarReleased, EFFECT_BOUND_MS));

    choosePause(copy);
    ASSERT_TRUE(moveOntoStrip());
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "the pointer does not raise after the resume";
}

// A small program in front, full-screen and always on top as a game is:
// first copied under a listed name written in another case, then under its
// own name, which is not listed, then as a Store app is shown: the listed
// program's window inside the frame of a process of its own.
TEST_F(OutOfTheWay, ListedProgramInFrontIsNotCoveredAndAnUnlistedOneIs) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_NEVER_OVER, "other.exe; listed.exe"));
    ASSERT_TRUE(CopyFileA(besideDriver(BARE_PROGRAM_EXE).c_str(), besideDriver(LISTED_COPY).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(besideDriver(BARE_PROGRAM_EXE).c_str(), besideDriver(FRAME_COPY).c_str(), FALSE));
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    const struct {
        const char* exe;
        bool listed;
        const char* framed;  // the program whose window the frame holds
    } rows[] = {{LISTED_COPY, true, nullptr}, {BARE_PROGRAM_EXE, false, nullptr}, {FRAME_COPY, true, LISTED_COPY}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.exe);
        Program front, framed;
        ASSERT_TRUE(startProgram(row.exe, front));
        ASSERT_TRUE(waitUntil([&] { return (front.window = findVisibleWindow(front.pid, nullptr, nullptr)); },
                              START_BOUND_MS));
        if (row.framed != nullptr) {
            ASSERT_TRUE(startProgram(row.framed, framed));
            ASSERT_TRUE(waitUntil(
                [&] { return (framed.window = findVisibleWindow(framed.pid, nullptr, nullptr)); }, START_BOUND_MS));
            SetWindowLongA(framed.window, GWL_STYLE, WS_CHILD | WS_VISIBLE);
            SetParent(framed.window, front.window);
        }
        SetWindowPos(front.window, HWND_TOPMOST, 0, 0, screenWidth(), screenHeight(), SWP_SHOWWINDOW);
        SetForegroundWindow(front.window);
        EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == front.window; }, EFFECT_BOUND_MS));
        ASSERT_TRUE(moveOntoStrip());
        if (row.listed) {
            Sleep(TWO_POLLS_MS);
            EXPECT_EQ(rootWindowAt(onStrip()), front.window) << "the strip climbed over the listed program";
            EXPECT_FALSE(taskbarAboveCover()) << "the taskbar came over the listed program";
        } else {
            EXPECT_TRUE(waitUntil([&] { return stripInFront(copy); }, EFFECT_BOUND_MS));
            EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS));
        }
        ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
        if (row.framed != nullptr)
            stopProgram(framed);
        stopProgram(front);
    }
    DeleteFileA(besideDriver(LISTED_COPY).c_str());
    DeleteFileA(besideDriver(FRAME_COPY).c_str());
}

}  // namespace
}  // namespace e2e
