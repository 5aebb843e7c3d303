#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <ctype.h>
#include <string.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/startup.h"
#include "resources/resource.h"
#include "settings/config_dialog.h"
#include "settings/registry_probe.h"
#include "support/app_fixture.h"
#include "tray/tray_icon.h"

using namespace registry_probe;

namespace {

const char OWNER_CLASS[] = "SettingsTestOwner";
const char DIALOG_CLASS[] = "Marrowick_APropos";

void registerClassOnce(const char* name, WNDPROC procedure, int extraBytes) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(g_app.program.instance, name, &existing))
        return;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = extraBytes;
    wc.hInstance = g_app.program.instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClassExA(&wc), 0);
}

// The shell answers a modify of our icon only while the icon exists.
bool iconPresent() {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = g_app.program.mainWindow;
    data.uID = TRAY_ICON_ID;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != 0;
}

// Asking stops the timer: KillTimer succeeds only on a running timer.
bool removalTimerRan() {
    return KillTimer(g_app.program.mainWindow, TIMER_ICON_REMOVAL) != 0;
}

std::string storedText(const char* name) {
    const std::vector<StoredValue> all = readAll();
    const StoredValue* value = findValue(all, name);
    return value != nullptr ? value->data : std::string("<missing>");
}

std::string sz(const char* text) {
    return std::string(text, strlen(text) + 1);
}

const int CHECK_BOXES[10] = {IDC_DELAY_ENABLED, IDC_RESTART_ON_MOVE, IDC_OVER_TOPMOST, IDC_SEND_BACK,
                             IDC_SHOW_ICON,     IDC_REMOVE_ICON,     IDC_HIGHLIGHT,    IDC_ALL_SCREENS,
                             IDC_AVOID_FULL_SCREEN, -1};

