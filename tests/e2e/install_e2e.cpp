// The release's setup (tools/release.sh), run silently as winget runs it: the
// install, an upgrade over the running copy, the uninstall, and the situations
// in which it must refuse and change nothing. The test command names the setup
// in PENDREL_SETUP (under Wine its 64-bit twin); these scenarios carry the
// label "installer".
#include "e2e/support.h"

#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace e2e {
namespace {

const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pendrel";
const char SETUP_MUTEX[] = "PendrelSetup";
const char* const INSTALLED_FILES[] = {"pendrel.exe", "pendrel.ico", "uninstall.exe", "README.txt", "LICENSE.txt"};
// What an interrupted swap of the files would leave beside them.
const char* const SWAP_SUFFIXES[] = {"", ".new", ".old"};
// The setup waits up to 10 s for a copy that does not end.
const DWORD SETUP_BOUND_MS = 60000;
const DWORD NOT_RUN = 0xFFFFFFFF;
// The refusals' exit codes, as the README and the winget manifest list them.
const DWORD EXIT_SECOND_SETUP = 3;
const DWORD EXIT_COPY_RUNNING = 4;
const DWORD EXIT_FOLDER_NOT_WRITABLE = 5;
const DWORD EXIT_FILE_NOT_REPLACED = 6;
const DWORD EXIT_FOREIGN_FOLDER = 7;
const DWORD BYTES_PER_KIB = 1024;
// A copy started would show its window within this time.
const DWORD SHOWS_WITHIN_MS = 3000;

std::string knownFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

DWORD run(const std::string& line) {
    std::vector<char> text(line.begin(), line.end());
    text.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return NOT_RUN;
    DWORD code = NOT_RUN;
    if (WaitForSingleObject(info.hProcess, SETUP_BOUND_MS) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

// The system's key of the programs started at sign-in.
const char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Empty when there is no such string value.
std::string stringValue(const char* key, const char* name) {
    char text[2 * MAX_PATH] = {};
    DWORD size = sizeof(text) - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::string();
    return text;
}

DWORD dwordValue(const char* key, const char* name) {
    DWORD value = NOT_RUN;
    DWORD size = sizeof(value);
    RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

bool keyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string versionText(const std::string& file, const char* name) {
    DWORD unused = 0;
    std::vector<char> record(GetFileVersionInfoSizeA(file.c_str(), &unused) + 1);
    char* text = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!GetFileVersionInfoA(file.c_str(), 0, static_cast<DWORD>(record.size()), record.data()) ||
        !VerQueryValueA(record.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
        return std::string();
    return text;
}

// A file replaced by another of the same name is another file.
bool fileInfo(const std::string& path, BY_HANDLE_FILE_INFORMATION* info) {
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    const bool read = file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, info);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return read;
}

std::string imageOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (process != nullptr) {
        QueryFullProcessImageNameA(process, 0, path, &size);
        CloseHandle(process);
    }
    return path;
}

std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The widths of a .ico file's images (0 is 256).
std::vector<int> iconWidths(const std::string& file) {
    const size_t ENTRY_SIZE = 16;
    std::vector<int> widths;
    const size_t count = file.size() >= 6 ? static_cast<unsigned char>(file[4]) : 0;
    for (size_t i = 0; i < count && 6 + (i + 1) * ENTRY_SIZE <= file.size(); ++i)
        widths.push_back(static_cast<unsigned char>(file[6 + i * ENTRY_SIZE]));
    return widths;
}

void setRunValue(const std::string& text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, RUN_KEY, PENDREL_RUN_VALUE, REG_SZ, text.c_str(),
                    static_cast<DWORD>(text.size() + 1));
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        char setup[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableA("PENDREL_SETUP", setup, MAX_PATH);
        ASSERT_TRUE(length > 0 && length < MAX_PATH) << "PENDREL_SETUP names no setup";
        setup_ = toWindowsPath(setup);
        ASSERT_TRUE(exists(setup_)) << setup_;
        dir_ = knownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Pendrel";
        foreign_ = knownFolder(CSIDL_LOCAL_APPDATA) + "\\Another program";
        shortcut_ = knownFolder(CSIDL_PROGRAMS) + "\\Pendrel.lnk";
        TearDown();
        // An elevated setup starts the program with the rights of the desktop's
        // shell, and starts nothing without one. Wine's desktop names no shell
        // window (and runs every program elevated): a window of the driver
        // stands in for it. On Windows the shell has one already.
        typedef BOOL(WINAPI * SetShellWindowCall)(HWND);
        const auto setShellWindow =
            (SetShellWindowCall)(void*)GetProcAddress(GetModuleHandleA("user32.dll"), "SetShellWindow");
        if (GetShellWindow() == nullptr && setShellWindow != nullptr) {
            shell_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
            setShellWindow(shell_);
        }
        ASSERT_NE(GetShellWindow(), nullptr) << "no shell to start the program through";
    }
    // By hand, so that no scenario depends on the uninstaller.
    void TearDown() override {
        closeAllOf(PENDREL_TRIGGER_CLASS);
        for (const std::string& folder : {dir_, foreign_}) {
            for (const char* name : INSTALLED_FILES)
                for (const char* suffix : SWAP_SUFFIXES)
                    DeleteFileA((folder + "\\" + name + suffix).c_str());
            DeleteFileA((folder + "\\notes.txt").c_str());
            RemoveDirectoryA(folder.c_str());
        }
        DeleteFileA(dir_.c_str());
        DeleteFileA(shortcut_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, UNINSTALL_KEY);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RUN_KEY, PENDREL_RUN_VALUE);
        deleteSettingsKey();
        if (shell_ != nullptr)
            DestroyWindow(shell_);
        shell_ = nullptr;
    }
    DWORD install(const std::string& switches) { return run("\"" + setup_ + "\" /S " + switches); }
    // As winget and Settings > Apps run it, from the entry.
    DWORD uninstall() { return run(stringValue(UNINSTALL_KEY, "QuietUninstallString")); }
    std::string exe() const { return dir_ + "\\pendrel.exe"; }
    static HWND waitForTrigger() {
        HWND trigger = nullptr;
        waitUntil([&] { return (trigger = FindWindowA(PENDREL_TRIGGER_CLASS, nullptr)) != nullptr; }, START_BOUND_MS);
        return trigger;
    }

    std::string setup_, dir_, foreign_, shortcut_;
    HWND shell_ = nullptr;
};

TEST_F(Installer, SilentInstallPutsEverythingInPlaceAndStartsTheProgram) {
    ASSERT_EQ(install("/SIGNIN /START"), 0u);
    for (const char* name : INSTALLED_FILES)
        EXPECT_TRUE(exists(dir_ + "\\" + name)) << name;
    EXPECT_TRUE(exists(shortcut_));
    // Add or Remove Programs names the program as its version record does.
    const std::string version = versionText(exe(), "ProductVersion");
    const std::string publisher = versionText(exe(), "CompanyName");
    EXPECT_FALSE(version.empty() || publisher.empty());
    // The uninstaller runs in place (_?=), so that its caller waits for it.
    const std::string uninstaller = "\"" + dir_ + "\\uninstall.exe\"";
    SYSTEMTIME today = {};
    GetLocalTime(&today);
    char date[16] = {};
    wsprintfA(date, "%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    const std::pair<const char*, std::string> entry[] = {
        {"DisplayName", "Pendrel"},      {"DisplayVersion", version},
        {"Publisher", publisher},        {"DisplayIcon", dir_ + "\\pendrel.ico"},
        {"InstallLocation", dir_},       {"UninstallString", uninstaller + " _?=" + dir_},
        {"InstallDate", date},           {"QuietUninstallString", uninstaller + " /S _?=" + dir_},
    };
    for (const auto& value : entry)
        EXPECT_EQ(stringValue(UNINSTALL_KEY, value.first), value.second) << value.first;
    for (const char* address : {"URLInfoAbout", "HelpLink"})
        EXPECT_EQ(stringValue(UNINSTALL_KEY, address).compare(0, 4, "http"), 0) << address;
    // The entry and the Start entry have the images of a high-DPI display.
    EXPECT_EQ(iconWidths(fileText(dir_ + "\\pendrel.ico")), std::vector<int>({32, 16, 32, 48, 0}));
    const std::string link = fileText(shortcut_);
    const char wideIcon[] = "p\0e\0n\0d\0r\0e\0l\0.\0i\0c\0o";
    EXPECT_TRUE(link.find("pendrel.ico") != std::string::npos ||
                link.find(std::string(wideIcon, sizeof(wideIcon) - 1)) != std::string::npos);
    EXPECT_EQ(dwordValue(UNINSTALL_KEY, "NoModify"), 1u);
    EXPECT_EQ(dwordValue(UNINSTALL_KEY, "NoRepair"), 1u);
    BY_HANDLE_FILE_INFORMATION program = {};
    ASSERT_TRUE(fileInfo(exe(), &program));
    const DWORD size = dwordValue(UNINSTALL_KEY, "EstimatedSize");
    EXPECT_TRUE(size != NOT_RUN && size >= program.nFileSizeLow / BYTES_PER_KIB) << size;
    EXPECT_EQ(stringValue(RUN_KEY, PENDREL_RUN_VALUE), "\"" + exe() + "\"");

    HWND trigger = waitForTrigger();
    ASSERT_NE(trigger, nullptr) << "the installed program did not start";
    EXPECT_EQ(lstrcmpiA(imageOf(trigger).c_str(), exe().c_str()), 0) << imageOf(trigger);
}

TEST_F(Installer, SilentInstallOverTheRunningCopyReplacesItAndStartsTheNewOne) {
    ASSERT_EQ(install("/START"), 0u);
    HWND trigger = waitForTrigger();
    ASSERT_NE(trigger, nullptr);
    EXPECT_EQ(stringValue(RUN_KEY, PENDREL_RUN_VALUE), "") << "set to start at sign-in without /SIGNIN";
    DWORD pid = 0;
    GetWindowThreadProcessId(trigger, &pid);
    HANDLE running = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    ASSERT_NE(running, nullptr);
    BY_HANDLE_FILE_INFORMATION before = {}, after = {};
    ASSERT_TRUE(fileInfo(exe(), &before));

    EXPECT_EQ(install(""), 0u);
    EXPECT_EQ(WaitForSingleObject(running, 0), WAIT_OBJECT_0) << "the running copy was not ended";
    DWORD code = NOT_RUN;
    GetExitCodeProcess(running, &code);
    CloseHandle(running);
    EXPECT_EQ(code, EXIT_OK) << "not ended by its own Exit";
    ASSERT_TRUE(fileInfo(exe(), &after));
    EXPECT_FALSE(before.nFileIndexLow == after.nFileIndexLow && before.nFileIndexHigh == after.nFileIndexHigh)
        << "pendrel.exe was not replaced";
    for (const char* name : INSTALLED_FILES)
        for (const char* suffix : {".new", ".old"})
            EXPECT_FALSE(exists(dir_ + "\\" + name + suffix)) << name << suffix;
    // The copy the setup closed runs again, without /START: the new one.
    trigger = waitForTrigger();
    ASSERT_NE(trigger, nullptr) << "the closed copy was not started again";
    EXPECT_EQ(lstrcmpiA(imageOf(trigger).c_str(), exe().c_str()), 0) << imageOf(trigger);
    Sleep(SHOWS_WITHIN_MS);
    EXPECT_EQ(allTriggerWindows().size(), 1u) << "more than one copy runs";
}

// The uninstaller removes the Run value only when it starts this copy, and
// only the files the setup wrote.
struct RunValueRow {
    const char* name;
    const char* value;  // '@' stands for the installed program's path
    bool upper;         // that path in capitals
    bool removed;
    bool userFile;      // a file of the user's in the folder, which stays with the folder
};

void PrintTo(const RunValueRow& row, std::ostream* out) { *out << row.value; }

class Uninstall : public Installer, public ::testing::WithParamInterface<RunValueRow> {};

TEST_P(Uninstall, LeavesNothingButTheSettings) {
    const RunValueRow& row = GetParam();
    ASSERT_EQ(install("/START"), 0u);
    ASSERT_NE(waitForTrigger(), nullptr);
    std::string path = exe();
    if (row.upper)
        CharUpperA(&path[0]);
    std::string value = row.value;
    const size_t at = value.find('@');
    if (at != std::string::npos)
        value.replace(at, 1, path);
    setRunValue(value);
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_MS, "700"));
    const std::string notes = dir_ + "\\notes.txt";
    if (row.userFile)
        CloseHandle(CreateFileA(notes.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));

    // Done once it has returned, but for its own file, which a copy of it
    // deletes after it, with the folder.
    EXPECT_EQ(uninstall(), 0u);
    for (const char* name : INSTALLED_FILES)
        EXPECT_TRUE(exists(dir_ + "\\" + name) == (name == std::string("uninstall.exe"))) << name;
    EXPECT_FALSE(keyExists(UNINSTALL_KEY));
    EXPECT_FALSE(exists(shortcut_));
    EXPECT_TRUE(waitUntil([&] { return !exists(dir_ + "\\uninstall.exe") && exists(dir_) == row.userFile; },
                          EFFECT_BOUND_MS));
    EXPECT_EQ(exists(notes), row.userFile);
    EXPECT_EQ(FindWindowA(PENDREL_TRIGGER_CLASS, nullptr), nullptr);
    EXPECT_EQ(stringValue(RUN_KEY, PENDREL_RUN_VALUE), row.removed ? "" : value);
    EXPECT_EQ(readSetting(PENDREL_REG_DELAY_MS), "700") << "a silent uninstall keeps the settings";
}

