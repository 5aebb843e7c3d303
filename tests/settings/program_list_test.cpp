#include <gtest/gtest.h>

#include <string>

#include "settings/program_list.h"

namespace {

// The names the list gives, joined by '|'.
std::wstring namesOf(const std::wstring& list) {
    std::wstring names;
    size_t at = 0;
    ListedName name = {};
    while (nextListedName(list.data(), list.size(), &at, &name))
        names += (names.empty() ? L"" : L"|") + list.substr(name.start, name.length);
    return names;
}

TEST(ProgramList, EntriesGiveTheirFileNames) {
    const struct {
        const wchar_t* list;
        const wchar_t* names;
    } rows[] = {
        {L"game.exe; Other.EXE", L"game.exe|Other.EXE"},
        {L"", L""},
        {L";; ;game.exe;;", L"game.exe"},
        {L"  \tMy Game.exe \r\n", L"My Game.exe"},
        {L"\u00A0game.exe\u00A0", L"game.exe"},  // a no-break space from a web page
        {L"\"game.exe\"; \" other.exe \"", L"game.exe|other.exe"},
        {L"C:\\Games\\game.exe;\"C:\\Program Files\\X\\x.exe\" ;d:/tools/t.exe", L"game.exe|x.exe|t.exe"},
        {L"C:\\Games\\;\\;\"\" ; \" \"", L""},
        {L"\u0141\u00f3d\u017a.exe", L"\u0141\u00f3d\u017a.exe"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.names, namesOf(row.list)) << std::string(row.list, row.list + wcslen(row.list));
}

TEST(ProgramList, ProgramsMatchByFileNameWithoutRegardToCase) {
    const struct {
        const wchar_t* list;
        const wchar_t* file;
        bool named;
    } rows[] = {
        {L"game.exe; Other.EXE", L"GAME.EXE", true},
        {L"game.exe; Other.EXE", L"other.exe", true},
        {L"C:\\Games\\Game.exe", L"game.EXE", true},
        {L"game.exe", L"game.ex", false},
        {L"game.exe", L"game.exe2", false},
        {L"game", L"game.exe", false},
        {L"", L"game.exe", false},
        {L";", L"", false},
        {L"game.exe", L"gamf.exe", false},  // the same length, one letter apart
        {L"game.exe", L"fame.exe", false},
        {L"gamf.exe;game.exe", L"GAME.exe", true},
    };
    for (const auto& row : rows) {
        const std::wstring file = row.file;
        EXPECT_EQ(row.named, listNamesProgram(row.list, wcslen(row.list), file.data(), file.size()))
            << std::string(file.begin(), file.end());
    }
}

// A stored value is taken up to its first NUL, and only when that is at
// most 1024 characters long.
TEST(ProgramList, StoredListsUpToTheLimitAreTaken) {
    const struct {
        std::wstring data;
        bool taken;
        size_t length;
    } rows[] = {
        {std::wstring(1024, L'a'), true, 1024},
        {std::wstring(1025, L'a'), false, 1025},
        {std::wstring(1024, L'a') + L'\0' + L"b", true, 1024},
        {std::wstring(L"game.exe\0other.exe", 18), true, 8},
        {std::wstring(), true, 0},
    };
    for (const auto& row : rows) {
        size_t length = 99999;
        EXPECT_EQ(row.taken, acceptStoredList(row.data.data(), row.data.size(), &length)) << row.data.size();
        EXPECT_EQ(row.length, length) << row.data.size();
    }
}

}  // namespace
