#include <string>

#include "about/about_dialog.h"
#include "about/counter_text.h"
#include "about/rate_text.h"
#include "about_fixture.h"

namespace about_test {
namespace {

const char* const COUNTER_0 = "You have activated 0 times the taskbar.";
const char* const ZERO_RATE = "An average of 0.00 times per";

std::string rateText() {
    char text[TEXT_BUFFER_SIZE];
    averageRateText(text);
    return text;
}

using TextTest = AboutFixture;

TEST_F(TextTest, CounterLabelTakesTheCountAlone) {
    // The shipped format has no place for the suffix: 1 and 2 read alike.
    const struct {
        DWORD count;
        const char* text;
    } cases[] = {
        {0, COUNTER_0},
        {1, "You have activated 1 times the taskbar."},
        {2, "You have activated 2 times the taskbar."},
        {4294967295u, "You have activated 4294967295 times the taskbar."},
    };
    for (const auto& c : cases) {
        char text[TEXT_BUFFER_SIZE];
        counterText(c.count, text);
        EXPECT_STREQ(text, c.text) << c.count;
    }
}

TEST_F(TextTest, AverageRateMeasuredFromCountStart) {
    // Elapsed times are chosen so that the milliseconds the test itself takes
    // cannot move the hundredths.
    const struct {
        DWORD count;
        int64_t secondsAgo;
        DWORD unit;
        const char* text;
    } cases[] = {
        {0, 3600, 2, ZERO_RATE},
        {0, 0, 0, ZERO_RATE},
        {7, 7140, 2, "An average of 3.52 times per"},
        {7, 7140, 1, "An average of 0.05 times per"},
        {7, 7140, 3, "An average of 84 times per"},
        {29, 100, 0, "An average of 0.28 times per"},
        {150, 3540, 2, "An average of 152 times per"},
        // The clock set back before the start of counting.
        {7, -3600, 2, ZERO_RATE},
        // A unit outside the list counts as hour.
        {7, 7140, 9, "An average of 3.52 times per"},
    };
    for (const auto& c : cases) {
        g_app.about.activationCount = c.count;
        g_app.about.statsUnit = c.unit;
        startCountingAgo(c.secondsAgo);
        EXPECT_EQ(rateText(), c.text) << c.count << " in " << c.secondsAgo << " s, unit " << c.unit;
    }
}

TEST_F(TextTest, SeparatorAndHundredthsAsWsprintfPrintsThem) {
    const struct {
        RateParts parts;
        const char* text;
    } cases[] = {
        {{3, '.', 50}, "An average of 3.50 times per"},
        {{0, '.', 5}, "An average of 0.05 times per"},
        {{9, '.', 99}, "An average of 9.99 times per"},
        {{3, ',', 50}, "An average of 3,50 times per"},
        // A NUL separator ends the number after its integer part.
        {{3, '\0', 50}, "An average of 3 times per"},
        {{84, '\0', 0}, "An average of 84 times per"},
        {{2147483647, '\0', 0}, "An average of 2147483647 times per"},
    };
    for (const auto& c : cases) {
        char text[TEXT_BUFFER_SIZE];
        formatAverageRate(c.parts, text);
        EXPECT_STREQ(text, c.text);
    }
}

using AboutDialogTest = AboutFixture;

TEST_F(AboutDialogTest, OpensWithItsLabelsAndUnitList) {
    g_app.about.activationCount = 2;
    startCountingAgo(7140);
    openAboutDialog();
    HWND dialog = g_app.about.dialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetParent(dialog), nullptr);
    char title[TEXT_BUFFER_SIZE] = {};
    GetWindowTextA(dialog, title, TEXT_BUFFER_SIZE);
    EXPECT_STREQ(title, "About Pendrel");

    EXPECT_EQ(itemText(dialog, IDC_COUNTER_LABEL), "You have activated 2 times the taskbar.");
    EXPECT_EQ(itemText(dialog, IDC_AVERAGE_LABEL), "An average of 1.00 times per");

    HWND list = GetDlgItem(dialog, IDC_UNIT_LIST);
    ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 4);
    const char* const names[] = {"second", "minute", "hour", "day"};
    for (int i = 0; i < 4; ++i) {
        char name[TEXT_BUFFER_SIZE] = {};
        SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
        EXPECT_STREQ(name, names[i]) << i;
    }
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 2);
    // The first tab stop, OK, has the focus.
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
}