class ConfigDialog : public ::testing::Test {
protected:
    void SetUp() override {
        g_app = AppState{};
        neverOverList() = ProgramList{};
        g_app.program.instance = GetModuleHandleA(nullptr);
        registerClassOnce(DIALOG_CLASS, DefDlgProcA, DLGWINDOWEXTRA);
        registerClassOnce(OWNER_CLASS, DefWindowProcA, 0);
        g_app.program.mainWindow = CreateWindowExA(0, OWNER_CLASS, "owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                           g_app.program.instance, nullptr);
        ASSERT_NE(g_app.program.mainWindow, nullptr);
        deleteKey();
    }

    void TearDown() override {
        if (g_app.config.dialog != nullptr)
            DestroyWindow(g_app.config.dialog);
        hideTrayIcon();
        DestroyWindow(g_app.program.mainWindow);
        pumpDialogMessages();
        deleteKey();
    }

    // The program as it runs after start-up with these settings: the icon
    // shown if wanted, its removal timer running if wanted.
    void runWith(const Settings& settings) {
        g_app.settings = settings;
        if (settings.showTrayIcon) {
            showTrayIcon(nullptr);
            ASSERT_TRUE(iconPresent());
            if (settings.removeIconAfterTimeout) {
                ASSERT_NE(SetTimer(g_app.program.mainWindow, TIMER_ICON_REMOVAL, ICON_REMOVAL_PERIOD_MS, nullptr), 0u);
            }
        }
    }

    HWND open() {
        openConfigDialog();
        pumpDialogMessages();
        EXPECT_NE(g_app.config.dialog, nullptr);
        dialog_ = g_app.config.dialog;
        return dialog_;
    }

    HWND item(int id) { return GetDlgItem(dialog_, id); }
    bool checked(int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    bool enabled(int id) { return IsWindowEnabled(item(id)) != 0; }
    bool applyEnabled() { return enabled(IDC_APPLY); }
    // A greyed control cannot be clicked by the user, though BM_CLICK would.
    void click(int id) {
        EXPECT_TRUE(enabled(id)) << "control " << id << " is greyed";
        SendMessageA(item(id), BM_CLICK, 0, 0);
        pumpDialogMessages();
    }
    // The user's way into the box is the focus; the text is then replaced
    // at once (a multi-line box reports no change for WM_SETTEXT).
    void typeDelay(const char* text) {
        SetFocus(item(IDC_DELAY_VALUE));
        SendMessageA(item(IDC_DELAY_VALUE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        pumpDialogMessages();
    }
    std::string delayBoxText() {
        char text[64] = {};
        GetWindowTextA(item(IDC_DELAY_VALUE), text, sizeof text);
        return text;
    }
    void command(WPARAM wParam) {
        SendMessageA(dialog_, WM_COMMAND, wParam, 0);
        pumpDialogMessages();
    }
    void pressKey(WPARAM key) {
        HWND target = GetFocus() != nullptr ? GetFocus() : dialog_;
        PostMessageA(target, WM_KEYDOWN, key, 1);
        PostMessageA(target, WM_KEYUP, key, 0xC0000001);
        pumpDialogMessages();
    }

    HWND dialog_ = nullptr;
};

// Settings in the order of the check boxes of CHECK_BOXES, with the delay.
struct OpenCase {
    Settings settings;
};

Settings make(DWORD delayEnabled, DWORD delayMs, DWORD restart, DWORD overTopmost, DWORD sendBack, DWORD show,
              DWORD remove, DWORD highlight) {
    Settings s;
    s.delayEnabled = delayEnabled;
    s.delayMs = delayMs;
    s.restartDelayOnMove = restart;
    s.overTopmost = overTopmost;
    s.sendBackAfterUse = sendBack;
    s.showTrayIcon = show;
    s.removeIconAfterTimeout = remove;
    s.highlight = highlight;
    return s;
}

TEST_F(ConfigDialog, OpensWithTheSettingsAndApplyDisabled) {
    const Settings cases[] = {
        Settings{},
        make(0, 0, 0, 0, 0, 0, 0, 0),
        make(1, 2000, 0, 1, 0, 1, 1, 0),
        make(0, 1, 1, 0, 1, 0, 1, 1),
    };
    for (const Settings& s : cases) {
        g_app.settings = s;
        open();
        ASSERT_NE(dialog_, nullptr);
        EXPECT_TRUE(IsWindowVisible(dialog_));
        EXPECT_NE(item(IDC_CONFIG_TAB), nullptr);
        EXPECT_EQ(checked(IDC_DELAY_ENABLED), s.delayEnabled != 0);
        EXPECT_EQ(delayBoxText(), std::to_string(s.delayMs));
        EXPECT_EQ(checked(IDC_RESTART_ON_MOVE), s.restartDelayOnMove != 0);
        EXPECT_EQ(checked(IDC_OVER_TOPMOST), s.overTopmost != 0);
        EXPECT_EQ(checked(IDC_SEND_BACK), s.sendBackAfterUse != 0);
        EXPECT_EQ(checked(IDC_SHOW_ICON), s.showTrayIcon != 0);
        EXPECT_EQ(checked(IDC_REMOVE_ICON), s.removeIconAfterTimeout != 0);
        EXPECT_EQ(checked(IDC_HIGHLIGHT), s.highlight != 0);
        for (int id : {IDC_DELAY_LABEL, IDC_DELAY_VALUE, IDC_DELAY_UNIT, IDC_RESTART_ON_MOVE})
            EXPECT_EQ(enabled(id), s.delayEnabled != 0) << id;
        EXPECT_EQ(enabled(IDC_REMOVE_ICON), s.showTrayIcon != 0);
        EXPECT_TRUE(enabled(IDC_OVER_TOPMOST));
        EXPECT_TRUE(enabled(IDC_SHOW_ICON));
        EXPECT_FALSE(applyEnabled());
        // Opening reads the settings and writes nothing.
        EXPECT_FALSE(keyExists());
        command(IDCANCEL);
        EXPECT_EQ(g_app.config.dialog, nullptr);
    }
}

TEST_F(ConfigDialog, SetsItsIconsAndLoadsTheSmallOneOnce) {
    open();
    const HICON small = g_app.config.iconSmall;
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog_, WM_GETICON, ICON_SMALL, 0)), small);
    EXPECT_NE(SendMessageA(dialog_, WM_GETICON, ICON_BIG, 0), 0);
    command(IDCANCEL);
    for (int i = 0; i < 3; ++i) {
        open();
        EXPECT_EQ(g_app.config.iconSmall, small);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog_, WM_GETICON, ICON_SMALL, 0)), small);
        command(IDCANCEL);
    }
}

