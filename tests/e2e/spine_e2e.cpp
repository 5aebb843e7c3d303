// The program's life seen from outside: its one window, the single-copy rule
// and the way it ends.
#include "e2e/support.h"

namespace e2e {
namespace {

using Spine = PendrelTest;

// Whether the window's thread has the hidden window that COM makes for a
// single-threaded apartment, among the top-level or the message-only windows.
bool inSingleThreadedApartment(HWND window) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HWND found = nullptr;
    for (HWND parent : {HWND(nullptr), HWND_MESSAGE})
        while ((found = FindWindowExA(parent, found, "OleMainThreadWndClass", nullptr)) != nullptr)
            if (GetWindowThreadProcessId(found, nullptr) == thread)
                return true;
    return false;
}

// The copy was found by its class and title. Over a taskbar that nothing
// covers none of its windows shows; over a cover, the strip alone.
TEST_F(Spine, TriggerWindowIsAllItShowsAndHasItsStyle) {
    Pendrel& first = launch();
    ASSERT_NE(first.window, nullptr);
    ASSERT_TRUE(waitOnStrip(first));
    EXPECT_EQ(findVisibleWindow(first.pid, nullptr, nullptr), nullptr) << "a window shows at start";
    ASSERT_TRUE(cover_.raise());
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(first.window) != FALSE; }, EFFECT_BOUND_MS));
    EXPECT_EQ(findVisibleWindow(first.pid, nullptr, nullptr), first.window) << "another window shows";
    const LONG style = GetWindowLongA(first.window, GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0) << std::hex << style;
    EXPECT_EQ(style & (WS_CAPTION | WS_CHILD), 0) << std::hex << style;
    // The pointer is away from the strip, so the highlight is off and the
    // window still carries its transparent bit.
    const LONG exStyle = GetWindowLongA(first.window, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & TRIGGER_EX_STYLE_SEEN, TRIGGER_EX_STYLE_SEEN) << std::hex << exStyle;
    EXPECT_EQ(GetParent(first.window), nullptr);
    // The links' shell extensions want COM, apartment-threaded, on that thread.
    EXPECT_TRUE(inSingleThreadedApartment(first.window));
}

TEST_F(Spine, SecondStartHandsOverToTheFirstAndEndsWithCodeOne) {
    Pendrel& first = launch();
    ASSERT_NE(first.window, nullptr);
    ASSERT_TRUE(waitOnStrip(first));
    ASSERT_EQ(findVisibleWindow(first.pid, nullptr, PENDREL_ABOUT_TITLE), nullptr);

    copies_.emplace_back();
    Pendrel& second = copies_.back();
    ASSERT_TRUE(startProgram(PENDREL_EXE, second));
    DWORD code = 0xFFFF;
    ASSERT_TRUE(waitForExit(second, EXIT_BOUND_MS, &code)) << "the second copy keeps running";
    EXPECT_EQ(code, EXIT_ALREADY_RUNNING);
    const std::vector<HWND> triggers = allTriggerWindows();
    EXPECT_EQ(triggers.size(), 1u) << "the second copy made a TriggerWindow of its own";

    // The first copy got the hand-over message: it opens its About dialog.
    EXPECT_TRUE(waitUntil([&] { return findVisibleWindow(first.pid, nullptr, PENDREL_ABOUT_TITLE) != nullptr; },
                          EFFECT_BOUND_MS))
        << "the running copy opened no About dialog";
    EXPECT_TRUE(isRunning(first));
    EXPECT_TRUE(IsWindow(first.window));
}

// Two copies started in the same moment: the later finds the session's
// mutex held before the other has a window (this driver holds it), makes no
// window of its own, and hands over once the other's window is there.
TEST_F(Spine, AStartWhileAnotherCopyIsStartingHandsOverToIt) {
    HANDLE session = CreateMutexW(nullptr, TRUE, L"" PENDREL_SESSION_MUTEX);
    ASSERT_NE(session, nullptr);
    copies_.emplace_back();
    Pendrel& second = copies_.back();
    ASSERT_TRUE(startProgram(PENDREL_EXE, second));
    EXPECT_FALSE(waitUntil([] { return !allTriggerWindows().empty(); }, 2 * POLL_PERIOD_MS))
        << "the second copy made a TriggerWindow";

    registerClass(PENDREL_TRIGGER_CLASS, DefWindowProcA, 0);
    HWND first = CreateWindowExA(0, PENDREL_TRIGGER_CLASS, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(first, nullptr);
    DWORD code = 0xFFFF;
    EXPECT_TRUE(waitForExit(second, EXIT_BOUND_MS, &code)) << "the second copy keeps running";
    EXPECT_EQ(code, EXIT_ALREADY_RUNNING);
    MSG handOver;
    EXPECT_TRUE(PeekMessageA(&handOver, first, WM_SECOND_INSTANCE, WM_SECOND_INSTANCE, PM_REMOVE));
    DestroyWindow(first);
    ReleaseMutex(session);
    CloseHandle(session);
}

TEST_F(Spine, ClosingTheTriggerWindowEndsWithCodeZeroAndAllowsANewStart) {
    Pendrel& first = launch();
    ASSERT_NE(first.window, nullptr);
    ASSERT_TRUE(waitOnStrip(first));
    PostMessageA(first.window, WM_CLOSE, 0, 0);
    DWORD code = 0xFFFF;
    ASSERT_TRUE(waitForExit(first, EXIT_BOUND_MS, &code)) << "WM_CLOSE did not end the program";
    EXPECT_EQ(code, EXIT_OK);
    EXPECT_FALSE(IsWindow(first.window));

    // With the first copy gone, a new start is a first start again.
    Pendrel& next = launch();
    ASSERT_NE(next.window, nullptr);
    EXPECT_TRUE(waitOnStrip(next));
    EXPECT_TRUE(isRunning(next));
}

TEST_F(Spine, TriggerWindowCoversNothingUntilTheFirstPollThenTheStrip) {
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    // Right after start it may still be the empty rectangle at the origin;
    // whichever it is, it is never anything else.
    const RECT early = windowRect(copy.window);
    const RECT empty = {0, 0, 0, 0};
    EXPECT_TRUE(sameRect(early, empty) || sameRect(early, strip_)) << describe(early);
    ASSERT_TRUE(waitOnStrip(copy)) << "the TriggerWindow is at " << describe(windowRect(copy.window))
                                   << ", the strip is " << describe(strip_);
}

}  // namespace
}  // namespace e2e