INSTANTIATE_TEST_SUITE_P(
    E2E, Uninstall,
    ::testing::Values(RunValueRow{"QuotedPath", "\"@\"", false, true, false},
                      RunValueRow{"BarePathInCapitalsWithArguments", "  @ /x", true, true, false},
                      RunValueRow{"AnotherCopy", "\"C:\\Other\\pendrel.exe\"", false, false, false},
                      RunValueRow{"LongerPath", "\"@.old\"", false, false, false},
                      RunValueRow{"FileOfTheUsersInTheFolder", "\"@\"", false, true, true}),
    [](const ::testing::TestParamInfo<RunValueRow>& info) { return std::string(info.param.name); });

enum Obstacle { SECOND_SETUP, COPY_THAT_WILL_NOT_END, FILE_FOR_FOLDER, FILE_IN_USE, FOLDER_OF_ANOTHER_PROGRAM };

// Each refusal has its own exit code and leaves everything as it was: no
// program where there was none, the installed one (running, when it ran)
// where there was one.
struct RefusalRow {
    const char* name;
    Obstacle obstacle;
    const char* installedFirst;  // the switches of an install before, or null for none
    bool byUninstaller;
    DWORD code;
};

void PrintTo(const RefusalRow& row, std::ostream* out) { *out << row.name; }

