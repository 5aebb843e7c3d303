// What a long-running copy meets on a real desktop: a shell that goes away
// and comes back, a taskbar that moves while it is raised, an Exit with both
// dialogs open, stored settings of every shape, and a flood of messages from
// other programs.
#include "e2e/hardship.h"

#include <shellapi.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <ostream>

namespace e2e {
namespace {

// More taskbar rectangles of the stand-in shell. The edge is the shell's own
// report.
const RECT TOP_BAR = {0, 0, 1024, 40};
const RECT TOP_STRIP = {0, 0, 1024, 4};
const RECT EMPTY_RECT = {0, 0, 0, 0};
// Enough for the program to have asked the shell once more.
const DWORD NEXT_ASK_BOUND_MS = 2 * POLL_PERIOD_MS + EFFECT_BOUND_MS;

POINT middleOf(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class Robustness : public StandInShellTest {
protected:
    void SetUp() override {
        // A restricted key left by an interrupted run could not be deleted.
        unrestrictSettingsKey();
        StandInShellTest::SetUp();
    }
    void TearDown() override {
        // Before the key is deleted.
        unrestrictSettingsKey();
        StandInShellTest::TearDown();
    }
    // Two polls that ask the shell. The program asks only when something may
    // have changed: each follows a work-area change, as the shell announces
    // one when its taskbar goes, comes or moves.
    bool askedTwiceMore(const Pendrel& copy) {
        for (int poll = 0; poll < 2; ++poll) {
            const long asked = shell_.requestsAnswered();
            if (!announceTo(copy.window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0) ||
                !waitUntil([&] { return shell_.requestsAnswered() > asked; }, NEXT_ASK_BOUND_MS))
                return false;
        }
        return true;
    }
    // The stand-in taskbar is in front of the cover at its middle.
    bool standInRaised() { return rootWindowAt(middleOf(windowRect(shell_.taskbar()))) == shell_.taskbar(); }
    bool waitCount(HWND about, long count) {
        return waitUntil([&] { return countShownInAbout(about) == count; }, EFFECT_BOUND_MS);
    }
};

// The shell ends and a new one starts, with its taskbar along the top edge.
// Ending the real shell would end the whole Wine desktop: its end is what the
// program can see of it (the icon forgotten, no taskbar rectangle), and the
// new shell is the stand-in with a taskbar window of its own. The old taskbar
// window cannot be taken away, so nothing is moved over the strip while
// "no shell" runs: a raise of the window that is still there would be right.
TEST_F(Robustness, ShellRestartBringsTheIconBackAndTheNewTaskbarIsRaised) {
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    ASSERT_TRUE(waitUntil([&] { return trayIconPresent(copy.window); }, EFFECT_BOUND_MS));
    HWND about = openAbout(copy);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(waitCount(about, 0));

    START_STAND_IN_SHELL_OR_SKIP();
    shell_.reportNoTaskbar();
    ASSERT_TRUE(deleteIconFromOutside(copy.window));
    ASSERT_FALSE(trayIconPresent(copy.window));
    ASSERT_TRUE(askedTwiceMore(copy)) << "the program stopped asking for the taskbar";
    EXPECT_TRUE(isRunning(copy));
    EXPECT_FALSE(messageBoxShown(copy.pid));
    EXPECT_TRUE(sameRect(windowRect(copy.window), strip_)) << "moved without a taskbar rectangle: "
                                                            << describe(windowRect(copy.window));
    EXPECT_EQ(countShownInAbout(about), 0);
    EXPECT_FALSE(trayIconPresent(copy.window)) << "the icon came back before the shell did";

    ASSERT_TRUE(cover_.raise());
    ASSERT_TRUE(shell_.showTaskbar(TOP_BAR));
    shell_.reportTaskbar(TOP_BAR, ABE_TOP);
    const DWORD shellBack = GetTickCount();
    broadcastTaskbarCreated();
    EXPECT_TRUE(waitUntil([&] { return trayIconPresent(copy.window); }, EFFECT_BOUND_MS))
        << "\"TaskbarCreated\" did not bring the icon back";
    ASSERT_TRUE(liesOn(copy, TOP_STRIP)) << describe(windowRect(copy.window));
    RecordProperty("new_strip_after_ms", static_cast<int>(GetTickCount() - shellBack));
    const POINT onNewStrip = {500, TOP_STRIP.top + STRIP_DEPTH / 2};
    ASSERT_TRUE(waitUntil([&] { return rootWindowAt(onNewStrip) == copy.window; }, EFFECT_BOUND_MS))
        << "the TriggerWindow is not in front of the cover";
    EXPECT_FALSE(standInRaised());

    ASSERT_TRUE(movePointer(onNewStrip.x, onNewStrip.y));
    EXPECT_TRUE(waitUntil([&] { return standInRaised(); }, EFFECT_BOUND_MS)) << "the new taskbar was not raised";
    EXPECT_TRUE(waitCount(about, 1)) << windowText(GetDlgItem(about, IDC_COUNTER_LABEL));
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    EXPECT_TRUE(waitUntil([&] { return shell_.timesSentToBottom() == 1; }, EFFECT_BOUND_MS)) << "not released";
    EXPECT_FALSE(standInRaised()) << "the new taskbar stayed in front";
    EXPECT_TRUE(isRunning(copy));
    EXPECT_FALSE(messageBoxShown(copy.pid));
}

// The shell gives no taskbar rectangle from the start: the TriggerWindow stays
// empty, the bottom edge does nothing, and once the shell answers all works.
// (Without any taskbar window at all, clicks included, see the Win32 test
// WithoutATaskbarNothingIsRaisedOrCountedUntilItComesBack: the shell's taskbar
// window of this desktop cannot be taken away from outside.)
TEST_F(Robustness, NoTaskbarFromTheShellForAWhileThenItAnswers) {
    START_STAND_IN_SHELL_OR_SKIP();
    shell_.reportNoTaskbar();
    ASSERT_TRUE(cover_.raise());
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    HWND about = openAbout(copy);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(askedTwiceMore(copy));
    EXPECT_TRUE(sameRect(windowRect(copy.window), EMPTY_RECT)) << describe(windowRect(copy.window));

    // Moves along the edge, then a pointer resting there through two polls.
    for (int x = 20; x < DESKTOP_WIDTH - 20; x += 100)
        ASSERT_TRUE(movePointer(x, strip_.top + STRIP_DEPTH / 2));
    ASSERT_TRUE(askedTwiceMore(copy));
    EXPECT_FALSE(taskbarAboveCover());
    EXPECT_EQ(countShownInAbout(about), 0);
    EXPECT_TRUE(isRunning(copy));
    EXPECT_FALSE(messageBoxShown(copy.pid));

    // The shell answers as Wine's does; the pointer still rests on the edge,
    // so a poll finds it once the strip is there.
    const RECT wineAnswer = {strip_.left, strip_.bottom - 1, strip_.right, strip_.bottom};
    shell_.reportTaskbar(wineAnswer, ABE_BOTTOM);
    broadcastTaskbarCreated();  // as a shell that comes up does
    EXPECT_TRUE(liesOn(copy, strip_)) << describe(windowRect(copy.window));
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "not raised once the shell answered";
    EXPECT_TRUE(waitCount(about, 1)) << windowText(GetDlgItem(about, IDC_COUNTER_LABEL));
}

// The taskbar's rectangle changes while it is raised, to every other edge.
struct MoveRow {
    const char* name;
    RECT bar;
    UINT edge;
    RECT strip;
    bool pointerStillOnIt;
};

// Test lists show the row's name rather than its bytes.
void PrintTo(const MoveRow& row, std::ostream* out) {
    *out << row.name;
}

class MoveWhileRaised : public Robustness, public ::testing::WithParamInterface<MoveRow> {};

TEST_P(MoveWhileRaised, StripFollowsAndTheRaiseEndsNormally) {
    const MoveRow& row = GetParam();
    START_STAND_IN_SHELL_OR_SKIP();
    ASSERT_TRUE(shell_.showTaskbar(BOTTOM_BAR));
    shell_.reportTaskbar(BOTTOM_BAR, ABE_BOTTOM);
    ASSERT_TRUE(cover_.raise());
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(liesOn(copy, BOTTOM_STRIP)) << describe(windowRect(copy.window));
    HWND about = openAbout(copy);
    ASSERT_NE(about, nullptr);
    const POINT onStrip = {500, BOTTOM_STRIP.top + STRIP_DEPTH / 2};
    ASSERT_TRUE(waitUntil([&] { return rootWindowAt(onStrip) == copy.window; }, EFFECT_BOUND_MS));
    ASSERT_TRUE(movePointer(onStrip.x, onStrip.y));
    ASSERT_TRUE(waitUntil([&] { return standInRaised(); }, EFFECT_BOUND_MS)) << "not raised";
    ASSERT_TRUE(waitCount(about, 1));

    ASSERT_TRUE(shell_.showTaskbar(row.bar));
    shell_.reportTaskbar(row.bar, row.edge);
    EXPECT_TRUE(liesOn(copy, row.strip)) << row.name << ": " << describe(windowRect(copy.window));
    if (row.pointerStillOnIt) {
        ASSERT_TRUE(askedTwiceMore(copy));
        EXPECT_TRUE(standInRaised()) << row.name << ": released with the pointer still on the taskbar";
        ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    }
    // Off the taskbar: the raise ends, the taskbar is sent back behind the
    // cover. (The stand-in tells the release itself: under Wine other topmost
    // windows moving can put it behind the cover before.)
    EXPECT_TRUE(waitUntil([&] { return shell_.timesSentToBottom() == 1; }, EFFECT_BOUND_MS))
        << row.name << ": not released";
    EXPECT_FALSE(standInRaised()) << row.name;
    EXPECT_EQ(countShownInAbout(about), 1);

    // A new approach of the new strip, elsewhere than the first, is a new
    // raise, and leaving it a new release.
    const bool alongSide = row.strip.right - row.strip.left < row.strip.bottom - row.strip.top;
    const POINT onNewStrip = alongSide ? POINT{(row.strip.left + row.strip.right) / 2, 600}
                                       : POINT{600, (row.strip.top + row.strip.bottom) / 2};
    ASSERT_TRUE(waitUntil([&] { return rootWindowAt(onNewStrip) == copy.window; }, EFFECT_BOUND_MS));
    ASSERT_TRUE(movePointer(onNewStrip.x, onNewStrip.y));
    EXPECT_TRUE(waitUntil([&] { return standInRaised(); }, EFFECT_BOUND_MS)) << row.name << ": not raised again";
    EXPECT_TRUE(waitCount(about, 2)) << row.name << ": " << windowText(GetDlgItem(about, IDC_COUNTER_LABEL));
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    EXPECT_TRUE(waitUntil([&] { return shell_.timesSentToBottom() == 2; }, EFFECT_BOUND_MS))
        << row.name << ": not released from the new edge";
    EXPECT_FALSE(messageBoxShown(copy.pid));
}

INSTANTIATE_TEST_SUITE_P(
    E2E, MoveWhileRaised,
    ::testing::Values(MoveRow{"ShrinksAroundThePointer", {100, 718, 924, 768}, ABE_BOTTOM, {100, 764, 924, 768}, true},
                      MoveRow{"MovesToTheTopEdge", TOP_BAR, ABE_TOP, TOP_STRIP, false},
                      MoveRow{"MovesToTheLeftEdge", {0, 0, 62, 768}, ABE_LEFT, {0, 0, 4, 768}, false},
                      MoveRow{"MovesToTheRightEdge", {962, 0, 1024, 768}, ABE_RIGHT, {1020, 0, 1024, 768}, false}),
    [](const ::testing::TestParamInfo<MoveRow>& info) { return std::string(info.param.name); });

// Exit while both dialogs are open, one of them with a change not applied.
class ExitWithDialogs : public Robustness, public ::testing::WithParamInterface<bool> {};

TEST_P(ExitWithDialogs, EndsWithCodeZeroAndWritesNothing) {
    // Texts the program reads as 1 but would write otherwise ("1"): a value
    // written again shows even where the system keeps no time of writing.
    if (GetParam()) {
        for (const char* name : ALL_VALUE_NAMES)
            ASSERT_TRUE(writeRawSetting(name, REG_SZ, std::string("01\0", 3)));
    }
    const KeySnapshot before = snapshotSettingsKey();
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitUntil([&] { return trayIconPresent(copy.window); }, EFFECT_BOUND_MS));
    ASSERT_NE(openAbout(copy), nullptr);
    ShownSettings shown;
    HWND config = openConfigAndRead(copy, &shown);
    ASSERT_NE(config, nullptr);
    SendMessageA(GetDlgItem(config, IDC_HIGHLIGHT), BM_CLICK, 0, 0);
    ASSERT_TRUE(roundTripTo(config));

    PostMessageA(copy.window, WM_COMMAND, IDM_EXIT, 0);
    DWORD code = 0xFFFF;
    ASSERT_TRUE(waitForExit(copy, EXIT_BOUND_MS, &code)) << "Exit did not end the program";
    EXPECT_EQ(code, EXIT_OK);
    EXPECT_FALSE(trayIconPresent(copy.window));
    const KeySnapshot after = snapshotSettingsKey();
    EXPECT_TRUE(sameSnapshot(before, after)) << describe(before) << " became " << describe(after);
}

INSTANTIATE_TEST_SUITE_P(E2E, ExitWithDialogs, ::testing::Bool(), [](const ::testing::TestParamInfo<bool>& info) {
    return std::string(info.param ? "WithStoredSettings" : "WithoutTheKey");
});

// Stored settings of every shape. The same bytes are stored under all eight
// names, so one start shows what each rule makes of them: the six yes/no
// settings are on only for exactly 1, icon removal is on for anything but 0,
// the delay takes 1 to 2000 and keeps 200 otherwise; a value that cannot be
// read leaves every setting at its start value.
enum KeyState { KEY_MISSING, KEY_HOLDS_VALUES, KEY_ONLY_READABLE };

struct StoredRow {
    const char* name;
    KeyState key;
    DWORD type;
    std::string bytes;
    bool yesNoOn;
    bool removalOn;
    const char* delay;
};

void PrintTo(const StoredRow& row, std::ostream* out) {
    *out << row.name;
}

// The text followed by 'x' up to the given length.
std::string padded(const char* start, size_t length) {
    std::string text(start);
    text.append(length - text.size(), 'x');
    return text;
}

std::string everyHighByte() {
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

std::string dword(DWORD value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}

std::vector<StoredRow> storedRows() {
    const std::string nul(1, '\0');
    return {
        {"KeyMissing", KEY_MISSING, REG_SZ, "", true, false, "200"},
        {"KeyOnlyReadable", KEY_ONLY_READABLE, REG_SZ, "5" + nul, true, false, "200"},
        {"EmptyText", KEY_HOLDS_VALUES, REG_SZ, "", false, false, "200"},
        {"OnlyANul", KEY_HOLDS_VALUES, REG_SZ, nul, false, false, "200"},
        {"FiveWithItsNul", KEY_HOLDS_VALUES, REG_SZ, "5" + nul, false, true, "5"},
        {"FiveWithoutNul", KEY_HOLDS_VALUES, REG_SZ, "5", false, true, "5"},
        {"OneWithoutNul", KEY_HOLDS_VALUES, REG_SZ, "1", true, true, "1"},
        {"Bytes255EndingInNul", KEY_HOLDS_VALUES, REG_SZ, padded("5", 254) + nul, false, true, "5"},
        {"Bytes255WithoutNul", KEY_HOLDS_VALUES, REG_SZ, padded("5", 255), false, true, "5"},
        {"Bytes256EndingInNul", KEY_HOLDS_VALUES, REG_SZ, padded("5", 255) + nul, true, false, "200"},
        {"Bytes256WithoutNul", KEY_HOLDS_VALUES, REG_SZ, padded("5", 256), true, false, "200"},
        {"Bytes300", KEY_HOLDS_VALUES, REG_SZ, padded("5", 299) + nul, true, false, "200"},
        {"NulBeforeTheDigits", KEY_HOLDS_VALUES, REG_SZ, nul + "5" + nul, false, false, "200"},
        {"DigitsThenNulThenMore", KEY_HOLDS_VALUES, REG_SZ, "1" + nul + "999" + nul, true, true, "1"},
        {"HighByteBeforeTheDigits", KEY_HOLDS_VALUES, REG_SZ, "\xA0" "5" + nul, false, false, "200"},
        {"HighBytesAfterTheDigits", KEY_HOLDS_VALUES, REG_SZ, "5\x80\xE8\xFF" + nul, false, true, "5"},
        {"EveryHighByte", KEY_HOLDS_VALUES, REG_SZ, everyHighByte(), false, false, "200"},
        {"WrapsToOne", KEY_HOLDS_VALUES, REG_SZ, "4294967297" + nul, true, true, "1"},
        {"DelayPastItsRange", KEY_HOLDS_VALUES, REG_SZ, "2001" + nul, false, true, "200"},
        {"DwordOne", KEY_HOLDS_VALUES, REG_DWORD, dword(1), false, false, "200"},
        {"DwordHoldingTheDigitFive", KEY_HOLDS_VALUES, REG_DWORD, dword('5'), false, true, "5"},
        {"BinaryDigits", KEY_HOLDS_VALUES, REG_BINARY, "2000", false, true, "2000"},
        {"MultiString", KEY_HOLDS_VALUES, REG_MULTI_SZ, "5" + nul + "1" + nul + nul, false, true, "5"},
    };
}

class StoredValues : public Robustness, public ::testing::WithParamInterface<StoredRow> {};

TEST_P(StoredValues, StartWithTheDocumentedSettingsAndRewriteNothing) {
    const StoredRow& row = GetParam();
    if (row.key != KEY_MISSING) {
        for (const char* name : ALL_VALUE_NAMES)
            ASSERT_TRUE(writeRawSetting(name, row.type, row.bytes)) << name;
    }
    if (row.key == KEY_ONLY_READABLE) {
        ASSERT_TRUE(restrictSettingsKeyToReading());
        HKEY probe = nullptr;
        ASSERT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, PENDREL_REGISTRY_KEY, 0, KEY_ALL_ACCESS, &probe), ERROR_SUCCESS)
            << "the key still opens with full access";
    }
    const KeySnapshot before = snapshotSettingsKey();

    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ShownSettings shown;
    HWND config = openConfigAndRead(copy, &shown);
    ASSERT_NE(config, nullptr) << row.name << ": no configuration dialog";
    EXPECT_EQ(shown.delayEnabled, row.yesNoOn) << row.name;
    EXPECT_EQ(shown.restartOnMove, row.yesNoOn) << row.name;
    EXPECT_EQ(shown.overTopmost, row.yesNoOn) << row.name;
    EXPECT_EQ(shown.sendBack, row.yesNoOn) << row.name;
    EXPECT_EQ(shown.showIcon, row.yesNoOn) << row.name;
    EXPECT_EQ(shown.highlight, row.yesNoOn) << row.name;
    EXPECT_EQ(shown.removeIcon, row.removalOn) << row.name;
    EXPECT_EQ(shown.delayText, row.delay) << row.name;
    EXPECT_EQ(trayIconPresent(copy.window), row.yesNoOn) << row.name;
    EXPECT_TRUE(isRunning(copy));
    EXPECT_FALSE(messageBoxShown(copy.pid));
    ASSERT_TRUE(closeDialog(config));
    const KeySnapshot running = snapshotSettingsKey();
    EXPECT_TRUE(sameSnapshot(before, running)) << describe(before) << " became " << describe(running);

