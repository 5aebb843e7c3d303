// The outside probes that the scenarios trust, checked against things the
// driver controls itself: when one of them lies, every scenario that uses it
// would pass or fail for the wrong reason.
#include "e2e/support.h"

#include <shellapi.h>

namespace e2e {
namespace {

using Harness = PendrelTest;

const UINT OWN_ICON_ID = 7;

bool addOwnIcon(HWND owner) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = OWN_ICON_ID;
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    lstrcpynA(data.szTip, "e2e probe", sizeof(data.szTip));
    return Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

TEST_F(Harness, TrayProbeAnswersTrueExactlyWhileTheIconExists) {
    ASSERT_TRUE(cover_.raise());
    HWND owner = cover_.window();
    EXPECT_FALSE(trayIconPresent(owner, OWN_ICON_ID));
    ASSERT_TRUE(addOwnIcon(owner));
    EXPECT_TRUE(trayIconPresent(owner, OWN_ICON_ID));
    EXPECT_FALSE(trayIconPresent(owner, OWN_ICON_ID + 1)) << "another id of the same window";
    EXPECT_TRUE(deleteIconFromOutside(owner, OWN_ICON_ID));
    EXPECT_FALSE(trayIconPresent(owner, OWN_ICON_ID));
}

TEST_F(Harness, CoverHidesTheTaskbarAndTheProbePointFindsIt) {
    EXPECT_TRUE(taskbarAboveCover()) << "without a cover the taskbar is visible";
    ASSERT_TRUE(cover_.raise());
    EXPECT_FALSE(taskbarAboveCover());
    EXPECT_EQ(rootWindowAt(taskbarProbePoint()), cover_.window());
    // Bringing the taskbar in front by hand is seen as such.
    SetWindowPos(shellTaskbar(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS));
    SetWindowPos(shellTaskbar(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    SetWindowPos(shellTaskbar(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    EXPECT_TRUE(waitUntil([] { return !taskbarAboveCover(); }, EFFECT_BOUND_MS));
}

TEST_F(Harness, PointerLandsOnTheExactPixel) {
    const POINT targets[] = {{0, 0}, {500, 766}, {strip_.right - 1, strip_.bottom - 1}, {123, 457}};
    for (const POINT& target : targets) {
        EXPECT_TRUE(movePointer(target.x, target.y)) << target.x << "," << target.y;
    }
}

TEST_F(Harness, ScreenPixelsShowTheCoverAndScreenshotsAreSaved) {
    ASSERT_TRUE(cover_.raise());
    const COLORREF cover = Cover::COLOUR;
    EXPECT_TRUE(waitUntil([&] { return stripAllOfColour(strip_, cover); }, EFFECT_BOUND_MS))
        << std::hex << screenPixel(500, 766);
    EXPECT_EQ(screenPixel(10, 10), cover);
    char folder[MAX_PATH] = {};
    if (GetEnvironmentVariableA("PENDREL_ARTIFACTS", folder, MAX_PATH) == 0)
        GTEST_SKIP() << "PENDREL_ARTIFACTS is not set";
    EXPECT_TRUE(saveScreenshot("harness-cover"));
}

}  // namespace
}  // namespace e2e
