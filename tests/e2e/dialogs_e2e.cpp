// Both dialogs of the real program on the Wine desktop, kept as screenshots
// so that clipped texts or misplaced controls can be seen.
#include "e2e/support.h"

namespace e2e {
namespace {

class Dialogs : public PendrelTest {};

// Labels and check boxes sit on the tab's pane: the blank end of a control,
// past its text, has the colour of the pane beside it, not the dialog's grey.
void expectOnThePane(HWND dialog, int controlId, int tabId) {
    const RECT control = windowRect(GetDlgItem(dialog, controlId));
    const RECT tab = windowRect(GetDlgItem(dialog, tabId));
    const int row = (control.top + control.bottom) / 2;
    const COLORREF pane = screenPixel(tab.right - 8, row);
    EXPECT_EQ(pane, screenPixel(control.right - 2, row)) << "control " << controlId;
}

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
    expectOnThePane(about, IDC_COUNTER_LABEL, IDC_ABOUT_TAB);
    EXPECT_TRUE(closeDialog(about));

    ASSERT_TRUE(movePointer(AWAY.x, AWAY.y));
    HWND config = openDialog(copy, IDM_CONFIG, PENDREL_CONFIG_TITLE);
    ASSERT_NE(config, nullptr);
    Sleep(500);
    EXPECT_TRUE(saveScreenshot("config-dialog"));
    for (int box : {IDC_SEND_BACK, IDC_HIGHLIGHT})
        expectOnThePane(config, box, IDC_CONFIG_TAB);
    EXPECT_TRUE(closeDialog(config));
}

}  // namespace
}  // namespace e2e