    DWORD code = 0xFFFF;
    EXPECT_TRUE(stopProgram(copy, &code));
    EXPECT_EQ(code, EXIT_OK);
    const KeySnapshot after = snapshotSettingsKey();
    EXPECT_TRUE(sameSnapshot(before, after)) << describe(before) << " became " << describe(after);
}

INSTANTIATE_TEST_SUITE_P(E2E, StoredValues, ::testing::ValuesIn(storedRows()),
                         [](const ::testing::TestParamInfo<StoredRow>& info) { return std::string(info.param.name); });

// Messages other programs may post to the TriggerWindow, a thousand rounds
// of each with any parameters (Exit aside, which would end the run):
// the program survives them, opens each dialog once, loses nothing.
const int FLOOD_ROUNDS = 1000;
const DWORD FLOOD_BOUND_MS = 60000;
const UINT ICON_DOUBLE_CLICK = 515;     // WM_LBUTTONDBLCLK as the shell reports it over the icon
const UINT ICON_RIGHT_BUTTON_DOWN = 516;  // WM_RBUTTONDOWN: opens the context menu
// What a second flood may add to the first one's figures: a few objects and
// bytes come and go with the system's own doings.
const long GDI_OBJECTS_SLACK = 8;
const SIZE_T PRIVATE_BYTES_SLACK = 2 * 1024 * 1024;

// A fixed-seed generator: every run posts the same flood.
struct Lcg {
    uint32_t state;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state;
    }
};