TEST_F(ConfigDialog, AnyCheckBoxClickEnablesApplyAndApplyDisablesIt) {
    open();
    for (int id : CHECK_BOXES) {
        if (id < 0)
            continue;
        ASSERT_TRUE(enabled(id)) << id;
        ASSERT_FALSE(applyEnabled()) << id;
        click(id);
        EXPECT_TRUE(applyEnabled()) << id;
        // Clicking the same box again restores it; then Apply.
        click(id);
        click(IDC_APPLY);
        EXPECT_FALSE(applyEnabled()) << id;
        EXPECT_NE(g_app.config.dialog, nullptr);
    }
}

TEST_F(ConfigDialog, FocusIntoOrOutOfTheDelayBoxEnablesApply) {
    open();
    ASSERT_FALSE(applyEnabled());
    SetFocus(item(IDC_DELAY_VALUE));
    pumpDialogMessages();
    EXPECT_TRUE(applyEnabled());
    // Applied without moving the focus.
    command(IDC_APPLY);
    ASSERT_FALSE(applyEnabled());
    ASSERT_EQ(GetFocus(), item(IDC_DELAY_VALUE));
    SetFocus(item(IDC_HIGHLIGHT));
    pumpDialogMessages();
    EXPECT_TRUE(applyEnabled());
}

TEST_F(ConfigDialog, TypingInTheDelayBoxEnablesApply) {
    open();
    SetFocus(item(IDC_DELAY_VALUE));
    command(IDC_APPLY);
    ASSERT_FALSE(applyEnabled());
    SendMessageA(item(IDC_DELAY_VALUE), WM_CHAR, '5', 1);
    pumpDialogMessages();
    EXPECT_TRUE(applyEnabled());
    EXPECT_EQ(delayBoxText().find('5') != std::string::npos, true);
}

// The command is the whole wParam: a notification other than a click is
// not the button's command, only a change that enables Apply.
TEST_F(ConfigDialog, OnlyClicksAreCommands) {
    open();
    const WPARAM notClicks[] = {MAKEWPARAM(IDOK, 1), MAKEWPARAM(IDC_APPLY, 1), MAKEWPARAM(IDCANCEL, 1),
                                MAKEWPARAM(IDOK, BN_DOUBLECLICKED)};
    for (WPARAM wParam : notClicks) {
        command(wParam);
        EXPECT_EQ(g_app.config.dialog, dialog_);
        EXPECT_TRUE(applyEnabled());
        EXPECT_FALSE(keyExists());
        EnableWindow(item(IDC_APPLY), FALSE);
    }
    // A notification from the delay check box does not grey the delay controls.
    CheckDlgButton(dialog_, IDC_DELAY_ENABLED, BST_UNCHECKED);
    command(MAKEWPARAM(IDC_DELAY_ENABLED, 1));
    EXPECT_TRUE(enabled(IDC_DELAY_VALUE));
    command(MAKEWPARAM(IDC_DELAY_ENABLED, BN_CLICKED));
    EXPECT_FALSE(enabled(IDC_DELAY_VALUE));
}

TEST_F(ConfigDialog, DependentControlsFollowTheirCheckBoxes) {
    open();
    click(IDC_DELAY_ENABLED);
    for (int id : {IDC_DELAY_LABEL, IDC_DELAY_VALUE, IDC_DELAY_UNIT, IDC_RESTART_ON_MOVE})
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_TRUE(enabled(IDC_REMOVE_ICON));
    click(IDC_DELAY_ENABLED);
    for (int id : {IDC_DELAY_LABEL, IDC_DELAY_VALUE, IDC_DELAY_UNIT, IDC_RESTART_ON_MOVE})
        EXPECT_TRUE(enabled(id)) << id;
    click(IDC_SHOW_ICON);
    EXPECT_FALSE(enabled(IDC_REMOVE_ICON));
    EXPECT_TRUE(enabled(IDC_DELAY_VALUE));
    click(IDC_SHOW_ICON);
    EXPECT_TRUE(enabled(IDC_REMOVE_ICON));
}

