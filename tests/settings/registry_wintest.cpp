#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "settings/registry_probe.h"
#include "settings/settings_store.h"

using namespace registry_probe;

namespace {

// The settings in the order their values are stored.
std::vector<DWORD> storedOrder(const Settings& s) {
    return {s.delayEnabled, s.delayMs,        s.restartDelayOnMove,     s.overTopmost,
            s.sendBackAfterUse, s.showTrayIcon, s.removeIconAfterTimeout, s.highlight};
}

const std::vector<DWORD> START_VALUES = {1, 200, 1, 1, 1, 1, 0, 1};

class RegistrySettings : public ::testing::Test {
protected:
    void SetUp() override {
        g_app = AppState{};
        neverOverList() = ProgramList{};
        g_app.program.instance = GetModuleHandleA(nullptr);
        deleteKey();
    }
    void TearDown() override { deleteKey(); }
};

TEST_F(RegistrySettings, MissingKeyKeepsStartValuesAndCreatesNothing) {
    loadSettings();
    EXPECT_EQ(storedOrder(g_app.settings), START_VALUES);
    EXPECT_FALSE(keyExists());
}

TEST_F(RegistrySettings, EmptyKeyKeepsStartValues) {
    ASSERT_EQ(setText("Autre", "0"), ERROR_SUCCESS);
    loadSettings();
    EXPECT_EQ(storedOrder(g_app.settings), START_VALUES);
}

// Each value reaches its own setting and no other: one value at a time holds
// a number its rule takes.
TEST_F(RegistrySettings, EachValueNameReachesItsSetting) {
    const char* accepted[8] = {"0", "1234", "0", "0", "0", "0", "1", "0"};
    for (size_t index = 0; index < 8; ++index) {
        deleteKey();
        ASSERT_EQ(setText(VALUE_NAMES[index].name, accepted[index]), ERROR_SUCCESS);
        g_app.settings = Settings{};
        loadSettings();
        std::vector<DWORD> expected = START_VALUES;
        expected[index] = index == 1 ? 1234 : (index == 6 ? 1 : 0);
        EXPECT_EQ(storedOrder(g_app.settings), expected) << VALUE_NAMES[index].name;
    }
}

const size_t DELAY = 1;
const size_t SHOW_ICON = 5;
const size_t REMOVE_ICON = 6;

struct StoredCase {
    size_t index;  // into VALUE_NAMES
    DWORD type;
    std::string bytes;  // exactly what is stored, NULs included
    DWORD expected;
};

void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << "value " << c.index << " type " << c.type << " " << c.bytes.size() << " bytes \"";
    for (char ch : c.bytes.substr(0, 16))
        *os << (ch >= 0x20 && ch < 0x7F ? ch : '.');
    *os << (c.bytes.size() > 16 ? "...\"" : "\"");
}

std::string sz(const std::string& text) {
    return std::string(text.c_str(), text.size() + 1);
}

// A text of `length` characters, zeros then `tail`.
std::string padded(size_t length, const std::string& tail) {
    return std::string(length - tail.size(), '0') + tail;
}

class StoredValueTable : public RegistrySettings, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredValueTable, ReadsAsTheSetting) {
    const StoredCase& c = GetParam();
    ASSERT_EQ(setRaw(VALUE_NAMES[c.index].name, c.type, c.bytes), ERROR_SUCCESS);
    const std::vector<StoredValue> all = readAll();
    const StoredValue* stored = findValue(all, VALUE_NAMES[c.index].name);
    ASSERT_NE(stored, nullptr);
    ASSERT_EQ(stored->data, c.bytes) << "the registry changed the stored bytes";
    loadSettings();
    std::vector<DWORD> expected = START_VALUES;
    expected[c.index] = c.expected;
    EXPECT_EQ(storedOrder(g_app.settings), expected);
}

const StoredCase kIconTexts[] = {
    {SHOW_ICON, REG_SZ, sz("0"), 0},    {SHOW_ICON, REG_SZ, sz("2"), 0},    {SHOW_ICON, REG_SZ, sz("-1"), 0},
    {SHOW_ICON, REG_SZ, sz("yes"), 0},  {SHOW_ICON, REG_SZ, sz(""), 0},     {SHOW_ICON, REG_SZ, sz("1"), 1},
    {SHOW_ICON, REG_SZ, sz("01"), 1},   {SHOW_ICON, REG_SZ, sz("1abc"), 1}, {SHOW_ICON, REG_SZ, sz("+1"), 1},
    {SHOW_ICON, REG_SZ, sz(" 1"), 1},
};
INSTANTIATE_TEST_SUITE_P(Icon, StoredValueTable, ::testing::ValuesIn(kIconTexts));

