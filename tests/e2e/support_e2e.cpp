#include "e2e/support.h"

#include <shellapi.h>

#include <stdio.h>

#include <fstream>
#include <iterator>

namespace e2e {

namespace {

// A bare record of the icon: a modify without flags changes nothing.
bool notifyIcon(DWORD message, HWND owner, UINT iconId) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = iconId;
    return Shell_NotifyIconA(message, &data) != FALSE;
}

void sendMouse(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

}  // namespace

std::string toWindowsPath(const std::string& path) {
    std::string out = path;
    // Under Wine the test script hands over a Unix path; drive Z: is the Unix root.
    if (!out.empty() && out[0] == '/')
        out = "Z:" + out;
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}

std::vector<HWND> allTriggerWindows() {
    std::vector<HWND> found;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, PENDREL_TRIGGER_CLASS, nullptr)) != nullptr)
        found.push_back(window);
    return found;
}

bool leftClickAt(int x, int y) {
    // A pointer that Wine took back to where the X pointer still was would
    // press the button on another window.
    if (!placePointerForGood(x, y))
        return false;
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    sendMouse(MOUSEEVENTF_LEFTUP);
    return true;
}

void pressCtrlAltT() {
    const WORD keys[] = {VK_CONTROL, VK_MENU, 'T'};
    INPUT input[6] = {};
    for (int i = 0; i < 3; ++i) {
        input[i].type = input[5 - i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = input[5 - i].ki.wVk = keys[i];
        input[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(6, input, sizeof(INPUT));
}

void rightClickAt(int x, int y) {
    movePointer(x, y);
    sendMouse(MOUSEEVENTF_RIGHTDOWN);
    sendMouse(MOUSEEVENTF_RIGHTUP);
}

void pressKey(WORD virtualKey) {
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = virtualKey;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

HWND keyboardFocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

COLORREF screenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

namespace {

template <typename Test>
bool everyStripSample(const RECT& strip, Test test) {
    const int width = strip.right - strip.left;
    const int xs[] = {strip.left + 2, strip.left + width / 4, strip.left + width / 2, strip.left + 3 * width / 4,
                      strip.right - 3};
    HDC screen = GetDC(nullptr);
    bool all = true;
    // The strip's inner rows: its first row may carry the taskbar's border.
    for (int y = strip.top + 1; y < strip.bottom && all; ++y)
        for (int x : xs)
            all = all && test(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return all;
}

}  // namespace

bool stripAllOfColour(const RECT& strip, COLORREF colour) {
    return everyStripSample(strip, [&](COLORREF seen) { return seen == colour; });
}

bool stripNoneOfColour(const RECT& strip, COLORREF colour) {
    return everyStripSample(strip, [&](COLORREF seen) { return seen != colour; });
}

bool saveScreenshot(const char* name) {
    char folder[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("PENDREL_ARTIFACTS", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    std::string directory = toWindowsPath(folder);
    CreateDirectoryA(directory.c_str(), nullptr);
    std::string file = directory + "\\" + name + ".bmp";

    // Every monitor: the virtual screen.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;  // bottom-up rows, as a BMP file stores them
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP image = CreateDIBSection(memory, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                     nullptr, 0);
    bool saved = false;
    if (image != nullptr) {
        HGDIOBJ previous = SelectObject(memory, image);
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        BITMAPFILEHEADER fileHeader = {};
        fileHeader.bfType = 0x4D42;  // "BM"
        fileHeader.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        fileHeader.bfSize = fileHeader.bfOffBits + imageSize;
        HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
        if (out != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            saved = WriteFile(out, &fileHeader, sizeof(fileHeader), &written, nullptr) &&
                    WriteFile(out, &header, sizeof(header), &written, nullptr) &&
                    WriteFile(out, bits, imageSize, &written, nullptr) && written == imageSize;
            CloseHandle(out);
        }
        SelectObject(memory, previous);
        DeleteObject(image);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

bool trayIconPresent(HWND owner, UINT iconId) {
    return notifyIcon(NIM_MODIFY, owner, iconId);
}

bool deleteIconFromOutside(HWND owner, UINT iconId) {
    return notifyIcon(NIM_DELETE, owner, iconId);
}

bool readMenuItems(HWND menuWindow, std::vector<std::string>* items) {
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    if (menu == nullptr)
        return false;
    int count = GetMenuItemCount(menu);
    if (count <= 0)
        return false;
    items->clear();
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        int length = GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        items->push_back(std::string(text, length > 0 ? length : 0));
    }
    return true;
}

bool PendrelTest::waitForPolls() {
    Sleep(2 * POLL_PERIOD_MS);
    // The program moves the shell's taskbar asynchronously, which Wine does
    // with a notify message: the taskbar's thread handles a message sent now
    // after those moves.
    return roundTripTo(shellTaskbar());
}

void PendrelTest::SetUp() {
    ASSERT_TRUE(waitUntil([] { return shellTaskbar() != nullptr; }, START_BOUND_MS))
        << "no taskbar: the tests need the shell desktop";
    ASSERT_TRUE(bottomStrip(&strip_)) << "the shell reports no taskbar along the bottom edge";
    // Each scenario starts as a fresh desktop would.
    resetTaskbarBand();
    closeAllOf(PENDREL_TRIGGER_CLASS);
    ASSERT_EQ(FindWindowA(PENDREL_TRIGGER_CLASS, nullptr), nullptr) << "a copy of the program is still running";
    deleteSettingsKey();
    ASSERT_TRUE(movePointer(AWAY.x, AWAY.y));
}

void PendrelTest::TearDown() {
    // Whatever a scenario left open, closing the TriggerWindow ends the
    // program cleanly.
    for (Pendrel& copy : copies_) {
        const bool wasRunning = isRunning(copy);
        DWORD code = 0;
        const bool endedByItself = stopProgram(copy, &code);
        if (wasRunning) {
            EXPECT_TRUE(endedByItself) << "pid " << copy.pid << " did not end on WM_CLOSE";
            EXPECT_EQ(code, EXIT_OK) << "pid " << copy.pid;
        }
    }
    copies_.clear();
    cover_.lower();
    deleteSettingsKey();
    movePointer(AWAY.x, AWAY.y);
}

Pendrel& PendrelTest::launch(const std::wstring& path) {
    copies_.emplace_back();
    Pendrel& copy = copies_.back();
    if (path.empty() ? !startProgram(PENDREL_EXE, copy) : !startProgramAt(path, copy)) {
        ADD_FAILURE() << "cannot start " << (path.empty() ? besideDriver(PENDREL_EXE) : "a copy elsewhere")
                      << " (error " << GetLastError() << ")";
        return copy;
    }
    if (waitForWindow(copy, PENDREL_TRIGGER_CLASS, PENDREL_CAPTION) == nullptr)
        ADD_FAILURE() << "no TriggerWindow of pid " << copy.pid << " appeared";
    return copy;
}

bool PendrelTest::waitOnStrip(const Pendrel& copy, DWORD boundMs) {
    return waitUntil([&] { return sameRect(windowRect(copy.window), strip_); }, boundMs);
}

bool startReport(const std::string& arguments, Program& program) {
    const std::string command = "/report " + arguments, exe = besideDriver(PENDREL_EXE);
    return startProgramAt(std::wstring(exe.begin(), exe.end()), program, true,
                          std::wstring(command.begin(), command.end()));
}

std::string pendrelReport(const char* name) {
    const std::string path = besideDriver(name);
    DeleteFileA(path.c_str());
    Program program;
    DWORD code = 1;
    EXPECT_TRUE(startReport("\"" + path + "\"", program) && waitForExit(program, START_BOUND_MS, &code));
    EXPECT_EQ(static_cast<DWORD>(EXIT_REPORT_WRITTEN), code);
    CloseHandle(program.process);
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string reportLine(const std::string& report, const std::string& key) {
    const size_t at = report.find("\r\n" + key), end = report.find("\r\n", at + 2);
    return at == std::string::npos ? std::string() : report.substr(at + 2, end - at - 2);
}

bool choose(const Pendrel& copy, UINT command) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(copy.window, WM_COMMAND, command, 0, SMTO_ABORTIFHUNG, EFFECT_BOUND_MS, &answer) != 0;
}

}  // namespace e2e
