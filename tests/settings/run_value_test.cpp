#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/run_value.h"

namespace {

const char16_t PROGRAM[] = u"C:\\Program Files\\Pendrel\\pendrel.exe";
const size_t PROGRAM_LENGTH = sizeof PROGRAM / sizeof PROGRAM[0] - 1;

TEST(RunValue, NamesThisProgramOnlyByItsPath) {
    struct Case {
        const char16_t* value;
        bool names;
    } cases[] = {
        {u"\"C:\\Program Files\\Pendrel\\pendrel.exe\"", true},
        {u"\"c:\\program files\\PENDREL\\Pendrel.EXE\"", true},       // the file system ignores case
        {u"C:\\Program Files\\Pendrel\\pendrel.exe", true},           // unquoted, with spaces
        {u"  \"C:\\Program Files\\Pendrel\\pendrel.exe\"", true},     // white space before the path
        {u"\t\"C:\\Program Files\\Pendrel\\pendrel.exe\"", true},
        {u"\"C:\\Program Files\\Pendrel\\pendrel.exe\" /quiet", true},  // arguments
        {u"\"C:\\Program Files\\Pendrel\\pendrel.exe\"/quiet", true},
        {u"C:\\Program Files\\Pendrel\\pendrel.exe -q", true},
        {u"C:\\Program Files\\Pendrel\\pendrel.exe\t-q", true},
        {u"\"C:\\Program Files\\Pendrel\\pendrel.exe", true},         // a quote left open runs to the end
        {u"", false},
        {u"\"\"", false},
        {u"   ", false},
        {u"\"C:\\Other\\pendrel.exe\"", false},                       // a copy elsewhere
        {u"C:\\Program Files\\Pendrel\\pendrel.exe.bak", false},      // a longer name
        {u"\"C:\\Program Files\\Pendrel\\pendrel.exe.bak\"", false},
        {u"\"C:\\Program Files\\Pendrel\\pendrel.ex\"", false},       // a shorter one
        {u"C:\\Program", false},                                      // where an unquoted path would stop
        {u"C:\\Program Files\\Pendrel\\pendrel.exe\"", false},        // a stray quote after an unquoted path
        {u"\"\"C:\\Program Files\\Pendrel\\pendrel.exe\"\"", false},
        {u"C:\\Program Files\\Pendrel\\pendrel.exe\u00E9", false},    // an accented letter is not a space
        {u"C:\\Program Files\\Pendrel\\pendrel.exe\u3000-q", false},  // nor is a wide space
    };
    for (const Case& c : cases)
        EXPECT_EQ(runValueNamesProgram(c.value, PROGRAM), c.names) << "row " << &c - cases;
    // No path names nothing, not even an empty value.
    EXPECT_FALSE(runValueNamesProgram(u"", u""));
    EXPECT_FALSE(runValueNamesProgram(u"\"\"", u""));
}

// ASCII letters, A to Z, are folded; every other character is compared as it
// is, so a path that the system's narrow text replaced letters in ("Lódz"
// for "Łódź") names another folder.
TEST(RunValue, FoldsOnlyAsciiLetters) {
    const char16_t* const LODZ = u"C:\\\u0141\u00F3d\u017A\\P.exe";
    struct Case {
        const char16_t* value;
        const char16_t* path;
        bool names;
    } cases[] = {
        {u"\"C:\\AZ\\P.exe\"", u"c:\\az\\p.EXE", true},
        {u"\"c:\\az\\p.exe\"", u"C:\\AZ\\P.EXE", true},
        {u"\"C:\\A[\\P.exe\"", u"C:\\A{\\P.exe", false},  // '[' and '{' lie 32 apart
        {u"\"C:\\Caf\u00C9\\P.exe\"", u"C:\\Caf\u00E9\\P.exe", false},
        {u"\"C:\\\u0141\u00F3d\u017A\\P.exe\"", LODZ, true},
        {u"\"C:\\L\u00F3dz\\P.exe\"", LODZ, false},  // a best-fit replacement
        {u"\"C:\\L?d?\\P.exe\"", LODZ, false},
        {u"\"C:\\\U0001F600\\P.exe\"", u"C:\\\U0001F600\\P.exe", true},  // beyond 16 bits
    };
    for (const auto& c : cases)
        EXPECT_EQ(runValueNamesProgram(c.value, c.path), c.names) << "row " << &c - cases;
}

TEST(RunValue, WrittenValueIsThePathInQuotesAndNamesTheProgram) {
    char16_t buffer[64];
    for (char16_t& c : buffer)
        c = u'X';
    const size_t length = formRunValue(PROGRAM, buffer, 64);
    EXPECT_EQ(std::u16string(buffer), u"\"C:\\Program Files\\Pendrel\\pendrel.exe\"");
    EXPECT_EQ(length, PROGRAM_LENGTH + 2);
    EXPECT_TRUE(runValueNamesProgram(buffer, PROGRAM));

    // Exactly large enough, then one character short.
    char16_t exact[PROGRAM_LENGTH + 3];
    EXPECT_EQ(formRunValue(PROGRAM, exact, PROGRAM_LENGTH + 3), PROGRAM_LENGTH + 2);
    EXPECT_EQ(exact[PROGRAM_LENGTH + 2], u'\0');
    char16_t shortBuffer[PROGRAM_LENGTH + 2];
    shortBuffer[0] = u'X';
    EXPECT_EQ(formRunValue(PROGRAM, shortBuffer, PROGRAM_LENGTH + 2), 0u);
    EXPECT_EQ(shortBuffer[0], u'\0');
    // The smallest buffers: the quotes and the NUL around a one-letter path,
    // and an empty path's two quotes; nothing is written to no buffer at all.
    char16_t tiny[4] = {u'X', u'X', u'X', u'X'};
    EXPECT_EQ(formRunValue(u"a", tiny, 4), 3u);
    EXPECT_EQ(std::u16string(tiny), u"\"a\"");
    EXPECT_EQ(formRunValue(u"a", tiny, 3), 0u);
    EXPECT_EQ(formRunValue(u"", tiny, 3), 2u);
    EXPECT_EQ(formRunValue(u"", tiny, 2), 0u);
    EXPECT_EQ(tiny[0], u'\0');
    tiny[0] = u'X';
    EXPECT_EQ(formRunValue(u"", tiny, 0), 0u);
    EXPECT_EQ(tiny[0], u'X');
}

// Task Manager and Settings write 02 followed by zeros while the start is on,
// 03 and a time stamp once it is off.
TEST(RunValue, StartupEntrySaysOffByItsFirstByte) {
    struct Case {
        std::vector<uint8_t> data;
        bool off;
    } cases[] = {
        {{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
        {{3, 0, 0, 0, 0xD4, 0x0D, 0x43, 0x8D, 0xC8, 0x3B, 0xD9, 0x01}, true},
        {{}, false},
        {{6, 0, 0, 0}, false},
        {{7, 0, 0, 0}, true},
        {{0x63, 0x60, 0x60, 0x60}, true},  // seen off on a real system
        {{0, 3}, false},                   // only the first byte counts
    };
    for (const auto& c : cases)
        EXPECT_EQ(startupEntrySaysOff(c.data.data(), c.data.size()), c.off) << c.data.size() << " bytes";
}

}  // namespace