class Flood : public Robustness {
protected:
    // Opens and closes what the flood will open, so that what is loaded once
    // for good is loaded before the first figures are taken.
    void warmUp(const Pendrel& copy) {
        HWND about = openAbout(copy);
        ASSERT_NE(about, nullptr);
        ASSERT_TRUE(closeDialog(about));
        ShownSettings shown;
        HWND config = openConfigAndRead(copy, &shown);
        ASSERT_NE(config, nullptr);
        ASSERT_TRUE(closeDialog(config));
        PostMessageA(copy.window, WM_TRAY_NOTIFY, TRAY_ICON_ID, ICON_RIGHT_BUTTON_DOWN);
        ASSERT_TRUE(waitUntil([&] { return visibleMenus(copy) == 1; }, EFFECT_BOUND_MS));
        ASSERT_TRUE(closeMenus(copy));
        PostMessageA(copy.window, WM_READD_ICON, 0, 0);
        ASSERT_TRUE(waitUntil([&] { return trayIconPresent(copy.window); }, EFFECT_BOUND_MS));
    }
    static int visibleMenus(const Pendrel& copy) {
        int count = 0;
        HWND menu = nullptr;
        while ((menu = FindWindowExA(nullptr, menu, MENU_CLASS, nullptr)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(menu, &owner);
            count += owner == copy.pid && IsWindowVisible(menu) ? 1 : 0;
        }
        return count;
    }
    // Closes the context menu until none comes back for a while.
    bool closeMenus(const Pendrel& copy) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (visibleMenus(copy) == 0) {
                Sleep(POLL_PERIOD_MS);
                if (visibleMenus(copy) == 0)
                    return true;
            }
            pressKey(VK_ESCAPE);
            if (!waitUntil([&] { return visibleMenus(copy) == 0; }, EFFECT_BOUND_MS))
                PostMessageA(copy.window, WM_CANCELMODE, 0, 0);
        }
        return false;
    }
    // Waits for a dialog the flood opens, then posts Cancel to it: the dialog
    // belongs to the program's thread, so the Cancel comes after the whole
    // flood, and the dialog going tells that all of it was handled. Meanwhile
    // the most windows of each kind seen at once are kept.
    bool drainedThrough(const Pendrel& copy, const char* title) {
        HWND dialog = nullptr;
        bool cancelled = false;
        return waitUntil(
            [&] {
                mostAbouts_ = std::max(mostAbouts_, visibleWindowsTitled(copy.pid, PENDREL_ABOUT_TITLE));
                mostConfigs_ = std::max(mostConfigs_, visibleWindowsTitled(copy.pid, PENDREL_CONFIG_TITLE));
                mostMenus_ = std::max(mostMenus_, visibleMenus(copy));
                if (!cancelled && (dialog = findVisibleWindow(copy.pid, PENDREL_DIALOG_CLASS, title)) != nullptr) {
                    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                    cancelled = true;
                }
                return cancelled && !IsWindow(dialog);
            },
            FLOOD_BOUND_MS);
    }
    // A thousand rounds of each message with any parameters, then a thousand
    // right-button presses over the icon.
    void floodOnce(const Pendrel& copy) {
        int refused = 0;
        for (int round = 0; round < FLOOD_ROUNDS; ++round) {
            // A quarter of the commands are About and Configuration with any
            // high word; the rest anything but Exit.
            WPARAM command = random_.next();
            if (round % 4 == 0)
                command = MAKEWPARAM(round % 8 == 0 ? IDM_ABOUT : IDM_CONFIG, HIWORD(command));
            else if (LOWORD(command) == IDM_EXIT)
                command ^= 1;
            UINT mouse = random_.next();
            if (round % 3 == 0)
                mouse = ICON_DOUBLE_CLICK;
            else if (mouse == ICON_RIGHT_BUTTON_DOWN)
                mouse ^= 1;
            refused += PostMessageA(copy.window, WM_COMMAND, command, random_.next()) ? 0 : 1;
            refused += PostMessageA(copy.window, WM_TRAY_NOTIFY, random_.next(), mouse) ? 0 : 1;
            refused += PostMessageA(copy.window, WM_SECOND_INSTANCE, random_.next(), random_.next()) ? 0 : 1;
            refused += PostMessageA(copy.window, WM_READD_ICON, random_.next(), random_.next()) ? 0 : 1;
        }
        EXPECT_EQ(refused, 0) << "messages the system did not take";
        ASSERT_TRUE(drainedThrough(copy, PENDREL_CONFIG_TITLE)) << "the flood was not handled";
        EXPECT_TRUE(isRunning(copy));
        EXPECT_FALSE(messageBoxShown(copy.pid));
        EXPECT_TRUE(trayIconPresent(copy.window));

        for (int round = 0; round < FLOOD_ROUNDS; ++round)
            PostMessageA(copy.window, WM_TRAY_NOTIFY, random_.next(), ICON_RIGHT_BUTTON_DOWN);
        ASSERT_TRUE(waitUntil([&] { return visibleMenus(copy) == 1; }, EFFECT_BOUND_MS)) << "no menu";
        // While the menu is tracked the rest of the presses arrive.
        const DWORD watchStart = GetTickCount();
        while (GetTickCount() - watchStart < POLL_PERIOD_MS) {
            mostMenus_ = std::max(mostMenus_, visibleMenus(copy));
            Sleep(POLL_STEP_MS);
        }
        ASSERT_TRUE(closeMenus(copy));
        ASSERT_TRUE(drainedThrough(copy, PENDREL_ABOUT_TITLE)) << "the presses were not handled";
        EXPECT_EQ(visibleMenus(copy), 0);
    }

    Lcg random_ = {20240611u};
    int mostAbouts_ = 0;
    int mostConfigs_ = 0;
    int mostMenus_ = 0;
};