const StoredCase kRemovalTexts[] = {
    {REMOVE_ICON, REG_SZ, sz("1"), 1},  {REMOVE_ICON, REG_SZ, sz("2"), 1},  {REMOVE_ICON, REG_SZ, sz("-1"), 1},
    {REMOVE_ICON, REG_SZ, sz("7x"), 1}, {REMOVE_ICON, REG_SZ, sz("0"), 0},  {REMOVE_ICON, REG_SZ, sz("x"), 0},
    {REMOVE_ICON, REG_SZ, sz(" 0"), 0}, {REMOVE_ICON, REG_SZ, sz(""), 0},
};
INSTANTIATE_TEST_SUITE_P(Removal, StoredValueTable, ::testing::ValuesIn(kRemovalTexts));

const StoredCase kDelayTexts[] = {
    {DELAY, REG_SZ, sz("1"), 1},      {DELAY, REG_SZ, sz("2000"), 2000}, {DELAY, REG_SZ, sz("+75"), 75},
    {DELAY, REG_SZ, sz(" 350"), 350}, {DELAY, REG_SZ, sz("2001"), 200},  {DELAY, REG_SZ, sz("0"), 200},
    {DELAY, REG_SZ, sz("-5"), 200},   {DELAY, REG_SZ, sz(""), 200},
};
INSTANTIATE_TEST_SUITE_P(Delay, StoredValueTable, ::testing::ValuesIn(kDelayTexts));

// Where the text ends: at the first NUL or after the stored bytes.
const StoredCase kExtents[] = {
    {SHOW_ICON, REG_SZ, "1", 1},
    {SHOW_ICON, REG_SZ, "0", 0},
    {DELAY, REG_SZ, "350", 350},
    {DELAY, REG_SZ, std::string("35\0" "0", 4), 35},
    {DELAY, REG_SZ, std::string("\0" "350", 4), 200},
    // 255 bytes is the most a value may hold to be read.
    {DELAY, REG_SZ, sz(padded(254, "350")), 350},
    {DELAY, REG_SZ, padded(255, "350"), 350},
    {DELAY, REG_SZ, sz(padded(255, "350")), 200},
    {DELAY, REG_SZ, padded(256, "350"), 200},
    {DELAY, REG_SZ, sz(padded(300, "350")), 200},
    {SHOW_ICON, REG_SZ, sz(padded(254, "0")), 0},
    {SHOW_ICON, REG_SZ, sz(padded(300, "0")), 1},
};
INSTANTIATE_TEST_SUITE_P(Extent, StoredValueTable, ::testing::ValuesIn(kExtents));

// The stored type is never looked at: the bytes are read as text.
const StoredCase kTypes[] = {
    {SHOW_ICON, REG_DWORD, std::string("\x01\0\0\0", 4), 0},
    {DELAY, REG_DWORD, std::string("12\0\0", 4), 12},
    {SHOW_ICON, REG_BINARY, "1", 1},
    {SHOW_ICON, REG_BINARY, "0", 0},
    {DELAY, REG_BINARY, std::string("\x05\x01", 2), 200},
    {DELAY, REG_MULTI_SZ, std::string("350\0" "1\0\0", 7), 350},
    {DELAY, REG_EXPAND_SZ, sz("75"), 75},
    {REMOVE_ICON, REG_NONE, "9", 1},
};
INSTANTIATE_TEST_SUITE_P(Types, StoredValueTable, ::testing::ValuesIn(kTypes));

TEST_F(RegistrySettings, LoadNeverWritesTheKey) {
    ASSERT_EQ(setText("Temporiser", "yes"), ERROR_SUCCESS);
    ASSERT_EQ(setText("ValeurTempo", "4294967297"), ERROR_SUCCESS);
    ASSERT_EQ(setRaw("VoirIcone", REG_DWORD, std::string("\x01\0\0\0", 4)), ERROR_SUCCESS);
    ASSERT_EQ(setRaw("Surbrillance", REG_SZ, sz(padded(300, "1"))), ERROR_SUCCESS);
    ASSERT_EQ(setText("Autre", "x"), ERROR_SUCCESS);
    const std::vector<StoredValue> before = readAll();
    ASSERT_EQ(before.size(), 5u);

    loadSettings();

    EXPECT_EQ(readAll(), before);
    EXPECT_EQ(storedOrder(g_app.settings), (std::vector<DWORD>{0, 1, 1, 1, 1, 0, 0, 1}));
}

