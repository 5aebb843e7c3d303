#include <gtest/gtest.h>

#include <string>

#include "report/report_rules.h"
#include "resources/constants.h"

namespace {

TEST(ReportRules, WhatTheCommandLineAsksFor) {
    struct {
        const wchar_t* line;
        CommandKind kind;
        const wchar_t* path;  // null: none
    } cases[] = {
        {L"pendrel.exe", COMMAND_RUN, nullptr},
        {L"pendrel.exe /reports", COMMAND_RUN, nullptr},
        {L"pendrel.exe\t/report", COMMAND_REPORT, nullptr},
        {L"pendrel.exe -report", COMMAND_RUN, nullptr},
        {L"\"C:\\Program Files\\/report\\pendrel.exe\"", COMMAND_RUN, nullptr},
        {L"\"C:\\Program Files\\pendrel.exe\" /report", COMMAND_REPORT, nullptr},
        {L"pendrel.exe \t/RePoRt  ", COMMAND_REPORT, nullptr},
        {L"pendrel.exe /report C:\\r.txt", COMMAND_REPORT, L"C:\\r.txt"},
        {L"pendrel.exe /report \"C:\\my folder\\r.txt\"", COMMAND_REPORT, L"C:\\my folder\\r.txt"},
        {L"pendrel.exe /report r.txt ", COMMAND_REPORT, L"r.txt"},
        {L"pendrel.exe /report C:\\my folder\\r.txt", COMMAND_REPORT_MISUSED, nullptr},
        {L"pendrel.exe /report \"\"", COMMAND_REPORT_MISUSED, nullptr},
        {L"pendrel.exe /report r.txt \"\"", COMMAND_REPORT_MISUSED, nullptr},
    };
    for (const auto& c : cases) {
        const Command command = readCommandLine(c.line);
        EXPECT_EQ(c.kind, command.kind) << c.line;
        if (c.kind == COMMAND_REPORT)
            EXPECT_EQ(std::wstring(c.path != nullptr ? c.path : L""),
                      std::wstring(c.line + command.pathStart, command.pathLength))
                << c.line;
    }
}

TEST(ReportRules, APathAReportMayBeWrittenTo) {
    const std::wstring folder = L"C:\\" + std::wstring(250, L'd') + L"\\";  // 254 characters
    struct {
        std::wstring path;
        bool allowed;
    } cases[] = {
        {L"C:\\report.txt", true},
        {L"z:/folder/report.txt", true},
        {L"C:\\a", true},
        {folder + L"a.txt", true},  // 259 characters
        {folder + L"ab.txt", false},
        {L"C:\\console.txt", true},
        {L"C:\\COM10", true},
        {L"C:\\caf\u00E9\\r.txt", true},
        {L"C:\\", false},
        {L"report.txt", false},
        {L"C:report.txt", false},
        {L"\\\\.\\NUL", false},
        {L"\\\\?\\C:\\report.txt", false},
        {L"\\\\server\\share\\report.txt", false},
        {L"C:\\folder\\", false},
        {L"C:\\folder\\\\report.txt", false},
        {L"C:\\..\\report.txt", false},
        {L"C:\\report.txt:stream", false},
        {L"C:\\report.txt.", false},
        {L"C:\\report.txt ", false},
        {L"C:\\re<p>ort.txt", false},
        {L"C:\\a|b", false},
        {L"C:\\a?b", false},
        {L"C:\\a*b", false},
        {L"C:\\a\"b", false},
        {L"ab\\report.txt", false},
        {L"C:\\re\x01port.txt", false},
        {L"C:\\re\x1Fport.txt", false},
        {L"C:\\NUL", false},
        {L"C:\\folder\\nul.txt", false},
        {L"C:/folder/nul", false},
        {L"C:\\CON .txt", false},
        {L"C:\\com1", false},
        {L"C:\\COM0", false},
        {L"C:\\LPT9.log", false},
        {L"C:\\COM\u00B9", false},
        {L"C:\\LPT\u00B3.txt", false},
        {L"C:\\COM\u00B4", true},  // an accent, not a superscript
        {L"C:\\CONOUT$", false},
        {L"C:\\conin$.txt", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.allowed, reportPathAllowed(c.path.c_str(), c.path.size() + 1)) << c.path.size();
    // The request's data is the path and its NUL, nothing less, nothing more.
    const wchar_t unterminated[] = {L'C', L':', L'\\', L'a', L'b'}, inside[] = L"C:\\a\0b";
    EXPECT_FALSE(reportPathAllowed(unterminated, 5));
    EXPECT_FALSE(reportPathAllowed(inside, 7));
}

TEST(ReportRules, AnAutoHiddenTaskbarLiesMostlyOffItsMonitor) {
    const Rect monitor = {0, 0, 1024, 768};
    struct {
        Rect taskbar;
        uint32_t edge;
        bool hidden;
    } cases[] = {
        {{0, 728, 1024, 768}, EDGE_BOTTOM, false},
        {{0, 766, 1024, 806}, EDGE_BOTTOM, true},
        {{0, 748, 1024, 788}, EDGE_BOTTOM, false},  // half of it shows
        {{0, -38, 1024, 2}, EDGE_TOP, true},
        {{0, 0, 60, 768}, EDGE_LEFT, false},
        {{1022, 0, 1082, 768}, EDGE_RIGHT, true},
        {{0, 768, 1024, 768}, EDGE_BOTTOM, false},  // no thickness
        {{0, 806, 1024, 766}, EDGE_BOTTOM, false},  // upside down
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.hidden, hiddenOffMonitor(c.taskbar, monitor, c.edge)) << c.taskbar.top << "," << c.taskbar.left;
}

}  // namespace
