// The configuration dialog's start-at-sign-in box and keyboard shortcut, with
// the real TriggerWindow behind it: the current user's Run key, the stored
// shortcut and its registration by the main window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/startup.h"
#include "resources/names.h"
#include "resources/resource.h"
#include "settings/config_dialog.h"
#include "support/app_fixture.h"
#include "settings/registry_probe.h"
#include "settings/settings_store.h"

using namespace registry_probe;

namespace {

const char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char MISSING[] = "<missing>";
// Ctrl+Alt+T as the hot-key control gives it, and as RegisterHotKey takes it.
const WORD CTRL_ALT_T = MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_ALT);
const WORD CTRL_ALT_Y = MAKEWORD('Y', HOTKEYF_CONTROL | HOTKEYF_ALT);
const UINT CTRL_ALT = MOD_CONTROL | MOD_ALT;

std::string thisProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// "@" stands for this program's path, "^" for the same in capitals.
std::string expand(const char* pattern) {
    std::string upper = thisProgram();
    CharUpperA(&upper[0]);
    std::string out;
    for (const char* p = pattern; *p; ++p)
        out += *p == '@' ? thisProgram() : *p == '^' ? upper : std::string(1, *p);
    return out;
}

// The Run value as text, type checked: MISSING when absent.
std::string readRun(DWORD* type = nullptr) {
    char data[2048] = {};
    DWORD size = sizeof data - 1;
    DWORD stored = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, RUN_KEY, PENDREL_RUN_VALUE, RRF_RT_ANY | RRF_NOEXPAND, &stored, data,
                     &size) != ERROR_SUCCESS)
        return MISSING;
    if (type != nullptr)
        *type = stored;
    return data;
}

void writeRun(const std::string& text) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, RUN_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, PENDREL_RUN_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

void deleteRun() {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, RUN_KEY, PENDREL_RUN_VALUE);
}

// The entry Task Manager keeps beside the Run value: 2 switched on, 3 off,
// then eleven more bytes. Read as its first byte; 0 when absent.
const char APPROVED_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
const BYTE NO_ENTRY = 0, ENTRY_ON = 2, ENTRY_OFF = 3;

BYTE readEntry() {
    BYTE data[12] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, APPROVED_KEY, PENDREL_RUN_VALUE, RRF_RT_REG_BINARY, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return NO_ENTRY;
    return data[0];
}

void writeEntry(BYTE first) {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, APPROVED_KEY, PENDREL_RUN_VALUE);
    const BYTE data[12] = {first};
    if (first != NO_ENTRY)
        RegSetKeyValueA(HKEY_CURRENT_USER, APPROVED_KEY, PENDREL_RUN_VALUE, REG_BINARY, data, sizeof data);
}

// Another program's hold on a shortcut: a thread of its own registers it and
// keeps it until released.
class KeyHolder {
public:
    ~KeyHolder() { release(); }
    bool take(UINT modifiers, UINT key) {
        release();
        modifiers_ = modifiers;
        key_ = key;
        taken_ = false;
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        done_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
        WaitForSingleObject(ready_, 5000);
        return taken_;
    }
    void release() {
        if (thread_ == nullptr)
            return;
        SetEvent(done_);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
        CloseHandle(ready_);
        CloseHandle(done_);
        thread_ = nullptr;
    }

private:
    static DWORD WINAPI run(void* self) {
        KeyHolder* holder = static_cast<KeyHolder*>(self);
        holder->taken_ = RegisterHotKey(nullptr, 1, holder->modifiers_, holder->key_) != 0;
        SetEvent(holder->ready_);
        WaitForSingleObject(holder->done_, INFINITE);
        UnregisterHotKey(nullptr, 1);
        return 0;
    }
    UINT modifiers_ = 0, key_ = 0;
    volatile bool taken_ = false;
    HANDLE thread_ = nullptr, ready_ = nullptr, done_ = nullptr;
};