// Save writes every value, each as REG_SZ holding its text and one NUL, and
// takes each text from its own setting: the start values write their start
// texts, and a setting changed alone changes its own text alone.
Settings withField(size_t index, DWORD value) {
    Settings s;
    DWORD* fields[11] = {&s.delayEnabled,     &s.delayMs,      &s.restartDelayOnMove,     &s.overTopmost,
                         &s.sendBackAfterUse, &s.showTrayIcon, &s.removeIconAfterTimeout, &s.highlight,
                         &s.allScreens,       &s.hotKey,       &s.avoidFullScreen};
    *fields[index] = value;
    return s;
}

void expectSaved(const Settings& settings, size_t changed, const char* changedText) {
    deleteKey();
    g_app.settings = settings;
    saveSettings();
    const std::vector<StoredValue> stored = readAll();
    EXPECT_EQ(stored.size(), 12u);
    for (size_t i = 0; i < 11; ++i) {
        const StoredValue* value = findValue(stored, VALUE_NAMES[i].name);
        ASSERT_NE(value, nullptr) << VALUE_NAMES[i].name;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << value->name;
        EXPECT_EQ(value->data, sz(i == changed ? changedText : VALUE_NAMES[i].startText)) << value->name;
    }
}

TEST_F(RegistrySettings, SaveWritesEveryValueFromItsOwnSetting) {
    expectSaved(Settings{}, SIZE_MAX, nullptr);
    struct Change {
        size_t index;
        DWORD value;
        const char* text;
    };
    const Change changes[] = {{0, 0, "0"}, {1, 0, "0"}, {1, 2000, "2000"}, {1, 7, "7"}, {2, 0, "0"},
                              {3, 0, "0"}, {4, 0, "0"}, {5, 0, "0"},       {6, 1, "1"}, {7, 0, "0"},
                              {8, 0, "0"}, {9, 1620, "1620"},              {10, 0, "0"}};
    for (const Change& c : changes) {
        SCOPED_TRACE(std::string(VALUE_NAMES[c.index].name) + " = " + c.text);
        expectSaved(withField(c.index, c.value), c.index, c.text);
    }
}

TEST_F(RegistrySettings, SaveReplacesWhateverWasStoredAndKeepsOtherValues) {
    ASSERT_EQ(setRaw("VoirIcone", REG_DWORD, std::string("\x01\0\0\0", 4)), ERROR_SUCCESS);
    ASSERT_EQ(setRaw("ValeurTempo", REG_SZ, sz(padded(300, "5"))), ERROR_SUCCESS);
    ASSERT_EQ(setText("Autre", "x"), ERROR_SUCCESS);
    saveSettings();
    const std::vector<StoredValue> stored = readAll();
    EXPECT_EQ(stored.size(), 13u);
    const StoredValue* icon = findValue(stored, "VoirIcone");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(icon->data, sz("1"));
    const StoredValue* delay = findValue(stored, "ValeurTempo");
    ASSERT_NE(delay, nullptr);
    EXPECT_EQ(delay->data, sz("200"));
    const StoredValue* other = findValue(stored, "Autre");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->data, sz("x"));
}

TEST_F(RegistrySettings, SaveCreatesTheMissingParentKeys) {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Oxbrindle");
    saveSettings();
    EXPECT_EQ(readAll().size(), 12u);
}

TEST_F(RegistrySettings, WhatIsSavedLoadsBack) {
    Settings saved;
    saved.delayEnabled = 0;
    saved.delayMs = 1500;
    saved.restartDelayOnMove = 0;
    saved.overTopmost = 1;
    saved.sendBackAfterUse = 0;
    saved.showTrayIcon = 0;
    saved.removeIconAfterTimeout = 1;
    saved.highlight = 0;
    g_app.settings = saved;
    saveSettings();
    g_app.settings = Settings{};
    loadSettings();
    EXPECT_EQ(storedOrder(g_app.settings), storedOrder(saved));
}

// A delay of 0 from the dialog is written as "0" and read back as the start value.
TEST_F(RegistrySettings, ZeroDelayIsSavedButNotLoaded) {
    g_app.settings.delayMs = 0;
    saveSettings();
    const std::vector<StoredValue> all = readAll();
    const StoredValue* delay = findValue(all, "ValeurTempo");
    ASSERT_NE(delay, nullptr);
    EXPECT_EQ(delay->data, sz("0"));
    g_app.settings = Settings{};
    loadSettings();
    EXPECT_EQ(g_app.settings.delayMs, 200u);
}

