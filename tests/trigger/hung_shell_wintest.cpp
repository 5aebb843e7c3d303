// A shell that stops answering for longer than the safety net's interval:
// the program's polls go on and release what they raised, and the answer that
// comes once the shell wakes is taken.
#include <windows.h>

#include <algorithm>

#include "support/app_fixture.h"
#include "support/standin_shell.h"
#include "trigger/raise.h"

namespace {

using HungShell = AppFixture;

const RECT BAR = {0, 728, 1024, 768};
const RECT NARROW_BAR = {100, 718, 924, 768};
const RECT NARROW_STRIP = {100, 764, 924, 768};
const DWORD HUNG_FOR_MS = 40000;
const DWORD RAISE_AT_MS = 35000;
// A poll waits at most the bounded wait for the shell, then not at all.
const DWORD LONGEST_POLL_MS = SHELL_CALL_WAIT_MS + 500;

TEST_F(HungShell, PollsGoOnAndReleaseTheTaskbarWhileTheShellHangs) {
    StandInShell shell;
    ASSERT_TRUE(shell.start(BAR));
    HWND window = createTrigger();
    ASSERT_TRUE(movePointer(500, 300));
    ASSERT_NE(SetTimer(window, TIMER_POLL, POLL_PERIOD_MS, nullptr), 0u);
    ASSERT_TRUE(pumpUntil([&] { return g_app.trigger.primary.taskbarWindow == shell.taskbar(); }, 3000));
    ASSERT_TRUE(pumpUntil([&] { return shell.positions() > 0; }, 3000)) << "the stand-in is not asked";
    ASSERT_TRUE(shell.hang());
    // The next poll asks where the taskbar now is, and its answer is held up.
    shell.report(NARROW_BAR);
    SendMessageA(window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    const long answered = shell.positions();

    int polls = 0;
    DWORD longest = 0;
    const DWORD start = GetTickCount();
    bool raised = false;
    while (GetTickCount() - start < HUNG_FOR_MS) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        const DWORD before = GetTickCount();
        DispatchMessageA(&msg);
        if (msg.message == WM_TIMER && msg.wParam == TIMER_POLL) {
            ++polls;
            longest = std::max(longest, GetTickCount() - before);
        }
        if (!raised && GetTickCount() - start >= RAISE_AT_MS) {
            raised = true;
            activateTaskbar(g_app.trigger.primary);
            EXPECT_EQ(1, g_app.trigger.primary.taskbarRaised);
        }
    }
    EXPECT_EQ(answered, shell.positions()) << "the shell answered while it hung";
    EXPECT_GE(polls, 35);
    EXPECT_LT(longest, LONGEST_POLL_MS);
    EXPECT_EQ(0, g_app.trigger.primary.taskbarRaised) << "the raise was not released";
    EXPECT_TRUE(EqualRect(&g_app.trigger.primary.strip, &BOTTOM_STRIP)) << "the strip left its last known place";

    shell.resume();
    EXPECT_TRUE(pumpUntil([&] { return EqualRect(&g_app.trigger.primary.strip, &NARROW_STRIP) != 0; }, 3000))
        << "the late answer was not taken";
}

}  // namespace