// Whether any program holds the shortcut: it is free exactly when this
// thread can register it (and it is let go of again at once).
bool shortcutHeld(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 0xBFFF, modifiers, key))
        return true;
    UnregisterHotKey(nullptr, 0xBFFF);
    return false;
}

class SignInAndShortcut : public ::testing::Test {
protected:
    void SetUp() override {
        g_app = AppState{};
        g_app.program.instance = GetModuleHandleA(nullptr);
        loadNames();
        // Another test of this program may have registered the dialog class.
        registerClasses();
        WNDCLASSEXA info = {};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetClassInfoExA(g_app.program.instance, g_app.program.triggerClassName, &info));
        ASSERT_TRUE(GetClassInfoExA(g_app.program.instance, g_app.program.dialogClassName, &info));
        deleteKey();
        savedRun_ = readRun();
        savedEntry_ = readEntry();
        deleteRun();
        startMainWindow();
    }

    void TearDown() override {
        if (g_app.config.dialog != nullptr)
            DestroyWindow(g_app.config.dialog);
        DestroyWindow(g_app.program.mainWindow);
        pumpDialogMessages();
        deleteKey();
        deleteRun();
        if (savedRun_ != MISSING)
            writeRun(savedRun_);
        writeEntry(savedEntry_);
    }

    // The TriggerWindow reads the settings and registers the shortcut as it is created.
    void startMainWindow() {
        ASSERT_NE(createTriggerWindow(), nullptr);
    }

    HWND open() {
        openConfigDialog();
        pumpDialogMessages();
        dialog_ = g_app.config.dialog;
        EXPECT_NE(dialog_, nullptr);
        return dialog_;
    }
    HWND item(int id) { return GetDlgItem(dialog_, id); }
    bool checked(int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    void click(int id) {
        SendMessageA(item(id), BM_CLICK, 0, 0);
        pumpDialogMessages();
    }
    void command(WPARAM id) {
        SendMessageA(dialog_, WM_COMMAND, id, 0);
        pumpDialogMessages();
    }
    std::string storedShortcut() {
        const std::vector<StoredValue> all = readAll();
        const StoredValue* stored = findValue(all, "Raccourci");
        return stored != nullptr && stored->type == REG_SZ ? stored->data : std::string(MISSING);
    }
    // The program as a new start finds it, settings and all.
    void restartMainWindow() {
        DestroyWindow(g_app.program.mainWindow);
        pumpDialogMessages();
        g_app = AppState{};
        g_app.program.instance = GetModuleHandleA(nullptr);
        loadNames();
        startMainWindow();
    }
    bool isOpen() { return g_app.config.dialog != nullptr; }
    bool refusalShown() { return IsWindowVisible(item(IDC_HOT_KEY_TAKEN)) != 0; }
    void chooseShortcut(WORD value) { SendMessageA(item(IDC_HOT_KEY), HKM_SETHOTKEY, value, 0); }

    std::string savedRun_;
    BYTE savedEntry_ = NO_ENTRY;
    HWND dialog_ = nullptr;
};

struct SignInCase {
    const char* name;
    const char* before;  // the Run value before the dialog opens ("@": this program); null: none
    BYTE entryBefore;    // Task Manager's entry beside it
    bool shown;          // the box as the dialog opens
    bool toggle;
    WPARAM button;
    const char* after;  // null: none
    BYTE entryAfter;
    bool shownAfter;  // the box when the dialog opens again
};

