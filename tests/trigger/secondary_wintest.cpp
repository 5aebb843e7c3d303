// The strips of secondary taskbars, with stand-in taskbars of this process on
// the one monitor of the Wine desktop.
#include <windows.h>

#include "resources/names.h"
#include "support/app_fixture.h"
#include "trigger/activation.h"
#include "trigger/raise.h"

namespace {

int g_hitTests = 0;

LRESULT CALLBACK secondaryTaskbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST)
        ++g_hitTests;
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
    HWND taskbarAt(int x, int y, int width, int height) {
        return CreateWindowExA(WS_EX_TOOLWINDOW, SECONDARY_TASKBAR_CLASS_NAME, "", WS_POPUP | WS_VISIBLE, x, y, width,
                               height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
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

    DestroyWindow(top);
    poll();
    EXPECT_EQ(0u, g_app.trigger.secondaryCount);
    EXPECT_EQ(0, stripWindows());
}

// A click on a secondary strip raises its own taskbar, once counted, hands it
// the hit test, and leaves the primary taskbar alone.
TEST_F(SecondaryStrips, AClickRaisesItsOwnTaskbarOnce) {
    HWND bottom = taskbarAt(0, 738, 1024, 30);
    poll();
    ASSERT_EQ(1u, g_app.trigger.secondaryCount);
    Strip& strip = g_app.trigger.secondary[0];
    SendMessageA(strip.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 1));
    SendMessageA(strip.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 1));
    EXPECT_EQ(1, strip.taskbarRaised);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised);
    EXPECT_EQ(1u, g_app.about.activationCount);
    EXPECT_EQ(2, g_hitTests);
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
