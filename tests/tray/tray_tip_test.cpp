#include <gtest/gtest.h>

#include <string>

#include "tray/tray_tip.h"

namespace {

TEST(TrayTip, ThePauseFirstThenAStripStandingAsideThenABlockedRaise) {
    const struct {
        bool paused;
        const wchar_t* aside;
        const wchar_t* blocked;
        TipKind kind;
    } rows[] = {
        {false, nullptr, nullptr, TIP_ACTING},    {true, L"game.exe", L"cover.exe", TIP_PAUSED},
        {false, L"game.exe", L"cover.exe", TIP_ASIDE}, {false, nullptr, L"cover.exe", TIP_BLOCKED},
        {false, L"", L"cover.exe", TIP_BLOCKED},  // a program of no known name is not named
        {false, L"", L"", TIP_ACTING},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.kind, tipKind(r.paused, r.aside, r.blocked)) << r.paused << " " << (r.aside != nullptr);
}

TEST(TrayTip, TheNameTakesThePlaceOfItsMarkAndTheTextIsCutToFit) {
    const struct {
        const wchar_t* format;
        const wchar_t* name;
        size_t size;
        const wchar_t* tip;
    } rows[] = {
        {L"Pendrel (not over %s)", L"game.exe", 128, L"Pendrel (not over game.exe)"},
        {L"Pendrel (%s stayed over the taskbar)", L"x.exe", 128, L"Pendrel (x.exe stayed over the taskbar)"},
        {L"Pendrel (not over %s)", L"game.exe", 22, L"Pendrel (not over gam"},  // cut inside the name
        {L"Pendrel (not over %s)", L"game.exe", 6, L"Pendr"},                  // cut before it
        {L"Pendrel (not over %s)", L"game.exe", 27, L"Pendrel (not over game.exe"},
        {L"Pendrel", L"game.exe", 128, L"Pendrel"},
        {L"100% %s", L"a", 128, L"100% a"},
        {L"%s", L"", 128, L""},
        {L"x", L"y", 1, L""},
    };
    for (const auto& r : rows) {
        wchar_t out[128];
        fillTip(r.format, r.name, out, r.size);
        EXPECT_EQ(std::wstring(r.tip), std::wstring(out)) << r.size;
    }
    wchar_t none[1] = {L'x'};
    fillTip(L"Pendrel", L"", none, 0);
    EXPECT_EQ(L'x', none[0]);  // no room, not even for the end
}

}  // namespace
