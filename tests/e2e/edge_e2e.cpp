// Out of the user's way at the edge: a strip shows only while something
// covers the taskbar's edge, climbs only over what covers it, and keeps away
// from a full-screen program that hides the pointer, as games do.
#include "e2e/support.h"

namespace e2e {
namespace {

// What a poll was to do has been done within this bound of its cause.
const DWORD WITHIN_A_POLL_MS = 2 * POLL_PERIOD_MS;
// A poll has come and gone.
const DWORD ONE_POLL_MS = POLL_PERIOD_MS + POLL_PERIOD_MS / 2;
// The always-on-top window elsewhere is watched this long.
const DWORD FIGHT_WATCH_MS = 20000;
const RECT TOP_RIGHT = {900, 0, 1024, 60};
const UINT_PTR LOOK_TIMER = 1;
const UINT LOOK_PERIOD_MS = 30;
const UINT JEALOUS_PERIOD_MS = 10;
const DWORD RESTING_AT_THE_EDGE_MS = 6000;

class Edge : public PendrelTest {
protected:
    POINT onStrip(int x = 500) const { return POINT{x, strip_.top + STRIP_DEPTH / 2}; }
    bool stripInFront(const Pendrel& copy, int x = 500) const { return rootWindowAt(onStrip(x)) == copy.window; }
};

// Clear of where the pointer rested on the bare taskbar, whose tooltip may
// still show there.
const int CLEAR_X = 200;

// Nothing over the taskbar: the edge's pixels, its corners too, are the
// taskbar's, and a pointer resting there raises and lights nothing. A cover
// brings the strip within a poll; the pause takes it away at once and gives
// the edge back to the program in front; with the cover gone it goes too.
TEST_F(Edge, AStripOnlyWhereSomethingCoversTheTaskbar) {
    Pendrel& copy = launch();
    ASSERT_TRUE(copy.window != nullptr && waitOnStrip(copy));
    for (int x : {0, 500, screenWidth() - 1})
        EXPECT_EQ(rootWindowAt(POINT{x, strip_.bottom - 1}), shellTaskbar()) << "the edge at " << x;
    ASSERT_TRUE(placePointerForGood(onStrip().x, onStrip().y));
    Sleep(ONE_POLL_MS);
    EXPECT_FALSE(IsWindowVisible(copy.window)) << "shown over a taskbar in plain view";
    EXPECT_FALSE(isTopmost(shellTaskbar())) << "raised a taskbar in plain view";
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));

    const double raised = nowMs();
    ASSERT_TRUE(cover_.raise());
    EXPECT_TRUE(waitUntil([&] { return stripInFront(copy, CLEAR_X); }, WITHIN_A_POLL_MS)) << "no strip over the cover";
    EXPECT_LT(nowMs() - raised, WITHIN_A_POLL_MS);

    ASSERT_TRUE(choose(copy, IDM_PAUSE));
    EXPECT_EQ(rootWindowAt(onStrip(CLEAR_X)), cover_.window()) << "the strip stayed over the program while paused";
    ASSERT_TRUE(choose(copy, IDM_PAUSE));
    EXPECT_TRUE(stripInFront(copy, CLEAR_X)) << "not back at once after the pause";

    cover_.lower();
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(copy.window); }, WITHIN_A_POLL_MS))
        << "the strip stayed with nothing over the taskbar";
}

// A small always-on-top window elsewhere that puts itself back on top
// whenever anything comes over it, as some clocks and players do.
class Climbed {
public:
    ~Climbed() { thread_.stop(); }
    bool start() { return (window_ = thread_.start(make, this)) != nullptr; }
    LONG climbs() const { return climbs_; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        Climbed* self = reinterpret_cast<Climbed*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_TIMER && self != nullptr)
            self->lookAbove(window);
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static HWND make(void* param) {
        registerClass("PendrelClimbedClock", procedure, RGB(0, 128, 0));
        const RECT& r = TOP_RIGHT;
        HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "PendrelClimbedClock", "", WS_POPUP, r.left,
                                      r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(param));
        ShowWindow(window, SW_SHOWNA);
        SetTimer(window, LOOK_TIMER, LOOK_PERIOD_MS, nullptr);
        return window;
    }
    void lookAbove(HWND window) {
        for (HWND above = GetWindow(window, GW_HWNDPREV); above != nullptr; above = GetWindow(above, GW_HWNDPREV)) {
            if (IsWindowVisible(above)) {
                InterlockedIncrement(&climbs_);
                SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                return;
            }
        }
    }
    WindowThread thread_;
    HWND window_ = nullptr;
    volatile LONG climbs_ = 0;
};

