// The notification-area icon, its messages and the context menu, seen from
// another process.
#include "e2e/support.h"

namespace e2e {
namespace {

using Tray = PendrelTest;

const UINT RIGHT_BUTTON_DOWN = 516;  // WM_RBUTTONDOWN as the shell reports it over the icon

HWND visibleMenuOf(const Pendrel& copy) {
    return findVisibleWindow(copy.pid, MENU_CLASS, nullptr);
}

TEST_F(Tray, IconIsShownWithoutStoredSettings) {
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    EXPECT_TRUE(waitUntil([&] { return trayIconPresent(copy.window); }, EFFECT_BOUND_MS));
}

struct IconRow {
    const char* name;
    const char* valueName;
    const char* text;
    bool shown;
};

class IconAtStart : public PendrelTest, public ::testing::WithParamInterface<IconRow> {};

TEST_P(IconAtStart, FollowsTheStoredSettings) {
    const IconRow& row = GetParam();
    ASSERT_TRUE(writeSetting(row.valueName, row.text));
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    // The icon is added while the window is created; by the first poll, which
    // puts the window on the strip, that is long over.
    ASSERT_TRUE(waitOnStrip(copy));
    EXPECT_EQ(trayIconPresent(copy.window), row.shown) << row.name;
}

INSTANTIATE_TEST_SUITE_P(E2E, IconAtStart,
                         ::testing::Values(IconRow{"SwitchedOff", PENDREL_REG_SHOW_ICON, "0", false},
                                           IconRow{"SwitchedOffByTextThatIsNotOne", PENDREL_REG_SHOW_ICON, "yes",
                                                   false},
                                           IconRow{"OnWrittenWithASign", PENDREL_REG_SHOW_ICON, "+1", true},
                                           IconRow{"ShownAtFirstWithRemovalAfterTimeout", PENDREL_REG_REMOVE_ICON, "1",
                                                   true}),
                         [](const ::testing::TestParamInfo<IconRow>& info) { return std::string(info.param.name); });

// Right after start, About opened by a real double-click on the icon has the
// keyboard, though the shell handles the last button-up after it has shown.
TEST_F(Tray, AboutOpenedByADoubleClickOnTheIconTakesTheKeys) {
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitUntil([&] { return trayIconPresent(copy.window); }, EFFECT_BOUND_MS));
    // The only icon lies at the right end of the taskbar.
    const RECT bar = windowRect(shellTaskbar());
    ASSERT_TRUE(doubleClickThroughX(bar.right - 10, (bar.top + bar.bottom) / 2));
    HWND about = nullptr;
    const auto shown = [&] { return (about = findVisibleWindow(copy.pid, nullptr, PENDREL_ABOUT_TITLE)) != nullptr; };
    ASSERT_TRUE(waitUntil(shown, EFFECT_BOUND_MS)) << "the double-click opened no About box";
    EXPECT_TRUE(waitUntil([&] { return IsChild(about, keyboardFocusOf(about)) != FALSE; }, EFFECT_BOUND_MS))
        << "the focus is on " << className(keyboardFocusOf(about));
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(about); }, EFFECT_BOUND_MS)) << "Escape did not reach the About box";
}

TEST_F(Tray, ReaddMessageBringsBackASwitchedOffIcon) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_SHOW_ICON, "0"));
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    ASSERT_FALSE(trayIconPresent(copy.window));
    PostMessageA(copy.window, WM_READD_ICON, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return trayIconPresent(copy.window); }, EFFECT_BOUND_MS));
    ASSERT_TRUE(roundTripTo(copy.window));
    EXPECT_EQ(findVisibleWindow(copy.pid, nullptr, PENDREL_ABOUT_TITLE), nullptr) << "only the hand-over opens About";
}

TEST_F(Tray, HandOverMessageBringsBackTheIconAndOpensAbout) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_SHOW_ICON, "0"));
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    ASSERT_FALSE(trayIconPresent(copy.window));
    PostMessageA(copy.window, WM_SECOND_INSTANCE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return trayIconPresent(copy.window); }, EFFECT_BOUND_MS));
    EXPECT_TRUE(waitUntil([&] { return findVisibleWindow(copy.pid, nullptr, PENDREL_ABOUT_TITLE) != nullptr; },
                          EFFECT_BOUND_MS))
        << "no About dialog";
}

TEST_F(Tray, ExitCommandEndsWithCodeZeroAndTakesTheIconAway) {
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitUntil([&] { return trayIconPresent(copy.window); }, EFFECT_BOUND_MS));
    PostMessageA(copy.window, WM_COMMAND, IDM_EXIT, 0);
    DWORD code = 0xFFFF;
    ASSERT_TRUE(waitForExit(copy, EXIT_BOUND_MS, &code)) << "the Exit command did not end the program";
    EXPECT_EQ(code, EXIT_OK);
    // Wine clears a destroyed window's icons by itself; on Windows this
    // checks the program's own clean-up.
    EXPECT_FALSE(trayIconPresent(copy.window));
}