class Refusal : public Installer, public ::testing::WithParamInterface<RefusalRow> {
protected:
    void TearDown() override {
        if (mutex_ != nullptr)
            CloseHandle(mutex_);
        if (stuck_ != nullptr)
            DestroyWindow(stuck_);
        if (held_ != INVALID_HANDLE_VALUE)
            CloseHandle(held_);
        mutex_ = nullptr;
        stuck_ = nullptr;
        held_ = INVALID_HANDLE_VALUE;
        Installer::TearDown();
    }
    HANDLE mutex_ = nullptr;
    HWND stuck_ = nullptr;
    HANDLE held_ = INVALID_HANDLE_VALUE;
};

TEST_P(Refusal, ChangesNothing) {
    const RefusalRow& row = GetParam();
    DWORD pid = 0;
    BY_HANDLE_FILE_INFORMATION before = {}, after = {};
    if (row.installedFirst != nullptr) {
        ASSERT_EQ(install(row.installedFirst), 0u);
        HWND trigger = FindWindowA(PENDREL_TRIGGER_CLASS, nullptr);
        if (std::string(row.installedFirst) == "/START") {
            ASSERT_NE(trigger = waitForTrigger(), nullptr);
        }
        GetWindowThreadProcessId(trigger, &pid);
        ASSERT_TRUE(fileInfo(exe(), &before));
    }
    std::string where;
    if (row.obstacle == SECOND_SETUP) {
        mutex_ = CreateMutexA(nullptr, FALSE, SETUP_MUTEX);
    } else if (row.obstacle == COPY_THAT_WILL_NOT_END) {
        // A window of the program's class on this thread, which reads no message.
        registerClass(PENDREL_TRIGGER_CLASS, DefWindowProcA, 0);
        stuck_ = CreateWindowExA(0, PENDREL_TRIGGER_CLASS, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    } else if (row.obstacle == FILE_FOR_FOLDER) {
        // A file where the folder would go.
        CreateDirectoryA((knownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs").c_str(), nullptr);
        CloseHandle(CreateFileA(dir_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    } else if (row.obstacle == FILE_IN_USE) {
        // Open without leave to move it, as a viewer may hold it.
        held_ = CreateFileA((dir_ + "\\README.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
    } else {
        // winget install --location into a folder with files of its own.
        CreateDirectoryA(foreign_.c_str(), nullptr);
        HANDLE readme = CreateFileA((foreign_ + "\\README.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                                    nullptr);
        DWORD written = 0;
        WriteFile(readme, "mine", 4, &written, nullptr);
        CloseHandle(readme);
        where = " /D=" + foreign_;
    }
    ASSERT_TRUE(mutex_ != nullptr || stuck_ != nullptr || held_ != INVALID_HANDLE_VALUE || exists(dir_) ||
                fileText(foreign_ + "\\README.txt") == "mine");

    EXPECT_EQ(row.byUninstaller ? uninstall() : install("/START" + where), row.code);
    EXPECT_EQ(exists(exe()), row.installedFirst != nullptr);
    EXPECT_EQ(exists(shortcut_), row.installedFirst != nullptr);
    EXPECT_EQ(keyExists(UNINSTALL_KEY), row.installedFirst != nullptr);
    for (const char* name : INSTALLED_FILES)
        EXPECT_FALSE(exists(dir_ + "\\" + name + ".new")) << name;
    if (!where.empty()) {
        EXPECT_FALSE(exists(foreign_ + "\\pendrel.exe") || exists(foreign_ + "\\uninstall.exe"));
        EXPECT_EQ(fileText(foreign_ + "\\README.txt"), "mine");
    }
    if (row.installedFirst != nullptr) {
        ASSERT_TRUE(fileInfo(exe(), &after));
        EXPECT_TRUE(before.nFileIndexLow == after.nFileIndexLow && before.nFileIndexHigh == after.nFileIndexHigh)
            << "pendrel.exe was replaced";
    }
    // A copy that ran was not closed.
    HWND trigger = FindWindowA(PENDREL_TRIGGER_CLASS, nullptr);
    DWORD running = 0;
    GetWindowThreadProcessId(trigger, &running);
    if (pid != 0) {
        EXPECT_EQ(running, pid);
    }
}

INSTANTIATE_TEST_SUITE_P(
    E2E, Refusal,
    ::testing::Values(RefusalRow{"SecondSetup", SECOND_SETUP, nullptr, false, EXIT_SECOND_SETUP},
                      RefusalRow{"CopyThatWillNotEnd", COPY_THAT_WILL_NOT_END, nullptr, false, EXIT_COPY_RUNNING},
                      RefusalRow{"FolderNotWritable", FILE_FOR_FOLDER, nullptr, false, EXIT_FOLDER_NOT_WRITABLE},
                      RefusalRow{"FileInUseWhileTheCopyRuns", FILE_IN_USE, "/START", false, EXIT_FILE_NOT_REPLACED},
                      RefusalRow{"FolderOfAnotherProgram", FOLDER_OF_ANOTHER_PROGRAM, nullptr, false, EXIT_FOREIGN_FOLDER},
                      RefusalRow{"UninstallerWithACopyThatWillNotEnd", COPY_THAT_WILL_NOT_END, "", true,
                                 EXIT_COPY_RUNNING},
                      RefusalRow{"UninstallerDuringASetup", SECOND_SETUP, "", true, EXIT_SECOND_SETUP}),
    [](const ::testing::TestParamInfo<RefusalRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