struct DelayCase {
    const char* typed;
    DWORD expected;
    const char* shown;  // the box after Apply
};

// Only what the next start reads back is stored, and the box shows it.
TEST_F(ConfigDialog, DelayBoxIsLimitedAndSaved) {
    const DelayCase cases[] = {
        {"2500", 2000, "2000"},       {"2000", 2000, "2000"},     {"1999", 1999, "1999"},
        {"1", 1, "1"},                {"0", 1, "1"},              {"", 1, "1"},
        {"4294967295", 2000, "2000"}, {"4294967296", 1, "1"},     {"99999999999999999999", 1, "1"},
        {"0750", 750, "0750"},
    };
    open();
    for (const DelayCase& c : cases) {
        g_app.settings.delayMs = 123;
        typeDelay(c.typed);
        click(IDC_APPLY);
        EXPECT_EQ(g_app.settings.delayMs, c.expected) << "\"" << c.typed << "\"";
        EXPECT_EQ(storedText("ValeurTempo"), sz(std::to_string(c.expected).c_str())) << "\"" << c.typed << "\"";
        EXPECT_EQ(delayBoxText(), c.shown) << "\"" << c.typed << "\"";
        EXPECT_FALSE(applyEnabled()) << "\"" << c.typed << "\"";
    }
    typeDelay("0");
    command(IDOK);
    open();
    EXPECT_EQ(delayBoxText(), "1");
}

TEST_F(ConfigDialog, GreyedControlsAreStillApplied) {
    runWith(make(1, 200, 1, 1, 1, 1, 0, 1));
    open();
    typeDelay("750");
    click(IDC_RESTART_ON_MOVE);
    click(IDC_REMOVE_ICON);
    click(IDC_DELAY_ENABLED);
    click(IDC_SHOW_ICON);
    ASSERT_FALSE(enabled(IDC_DELAY_VALUE));
    ASSERT_FALSE(enabled(IDC_RESTART_ON_MOVE));
    ASSERT_FALSE(enabled(IDC_REMOVE_ICON));
    click(IDOK);
    EXPECT_EQ(g_app.config.dialog, nullptr);
    const Settings& s = g_app.settings;
    EXPECT_EQ(s.delayEnabled, 0u);
    EXPECT_EQ(s.delayMs, 750u);
    EXPECT_EQ(s.restartDelayOnMove, 0u);
    EXPECT_EQ(s.showTrayIcon, 0u);
    EXPECT_EQ(s.removeIconAfterTimeout, 1u);
    EXPECT_EQ(storedText("Temporiser"), sz("0"));
    EXPECT_EQ(storedText("ValeurTempo"), sz("750"));
    EXPECT_EQ(storedText("RelanceTempo"), sz("0"));
    EXPECT_EQ(storedText("VoirIcone"), sz("0"));
    EXPECT_EQ(storedText("SupprimerIconeApresTempo"), sz("1"));
    // The icon went away with its box; removal without an icon starts no timer.
    EXPECT_FALSE(iconPresent());
    EXPECT_FALSE(removalTimerRan());
}

// Every OK and every Apply writes every value, changed or not.
TEST_F(ConfigDialog, OkAndApplyWriteEveryValue) {
    const Settings settings = make(0, 1500, 1, 0, 1, 0, 1, 0);
    const char* texts[8] = {"0", "1500", "1", "0", "1", "0", "1", "0"};
    for (WPARAM button : {static_cast<WPARAM>(IDC_APPLY), static_cast<WPARAM>(IDOK)}) {
        deleteKey();
        g_app.settings = settings;
        open();
        // Apply needs a change to be enabled: one that undoes itself.
        if (button == IDC_APPLY) {
            click(IDC_HIGHLIGHT);
            click(IDC_HIGHLIGHT);
        }
        click(static_cast<int>(button));
        const std::vector<StoredValue> all = readAll();
        EXPECT_EQ(all.size(), 12u);
        for (size_t i = 0; i < 8; ++i)
            EXPECT_EQ(storedText(VALUE_NAMES[i].name), sz(texts[i])) << VALUE_NAMES[i].name;
        EXPECT_EQ(g_app.config.dialog == nullptr, button == IDOK);
    }
}