// The value name of sendBackAfterUse is stored with the letter è, the byte
// 0xE8 in the ANSI code page, which is U+00E8 for the wide-character API.
TEST_F(RegistrySettings, SendBackValueNameCarriesTheAccentedLetter) {
    ASSERT_EQ(GetACP(), 1252u) << "the ANSI code page must be 1252 for this test";
    saveSettings();
    const std::vector<StoredValue> all = readAll();
    const StoredValue* value = findValue(all, "RetourArri\xE8rePlan");
    ASSERT_NE(value, nullptr);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Oxbrindle\\Marrowick", 0, KEY_READ, &key), ERROR_SUCCESS);
    bool found = false;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (std::wstring(name, length) == L"RetourArri\u00E8rePlan")
            found = true;
    }
    RegCloseKey(key);
    EXPECT_TRUE(found);
}

// Grants reading only on the key; gives back the former DACL on destruction.
class ReadOnlyKey {
public:
    ReadOnlyKey() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof saved_;
        if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, saved_, &size) == ERROR_SUCCESS) {
            SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
            PSID everyone = nullptr;
            AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
            PACL acl = reinterpret_cast<PACL>(aclBuffer_);
            InitializeAcl(acl, sizeof aclBuffer_, ACL_REVISION);
            AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
            SECURITY_DESCRIPTOR descriptor;
            InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
            SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
            applied_ = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
            FreeSid(everyone);
        }
        RegCloseKey(key);
    }
    ~ReadOnlyKey() {
        if (!applied_)
            return;
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
            RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, saved_);
            RegCloseKey(key);
        }
    }
    bool applied() const { return applied_; }

private:
    alignas(8) BYTE saved_[4096] = {};
    alignas(8) BYTE aclBuffer_[256] = {};
    bool applied_ = false;
};

TEST_F(RegistrySettings, KeyGrantingOnlyReadingCountsAsMissing) {
    for (const NamedValue& value : VALUE_NAMES)
        ASSERT_EQ(setText(value.name, "0"), ERROR_SUCCESS);
    {
        ReadOnlyKey readOnly;
        ASSERT_TRUE(readOnly.applied());
        HKEY probe = nullptr;
        const LONG full = RegOpenKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, KEY_ALL_ACCESS, &probe);
        if (full == ERROR_SUCCESS) {
            RegCloseKey(probe);
            GTEST_SKIP() << "this registry does not enforce the key's DACL";
        }
        EXPECT_EQ(full, ERROR_ACCESS_DENIED);
        HKEY reader = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, KEY_READ, &reader), ERROR_SUCCESS);
        RegCloseKey(reader);

        loadSettings();
        EXPECT_EQ(storedOrder(g_app.settings), START_VALUES);
    }
    // With full access back, the same values are read.
    loadSettings();
    EXPECT_EQ(storedOrder(g_app.settings), (std::vector<DWORD>{0, 200, 0, 0, 0, 0, 0, 0}));
}

}  // namespace

namespace {

// The list of programs is wide text: a name outside the ANSI code page comes
// back. A value of another type, or one past the limit, is ignored, and the
// next save leaves it as it is.
TEST_F(RegistrySettings, ListOfProgramsIsTextWithinItsLimitAndLeftAloneOtherwise) {
    const std::wstring names = L"\u0141\u00f3d\u017a.exe; game.exe";
    lstrcpyW(neverOverList().names, names.c_str());
    saveSettings();
    neverOverList() = ProgramList{};
    loadSettings();
    EXPECT_EQ(names, neverOverList().names);

    deleteKey();
    ASSERT_EQ(setText(LIST_NAME, std::string(1024, 'a')), ERROR_SUCCESS);
    loadSettings();
    EXPECT_EQ(1024, lstrlenW(neverOverList().names));

    const StoredValue ignored[] = {{LIST_NAME, REG_DWORD, std::string("\x01\0\0\0", 4)},
                                   {LIST_NAME, REG_EXPAND_SZ, sz("game.exe")},
                                   {LIST_NAME, REG_SZ, sz(std::string(1025, 'a'))}};
    const auto listStored = [] {
        const std::vector<StoredValue> all = readAll();
        const StoredValue* value = findValue(all, LIST_NAME);
        return value != nullptr ? *value : StoredValue{};
    };
    for (const StoredValue& value : ignored) {
        deleteKey();
        ASSERT_EQ(setRaw(LIST_NAME, value.type, value.data), ERROR_SUCCESS);
        const StoredValue before = listStored();
        neverOverList() = ProgramList{};
        loadSettings();
        EXPECT_EQ(0, lstrlenW(neverOverList().names)) << value.type;
        saveSettings();
        EXPECT_EQ(before, listStored()) << value.type;
        EXPECT_EQ(value.type, before.type);
    }
}

}  // namespace
