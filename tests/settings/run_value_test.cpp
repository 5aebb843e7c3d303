#include <gtest/gtest.h>

#include <string.h>

#include "settings/run_value.h"

namespace {

const char PROGRAM[] = "C:\\Program Files\\Pendrel\\pendrel.exe";

TEST(RunValue, NamesThisProgramOnlyByItsPath) {
    struct Case {
        const char* value;
        bool names;
    } cases[] = {
        {"\"C:\\Program Files\\Pendrel\\pendrel.exe\"", true},
        {"\"c:\\program files\\PENDREL\\Pendrel.EXE\"", true},       // the file system ignores case
        {"C:\\Program Files\\Pendrel\\pendrel.exe", true},           // unquoted, with spaces
        {"  \"C:\\Program Files\\Pendrel\\pendrel.exe\"", true},     // white space before the path
        {"\"C:\\Program Files\\Pendrel\\pendrel.exe\" /quiet", true},  // arguments
        {"\"C:\\Program Files\\Pendrel\\pendrel.exe\"/quiet", true},
        {"C:\\Program Files\\Pendrel\\pendrel.exe -q", true},
        {"C:\\Program Files\\Pendrel\\pendrel.exe\t-q", true},
        {"\"C:\\Program Files\\Pendrel\\pendrel.exe", true},         // a quote left open runs to the end
        {"", false},
        {"\"\"", false},
        {"   ", false},
        {"\"C:\\Other\\pendrel.exe\"", false},                       // a copy elsewhere
        {"C:\\Program Files\\Pendrel\\pendrel.exe.bak", false},      // a longer name
        {"\"C:\\Program Files\\Pendrel\\pendrel.exe.bak\"", false},
        {"\"C:\\Program Files\\Pendrel\\pendrel.ex\"", false},       // a shorter one
        {"C:\\Program", false},                                      // where an unquoted path would stop
        {"C:\\Program Files\\Pendrel\\pendrel.exe\"", false},        // a stray quote after an unquoted path
        {"\"\"C:\\Program Files\\Pendrel\\pendrel.exe\"\"", false},
        {"C:\\Program Files\\Pendrel\\pendrel.exe\xE9", false},      // an accented letter is not a space
    };
    for (const Case& c : cases)
        EXPECT_EQ(runValueNamesProgram(c.value, PROGRAM), c.names) << "[" << c.value << "]";
    // No path names nothing, not even an empty value.
    EXPECT_FALSE(runValueNamesProgram("", ""));
    EXPECT_FALSE(runValueNamesProgram("\"\"", ""));
}

// ASCII letters only are folded: bytes of the ANSI code page above 0x7F are
// compared exactly.
TEST(RunValue, FoldsOnlyAsciiLetters) {
    EXPECT_TRUE(runValueNamesProgram("\"C:\\Caf\xE9\\P.exe\"", "c:\\caf\xE9\\p.EXE"));
    EXPECT_FALSE(runValueNamesProgram("\"C:\\Caf\xC9\\P.exe\"", "C:\\Caf\xE9\\P.exe"));
    EXPECT_FALSE(runValueNamesProgram("\"C:\\A[\\P.exe\"", "C:\\A{\\P.exe"));  // '[' and '{' lie 32 apart
}

TEST(RunValue, WrittenValueIsThePathInQuotesAndNamesTheProgram) {
    char buffer[64];
    memset(buffer, 'X', sizeof buffer);
    const size_t length = formRunValue(PROGRAM, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "\"C:\\Program Files\\Pendrel\\pendrel.exe\"");
    EXPECT_EQ(length, strlen(PROGRAM) + 2);
    EXPECT_TRUE(runValueNamesProgram(buffer, PROGRAM));

    // Exactly large enough, then one byte short.
    char exact[sizeof PROGRAM + 2];
    EXPECT_EQ(formRunValue(PROGRAM, exact, sizeof exact), strlen(PROGRAM) + 2);
    EXPECT_EQ(exact[sizeof exact - 1], '\0');
    char shortBuffer[sizeof PROGRAM + 1];
    shortBuffer[0] = 'X';
    EXPECT_EQ(formRunValue(PROGRAM, shortBuffer, sizeof shortBuffer), 0u);
    EXPECT_EQ(shortBuffer[0], '\0');
}

}  // namespace
