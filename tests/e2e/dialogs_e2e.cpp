// Both dialogs of the real program on the Wine desktop, kept as screenshots
// so that clipped texts or misplaced controls can be seen.
#include "e2e/support.h"

namespace e2e {
namespace {

class Dialogs : public PendrelTest {};

// The link buttons draw the address and the URL only after their first
// paint has fitted them, so the screenshot waits for a moment of painting.
TEST_F(Dialogs, AboutAndConfigurationShowOnTheDesktop) {
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);

    HWND about = openAbout(copy);
    ASSERT_NE(about, nullptr);
    HWND mail = GetDlgItem(about, IDC_MAIL_LINK);
    ASSERT_NE(mail, nullptr);
    RECT link = windowRect(mail);
    ASSERT_TRUE(movePointer(link.left + 4, (link.top + link.bottom) / 2));  // the hover colour shows
    Sleep(500);
    EXPECT_TRUE(saveScreenshot("about-dialog"));
    EXPECT_TRUE(closeDialog(about));

    ASSERT_TRUE(movePointer(AWAY.x, AWAY.y));
    HWND config = openDialog(copy, IDM_CONFIG, PENDREL_CONFIG_TITLE);
    ASSERT_NE(config, nullptr);
    Sleep(500);
    EXPECT_TRUE(saveScreenshot("config-dialog"));
    EXPECT_TRUE(closeDialog(config));
}

}  // namespace
}  // namespace e2e
