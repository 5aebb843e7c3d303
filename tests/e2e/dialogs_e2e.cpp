// Both dialogs of the real program on the Wine desktop, kept as screenshots
// so that clipped texts or misplaced controls can be seen.
#include "support.h"

namespace e2e {
namespace {

class Dialogs : public PendrelTest {};

// The link buttons draw the address and the URL only after their first
// paint has fitted them, so the screenshot waits for a moment of painting.
TEST_F(Dialogs, AboutAndConfigurationShowOnTheDesktop) {
    Pendrel& copy = launch();
    ASSERT_NE(copy.trigger, nullptr);

    HWND about = openAbout(copy);
    ASSERT_NE(about, nullptr);
    HWND mail = GetDlgItem(about, 1005);
    ASSERT_NE(mail, nullptr);
    RECT link = windowRect(mail);
    ASSERT_TRUE(movePointer(link.left + 4, (link.top + link.bottom) / 2));  // the hover colour shows
    Sleep(500);
    EXPECT_TRUE(saveScreenshot("about-dialog"));
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(about); }, EFFECT_BOUND_MS));

    ASSERT_TRUE(movePointer(500, 300));
    PostMessageA(copy.trigger, WM_COMMAND, CMD_CONFIG, 0);
    HWND config = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (config = findVisibleWindow(copy.pid, nullptr, CONFIG_TITLE)) != nullptr; },
                          EFFECT_BOUND_MS));
    Sleep(500);
    EXPECT_TRUE(saveScreenshot("config-dialog"));
    PostMessageA(config, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(config); }, EFFECT_BOUND_MS));
}

}  // namespace
}  // namespace e2e
