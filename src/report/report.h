// The report a user attaches to a question: `pendrel.exe /report [FILE]`
// starts a process that asks the running copy to write it (or writes what
// it sees itself when none runs), and the running copy's answer.
#pragma once
#include <windows.h>

// When the command line asks for the report, it is made and `exitCode` set:
// true. False for any other start.
bool runReportCommand(const wchar_t* commandLine, int* exitCode);
// WM_COPYDATA: TRUE once the report was written where a request of ours
// said; FALSE, with nothing written, for anything else.
LRESULT answerReportRequest(const COPYDATASTRUCT* request);
