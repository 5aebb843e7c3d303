// The TriggerWindow's creation, destruction, commands and icon messages, with
// the real notification area of the Wine desktop.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/startup.h"
#include "resources/resource.h"
#include "support/app_fixture.h"
#include "support/standin_shell.h"
#include "tray/context_menu.h"
#include "tray/tray_icon.h"

namespace {

class Tray : public AppFixture {
protected:
    HWND window = nullptr;
    void start() { window = createTrigger(); }
    bool removalTimerRunning() {
        bool running = stopTimer(window, TIMER_ICON_REMOVAL);
        if (running)
            SetTimer(window, TIMER_ICON_REMOVAL, ICON_REMOVAL_PERIOD_MS, nullptr);
        return running;
    }
    // Deletes the icon behind the program's back, as a shell that restarts does.
    void shellForgetsIcon() {
        NOTIFYICONDATAA data = {};
        data.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data.hWnd = window;
        data.uID = 1;
        Shell_NotifyIconA(NIM_DELETE, &data);
    }
    bool posted(UINT message) {
        MSG msg;
        return PeekMessageA(&msg, window, message, message, PM_NOREMOVE) != 0;
    }
};

TEST_F(Tray, CreationShowsTheIconAndItsRemovalTimerAsStored) {
    struct {
        const char* show;
        const char* remove;
        bool icon;
        bool timer;
    } cases[] = {
        {nullptr, nullptr, true, false},
        {"1", "0", true, false},
        {"1", "1", true, true},
        {"0", "1", false, false},
        {"0", "0", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.show ? c.show : "-") + "/" + (c.remove ? c.remove : "-"));
        deleteSettingsKey();
        if (c.show)
            writeSetting("VoirIcone", c.show);
        if (c.remove)
            writeSetting("SupprimerIconeApresTempo", c.remove);
        g_app.settings = Settings{};
        start();
        EXPECT_EQ(window, g_app.program.mainWindow);
        EXPECT_NE(nullptr, g_app.tray.iconSmall);
        EXPECT_EQ(c.icon, trayIconExists(window));
        EXPECT_EQ(c.timer, removalTimerRunning());
        DestroyWindow(window);
        EXPECT_FALSE(trayIconExists(window));
        pumpMessages(0);
    }
}

TEST_F(Tray, RemovalTimerTakesTheIconAwayOnceAndKeepsTheSetting) {
    writeSetting("SupprimerIconeApresTempo", "1");
    start();
    SendMessageA(window, WM_TIMER, TIMER_ICON_REMOVAL, 0);
    EXPECT_FALSE(trayIconExists(window));
    EXPECT_FALSE(removalTimerRunning());
    EXPECT_EQ(1u, g_app.settings.showTrayIcon);
}

TEST_F(Tray, ReaddMessageBringsTheIconBackAndLeavesTheRemovalTimer) {
    writeSetting("VoirIcone", "0");
    start();
    ASSERT_FALSE(trayIconExists(window));
    SendMessageA(window, WM_READD_ICON, 0, 0);
    EXPECT_TRUE(trayIconExists(window));
    EXPECT_EQ(0u, g_app.settings.showTrayIcon);
    DestroyWindow(window);
    pumpMessages(0);

    deleteSettingsKey();
    writeSetting("SupprimerIconeApresTempo", "1");
    g_app.settings = Settings{};
    start();
    SendMessageA(window, WM_READD_ICON, 0, 0);
    EXPECT_TRUE(trayIconExists(window));
    EXPECT_TRUE(removalTimerRunning());
}

