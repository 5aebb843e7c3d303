// The keyboard shortcut that shows the taskbar: pressed while a full-screen
// always-on-top window covers the taskbar, it brings the taskbar in front and
// hands it the keyboard; the taskbar goes back once the user has left it.
#include "e2e/support.h"

namespace e2e {
namespace {

using Shortcut = PendrelTest;

TEST_F(Shortcut, RaisesTheTaskbarForTheKeyboardAndReleasesItOnceLeft) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_HOT_KEY, CTRL_ALT_T));
    ASSERT_TRUE(cover_.raise());
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    ASSERT_FALSE(taskbarAboveCover());
    ASSERT_TRUE(cover_.takeForeground());

    // The pointer stays away from the strip and the taskbar throughout.
    pressCtrlAltT();
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "the shortcut did not raise the taskbar";
    EXPECT_TRUE(waitUntil([] { return GetForegroundWindow() == shellTaskbar(); }, EFFECT_BOUND_MS))
        << "the taskbar did not get the keyboard; foreground: " << className(GetForegroundWindow());
    saveScreenshot("shortcut-raised");
    ASSERT_TRUE(waitForPolls());
    EXPECT_TRUE(taskbarAboveCover()) << "released while the user was still in the taskbar";

    // Back to the full-screen program: the taskbar goes back behind it.
    ASSERT_TRUE(cover_.takeForeground());
    EXPECT_TRUE(waitUntil(taskbarReleased, EFFECT_BOUND_MS)) << "the taskbar was not sent back";

    HWND about = openAbout(copy);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(waitUntil([&] { return countShownInAbout(about) == 1; }, EFFECT_BOUND_MS))
        << windowText(GetDlgItem(about, IDC_COUNTER_LABEL));
}

}  // namespace
}  // namespace e2e