// The box shows whether the Run value starts this copy and the user has not
// switched that start off in Task Manager; OK and Apply, once the user changed
// the box, point the value here (switching it on again) or remove it with its
// entry, and nothing of it reaches Pendrel's own key.
TEST_F(SignInAndShortcut, SignInBoxWritesRemovesAndRepointsTheRunValue) {
    const char* const ELSEWHERE = "\"C:\\elsewhere\\pendrel.exe\"";
    const SignInCase cases[] = {
        {"none, checked with Apply", nullptr, NO_ENTRY, false, true, IDC_APPLY, "\"@\"", NO_ENTRY, true},
        {"none, checked with OK", nullptr, NO_ENTRY, false, true, IDOK, "\"@\"", NO_ENTRY, true},
        {"none, left alone", nullptr, NO_ENTRY, false, false, IDOK, nullptr, NO_ENTRY, false},
        {"ours, unchecked with Apply", "\"@\"", NO_ENTRY, true, true, IDC_APPLY, nullptr, NO_ENTRY, false},
        {"ours, unchecked with OK", "\"@\"", NO_ENTRY, true, true, IDOK, nullptr, NO_ENTRY, false},
        {"ours, unchecked then cancelled", "\"@\"", NO_ENTRY, true, true, IDCANCEL, "\"@\"", NO_ENTRY, true},
        {"ours in capitals with an argument", "\"^\" /min", NO_ENTRY, true, false, IDC_APPLY, "\"^\" /min", NO_ENTRY,
         true},
        {"ours unquoted", "@", NO_ENTRY, true, false, IDOK, "@", NO_ENTRY, true},
        {"a copy elsewhere, re-pointed with Apply", ELSEWHERE, NO_ENTRY, false, true, IDC_APPLY, "\"@\"", NO_ENTRY,
         true},
        {"a copy elsewhere, kept", ELSEWHERE, NO_ENTRY, false, false, IDOK, ELSEWHERE, NO_ENTRY, false},
        {"ours, switched on in Task Manager", "\"@\"", ENTRY_ON, true, false, IDOK, "\"@\"", ENTRY_ON, true},
        {"ours, switched off in Task Manager", "\"@\"", ENTRY_OFF, false, false, IDCANCEL, "\"@\"", ENTRY_OFF, false},
        {"ours switched off, OK with the box left alone", "\"@\"", ENTRY_OFF, false, false, IDOK, "\"@\"", ENTRY_OFF,
         false},
        {"ours switched off, checked with Apply", "\"@\"", ENTRY_OFF, false, true, IDC_APPLY, "\"@\"", NO_ENTRY, true},
        {"ours, unchecked with its entry", "\"@\"", ENTRY_ON, true, true, IDOK, nullptr, NO_ENTRY, false},
        {"a copy elsewhere keeps its entry", ELSEWHERE, ENTRY_OFF, false, false, IDOK, ELSEWHERE, ENTRY_OFF, false},
    };
    for (const SignInCase& c : cases) {
        SCOPED_TRACE(c.name);
        deleteRun();
        if (c.before != nullptr)
            writeRun(expand(c.before));
        writeEntry(c.entryBefore);
        saveSettings();
        const std::vector<StoredValue> ownKey = readAll();
        ASSERT_EQ(ownKey.size(), 12u);

        open();
        EXPECT_EQ(checked(IDC_START_AT_SIGN_IN), c.shown);
        if (c.toggle)
            click(IDC_START_AT_SIGN_IN);
        command(c.button);
        DWORD type = 0;
        EXPECT_EQ(readRun(&type), c.after != nullptr ? expand(c.after) : MISSING);
        if (c.after != nullptr) {
            EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        }
        EXPECT_EQ(readEntry(), c.entryAfter);
        EXPECT_EQ(readAll(), ownKey) << "the sign-in box changed Pendrel's own key";

        // Read back through the dialog.
        if (isOpen())
            command(IDCANCEL);
        open();
        EXPECT_EQ(checked(IDC_START_AT_SIGN_IN), c.shownAfter);
        command(IDCANCEL);
    }
}