TEST_F(ConfigDialog, EachCheckBoxReachesItsSetting) {
    DWORD Settings::* const fields[] = {&Settings::delayEnabled, &Settings::restartDelayOnMove,
                                        &Settings::overTopmost,  &Settings::sendBackAfterUse,
                                        &Settings::showTrayIcon, &Settings::removeIconAfterTimeout,
                                        &Settings::highlight,    &Settings::allScreens,
                                        &Settings::avoidFullScreen};
    for (size_t i = 0; i < 9; ++i) {
        g_app.settings = Settings{};
        const Settings before = g_app.settings;
        open();
        click(CHECK_BOXES[i]);
        click(IDOK);
        for (size_t j = 0; j < 9; ++j) {
            const DWORD expected = i == j ? 1 - before.*fields[j] : before.*fields[j];
            EXPECT_EQ(g_app.settings.*fields[j], expected) << "box " << CHECK_BOXES[i] << " field " << j;
        }
        EXPECT_EQ(g_app.settings.delayMs, 200u);
        removalTimerRan();
        hideTrayIcon();
    }
}

TEST_F(ConfigDialog, CancelAfterApplyKeepsWhatWasApplied) {
    open();
    click(IDC_HIGHLIGHT);
    typeDelay("900");
    click(IDC_APPLY);
    click(IDC_OVER_TOPMOST);
    typeDelay("100");
    click(IDCANCEL);
    EXPECT_EQ(g_app.config.dialog, nullptr);
    EXPECT_FALSE(IsWindow(dialog_));
    EXPECT_EQ(g_app.settings.highlight, 0u);
    EXPECT_EQ(g_app.settings.delayMs, 900u);
    EXPECT_EQ(g_app.settings.overTopmost, 1u);
    EXPECT_EQ(storedText("Surbrillance"), sz("0"));
    EXPECT_EQ(storedText("ValeurTempo"), sz("900"));
    EXPECT_EQ(storedText("DevantToujoursVisibles"), sz("1"));
}

TEST_F(ConfigDialog, CancelAndCloseSaveNothing) {
    for (int way = 0; way < 4; ++way) {
        open();
        click(IDC_HIGHLIGHT);
        switch (way) {
        case 0: click(IDCANCEL); break;
        case 1: SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        // Not SC_CLOSE itself: the dialog manager turns it into Cancel.
        case 2: SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE | 2, 0); break;
        case 3: SendMessageA(dialog_, WM_CLOSE, 0, 0); break;
        }
        pumpDialogMessages();
        EXPECT_FALSE(IsWindow(dialog_)) << way;
        EXPECT_EQ(g_app.config.dialog, nullptr) << way;
        EXPECT_EQ(g_app.settings.highlight, 1u) << way;
        EXPECT_FALSE(keyExists()) << way;
    }
}

TEST_F(ConfigDialog, EnterIsOkAndEscapeIsCancel) {
    open();
    click(IDC_HIGHLIGHT);
    pressKey(VK_ESCAPE);
    EXPECT_EQ(g_app.config.dialog, nullptr);
    EXPECT_EQ(g_app.settings.highlight, 1u);
    EXPECT_FALSE(keyExists());

    open();
    click(IDC_HIGHLIGHT);
    pressKey(VK_RETURN);
    EXPECT_EQ(g_app.config.dialog, nullptr);
    EXPECT_EQ(g_app.settings.highlight, 0u);
    EXPECT_EQ(storedText("Surbrillance"), sz("0"));
}

