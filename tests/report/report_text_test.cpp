#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "report/report_text.h"

namespace {

std::string written(const std::function<void(ReportText&)>& write, size_t capacity = 4096) {
    std::string bytes(capacity, '\0');
    ReportText text = {&bytes[0], capacity, 0};
    write(text);
    EXPECT_LE(text.length, capacity);
    return bytes.substr(0, text.length);
}

const Rect BAR = {0, 748, 1024, 768};
const ReportTime NOON = {2026, 12, 9, 14, 3, 11}, EARLY = {2027, 1, 2, 3, 4, 5};

TEST(ReportText, EveryLineInItsForm) {
    const ReportWindow cover = {L"PendrelCover", L"e2e_driver.exe", false}, clock = {L"Clock", L"", true};
    const ReportWindow three[] = {cover, clock, {L"", nullptr, false}};
    struct {
        std::function<void(ReportText&)> write;
        const char* expected;
    } cases[] = {
        {[](ReportText& t) { reportHead(t, "2.1.0", WindowsVersion{10, 0, 22631}, NOON, false); },
         "Pendrel report\r\nversion: 2.1.0\r\nwindows: 10.0.22631\r\ntime: 2026-12-09 14:03:11\r\ncomposited: no\r\n"},
        {[](ReportText& t) { reportHead(t, "2.1.0", WindowsVersion{6, 1, 7601}, EARLY, true); },
         "Pendrel report\r\nversion: 2.1.0\r\nwindows: 6.1.7601\r\ntime: 2027-01-02 03:04:05\r\ncomposited: yes\r\n"},
        {[](ReportText& t) { reportMonitor(t, 1, Rect{0, 0, 1024, 768}, 96, true); },
         "monitor 1: 0,0,1024,768 dpi 96 primary\r\n"},
        {[](ReportText& t) { reportMonitor(t, 2, Rect{-1920, -8, 0, 1072}, 144, false); },
         "monitor 2: -1920,-8,0,1072 dpi 144 secondary\r\n"},
        {[](ReportText& t) { reportTaskbar(t, 1, L"Shell_TrayWnd", 3, BAR, true, false, 1); },
         "taskbar 1: Shell_TrayWnd bottom 0,748,1024,768 topmost yes autohide no monitor 1\r\n"},
        {[](ReportText& t) { reportTaskbar(t, 2, L"Shell_SecondaryTrayWnd", 0, BAR, false, true, 2); },
         "taskbar 2: Shell_SecondaryTrayWnd left 0,748,1024,768 topmost no autohide yes monitor 2\r\n"},
        {[](ReportText& t) { reportTaskbar(t, 3, nullptr, 7, BAR, false, false, 0); },
         "taskbar 3: ? ? 0,748,1024,768 topmost no autohide no monitor 0\r\n"},
        {[](ReportText& t) { reportStrip(t, 1, BAR, false, nullptr, 0, false); },
         "strip 1: 0,748,1024,768 out of the way, over it: none\r\n"},
        {[&](ReportText& t) { reportStrip(t, 1, BAR, true, &cover, 1, false); },
         "strip 1: 0,748,1024,768 catching, over it: PendrelCover \"e2e_driver.exe\"\r\n"},
        {[&](ReportText& t) { reportStrip(t, 2, BAR, true, three, 3, true); },
         "strip 2: 0,748,1024,768 catching, over it: PendrelCover \"e2e_driver.exe\", Clock \"?\" (left alone), "
         "? \"?\", ...\r\n"},
        {[](ReportText& t) { reportFront(t, 1, nullptr, BAR, true, true); }, "front 1: none\r\n"},
        {[&](ReportText& t) { reportFront(t, 1, &cover, Rect{0, 0, 1024, 768}, true, false); },
         "front 1: PendrelCover \"e2e_driver.exe\" 0,0,1024,768 fills yes cursor hidden no\r\n"},
        {[&](ReportText& t) { reportFront(t, 2, &clock, BAR, false, true); },
         "front 2: Clock \"?\" 0,748,1024,768 fills no cursor hidden yes\r\n"},
        {[](ReportText& t) { reportNotificationState(t, 5); }, "notification state: 5\r\n"},
        {[](ReportText& t) { reportState(t, false, ASIDE_GAME, L"x.exe"); }, "state: not running\r\n"},
        {[](ReportText& t) { reportState(t, true, ASIDE_NONE, L""); }, "state: active\r\n"},
        {[](ReportText& t) { reportState(t, true, ASIDE_PAUSED, L""); }, "state: paused\r\n"},
        {[](ReportText& t) { reportState(t, true, ASIDE_LISTED, L"Game.EXE"); },
         "state: standing aside for Game.EXE (listed)\r\n"},
        {[](ReportText& t) { reportState(t, true, ASIDE_FULL_SCREEN, L"show.exe"); },
         "state: standing aside for show.exe (full screen)\r\n"},
        {[](ReportText& t) { reportState(t, true, ASIDE_GAME, L""); }, "state: standing aside for ? (game)\r\n"},
        {[](ReportText& t) { reportLastBlocked(t, nullptr, NOON); }, "last blocked: none\r\n"},
        {[](ReportText& t) { reportLastBlocked(t, L"clock.exe", EARLY); }, "last blocked: clock.exe at 03:04:05\r\n"},
        {[](ReportText& t) { reportRaises(t, 4294967295u, 12); }, "raises: 4294967295, blocked: 12\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, written(c.write));
}

std::string setting(const StoredValue& value) {
    return written([&](ReportText& t) { reportSetting(t, L"Temporiser", value); });
}

TEST(ReportText, AStoredValueAsTheRegistryHoldsIt) {
    const std::wstring long127(127, L'x'), long128 = long127 + L"y";
    const wchar_t withNul[] = L"1\0" L"2", list[] = L"game.exe; C:\\Users\\ann\\Games\\Other.EXE;x/y.exe";
    EXPECT_EQ("setting Temporiser: (not stored)\r\n", setting(StoredValue{STORED_NONE, 0, nullptr, 0, false}));
    EXPECT_EQ("setting Temporiser: (not text, type 4)\r\n",
              setting(StoredValue{STORED_OTHER_TYPE, 4, L"\x01", 2, false}));
    EXPECT_EQ("setting Temporiser: (too long to show)\r\n", setting(StoredValue{STORED_TOO_LONG, 1, L"", 0, false}));
    EXPECT_EQ("setting Temporiser: \"1\"\r\n", setting(StoredValue{STORED_TEXT, 1, withNul, 4, false}));
    EXPECT_EQ("setting Temporiser: \"\"\r\n", setting(StoredValue{STORED_TEXT, 1, L"", 0, false}));
    EXPECT_EQ("setting Temporiser: \"a?b\"\r\n", setting(StoredValue{STORED_TEXT, 1, L"a\nb", 3, false}));
    EXPECT_EQ("setting Temporiser: \"C:\\x\\1\"\r\n", setting(StoredValue{STORED_TEXT, 1, L"C:\\x\\1", 6, false}));
    EXPECT_EQ("setting Temporiser: \"" + std::string(127, 'x') + "\"\r\n",
              setting(StoredValue{STORED_TEXT, 1, long127.c_str(), 127, false}));
    EXPECT_EQ("setting Temporiser: \"" + std::string(127, 'x') + "\"...\r\n",
              setting(StoredValue{STORED_TEXT, 1, long128.c_str(), 128, false}));
    // A user's list: the folders of a path are left out, user names with them.
    EXPECT_EQ("setting Temporiser: \"game.exe;Other.EXE;y.exe\"\r\n",
              setting(StoredValue{STORED_TEXT, 1, list, sizeof list / sizeof list[0], true}));
    // The budget is the whole list's, not each entry's.
    const std::wstring three = std::wstring(60, L'x') + L";" + std::wstring(60, L'y') + L";" + std::wstring(60, L'z');
    EXPECT_EQ("setting Temporiser: \"" + std::string(60, 'x') + ";" + std::string(60, 'y') + ";zzzzz\"...\r\n",
              setting(StoredValue{STORED_TEXT, 1, three.c_str(), three.size(), true}));
}

TEST(ReportText, NamesAreUtf8AndCut) {
    const std::wstring name63(63, L'n');
    struct {
        std::wstring name;
        std::string expected;
    } cases[] = {
        {name63, std::string(63, 'n')},
        {name63 + L"z", std::string(63, 'n')},
        {L"caf\u00E9", "caf\xC3\xA9"},
        {L"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},  // the last of two bytes, the first of three
        {L"a\x7F" L"b", "a?b"},                             // DEL breaks a line as much as a control does
        {L"\u20AC", "\xE2\x82\xAC"},
        {std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}, "\xF0\x9F\x98\x80"},  // a UTF-16 pair
        {std::wstring{wchar_t(0xD800), wchar_t(0xDC00)}, "\xF0\x90\x80\x80"},  // the first of four bytes
        {std::wstring{wchar_t(0xDBFF), wchar_t(0xDFFF)}, "\xF4\x8F\xBF\xBF"},  // the last code point
        {std::wstring{wchar_t(0xDE00), L'a'}, "\xEF\xBF\xBD" "a"},          // half a pair
        {name63.substr(1) + wchar_t(0xD83D) + wchar_t(0xDE00), std::string(62, 'n') + "\xEF\xBF\xBD"},
    };
    // Past the last code point, where wide characters are 32 bits wide.
    if (sizeof(wchar_t) == 4)
        EXPECT_EQ("state: standing aside for \xEF\xBF\xBD (listed)\r\n", written([](ReportText& t) {
                      const wchar_t beyond[] = {static_cast<wchar_t>(0x110000), L'\0'};
                      reportState(t, true, ASIDE_LISTED, beyond);
                  }));
    for (const auto& c : cases)
        EXPECT_EQ("state: standing aside for " + c.expected + " (listed)\r\n",
                  written([&](ReportText& t) { reportState(t, true, ASIDE_LISTED, c.name.c_str()); }))
            << c.expected;
}

TEST(ReportText, NothingPastTheBuffer) {
    // What does not fit is left out, a character whole or not at all.
    EXPECT_EQ("raises: 1", written([](ReportText& t) { reportRaises(t, 1, 2); }, 9));
    EXPECT_EQ("state: standing aside for caf", written([](ReportText& t) {
                  reportState(t, true, ASIDE_LISTED, L"caf\u00E9");
              }, 30));
    EXPECT_EQ("", written([](ReportText& t) { reportRaises(t, 1, 2); }, 0));
}

}  // namespace