TEST_F(AboutDialogTest, UnitChoiceSurvivesClosingAndReopening) {
    g_app.about.activationCount = 7;
    startCountingAgo(7140);
    openAboutDialog();
    HWND dialog = g_app.about.dialog;
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_UNIT_LIST);
    SendMessageA(list, CB_SETCURSEL, 3, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_UNIT_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(g_app.about.statsUnit, 3u);
    EXPECT_EQ(itemText(dialog, IDC_AVERAGE_LABEL), "An average of 84 times per");

    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(g_app.about.dialog, nullptr);
    openAboutDialog();
    dialog = g_app.about.dialog;
    ASSERT_NE(dialog, nullptr);
    list = GetDlgItem(dialog, IDC_UNIT_LIST);
    EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(itemText(dialog, IDC_AVERAGE_LABEL), "An average of 84 times per");
}

TEST_F(AboutDialogTest, ListNotificationsOtherThanSelectionChangeLeaveTheUnit) {
    openAboutDialog();
    HWND dialog = g_app.about.dialog;
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_UNIT_LIST);
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(aboutDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_UNIT_LIST, CBN_DROPDOWN),
                              reinterpret_cast<LPARAM>(list)),
              FALSE);
    EXPECT_EQ(g_app.about.statsUnit, 2u);
    EXPECT_EQ(aboutDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_UNIT_LIST, CBN_SELCHANGE),
                              reinterpret_cast<LPARAM>(list)),
              TRUE);
    EXPECT_EQ(g_app.about.statsUnit, 0u);
}

TEST_F(AboutDialogTest, NoSelectionIsTakenAsHour) {
    g_app.about.statsUnit = 0;
    g_app.about.activationCount = 7;
    startCountingAgo(7140);
    openAboutDialog();
    HWND dialog = g_app.about.dialog;
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_UNIT_LIST);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ASSERT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_UNIT_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(g_app.about.statsUnit, 2u);
    EXPECT_EQ(itemText(dialog, IDC_AVERAGE_LABEL), "An average of 3.52 times per");
}

TEST_F(AboutDialogTest, ResetClearsTheCountAndRestartsTheClock) {
    g_app.about.activationCount = 5;
    startCountingAgo(3540);
    const uint64_t oldStart = ticksOf(g_app.about.countStart);
    openAboutDialog();
    HWND dialog = g_app.about.dialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(itemText(dialog, IDC_COUNTER_LABEL), "You have activated 5 times the taskbar.");
    EXPECT_EQ(itemText(dialog, IDC_AVERAGE_LABEL), "An average of 5.08 times per");

    const uint64_t beforeReset = nowTicks();
    SendMessageA(GetDlgItem(dialog, IDC_RESET), BM_CLICK, 0, 0);
    EXPECT_EQ(g_app.about.activationCount, 0u);
    EXPECT_EQ(itemText(dialog, IDC_COUNTER_LABEL), COUNTER_0);
    EXPECT_EQ(itemText(dialog, IDC_AVERAGE_LABEL), ZERO_RATE);
    EXPECT_GT(ticksOf(g_app.about.countStart), oldStart);
    EXPECT_GE(ticksOf(g_app.about.countStart), beforeReset);
    EXPECT_LE(ticksOf(g_app.about.countStart), nowTicks());
}

TEST_F(AboutDialogTest, TimerTickRewritesOnlyTheAverage) {
    g_app.about.activationCount = 7;
    startCountingAgo(7140);
    openAboutDialog();
    HWND dialog = g_app.about.dialog;
    ASSERT_NE(dialog, nullptr);
    g_app.about.activationCount = 29;
    startCountingAgo(100);
    g_app.about.statsUnit = 0;
    SendMessageA(dialog, WM_TIMER, TIMER_REFRESH, 0);
    EXPECT_EQ(itemText(dialog, IDC_AVERAGE_LABEL), "An average of 0.28 times per");
    EXPECT_EQ(itemText(dialog, IDC_COUNTER_LABEL), "You have activated 7 times the taskbar.");
}

