// The release's setup (tools/release.sh), run silently as winget runs it: the
// install, an upgrade over the running copy, the uninstall, and the situations
// in which it must refuse and change nothing. The test command names the setup
// in PENDREL_SETUP; these scenarios carry the label "installer".
#include "e2e/support.h"

#include <shlobj.h>

#include <vector>

namespace e2e {
namespace {

const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pendrel";
const char SETUP_MUTEX[] = "PendrelSetup";
const char* const INSTALLED_FILES[] = {"pendrel.exe", "uninstall.exe", "README.txt", "LICENSE.txt"};
// The setup waits up to 10 s for a copy that does not end.
const DWORD SETUP_BOUND_MS = 60000;
const DWORD NOT_RUN = 0xFFFFFFFF;
const DWORD REFUSED = 2;
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
        shortcut_ = knownFolder(CSIDL_PROGRAMS) + "\\Pendrel.lnk";
        TearDown();
    }
    // By hand, so that no scenario depends on the uninstaller.
    void TearDown() override {
        closeAllOf(PENDREL_TRIGGER_CLASS);
        for (const char* name : INSTALLED_FILES)
            DeleteFileA((dir_ + "\\" + name).c_str());
        RemoveDirectoryA(dir_.c_str());
        DeleteFileA(dir_.c_str());
        DeleteFileA(shortcut_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, UNINSTALL_KEY);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RUN_KEY, PENDREL_RUN_VALUE);
        deleteSettingsKey();
    }
    DWORD install(const char* switches) { return run("\"" + setup_ + "\" /S " + switches); }
    std::string exe() const { return dir_ + "\\pendrel.exe"; }
    static HWND waitForTrigger() {
        HWND trigger = nullptr;
        waitUntil([&] { return (trigger = FindWindowA(PENDREL_TRIGGER_CLASS, nullptr)) != nullptr; }, START_BOUND_MS);
        return trigger;
    }

    std::string setup_, dir_, shortcut_;
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
    const std::string uninstaller = "\"" + dir_ + "\\uninstall.exe\"";
    const std::pair<const char*, std::string> entry[] = {
        {"DisplayName", "Pendrel"},    {"DisplayVersion", version},  {"Publisher", publisher},
        {"DisplayIcon", exe() + ",0"}, {"InstallLocation", dir_},    {"UninstallString", uninstaller},
        {"QuietUninstallString", uninstaller + " /S"},
    };
    for (const auto& value : entry)
        EXPECT_EQ(stringValue(UNINSTALL_KEY, value.first), value.second) << value.first;
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

TEST_F(Installer, SilentInstallOverTheRunningCopyEndsItAndReplacesIt) {
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
    Sleep(SHOWS_WITHIN_MS);
    EXPECT_EQ(FindWindowA(PENDREL_TRIGGER_CLASS, nullptr), nullptr) << "started again without /START";
}

// The uninstaller removes the Run value only when it starts this copy.
struct RunValueRow {
    const char* name;
    const char* value;  // '@' stands for the installed program's path
    bool upper;         // that path in capitals
    bool removed;
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

    EXPECT_EQ(run("\"" + dir_ + "\\uninstall.exe\" /S"), 0u);
    // It goes on from a copy of itself once it has returned.
    EXPECT_TRUE(waitUntil([&] { return !exists(dir_) && !keyExists(UNINSTALL_KEY); }, SETUP_BOUND_MS));
    EXPECT_FALSE(exists(shortcut_));
    EXPECT_EQ(FindWindowA(PENDREL_TRIGGER_CLASS, nullptr), nullptr);
    EXPECT_EQ(stringValue(RUN_KEY, PENDREL_RUN_VALUE), row.removed ? "" : value);
    EXPECT_EQ(readSetting(PENDREL_REG_DELAY_MS), "700") << "a silent uninstall keeps the settings";
}

INSTANTIATE_TEST_SUITE_P(E2E, Uninstall,
                         ::testing::Values(RunValueRow{"QuotedPath", "\"@\"", false, true},
                                           RunValueRow{"BarePathInCapitalsWithArguments", "  @ /x", true, true},
                                           RunValueRow{"AnotherCopy", "\"C:\\Other\\pendrel.exe\"", false, false},
                                           RunValueRow{"LongerPath", "\"@.old\"", false, false}),
                         [](const ::testing::TestParamInfo<RunValueRow>& info) { return std::string(info.param.name); });

enum Obstacle { SECOND_SETUP, COPY_THAT_WILL_NOT_END, FOLDER_NOT_WRITABLE };

class Refusal : public Installer, public ::testing::WithParamInterface<Obstacle> {
protected:
    void TearDown() override {
        if (mutex_ != nullptr)
            CloseHandle(mutex_);
        if (stuck_ != nullptr)
            DestroyWindow(stuck_);
        mutex_ = nullptr;
        stuck_ = nullptr;
        Installer::TearDown();
    }
    HANDLE mutex_ = nullptr;
    HWND stuck_ = nullptr;
};

TEST_P(Refusal, ChangesNothing) {
    if (GetParam() == SECOND_SETUP) {
        mutex_ = CreateMutexA(nullptr, FALSE, SETUP_MUTEX);
    } else if (GetParam() == COPY_THAT_WILL_NOT_END) {
        // A window of the program's class on this thread, which reads no message.
        registerClass(PENDREL_TRIGGER_CLASS, DefWindowProcA, 0);
        stuck_ = CreateWindowExA(0, PENDREL_TRIGGER_CLASS, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    } else {
        // A file where the folder would go.
        CreateDirectoryA((knownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs").c_str(), nullptr);
        CloseHandle(CreateFileA(dir_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    }
    ASSERT_TRUE(mutex_ != nullptr || stuck_ != nullptr || exists(dir_));

    EXPECT_EQ(install("/START"), REFUSED);
    EXPECT_FALSE(exists(exe()));
    EXPECT_FALSE(exists(shortcut_));
    EXPECT_FALSE(keyExists(UNINSTALL_KEY));
}

std::string obstacleName(const ::testing::TestParamInfo<Obstacle>& info) {
    const char* const names[] = {"SecondSetup", "CopyThatWillNotEnd", "FolderNotWritable"};
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(E2E, Refusal, ::testing::Values(SECOND_SETUP, COPY_THAT_WILL_NOT_END, FOLDER_NOT_WRITABLE),
                         obstacleName);

}  // namespace
}  // namespace e2e