TEST_F(Tray, ARestartedShellGetsTheIconBackExactlyWhenItIsMeantToShow) {
    start();
    shellForgetsIcon();
    SendMessageA(window, g_app.program.taskbarCreatedMessage, 0, 0);
    EXPECT_TRUE(trayIconExists(window)) << "icon on in the settings";
    DestroyWindow(window);
    pumpMessages(0);

    writeSetting("VoirIcone", "0");
    g_app.settings = Settings{};
    start();
    SendMessageA(window, g_app.program.taskbarCreatedMessage, 0, 0);
    EXPECT_FALSE(trayIconExists(window)) << "icon off and not showing";

    SendMessageA(window, WM_READD_ICON, 0, 0);
    shellForgetsIcon();
    SendMessageA(window, g_app.program.taskbarCreatedMessage, 0, 0);
    EXPECT_TRUE(trayIconExists(window)) << "icon off but brought back by hand";
    DestroyWindow(window);
    pumpMessages(0);

    // The removal timer took the icon away: a restarted shell must not bring
    // it back against the user's wish, while the re-add message still does.
    deleteSettingsKey();
    writeSetting("SupprimerIconeApresTempo", "1");
    g_app.settings = Settings{};
    start();
    SendMessageA(window, WM_TIMER, TIMER_ICON_REMOVAL, 0);
    ASSERT_FALSE(trayIconExists(window));
    SendMessageA(window, g_app.program.taskbarCreatedMessage, 0, 0);
    EXPECT_FALSE(trayIconExists(window)) << "removed by the timer, brought back by the shell";
    SendMessageA(window, WM_READD_ICON, 0, 0);
    EXPECT_TRUE(trayIconExists(window));
}

// What the shell receives of an add: the record as Wine's notification area
// reads it from WM_COPYDATA (owner, id, flags, callback, tooltip).
struct ShellIconRecord {
    LONG window;
    UINT id;
    UINT flags;
    UINT callbackMessage;
    WCHAR tip[128];
};
struct ReceivedIcon {
    ULONG_PTR request;
    ShellIconRecord record;
};
ReceivedIcon g_received;

LRESULT CALLBACK standInTrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA)
        return DefWindowProcA(window, message, wParam, lParam);
    const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if ((data->dwData == NIM_ADD || data->dwData == NIM_MODIFY) && data->cbData >= sizeof(ShellIconRecord)) {
        g_received.request = data->dwData;
        CopyMemory(&g_received.record, data->lpData, sizeof(ShellIconRecord));
    }
    return TRUE;
}

