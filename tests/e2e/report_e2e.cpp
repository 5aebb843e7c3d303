// `pendrel.exe /report [FILE]`: the report of a running copy, and of a start
// that finds none, as a user would attach it to a question; and requests
// of another program's that are not ours, which get no answer.
#include "e2e/support.h"


namespace e2e {
namespace {

std::wstring wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The version of the program file's version record, as "2.1.0".
std::string fileVersion() {
    const std::string path = besideDriver(PENDREL_EXE);
    std::string record(GetFileVersionInfoSizeA(path.c_str(), nullptr), '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (record.empty() || !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(record.size()), &record[0]) ||
        !VerQueryValueA(&record[0], "\\", reinterpret_cast<void**>(&fixed), &size))
        return "unknown";
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
           "." + std::to_string(HIWORD(fixed->dwFileVersionLS));
}

std::wstring clipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* locked = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (locked != nullptr) {
        text = locked;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

using Report = PendrelTest;

TEST_F(Report, BesideARunningCopyAndWithoutOne) {
    const std::string alone = pendrelReport("report-alone.txt");
    EXPECT_EQ(0u, alone.find("Pendrel report\r\nversion: ")) << alone;
    EXPECT_EQ("state: not running", reportLine(alone, "state: "));

    Pendrel& copy = launch();
    ASSERT_TRUE(copy.window != nullptr && waitOnStrip(copy));
    const std::string running = pendrelReport("report.txt");
    EXPECT_EQ("version: " + fileVersion(), reportLine(running, "version: "));
    EXPECT_EQ("composited: no", reportLine(running, "composited: "));
    EXPECT_EQ("monitor 1: 0,0,1024,768 dpi 96 primary", reportLine(running, "monitor 1: "));
    const HWND taskbar = shellTaskbar();
    const RECT bar = windowRect(taskbar);
    char expected[160];
    snprintf(expected, sizeof expected, "taskbar 1: %s bottom %ld,%ld,%ld,%ld topmost %s autohide ",
             className(taskbar).c_str(), bar.left, bar.top, bar.right, bar.bottom, isTopmost(taskbar) ? "yes" : "no");
    // Wine's shell says its taskbar hides, whatever it does.
    const std::string taskbarLine = reportLine(running, "taskbar 1: ");
    EXPECT_TRUE(taskbarLine == expected + std::string("no monitor 1") ||
                taskbarLine == expected + std::string("yes monitor 1"))
        << taskbarLine;
    EXPECT_EQ("state: active", reportLine(running, "state: "));
    EXPECT_EQ("last blocked: none", reportLine(running, "last blocked: "));
    EXPECT_EQ("setting Temporiser: (not stored)", reportLine(running, "setting Temporiser: "));
    ASSERT_TRUE(choose(copy, IDM_PAUSE));
    EXPECT_EQ("state: paused", reportLine(pendrelReport("report-paused.txt"), "state: "));
    ASSERT_TRUE(choose(copy, IDM_PAUSE));

    // Without a file: the clipboard, and a message box that says so.
    Program clipboard;
    ASSERT_TRUE(startReport("", clipboard));
    HWND box = nullptr;
    EXPECT_TRUE(waitUntil(
        [&] { return (box = findVisibleWindow(clipboard.pid, MESSAGE_BOX_CLASS, PENDREL_CAPTION)) != nullptr; },
        EFFECT_BOUND_MS));
    const std::wstring pasted = clipboardText();
    EXPECT_EQ(0u, pasted.find(L"Pendrel report\r\n")) << "not on the clipboard";
    EXPECT_NE(std::wstring::npos, pasted.find(L"\r\nstate: active\r\n"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 1;
    EXPECT_TRUE(waitForExit(clipboard, EXIT_BOUND_MS, &code) && code == EXIT_REPORT_WRITTEN) << code;
    CloseHandle(clipboard.process);

    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));
    Game game;
    ASSERT_TRUE(game.raise() && placePointerForGood(AWAY.x, AWAY.y));
    ASSERT_TRUE(waitForPolls());
    const std::string aside = pendrelReport("report-game.txt");
    EXPECT_EQ("state: standing aside for e2e_driver.exe (game)", reportLine(aside, "state: "));
    EXPECT_EQ("front 1: " + className(game.window()) + " \"e2e_driver.exe\" 0,0,1024,768 fills yes cursor hidden yes",
              reportLine(aside, "front 1: "));
    EXPECT_EQ("setting Temporiser: \"0\"", reportLine(aside, "setting Temporiser: "));
}

// Only a report request with a path a report may be written to is
// answered; the others are not, and write nothing. Which paths may be
// written to is the host tests' matter; here what only the running copy
// sees: the request's tag and size, and what lies at the path.
TEST_F(Report, AMalformedRequestGetsNoAnswerAndWritesNothing) {
    Pendrel& copy = launch();
    ASSERT_TRUE(copy.window != nullptr && waitOnStrip(copy));
    const std::wstring folder = wide(besideDriver("")), written = folder + L"report-request.txt";
    struct {
        const char* name;
        ULONG_PTR tag;
        std::wstring path;
        DWORD bytes;          // 0: the path and its NUL
        std::wstring target;  // what the request would write; empty: nothing to see
        bool answered;
    } cases[] = {
        {"another tag", REPORT_REQUEST_TAG + 1, written, 0, written, false},
        {"no NUL at the end", REPORT_REQUEST_TAG, written, static_cast<DWORD>(written.size() * 2), written, false},
        {"a folder", REPORT_REQUEST_TAG, folder.substr(0, folder.size() - 1), 0, L"", false},
        {"a report request", REPORT_REQUEST_TAG, written, 0, written, true},
    };
    for (const auto& c : cases) {
        DeleteFileW(c.target.c_str());
        COPYDATASTRUCT request = {c.tag, c.bytes != 0 ? c.bytes : static_cast<DWORD>((c.path.size() + 1) * 2),
                                  const_cast<wchar_t*>(c.path.c_str())};
        DWORD_PTR answer = 2;
        EXPECT_TRUE(SendMessageTimeoutW(copy.window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request),
                                        SMTO_ABORTIFHUNG, EFFECT_BOUND_MS, &answer) &&
                    answer == (c.answered ? TRUE : FALSE))
            << c.name << ": " << answer;
        EXPECT_EQ(c.answered, !c.target.empty() && exists(c.target)) << c.name;
        DeleteFileW(c.target.c_str());
    }
}

}  // namespace
}  // namespace e2e