TEST_F(Flood, OfPrivateMessagesAndCommandsLeavesOneDialogOfEachKindAndNoLeak) {
    // Thousands of icon re-adds go to the stand-in's notification area: Wine's
    // own keeps a window for every icon it was ever given, and a shell slowed
    // down by thousands of them would slow down every scenario after this one.
    START_STAND_IN_SHELL_OR_SKIP();
    shell_.reportTaskbar({strip_.left, strip_.bottom - 1, strip_.right, strip_.bottom}, ABE_BOTTOM);
    ASSERT_TRUE(shell_.showTaskbar(windowRect(shellTaskbar())));
    Pendrel& copy = launch();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    ASSERT_NO_FATAL_FAILURE(warmUp(copy));
    // Two floods: lost objects grow with each, a cache of the system fills
    // during the first.
    ProcessFigures figures[2];
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_NO_FATAL_FAILURE(floodOnce(copy)) << "flood " << pass + 1;
        figures[pass] = readFigures(copy);
        printf("flood %d: %s\n", pass + 1, describe(figures[pass]).c_str());
    }
    EXPECT_EQ(mostAbouts_, 1);
    EXPECT_EQ(mostConfigs_, 1);
    EXPECT_EQ(mostMenus_, 1);
    RecordProperty("figures_after_first_flood", describe(figures[0]));
    RecordProperty("figures_after_second_flood", describe(figures[1]));
    ASSERT_GE(figures[0].gdiObjects, 0) << "GDI objects cannot be counted here";
    EXPECT_LE(figures[1].gdiObjects, figures[0].gdiObjects + GDI_OBJECTS_SLACK);
    EXPECT_EQ(figures[1].userObjects, figures[0].userObjects);
    EXPECT_LE(figures[1].privateBytes, figures[0].privateBytes + PRIVATE_BYTES_SLACK);

    PostMessageA(copy.window, WM_COMMAND, IDM_EXIT, 0);
    DWORD code = 0xFFFF;
    ASSERT_TRUE(waitForExit(copy, EXIT_BOUND_MS, &code));
    EXPECT_EQ(code, EXIT_OK);
}

}  // namespace
}  // namespace e2e