// Ctrl+Alt+T chosen in the control is stored as the number the control
// gives, and the main window holds it from then on; none lets it go.
TEST_F(SignInAndShortcut, ShortcutIsStoredAndRegisteredByTheMainWindow) {
    ASSERT_FALSE(shortcutHeld(CTRL_ALT, 'T')) << "another program holds Ctrl+Alt+T";
    open();
    EXPECT_EQ(SendMessageA(item(IDC_HOT_KEY), HKM_GETHOTKEY, 0, 0), 0);  // none by default
    // T typed alone, no modifier key down: the control adds Ctrl and Alt.
    SendMessageA(item(IDC_HOT_KEY), WM_KEYDOWN, 'T', 0);
    EXPECT_EQ(SendMessageA(item(IDC_HOT_KEY), HKM_GETHOTKEY, 0, 0), CTRL_ALT_T);
    chooseShortcut(CTRL_ALT_T);
    command(IDOK);
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(g_app.settings.hotKey, 1620u);
    EXPECT_EQ(storedShortcut(), std::string("1620", 5));
    EXPECT_TRUE(shortcutHeld(CTRL_ALT, 'T'));

    open();
    EXPECT_EQ(SendMessageA(item(IDC_HOT_KEY), HKM_GETHOTKEY, 0, 0), CTRL_ALT_T);
    chooseShortcut(0);
    command(IDC_APPLY);
    EXPECT_FALSE(shortcutHeld(CTRL_ALT, 'T')) << "the old shortcut stayed registered";
    EXPECT_EQ(storedShortcut(), std::string("0", 2));
    command(IDCANCEL);

    // A stored shortcut is registered at start; one without Ctrl or Alt
    // (Shift+T) is not, and the dialog shows none.
    ASSERT_EQ(setText("Raccourci", "1620"), ERROR_SUCCESS);
    restartMainWindow();
    EXPECT_TRUE(shortcutHeld(CTRL_ALT, 'T'));
    ASSERT_EQ(setText("Raccourci", "340"), ERROR_SUCCESS);
    restartMainWindow();
    EXPECT_FALSE(shortcutHeld(MOD_SHIFT, 'T'));
    open();
    EXPECT_EQ(SendMessageA(item(IDC_HOT_KEY), HKM_GETHOTKEY, 0, 0), 0);
    EXPECT_FALSE(refusalShown());
}

// Registration refused: the dialog says so under the control, and OK does
// not close it over the message; the shortcut in force before stays
// registered and stored, through Cancel too. Once the other program lets go,
// Apply takes the key, lets the old one go, and the message goes.
TEST_F(SignInAndShortcut, ShortcutHeldByAnotherProgramIsReported) {
    KeyHolder other;
    ASSERT_TRUE(other.take(CTRL_ALT, 'T'));
    open();
    chooseShortcut(CTRL_ALT_Y);
    command(IDC_APPLY);
    EXPECT_FALSE(refusalShown());
    chooseShortcut(CTRL_ALT_T);
    command(IDC_APPLY);
    EXPECT_TRUE(refusalShown());
    command(IDOK);
    EXPECT_TRUE(isOpen()) << "OK closed the dialog over the refusal";
    EXPECT_TRUE(refusalShown());
    command(IDCANCEL);
    EXPECT_EQ(storedShortcut(), std::string("1625", 5));
    EXPECT_TRUE(shortcutHeld(CTRL_ALT, 'Y')) << "the working shortcut was let go";

    open();
    EXPECT_EQ(SendMessageA(item(IDC_HOT_KEY), HKM_GETHOTKEY, 0, 0), CTRL_ALT_Y);
    EXPECT_FALSE(refusalShown());
    other.release();
    chooseShortcut(CTRL_ALT_T);
    command(IDC_APPLY);
    EXPECT_FALSE(refusalShown());
    EXPECT_FALSE(shortcutHeld(CTRL_ALT, 'Y')) << "the old shortcut stayed registered";
    command(IDOK);
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(storedShortcut(), std::string("1620", 5));

    // Refused at start: the dialog says so as it opens.
    DestroyWindow(g_app.program.mainWindow);
    pumpDialogMessages();
    ASSERT_TRUE(other.take(CTRL_ALT, 'T'));
    restartMainWindow();
    open();
    EXPECT_TRUE(refusalShown());
}

}  // namespace