// A click on Apply gives it the focus; once it is disabled the keyboard must
// still work: Escape cancels, and Enter after another change is OK.
TEST_F(ConfigDialog, ApplyHandsTheKeyboardOnBeforeItIsDisabled) {
    open();
    click(IDC_HIGHLIGHT);
    SetFocus(item(IDC_APPLY));
    click(IDC_APPLY);
    ASSERT_FALSE(applyEnabled());
    HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    EXPECT_NE(focus, item(IDC_APPLY));
    EXPECT_EQ(GetParent(focus), dialog_);
    EXPECT_EQ(SendMessageA(dialog_, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    click(IDC_SEND_BACK);
    pressKey(VK_RETURN);
    EXPECT_EQ(g_app.config.dialog, nullptr) << "Enter did not reach OK";
    EXPECT_EQ(g_app.settings.sendBackAfterUse, 0u);

    open();
    SetFocus(item(IDC_APPLY));
    click(IDC_HIGHLIGHT);
    SetFocus(item(IDC_APPLY));
    click(IDC_APPLY);
    pressKey(VK_ESCAPE);
    EXPECT_EQ(g_app.config.dialog, nullptr) << "Escape did not cancel";
}

TEST_F(ConfigDialog, SecondOpenRaisesTheFirst) {
    open();
    const HWND first = dialog_;
    openConfigDialog();
    pumpDialogMessages();
    EXPECT_EQ(g_app.config.dialog, first);
    int count = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, DIALOG_CLASS, nullptr); w != nullptr;
         w = FindWindowExA(nullptr, w, DIALOG_CLASS, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == GetCurrentProcessId())
            ++count;
    }
    EXPECT_EQ(count, 1);
    command(IDOK);
    EXPECT_EQ(g_app.config.dialog, nullptr);
    open();
    EXPECT_NE(g_app.config.dialog, nullptr);
}

// Icon and removal timer after OK, from how the program ran and which boxes
// were clicked.
struct IconCase {
    const char* name;
    DWORD show, remove;        // settings before the dialog opened
    bool iconRemoved;          // the removal timer already took the icon away
    std::vector<int> clicks;   // in this order
    bool iconAfter, timerAfter;
    DWORD showAfter, removeAfter;
};

void PrintTo(const IconCase& c, std::ostream* os) {
    *os << c.name;
}

class IconRules : public ConfigDialog, public ::testing::WithParamInterface<IconCase> {};

TEST_P(IconRules, AfterOk) {
    const IconCase& c = GetParam();
    Settings settings;
    settings.showTrayIcon = c.show;
    settings.removeIconAfterTimeout = c.remove;
    runWith(settings);
    if (c.iconRemoved) {
        hideTrayIcon();
        KillTimer(g_app.program.mainWindow, TIMER_ICON_REMOVAL);
    }
    open();
    for (int id : c.clicks)
        click(id);
    click(IDOK);
    EXPECT_EQ(g_app.config.dialog, nullptr);
    EXPECT_EQ(iconPresent(), c.iconAfter);
    EXPECT_EQ(removalTimerRan(), c.timerAfter);
    EXPECT_EQ(g_app.settings.showTrayIcon, c.showAfter);
    EXPECT_EQ(g_app.settings.removeIconAfterTimeout, c.removeAfter);
}

