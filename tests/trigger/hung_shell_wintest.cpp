// A shell that stops answering for longer than the safety net's interval:
// the polls go on, each waiting at most the bounded wait, a raise is
// released, and the answer that comes once the shell wakes is taken.
#include <algorithm>

#include "support/app_fixture.h"
#include "support/standin_shell.h"
#include "trigger/raise.h"

namespace {

using HungShell = AppFixture;

TEST_F(HungShell, PollsGoOnAndReleaseTheTaskbarWhileTheShellHangs) {
    ASSERT_TRUE(startStandInShell(RECT{0, 728, 1024, 768}));
    HWND window = createTrigger();
    ASSERT_TRUE(movePointer(500, 300));
    SetTimer(window, TIMER_POLL, POLL_PERIOD_MS, nullptr);
    ASSERT_TRUE(pumpUntil([] { return g_standIn.positions > 0; }, 3000));
    ASSERT_TRUE(hangStandInShell());
    // The next poll asks where the taskbar now is.
    g_standIn.bar = RECT{100, 718, 924, 768};
    SendMessageA(window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    int polls = 0;
    DWORD longest = 0;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 40000;) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        } else if (msg.message == WM_TIMER && msg.wParam == TIMER_POLL) {
            const DWORD before = GetTickCount();
            DispatchMessageA(&msg);
            longest = std::max(longest, GetTickCount() - before);
            if (++polls == 35)
                activateTaskbar(g_app.trigger.primary);
        } else {
            DispatchMessageA(&msg);
        }
    }
    EXPECT_EQ(1, g_standIn.positions) << "the shell answered while it hung";
    EXPECT_GE(polls, 36);
    EXPECT_LT(longest, SHELL_CALL_WAIT_MS + 500);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised) << "the raise was not released";
    EXPECT_TRUE(EqualRect(&g_app.trigger.primary.strip, &BOTTOM_STRIP)) << "the strip left its last known place";
    resumeStandInShell();
    const RECT narrow = {100, 764, 924, 768};
    EXPECT_TRUE(pumpUntil([&] { return EqualRect(&g_app.trigger.primary.strip, &narrow) != 0; }, 3000));
    stopStandInShell();
}

}  // namespace
