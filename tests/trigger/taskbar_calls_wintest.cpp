// What the trigger asks of the taskbar window, seen by stand-in taskbars of
// this process: the forwarded hit test of each signal, and the attributes of
// the program's classes.
#include <windows.h>

#include "app/startup.h"
#include "support/app_fixture.h"
#include "trigger/activation.h"
#include "trigger/raise.h"
#include "app/main_window.h"

namespace {

const char STAND_IN_CLASS[] = "PendrelStandInTaskbar";

struct Forwarded {
    int count;
    WPARAM wParam;
    LPARAM lParam;
};
Forwarded g_forwarded;

LRESULT CALLBACK recordingTaskbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) {
        g_forwarded.count++;
        g_forwarded.wParam = wParam;
        g_forwarded.lParam = lParam;
        return HTCLIENT;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class TaskbarCalls : public AppFixture {
protected:
    HWND window = nullptr;
    HWND standIn = nullptr;
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(registerTestClass(STAND_IN_CLASS, recordingTaskbarProc));
        window = createTrigger();
        standIn = CreateWindowExA(WS_EX_TOOLWINDOW, STAND_IN_CLASS, "", WS_POPUP | WS_VISIBLE, 0, 748, 1024, 20,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, standIn);
        lstrcpyA(g_app.program.taskbarClassName, STAND_IN_CLASS);
        g_app.trigger.primary.taskbarWindow = standIn;
        g_forwarded = Forwarded{};
    }
    void TearDown() override {
        DestroyWindow(standIn);
        AppFixture::TearDown();
    }
};

// Each way of activating hands the taskbar the pointer's screen position: the
// hit test as received, the timers and the click with wParam 0 and the
// position they measured (the click converted from client coordinates).
TEST_F(TaskbarCalls, EachSignalForwardsTheHitTestItSaw) {
    struct {
        const char* signal;
        DWORD delayEnabled;
        POINT pointer;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LPARAM forwarded;
    } rows[] = {
        {"hit test", 0, {500, 766}, WM_NCHITTEST, HTCAPTION, MAKELPARAM(500, 766), MAKELPARAM(500, 766)},
        {"poll", 0, {510, 767}, WM_TIMER, TIMER_POLL, 0, MAKELPARAM(510, 767)},
        {"delay tick", 1, {520, 765}, WM_TIMER, TIMER_DELAY, 0, MAKELPARAM(520, 765)},
        {"click", 1, {500, 766}, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 2), MAKELPARAM(30, 766)},
    };
    for (const auto& row : rows) {
        g_app.settings.delayEnabled = row.delayEnabled;
        g_app.trigger.primary.taskbarRaised = 0;
        g_app.trigger.primary.raisesThisApproach = 0;  // each signal in an approach of its own
        g_app.trigger.primary.delayPending = 0;
        coverTheTaskbar();
        ASSERT_TRUE(movePointer(row.pointer.x, row.pointer.y)) << row.signal;
        g_forwarded = Forwarded{};
        SendMessageA(window, row.message, row.wParam, row.lParam);
        EXPECT_EQ(1, g_forwarded.count) << row.signal;
        EXPECT_EQ(row.message == WM_NCHITTEST ? row.wParam : 0u, g_forwarded.wParam) << row.signal;
        EXPECT_EQ(row.forwarded, g_forwarded.lParam) << row.signal;
        EXPECT_EQ(1, g_app.trigger.primary.taskbarRaised) << row.signal;
        KillTimer(window, TIMER_DELAY);
    }
}

// The strip's class paints with the highlight colour and the dialogs' class
// is a dialog class; both carry the program's icons and the arrow.
TEST_F(TaskbarCalls, BothClassesAreRegisteredWithTheirAttributes) {
    struct {
        const char* name;
        HBRUSH brush;
        int windowExtra;
    } classes[] = {
        {g_app.program.triggerClassName, (HBRUSH)(INT_PTR)(COLOR_HIGHLIGHT + 1), 0},
        {g_app.program.dialogClassName, (HBRUSH)(INT_PTR)(COLOR_BACKGROUND + 1), DLGWINDOWEXTRA},
    };
    for (const auto& c : classes) {
        WNDCLASSEXA info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(GetClassInfoExA(g_app.program.instance, c.name, &info)) << c.name;
        EXPECT_EQ((UINT)(CS_HREDRAW | CS_VREDRAW), info.style) << c.name;
        EXPECT_EQ(c.brush, info.hbrBackground) << c.name;
        EXPECT_EQ(c.windowExtra, info.cbWndExtra) << c.name;
        EXPECT_NE(nullptr, info.hIcon) << c.name;
        EXPECT_NE(nullptr, info.hIconSm) << c.name;
        EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)), info.hCursor) << c.name;
    }
    WNDCLASSEXA trigger = {};
    trigger.cbSize = sizeof(trigger);
    GetClassInfoExA(g_app.program.instance, g_app.program.triggerClassName, &trigger);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(mainWindowProc), trigger.lpfnWndProc);
}

}  // namespace
