// The program on a desktop scaled to 144 DPI (tools/wine-desktop.sh with
// PENDREL_DPI=144; the test command runs these alone, labelled dpi144): the
// strip and the release margin grow with the scale, 4 to 6 pixels and 5 to 8.
// Under Wine the shell's taskbar stays docked as at 96 DPI, only taller.
#include "e2e/support.h"

namespace e2e {
namespace {

const int SCALED_DPI = 144;
const int STRIP_DEPTH_AT_144 = 6;
// 5 pixels at 96 DPI are 7.5 at 144, rounded to 8: a pointer this far above
// the taskbar is still on it.
const int INSIDE_MARGIN_AT_144 = 7;
const DWORD PAINT_SETTLE_MS = 500;

class Scaled144 : public PendrelTest {
protected:
    void SetUp() override {
        PendrelTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(screenDpi(), SCALED_DPI) << "start the desktop with PENDREL_DPI=144";
        ASSERT_TRUE(bottomStrip(&strip_, STRIP_DEPTH_AT_144));
    }
};

// Every control of the dialog lies inside its client area: nothing placed
// in pixels at 96 DPI was pushed off the grown dialog.
void expectControlsInside(HWND dialog) {
    RECT client = {};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    int seen = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        ++seen;
        const RECT r = windowRect(child);
        EXPECT_TRUE(r.left >= client.left && r.top >= client.top && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << windowText(dialog) << ": control " << GetDlgCtrlID(child) << " \"" << windowText(child) << "\" at "
            << describe(r) << " outside " << describe(client);
    }
    EXPECT_GT(seen, 0) << windowText(dialog) << ": no control to look at";
}

// The top row of the strip lies two rows above where a 4-pixel strip would
// begin, and the pointer left 7 pixels above the taskbar is inside the
// scaled margin, outside the unscaled one.
TEST_F(Scaled144, StripAndMarginGrowAndTheRaiseWorksAsAt96Dpi) {
    ASSERT_TRUE(cover_.raise());
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy)) << describe(windowRect(copy.window)) << ", expected " << describe(strip_);
    const POINT topRow = {500, strip_.top};
    EXPECT_TRUE(waitUntil([&] { return rootWindowAt(topRow) == copy.window; }, EFFECT_BOUND_MS))
        << "the strip's top row is not the TriggerWindow's";

    ASSERT_TRUE(movePointer(topRow.x, topRow.y));
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "the taskbar never came in front";

    const RECT bar = windowRect(shellTaskbar());
    ASSERT_TRUE(movePointer(500, bar.top - INSIDE_MARGIN_AT_144));
    ASSERT_TRUE(waitForPolls());
    EXPECT_TRUE(taskbarAboveCover()) << "sent back with the pointer inside the scaled margin above "
                                     << describe(bar);

    ASSERT_TRUE(movePointer(AWAY.x, AWAY.y));
    EXPECT_TRUE(waitUntil(taskbarReleased, EFFECT_BOUND_MS)) << "the taskbar stayed in front after the pointer left";

    HWND about = openAbout(copy);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(countShownInAbout(about), 1) << windowText(GetDlgItem(about, IDC_COUNTER_LABEL));
    EXPECT_TRUE(closeDialog(about));
}

// Both dialogs grow with the scale; their screenshots sit beside the 96 DPI ones.
TEST_F(Scaled144, DialogsKeepTheirControlsInside) {
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);

    HWND about = openAbout(copy);
    ASSERT_NE(about, nullptr);
    Sleep(PAINT_SETTLE_MS);  // the link buttons fit themselves to their text at their first paint
    expectControlsInside(about);
    EXPECT_TRUE(saveScreenshot("about-dialog-144dpi"));
    EXPECT_TRUE(closeDialog(about));

    HWND config = openDialog(copy, IDM_CONFIG, PENDREL_CONFIG_TITLE);
    ASSERT_NE(config, nullptr);
    Sleep(PAINT_SETTLE_MS);
    expectControlsInside(config);
    EXPECT_TRUE(saveScreenshot("config-dialog-144dpi"));
    EXPECT_TRUE(closeDialog(config));
}

}  // namespace
}  // namespace e2e