TEST_F(AboutDialogTest, RefreshTimerTicksOnItsOwn) {
    g_app.about.activationCount = 7;
    startCountingAgo(7140);
    openAboutDialog();
    HWND dialog = g_app.about.dialog;
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextA(dialog, IDC_AVERAGE_LABEL, "stale");
    EXPECT_TRUE(pumpUntil([&] { return itemText(dialog, IDC_AVERAGE_LABEL) != "stale"; }));
    EXPECT_EQ(itemText(dialog, IDC_AVERAGE_LABEL), "An average of 3.52 times per");
}

TEST_F(AboutDialogTest, SecondOpeningKeepsTheOneDialogAndItsLabels) {
    g_app.about.activationCount = 1;
    openAboutDialog();
    HWND dialog = g_app.about.dialog;
    ASSERT_NE(dialog, nullptr);
    g_app.about.activationCount = 9;
    openAboutDialog();
    EXPECT_EQ(g_app.about.dialog, dialog);
    EXPECT_EQ(itemText(dialog, IDC_COUNTER_LABEL), "You have activated 1 times the taskbar.");

    struct Count {
        static BOOL CALLBACK visit(HWND window, LPARAM found) {
            char title[TEXT_BUFFER_SIZE] = {};
            GetWindowTextA(window, title, TEXT_BUFFER_SIZE);
            if (lstrcmpA(title, "About Pendrel") == 0)
                ++*reinterpret_cast<int*>(found);
            return TRUE;
        }
    };
    int dialogs = 0;
    EnumThreadWindows(GetCurrentThreadId(), Count::visit, reinterpret_cast<LPARAM>(&dialogs));
    EXPECT_EQ(dialogs, 1);
}

// Every way of closing destroys the dialog and clears what WM_DESTROY owns.
enum CloseBy { OK_BUTTON, ENTER_KEY, ESCAPE_KEY, CLOSE_COMMAND, CLOSE_MESSAGE };

class ClosingTest : public AboutFixture, public ::testing::WithParamInterface<CloseBy> {};

void pressKey(HWND dialog, WPARAM key) {
    MSG msg = {};
    msg.hwnd = GetFocus() != nullptr ? GetFocus() : GetDlgItem(dialog, IDOK);
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = 1;
    IsDialogMessageA(dialog, &msg);
}

TEST_P(ClosingTest, DestroysAndForgetsTheDialog) {
    HWND dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(g_app.about.mailLink, WM_SETCURSOR, reinterpret_cast<WPARAM>(g_app.about.mailLink),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_EQ(g_app.about.hotLink, g_app.about.mailLink);
    switch (GetParam()) {
    case OK_BUTTON: SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); break;
    case ENTER_KEY: pressKey(dialog, VK_RETURN); break;
    case ESCAPE_KEY: pressKey(dialog, VK_ESCAPE); break;
    case CLOSE_COMMAND: SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case CLOSE_MESSAGE: SendMessageA(dialog, WM_CLOSE, 0, 0); break;
    }
    // The dialog manager posts IDCANCEL for WM_CLOSE.
    pumpUntil([&] { return !IsWindow(dialog); });
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(g_app.about.dialog, nullptr);
    EXPECT_EQ(g_app.about.hotLink, nullptr);
    EXPECT_EQ(g_app.about.mailLinkSized, 0);
    EXPECT_EQ(g_app.about.webLinkSized, 0);

    // The next opening builds it afresh.
    dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_UNIT_LIST, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(g_app.about.mailLinkSized, 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingTest,
                         ::testing::Values(OK_BUTTON, ENTER_KEY, ESCAPE_KEY, CLOSE_COMMAND, CLOSE_MESSAGE));

TEST_F(AboutDialogTest, OtherSystemCommandsAreLeftToTheDefault) {
    openAboutDialog();
    HWND dialog = g_app.about.dialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(aboutDialogProc(dialog, WM_SYSCOMMAND, SC_MOVE, 0), FALSE);
    EXPECT_EQ(aboutDialogProc(dialog, WM_SYSCOMMAND, SC_CLOSE | 1, 0), FALSE);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(g_app.about.dialog, dialog);
}

TEST_F(AboutDialogTest, TitleBarIconsAreSetAndTheSmallOneIsNotLoadedAgain) {
    HWND dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0) != 0; }));
    const LRESULT small = SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0);
    EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0), 0);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(small), &info));
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, 16);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);

    DestroyWindow(dialog);
    dialog = openPainted();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0) != 0; }));
    EXPECT_EQ(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0), small);
}

}  // namespace
}  // namespace about_test