const IconCase kIconCases[] = {
    {"nothing changed", 1, 0, false, {}, true, false, 1, 0},
    {"nothing changed keeps the timer", 1, 1, false, {}, true, true, 1, 1},
    {"removal switched on", 1, 0, false, {IDC_REMOVE_ICON}, true, true, 1, 1},
    {"removal switched off", 1, 1, false, {IDC_REMOVE_ICON}, true, false, 1, 0},
    {"icon switched off", 1, 0, false, {IDC_SHOW_ICON}, false, false, 0, 0},
    {"icon switched off with removal on", 1, 1, false, {IDC_SHOW_ICON}, false, true, 0, 1},
    {"icon switched on", 0, 0, false, {IDC_SHOW_ICON}, true, false, 1, 0},
    {"icon switched on with removal checked", 0, 1, false, {IDC_SHOW_ICON}, true, true, 1, 1},
    {"icon and removal switched on", 0, 0, false, {IDC_SHOW_ICON, IDC_REMOVE_ICON}, true, true, 1, 1},
    {"removal on, then icon off", 1, 0, false, {IDC_REMOVE_ICON, IDC_SHOW_ICON}, false, false, 0, 1},
    {"icon off and on again", 1, 0, false, {IDC_SHOW_ICON, IDC_SHOW_ICON}, true, false, 1, 0},
    {"icon off and on after removal", 1, 1, true, {IDC_SHOW_ICON, IDC_SHOW_ICON}, false, false, 1, 1},
    {"OK after removal", 1, 1, true, {}, false, false, 1, 1},
    {"removal off after removal", 1, 1, true, {IDC_REMOVE_ICON}, false, false, 1, 0},
};
INSTANTIATE_TEST_SUITE_P(Icon, IconRules, ::testing::ValuesIn(kIconCases),
                         [](const ::testing::TestParamInfo<IconCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

// After the timer took the icon away, unchecking with Apply and checking
// again with Apply brings it back, with its removal timer.
TEST_F(ConfigDialog, IconComesBackThroughTwoApplies) {
    Settings settings;
    settings.removeIconAfterTimeout = 1;
    runWith(settings);
    hideTrayIcon();
    KillTimer(g_app.program.mainWindow, TIMER_ICON_REMOVAL);
    open();
    click(IDC_SHOW_ICON);
    click(IDC_APPLY);
    EXPECT_FALSE(iconPresent());
    click(IDC_SHOW_ICON);
    click(IDC_APPLY);
    EXPECT_TRUE(iconPresent());
    EXPECT_TRUE(removalTimerRan());
}

}  // namespace

namespace {

// The box holds the list as stored, names outside the ANSI code page too. A
// list past its limit is refused as a whole: OK keeps the dialog open, says
// why, and stores nothing.
TEST_F(ConfigDialog, ListOfProgramsIsShownAsStoredAndRefusedPastItsLimit) {
    const std::wstring names = L"\u0141\u00f3d\u017a.exe; game.exe";
    lstrcpyW(neverOverList().names, names.c_str());
    open();
    WCHAR shown[64] = {};
    GetDlgItemTextW(dialog_, IDC_NEVER_OVER, shown, 64);
    EXPECT_EQ(names, shown);
    EXPECT_FALSE(IsWindowVisible(item(IDC_NEVER_OVER_TOO_LONG)));

    const std::wstring tooLong(1025, L'a');
    SetDlgItemTextW(dialog_, IDC_NEVER_OVER, tooLong.c_str());
    click(IDC_HIGHLIGHT);
    click(IDOK);
    EXPECT_EQ(g_app.config.dialog, dialog_) << "OK closed the dialog";
    EXPECT_TRUE(IsWindowVisible(item(IDC_NEVER_OVER_TOO_LONG)));
    EXPECT_FALSE(keyExists());
    EXPECT_EQ(names, neverOverList().names);
    EXPECT_EQ(1u, g_app.settings.highlight);

    SetDlgItemTextW(dialog_, IDC_NEVER_OVER, tooLong.c_str() + 1);
    click(IDOK);
    EXPECT_EQ(g_app.config.dialog, nullptr);
    EXPECT_EQ(1024, lstrlenW(neverOverList().names));
}

// A name typed outside the ANSI code page (an input method, the emoji panel)
// reaches the list as typed: the box is a wide window, and the program's own
// loop hands its characters on whole.
TEST_F(ConfigDialog, ANameTypedOutsideTheCodePageIsKept) {
    open();
    HWND box = item(IDC_NEVER_OVER);
    EXPECT_TRUE(IsWindowUnicode(box));
    SetFocus(box);
    for (const WCHAR* typed = L"\u0141\u00f3d\u017a.exe"; *typed != 0; ++typed)
        PostMessageW(box, WM_CHAR, *typed, 1);
    PostQuitMessage(0);
    EXPECT_EQ(0, runMessageLoop());
    click(IDOK);
    EXPECT_STREQ(L"\u0141\u00f3d\u017a.exe", neverOverList().names);
}

}  // namespace
