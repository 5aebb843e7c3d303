// The strips keep out of the way of a full-screen game or presentation in
// front of their monitor. Wine always answers that notifications are
// welcome: the system's answer comes from a stand-in here.
#include <windows.h>
#include <shellapi.h>

#include "support/app_fixture.h"

namespace {

QUERY_USER_NOTIFICATION_STATE g_answer = QUNS_ACCEPTS_NOTIFICATIONS;
int g_asked = 0;

HRESULT WINAPI standInAnswer(QUERY_USER_NOTIFICATION_STATE* state) {
    ++g_asked;
    *state = g_answer;
    return S_OK;
}

struct Row {
    const char* name;
    QUERY_USER_NOTIFICATION_STATE answer;
    DWORD setting;
    int width;  // of the window in front; 1024 covers the desktop's one monitor
    bool hidesPointer;
    bool aside;
    // Once when the window came to the front, once more at the second poll
    // while it still covers the taskbar (a raised one it does not).
    int asks;
};

const Row ROWS[] = {
    {"Direct3D", QUNS_RUNNING_D3D_FULL_SCREEN, 1, 1024, false, true, 2},
    {"Presentation", QUNS_PRESENTATION_MODE, 1, 1024, false, true, 2},
    {"BusyAlone", QUNS_BUSY, 1, 1024, false, false, 1},
    {"BusyHidingThePointer", QUNS_BUSY, 1, 1024, true, true, 2},
    {"SettingOff", QUNS_RUNNING_D3D_FULL_SCREEN, 0, 1024, true, false, 0},
    {"ShortOfTheMonitor", QUNS_RUNNING_D3D_FULL_SCREEN, 1, 1000, true, false, 0},
};

bool above(HWND upper, HWND lower) {
    for (HWND w = GetWindow(lower, GW_HWNDPREV); w != nullptr; w = GetWindow(w, GW_HWNDPREV))
        if (w == upper)
            return true;
    return false;
}

class FullScreenInFront : public AppFixture, public ::testing::WithParamInterface<Row> {};

// Wine lets the strip climb over a later window of its own process once it
// handles the display's events: the window in front comes after the pointer
// has moved, and no events are let in until the end.
TEST_P(FullScreenInFront, NeitherRaisesNorLiftsAndAsksOnlyWhenItCameToTheFrontAndAtThePoll) {
    const Row& row = GetParam();
    HWND strip = createTrigger();
    g_app.settings.delayEnabled = 0;
    g_app.settings.avoidFullScreen = row.setting;
    g_app.trigger.front.query = standInAnswer;
    g_answer = row.answer;
    g_asked = 0;
    ASSERT_TRUE(movePointer(500, 766));
    ASSERT_TRUE(registerTestClass("StandAsideGame", DefWindowProcA));
    HWND game = CreateWindowExA(WS_EX_TOPMOST, "StandAsideGame", "", WS_POPUP | WS_VISIBLE, 0, 0, row.width, 768,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(game);
    ASSERT_EQ(game, GetForegroundWindow());
    // The pointer over the window is the class's arrow, or hidden as a game hides it.
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    if (row.hidesPointer)
        ShowCursor(FALSE);
    ASSERT_TRUE(above(game, strip));

    SendMessageA(strip, WM_TIMER, TIMER_POLL, 0);
    for (int i = 0; i < 3; ++i)
        SendMessageA(strip, WM_NCHITTEST, 0, MAKELPARAM(500, 766));
    SendMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(500, 2));
    EXPECT_EQ(!row.aside, g_app.trigger.primary.taskbarRaised != 0);
    // The shell puts its raised taskbar over the game when it gets round to it.
    if (!row.aside) {
        EXPECT_TRUE(pumpUntil([&] { return above(shellTaskbar(), game); }, 3000));
    }
    SendMessageA(strip, WM_TIMER, TIMER_POLL, 0);
    EXPECT_EQ(row.aside, above(game, strip)) << "lifted over the game, or left under an ordinary window";
    EXPECT_EQ(row.asks, g_asked);
    if (row.hidesPointer)
        ShowCursor(TRUE);
    DestroyWindow(game);
    // Out of the always-on-top band, where the next tests expect the taskbar.
    SetWindowPos(shellTaskbar(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

INSTANTIATE_TEST_SUITE_P(StandAside, FullScreenInFront, ::testing::ValuesIn(ROWS),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
