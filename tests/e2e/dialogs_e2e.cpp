// Both dialogs of the real program on the Wine desktop: kept as screenshots
// so that clipped texts or misplaced controls can be seen, and driven with
// the keyboard.
#include "e2e/support.h"

#include <commctrl.h>

namespace e2e {
namespace {

// The delay the scenario sets in the dialog.
const DWORD NEW_DELAY_MS = 2000;

class Dialogs : public PendrelTest {
protected:
    // A click on a bare spot of the dialog, below its tabs and left of its
    // buttons, makes it the foreground window, which keys go to.
    static bool clickIntoForeground(HWND dialog) {
        RECT client = {};
        GetClientRect(dialog, &client);
        POINT bare = {client.left + 6, client.bottom - 6};
        ClientToScreen(dialog, &bare);
        return leftClickAt(bare.x, bare.y) &&
               waitUntil([&] { return GetForegroundWindow() == dialog; }, EFFECT_BOUND_MS);
    }
    // The program puts its strip back in front of a cover raised or
    // activated later, at a poll.
    bool stripInFront(const Pendrel& copy) {
        const POINT onStrip = {500, strip_.top + STRIP_DEPTH / 2};
        return waitUntil([&] { return rootWindowAt(onStrip) == copy.window; }, EFFECT_BOUND_MS);
    }
    static bool clickControl(HWND dialog, int id) {
        const RECT r = windowRect(GetDlgItem(dialog, id));
        return leftClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

const wchar_t RUN_KEY[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t RUN_VALUE[] = L"" PENDREL_RUN_VALUE;

std::wstring readRunValue() {
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<none>";
    return text;
}

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

// A copy in a folder named outside the ANSI code page, which the narrow
// functions turn into a look-alike ("Łódź" into "Lódz"): a Run value naming
// the look-alike leaves the box unchecked, and checking it writes the real
// path, which reads back checked.
TEST_F(Dialogs, SignInFromAFolderNamedOutsideTheCodePage) {
    wchar_t temp[MAX_PATH] = {}, original[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    MultiByteToWideChar(CP_ACP, 0, besideDriver(PENDREL_EXE).c_str(), -1, original, MAX_PATH);
    const std::wstring folder = temp + std::wstring(L"\u0141\u00F3d\u017A"), exe = folder + L"\\pendrel.exe";
    const std::wstring lookAlike = L"\"" + std::wstring(temp) + L"L\u00F3dz\\pendrel.exe\"";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(original, exe.c_str(), FALSE));
    RegSetKeyValueW(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE, REG_SZ, lookAlike.c_str(),
                    static_cast<DWORD>((lookAlike.size() + 1) * sizeof(wchar_t)));
    Pendrel& copy = launch(exe);
    ASSERT_NE(copy.window, nullptr);

    HWND config = openDialog(copy, IDM_CONFIG, PENDREL_CONFIG_TITLE);
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(config, IDC_START_AT_SIGN_IN), static_cast<UINT>(BST_UNCHECKED));
    SendMessageA(GetDlgItem(config, IDC_START_AT_SIGN_IN), BM_CLICK, 0, 0);
    EXPECT_TRUE(closeDialog(config, WM_COMMAND, IDOK));
    EXPECT_EQ(readRunValue(), L"\"" + exe + L"\"");
    config = openDialog(copy, IDM_CONFIG, PENDREL_CONFIG_TITLE);
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(config, IDC_START_AT_SIGN_IN), static_cast<UINT>(BST_CHECKED));
    EXPECT_TRUE(closeDialog(config));

    stopProgram(copy);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE);
    DeleteFileW(exe.c_str());
    RemoveDirectoryW(folder.c_str());
}

// Settings changed in the open dialog act at once on the running program,
// after the defaults were seen acting: the highlight off, a delay of two
// seconds, no strip for another screen's taskbar (a stand-in on this one
// monitor), and a shortcut.
TEST_F(Dialogs, SettingsChangedInTheOpenDialogActAtOnce) {
    const RECT otherBar = {0, 0, 1024, 30};
    const POINT onStrip = {500, strip_.top + STRIP_DEPTH / 2};
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    StandInTaskbar other;
    ASSERT_TRUE(other.show(SECONDARY_TASKBAR_CLASS_NAME, otherBar));
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    auto otherStrip = [&] { return findWindowOf(copy.pid, PENDREL_STRIP_CLASS, nullptr); };
    ASSERT_TRUE(waitUntil([&] { return otherStrip() != nullptr; }, EFFECT_BOUND_MS)) << "no strip for the other taskbar";
    ASSERT_TRUE(cover_.raise() && stripInFront(copy));
    ASSERT_TRUE(placePointerForGood(onStrip.x, onStrip.y));
    EXPECT_TRUE(waitUntil([&] { return stripAllOfColour(strip_, highlight); }, EFFECT_BOUND_MS)) << "unlit";
    ASSERT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "the defaults did not raise the taskbar";
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    ASSERT_TRUE(waitUntil(taskbarReleased, EFFECT_BOUND_MS));
    cover_.lower();

    HWND config = openDialog(copy, IDM_CONFIG, PENDREL_CONFIG_TITLE);
    ASSERT_NE(config, nullptr);
    ASSERT_TRUE(clickControl(config, IDC_HIGHLIGHT));
    ASSERT_TRUE(clickControl(config, IDC_ALL_SCREENS));
    const std::string delayText = std::to_string(NEW_DELAY_MS);
    SendMessageA(GetDlgItem(config, IDC_DELAY_VALUE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(delayText.c_str()));
    SendMessageA(GetDlgItem(config, IDC_HOT_KEY), HKM_SETHOTKEY, MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    ASSERT_TRUE(waitUntil([&] { return IsWindowEnabled(GetDlgItem(config, IDOK)) != FALSE; }, EFFECT_BOUND_MS));
    ASSERT_TRUE(clickControl(config, IDOK));
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(config); }, EFFECT_BOUND_MS)) << "OK did not close the dialog";