TEST_F(Tray, UnknownCommandsDoNothing) {
    ASSERT_TRUE(writeSetting(PENDREL_REG_SHOW_ICON, "0"));
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    const UINT unknown[] = {0, 1, 2, 30000, 30004, 40000, 0xFFFF};
    for (UINT command : unknown) {
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutA(copy.window, WM_COMMAND, command, 0, SMTO_ABORTIFHUNG, EFFECT_BOUND_MS,
                                      &answer),
                  0)
            << command;
    }
    // Whatever the commands posted is handled before this marker, whose
    // effect (the icon coming back) can be seen.
    PostMessageA(copy.window, WM_READD_ICON, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return trayIconPresent(copy.window); }, EFFECT_BOUND_MS));
    ASSERT_TRUE(roundTripTo(copy.window));
    EXPECT_TRUE(isRunning(copy));
    EXPECT_EQ(findVisibleWindow(copy.pid, nullptr, PENDREL_ABOUT_TITLE), nullptr);
    EXPECT_EQ(findVisibleWindow(copy.pid, nullptr, PENDREL_CONFIG_TITLE), nullptr);
    EXPECT_EQ(visibleMenuOf(copy), nullptr);
}

// The two ways to open the context menu.
enum MenuOpening { RIGHT_CLICK_ON_STRIP, RIGHT_BUTTON_ON_ICON };

class ContextMenu : public PendrelTest, public ::testing::WithParamInterface<MenuOpening> {
protected:
    HWND openMenu(const Pendrel& copy) {
        if (GetParam() == RIGHT_CLICK_ON_STRIP)
            rightClickAt(500, strip_.top + STRIP_DEPTH / 2);
        else
            PostMessageA(copy.window, WM_TRAY_NOTIFY, TRAY_ICON_ID, RIGHT_BUTTON_DOWN);
        HWND menu = nullptr;
        waitUntil([&] { return (menu = visibleMenuOf(copy)) != nullptr; }, EFFECT_BOUND_MS);
        return menu;
    }
};

TEST_P(ContextMenu, OpensWithItsThreeItemsAndEscapeClosesIt) {
    // The strip catches the pointer only while something covers the taskbar.
    if (GetParam() == RIGHT_CLICK_ON_STRIP) {
        ASSERT_TRUE(cover_.raise());
    }
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    if (GetParam() == RIGHT_CLICK_ON_STRIP) {
        ASSERT_TRUE(waitUntil([&] { return rootWindowAt(POINT{500, strip_.top + 1}) == copy.window; },
                              EFFECT_BOUND_MS));
    }
    HWND menu = openMenu(copy);
    ASSERT_NE(menu, nullptr) << "no popup menu appeared";
    saveScreenshot(GetParam() == RIGHT_CLICK_ON_STRIP ? "menu-from-strip" : "menu-from-icon");

    std::vector<std::string> items;
    if (readMenuItems(menu, &items)) {
        const std::vector<std::string> expected = {"&About Pendrel...", "&Configuration...", "&Exit"};
        EXPECT_EQ(items, expected);
    } else {
        // Another process cannot read the menu here (Wine keeps menus per
        // process); the mnemonics test below shows each item's command.
        RecordProperty("menu_items", "not readable from another process");
    }

    pressKey(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return visibleMenuOf(copy) == nullptr; }, EFFECT_BOUND_MS))
        << "Escape left the menu open";
    EXPECT_TRUE(isRunning(copy));
}

INSTANTIATE_TEST_SUITE_P(E2E, ContextMenu, ::testing::Values(RIGHT_CLICK_ON_STRIP, RIGHT_BUTTON_ON_ICON),
                         [](const ::testing::TestParamInfo<MenuOpening>& info) {
                             return std::string(info.param == RIGHT_CLICK_ON_STRIP ? "RightClickOnStrip"
                                                                                   : "RightButtonOnIcon");
                         });

// Each item chosen by its mnemonic does its command.
struct MnemonicRow {
    const char* name;
    char key;
    const char* dialogTitle;  // the dialog it opens; null for Exit
};

class MenuMnemonic : public PendrelTest, public ::testing::WithParamInterface<MnemonicRow> {};

TEST_P(MenuMnemonic, ChoosesItsCommand) {
    const MnemonicRow& row = GetParam();
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    PostMessageA(copy.window, WM_TRAY_NOTIFY, TRAY_ICON_ID, RIGHT_BUTTON_DOWN);
    ASSERT_TRUE(waitUntil([&] { return visibleMenuOf(copy) != nullptr; }, EFFECT_BOUND_MS)) << "no menu";

    pressKey(static_cast<WORD>(LOBYTE(VkKeyScanA(row.key))));
    EXPECT_TRUE(waitUntil([&] { return visibleMenuOf(copy) == nullptr; }, EFFECT_BOUND_MS)) << row.name;
    if (row.dialogTitle != nullptr) {
        EXPECT_TRUE(waitUntil([&] { return findVisibleWindow(copy.pid, nullptr, row.dialogTitle) != nullptr; },
                              EFFECT_BOUND_MS))
            << row.name << ": no \"" << row.dialogTitle << "\" window";
        EXPECT_TRUE(isRunning(copy));
    } else {
        DWORD code = 0xFFFF;
        ASSERT_TRUE(waitForExit(copy, EXIT_BOUND_MS, &code)) << row.name << ": the program kept running";
        EXPECT_EQ(code, EXIT_OK);
    }
}

INSTANTIATE_TEST_SUITE_P(E2E, MenuMnemonic,
                         ::testing::Values(MnemonicRow{"About", 'a', PENDREL_ABOUT_TITLE},
                                           MnemonicRow{"Configuration", 'c', PENDREL_CONFIG_TITLE},
                                           MnemonicRow{"Exit", 'e', nullptr}),
                         [](const ::testing::TestParamInfo<MnemonicRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