TEST_F(Edge, AnAlwaysOnTopWindowElsewhereIsNotFought) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));
    ASSERT_TRUE(cover_.raise());
    Climbed clock;
    ASSERT_TRUE(clock.start());
    const double started = nowMs();
    Pendrel& copy = launch();
    ASSERT_TRUE(copy.window != nullptr && waitOnStrip(copy));
    ASSERT_TRUE(waitUntil([&] { return stripInFront(copy); }, WITHIN_A_POLL_MS));

    ASSERT_TRUE(placePointerForGood(onStrip().x, onStrip().y));
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "the edge no longer raises the taskbar";
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    EXPECT_TRUE(waitUntil(taskbarReleased, EFFECT_BOUND_MS));
    const double left = FIGHT_WATCH_MS - (nowMs() - started);
    if (left > 0)
        Sleep(static_cast<DWORD>(left));
    EXPECT_LE(clock.climbs(), 2) << "climbed over a window that lies nowhere near the edge";
}

TEST_F(Edge, AFullScreenProgramThatHidesThePointerIsLeftAlone) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));
    Game game;
    ASSERT_TRUE(game.raise() && placePointerForGood(onStrip().x, onStrip().y - 20));
    Pendrel& copy = launch();
    ASSERT_TRUE(copy.window != nullptr && waitOnStrip(copy));
    ASSERT_TRUE(placePointerForGood(onStrip().x, onStrip().y));
    Sleep(ONE_POLL_MS);
    EXPECT_FALSE(taskbarAboveCover()) << "the taskbar came over the game";
    EXPECT_EQ(rootWindowAt(onStrip()), game.window()) << "a strip lies over the game";

    game.showPointer(true);
    ASSERT_TRUE(placePointerForGood(onStrip().x, onStrip().y - 20) && placePointerForGood(onStrip().x, onStrip().y));
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "no raise over a program that shows the pointer";
}

// A full-screen always-on-top program that puts itself back over the
// taskbar within 30 ms whenever the taskbar comes above it.
class Jealous : public Cover {
public:
    LONG taskbarCameOver() const { return cameOver_; }
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && above(shellTaskbar(), window)) {
            InterlockedIncrement(&cameOver_);
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return Cover::onMessage(window, message, wParam, lParam);
    }

protected:
    void onCreated(HWND window) override { SetTimer(window, LOOK_TIMER, JEALOUS_PERIOD_MS, nullptr); }

private:
    static bool above(HWND upper, HWND lower) {
        for (HWND w = GetWindow(lower, GW_HWNDPREV); w != nullptr; w = GetWindow(w, GW_HWNDPREV))
            if (w == upper)
                return true;
        return false;
    }
    volatile LONG cameOver_ = 0;
};

TEST_F(Edge, AProgramThatStaysOverTheTaskbarIsNotFoughtForever) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));
    Jealous jealous;
    ASSERT_TRUE(jealous.raise());
    Pendrel& copy = launch();
    ASSERT_TRUE(copy.window != nullptr && waitOnStrip(copy));
    ASSERT_TRUE(waitUntil([&] { return stripInFront(copy); }, WITHIN_A_POLL_MS));
    ASSERT_TRUE(placePointerForGood(onStrip().x, onStrip().y));
    Sleep(RESTING_AT_THE_EDGE_MS);
    EXPECT_GE(jealous.taskbarCameOver(), 1) << "never raised";
    EXPECT_LE(jealous.taskbarCameOver(), 3) << "raised again and again over a program that stays over it";
    // The report names who stayed over the taskbar.
    const std::string seen = pendrelReport("report-jealous.txt");
    EXPECT_EQ(0u, reportLine(seen, "last blocked: ").find("last blocked: e2e_driver.exe at ")) << seen;
}

}  // namespace
}  // namespace e2e