    EXPECT_TRUE(waitUntil([&] { return otherStrip() == nullptr; }, EFFECT_BOUND_MS)) << "the other strip stayed";
    ASSERT_TRUE(cover_.raise() && stripInFront(copy));
    // The pointer arrives after this reading of the clock: a raise less than
    // the new delay after it kept the old delay. The raise shows that the
    // program has seen the pointer, which would have lit the strip.
    const double sent = nowMs();
    ASSERT_TRUE(placePointerForGood(onStrip.x, onStrip.y));
    ASSERT_LT(nowMs() - sent, NEW_DELAY_MS / 2) << "the pointer came too late to tell the new delay from the old";
    const double raised = whenSeen(taskbarAboveCover, NEW_DELAY_MS + EFFECT_BOUND_MS);
    ASSERT_NE(raised, NOT_SEEN) << "never raised";
    EXPECT_GE(raised - sent, NEW_DELAY_MS - CLOCK_TICK_MS) << "raised before the new delay ran out";
    EXPECT_TRUE(stripNoneOfColour(strip_, highlight)) << "lit with the highlight off";
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    ASSERT_TRUE(waitUntil(taskbarReleased, EFFECT_BOUND_MS));

    pressCtrlAltT();
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "the new shortcut did nothing";
}

// Keys reach a dialog only when the program's own message loop offers them
// to it. Each row opens a dialog, clicks into it (the configuration dialog on
// its highlight box, a change; then Apply, when asked) and presses one key.
// Apply must leave the keyboard with the dialog: the key is deleted once Apply
// has saved it, so that only a later OK brings the changed value back.
struct KeyRow {
    const char* name;
    UINT command;
    const char* title;
    bool changeHighlight;  // else a click on a bare spot
    bool applyFirst;
    WORD key;
    bool closes;                  // else the focus moves to another control
    const char* highlightStored;  // what the registry then holds; null: not looked at
};

class DialogKeys : public Dialogs, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(DialogKeys, ReachTheDialog) {
    const KeyRow& row = GetParam();
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    HWND dialog = openDialog(copy, row.command, row.title);
    ASSERT_NE(dialog, nullptr);
    // The focus settles on the box clicked, else where the dialog put it.
    if (row.changeHighlight) {
        ASSERT_TRUE(clickControl(dialog, IDC_HIGHLIGHT));
        ASSERT_TRUE(waitUntil([&] { return keyboardFocusOf(dialog) == GetDlgItem(dialog, IDC_HIGHLIGHT); },
                              EFFECT_BOUND_MS));
    } else {
        ASSERT_TRUE(clickIntoForeground(dialog));
        ASSERT_TRUE(waitUntil([&] { return IsChild(dialog, keyboardFocusOf(dialog)) != FALSE; }, EFFECT_BOUND_MS));
    }
    if (row.applyFirst) {
        HWND apply = GetDlgItem(dialog, IDC_APPLY);
        ASSERT_TRUE(clickControl(dialog, IDC_APPLY));
        ASSERT_TRUE(waitUntil([&] { return readSetting(PENDREL_REG_HIGHLIGHT) == "0"; }, EFFECT_BOUND_MS));
        ASSERT_TRUE(waitUntil([&] { return IsWindowEnabled(apply) == FALSE; }, EFFECT_BOUND_MS));
        deleteSettingsKey();
    }
    const HWND focus = keyboardFocusOf(dialog);

    pressKey(row.key);
    if (row.closes) {
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, EFFECT_BOUND_MS))
            << "the dialog stayed open, the focus on " << className(keyboardFocusOf(dialog));
    } else {
        EXPECT_TRUE(waitUntil(
            [&] {
                HWND now = keyboardFocusOf(dialog);
                return now != focus && IsChild(dialog, now);
            },
            EFFECT_BOUND_MS))
            << "the focus stayed on " << className(focus);
    }
    if (row.highlightStored != nullptr) {
        EXPECT_EQ(readSetting(PENDREL_REG_HIGHLIGHT), row.highlightStored);
    }
}

const char* const ABOUT = PENDREL_ABOUT_TITLE;
const char* const CONFIG = PENDREL_CONFIG_TITLE;

INSTANTIATE_TEST_SUITE_P(
    E2E, DialogKeys,
    ::testing::Values(KeyRow{"AboutTab", IDM_ABOUT, ABOUT, false, false, VK_TAB, false, nullptr},
                      KeyRow{"AboutEnter", IDM_ABOUT, ABOUT, false, false, VK_RETURN, true, nullptr},
                      KeyRow{"AboutEscape", IDM_ABOUT, ABOUT, false, false, VK_ESCAPE, true, nullptr},
                      KeyRow{"ConfigTab", IDM_CONFIG, CONFIG, true, false, VK_TAB, false, ""},
                      KeyRow{"ConfigEnterIsOk", IDM_CONFIG, CONFIG, true, false, VK_RETURN, true, "0"},
                      KeyRow{"ConfigEscapeCancels", IDM_CONFIG, CONFIG, true, false, VK_ESCAPE, true, ""},
                      KeyRow{"AfterApplyEnterIsOk", IDM_CONFIG, CONFIG, true, true, VK_RETURN, true, "0"},
                      KeyRow{"AfterApplyEscapeCancels", IDM_CONFIG, CONFIG, true, true, VK_ESCAPE, true, ""}),
    [](const ::testing::TestParamInfo<KeyRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