// Topmost and made last, it is found before the desktop's own taskbar.
HWND standInTray() {
    registerTestClass("Shell_TrayWnd", standInTrayProc);
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST_F(Tray, TheShellReceivesTheCallbackFlagsAndTooltipCut) {
    HWND tray = standInTray();
    ASSERT_EQ(tray, FindWindowA("Shell_TrayWnd", nullptr));
    g_received = ReceivedIcon{};
    start();
    EXPECT_EQ((ULONG_PTR)NIM_ADD, g_received.request);
    EXPECT_EQ(HandleToLong(window), g_received.record.window);
    EXPECT_EQ(1u, g_received.record.id);
    EXPECT_EQ((UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP), g_received.record.flags & (NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(1025u, g_received.record.callbackMessage);
    EXPECT_STREQ(L"Pendrel", g_received.record.tip);

    // A tooltip that names a program is cut to what the record holds, and
    // only a new one is sent.
    WCHAR longName[200];
    for (int i = 0; i < 199; ++i)
        longName[i] = (WCHAR)(L'\u0100' + i);
    longName[199] = L'\0';
    g_received = ReceivedIcon{};
    showTrayTip(longName, nullptr);
    EXPECT_EQ((ULONG_PTR)NIM_MODIFY, g_received.request);
    EXPECT_EQ(127, lstrlenW(g_received.record.tip)) << "the newer form's tip holds 127 characters";
    EXPECT_EQ(0, wcsncmp(L"Pendrel (not over \u0100", g_received.record.tip, 19));
    EXPECT_EQ(L'\u0100' + 108, g_received.record.tip[126]);
    g_received = ReceivedIcon{};
    showTrayTip(longName, L"cover.exe");
    EXPECT_EQ(0u, g_received.request) << "an unchanged tooltip was sent again";
    showTrayTip(nullptr, L"cover.exe");
    EXPECT_STREQ(L"Pendrel (cover.exe stayed over the taskbar)", g_received.record.tip);
    g_app.program.paused = 1;
    showTrayTip(nullptr, L"cover.exe");
    EXPECT_STREQ(L"Pendrel (paused)", g_received.record.tip);
    g_app.program.paused = 0;
    showTrayTip(nullptr, nullptr);
    EXPECT_STREQ(L"Pendrel", g_received.record.tip);
    DestroyWindow(tray);
    UnregisterClassA("Shell_TrayWnd", GetModuleHandleA(nullptr));
}

// At sign-in the shell may not take the icon yet. A refusal that comes late
// counts as well: the icon is offered again at the retry tick and at each
// "TaskbarCreated", never twice at once, no more once held, and for two
// minutes at most.
TEST_F(Tray, ARefusedIconIsOfferedAgainUntilTheShellTakesIt) {
    ASSERT_TRUE(startStandInShell(RECT{0, 728, 1024, 768}));
    g_standIn.refusals = 1;
    ASSERT_TRUE(hangStandInShell());
    const DWORD before = GetTickCount();
    start();
    EXPECT_LT(GetTickCount() - before, 1000u) << "the add waited for the hung shell";
    resumeStandInShell();
    EXPECT_TRUE(pumpUntil([] { return g_standIn.icons == 1; }, ICON_RETRY_PERIOD_MS + 2000)) << "not offered again";
    SendMessageA(window, g_app.program.taskbarCreatedMessage, 0, 0);
    EXPECT_EQ(3, g_standIn.adds);
    EXPECT_FALSE(pumpUntil([] { return g_standIn.adds > 3; }, ICON_RETRY_PERIOD_MS + 500)) << "offered once held";

    g_standIn.refusals = 1000;
    SendMessageA(window, g_app.program.taskbarCreatedMessage, 0, 0);
    for (unsigned tick = 0; tick <= 120000 / ICON_RETRY_PERIOD_MS; ++tick)
        SendMessageA(window, WM_TIMER, TIMER_ICON_RETRY, 0);
    EXPECT_EQ(3 + 1 + 60, g_standIn.adds);
    EXPECT_FALSE(stopTimer(window, TIMER_ICON_RETRY)) << "the retry timer runs on";
    stopStandInShell();
}

TEST_F(Tray, SecondStartShowsTheIconForGoodAndOpensTheAboutDialog) {
    writeSetting("VoirIcone", "0");
    writeSetting("SupprimerIconeApresTempo", "1");
    start();
    SendMessageA(window, WM_SECOND_INSTANCE, 0, 0);
    EXPECT_TRUE(trayIconExists(window));
    EXPECT_FALSE(removalTimerRunning());
    EXPECT_NE(nullptr, g_app.about.dialog);
    EXPECT_EQ(0u, g_app.settings.showTrayIcon);
}

TEST_F(Tray, MenuCommandsOpenTheDialogsOrCloseAndOthersDoNothing) {
    start();
    for (WPARAM unknown : {WPARAM(0), WPARAM(30000), WPARAM(30005), WPARAM(0xFFFF), WPARAM(0x10000 | 40000)})
        SendMessageA(window, WM_COMMAND, unknown, 0);
    EXPECT_EQ(nullptr, g_app.about.dialog);
    EXPECT_EQ(nullptr, g_app.config.dialog);
    EXPECT_FALSE(posted(WM_CLOSE));

    SendMessageA(window, WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_NE(nullptr, g_app.about.dialog);
    SendMessageA(window, WM_COMMAND, IDM_CONFIG, 0);
    EXPECT_NE(nullptr, g_app.config.dialog);

    // Exit closes the window through the default handling of WM_CLOSE, which
    // takes the icon with it, also while the dialogs are open.
    SendMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    MSG close;
    ASSERT_TRUE(PeekMessageA(&close, window, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    DispatchMessageA(&close);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(trayIconExists(window));
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, quit.wParam);
}

// What the test sees of the popup while it is tracked.
struct MenuSeen {
    bool shown = false;
    LONG inMenuLoop = 0;
    std::string texts[4];
    UINT ids[4] = {};
    int count = 0;
    UINT defaultItem = 0;
    bool pauseChecked = false;
};
MenuSeen g_menuSeen;

void CALLBACK inspectMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup == nullptr || !IsWindowVisible(popup))
        return;
    KillTimer(nullptr, timer);
    g_menuSeen.shown = true;
    g_menuSeen.inMenuLoop = g_app.program.inMenuLoop;
    HMENU menu = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
    g_menuSeen.count = GetMenuItemCount(menu);
    for (int i = 0; i < 4 && i < g_menuSeen.count; ++i) {
        char text[64] = {};
        GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
        g_menuSeen.texts[i] = text;
        g_menuSeen.ids[i] = GetMenuItemID(menu, i);
    }
    g_menuSeen.defaultItem = GetMenuDefaultItem(menu, FALSE, 0);
    g_menuSeen.pauseChecked = (GetMenuState(menu, IDM_PAUSE, MF_BYCOMMAND) & MF_CHECKED) != 0;
    // Another press while the menu is up opens no second menu.
    SendMessageA(g_app.program.mainWindow, WM_TRAY_NOTIFY, 1, WM_RBUTTONDOWN);
    EndMenu();
}

class ContextMenu : public Tray {
protected:
    void SetUp() override {
        Tray::SetUp();
        start();
        g_menuSeen = MenuSeen{};
    }
    void expectTheMenu() {
        EXPECT_TRUE(g_menuSeen.shown);
        EXPECT_EQ(1, g_menuSeen.inMenuLoop);
        EXPECT_EQ(0, g_app.program.inMenuLoop) << "cleared once tracking ended";
        ASSERT_EQ(4, g_menuSeen.count);
        EXPECT_EQ("&About Pendrel...", g_menuSeen.texts[0]);
        EXPECT_EQ("&Configuration...", g_menuSeen.texts[1]);
        EXPECT_EQ("&Pause", g_menuSeen.texts[2]);
        EXPECT_EQ("&Exit", g_menuSeen.texts[3]);
        EXPECT_EQ((UINT)IDM_ABOUT, g_menuSeen.ids[0]);
        EXPECT_EQ((UINT)IDM_CONFIG, g_menuSeen.ids[1]);
        EXPECT_EQ((UINT)IDM_PAUSE, g_menuSeen.ids[2]);
        EXPECT_EQ((UINT)IDM_EXIT, g_menuSeen.ids[3]);
        EXPECT_EQ((UINT)IDM_ABOUT, g_menuSeen.defaultItem);
        EXPECT_TRUE(posted(WM_NULL)) << "the owner is nudged after tracking";
    }
};

TEST_F(ContextMenu, RightButtonOnTheStripOpensOneMenu) {
    UINT_PTR timer = SetTimer(nullptr, 0, 50, inspectMenu);
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(500, 2));
    KillTimer(nullptr, timer);
    expectTheMenu();
}

TEST_F(ContextMenu, IconRightPressOpensTheMenuAndDoubleClickTheAboutDialog) {
    UINT_PTR timer = SetTimer(nullptr, 0, 50, inspectMenu);
    movePointer(600, 400);
    SendMessageA(window, WM_TRAY_NOTIFY, 1, WM_RBUTTONDOWN);
    KillTimer(nullptr, timer);
    expectTheMenu();

    for (LPARAM ignored : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE})
        SendMessageA(window, WM_TRAY_NOTIFY, 1, ignored);
    EXPECT_EQ(nullptr, g_app.about.dialog);
    SendMessageA(window, WM_TRAY_NOTIFY, 1, WM_LBUTTONDBLCLK);
    EXPECT_NE(nullptr, g_app.about.dialog);
}

// The pause is checked in the menu and named in the tooltip, a re-added icon
// included, until it is chosen again.
TEST_F(Tray, PauseShowsInTheMenuAndTheTooltipUntilChosenAgain) {
    HWND tray = standInTray();
    start();
    for (LONG paused : {1, 0}) {
        const WCHAR* tip = paused ? L"Pendrel (paused)" : L"Pendrel";
        g_received = ReceivedIcon{};
        SendMessageA(window, WM_COMMAND, IDM_PAUSE, 0);
        EXPECT_EQ(paused, g_app.program.paused);
        EXPECT_EQ((ULONG_PTR)NIM_MODIFY, g_received.request);
        EXPECT_STREQ(tip, g_received.record.tip);
        SendMessageA(window, WM_READD_ICON, 0, 0);
        EXPECT_EQ((ULONG_PTR)NIM_ADD, g_received.request);
        EXPECT_STREQ(tip, g_received.record.tip);
        g_menuSeen = MenuSeen{};
        UINT_PTR timer = SetTimer(nullptr, 0, 50, inspectMenu);
        SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(500, 2));
        KillTimer(nullptr, timer);
        EXPECT_EQ(paused != 0, g_menuSeen.pauseChecked);
    }
    DestroyWindow(tray);
    UnregisterClassA("Shell_TrayWnd", GetModuleHandleA(nullptr));
}

}  // namespace
