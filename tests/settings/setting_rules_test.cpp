#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <string>

#include "resources/resource.h"
#include "settings/decimal.h"
#include "settings/setting_rules.h"

namespace {

TEST(StoredSettings, RegistryOrderAndRules) {
    const StoredSetting expected[] = {
        {IDS_REG_DELAY_ENABLED, FIELD_DELAY_ENABLED, RULE_BOOLEAN},
        {IDS_REG_DELAY_MS, FIELD_DELAY_MS, RULE_DELAY},
        {IDS_REG_RESTART_ON_MOVE, FIELD_RESTART_DELAY_ON_MOVE, RULE_BOOLEAN},
        {IDS_REG_OVER_TOPMOST, FIELD_OVER_TOPMOST, RULE_BOOLEAN},
        {IDS_REG_SEND_BACK, FIELD_SEND_BACK_AFTER_USE, RULE_BOOLEAN},
        {IDS_REG_SHOW_ICON, FIELD_SHOW_TRAY_ICON, RULE_BOOLEAN},
        {IDS_REG_REMOVE_ICON, FIELD_REMOVE_ICON_AFTER_TIMEOUT, RULE_REMOVAL},
        {IDS_REG_HIGHLIGHT, FIELD_HIGHLIGHT, RULE_BOOLEAN},
        {IDS_REG_ALL_SCREENS, FIELD_ALL_SCREENS, RULE_BOOLEAN},
        {IDS_REG_HOT_KEY, FIELD_HOT_KEY, RULE_HOT_KEY},
        {IDS_REG_AVOID_FULL_SCREEN, FIELD_AVOID_FULL_SCREEN, RULE_BOOLEAN},
    };
    ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), STORED_SETTING_COUNT);
    for (size_t i = 0; i < STORED_SETTING_COUNT; ++i) {
        EXPECT_EQ(STORED_SETTINGS[i].nameId, expected[i].nameId) << i;
        EXPECT_EQ(STORED_SETTINGS[i].field, expected[i].field) << i;
        EXPECT_EQ(STORED_SETTINGS[i].rule, expected[i].rule) << i;
    }
    // "RetourArrièrePlan" (40024) is read and written before "VoirIcone" (40022).
    EXPECT_EQ(STORED_SETTINGS[4].nameId, 40024u);
    EXPECT_EQ(STORED_SETTINGS[5].nameId, 40022u);
}

TEST(StoredSettings, EveryFieldOnce) {
    std::set<int> fields;
    for (const StoredSetting& setting : STORED_SETTINGS)
        fields.insert(setting.field);
    EXPECT_EQ(fields.size(), static_cast<size_t>(SETTING_FIELD_COUNT));
}

struct AcceptCase {
    SettingRule rule;
    int32_t number;
    uint32_t current;
    uint32_t expected;
};

class AcceptTable : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(AcceptTable, NewValue) {
    const AcceptCase& c = GetParam();
    EXPECT_EQ(acceptStoredNumber(c.rule, c.number, c.current), c.expected)
        << "rule " << c.rule << " number " << c.number << " current " << c.current;
}

const AcceptCase kBooleanCases[] = {
    {RULE_BOOLEAN, 1, 1, 1},
    {RULE_BOOLEAN, 1, 0, 0},  // exactly 1 keeps, it does not set
    {RULE_BOOLEAN, 0, 1, 0},
    {RULE_BOOLEAN, 2, 1, 0},
    {RULE_BOOLEAN, -1, 1, 0},
    {RULE_BOOLEAN, INT32_MIN, 1, 0},
    {RULE_BOOLEAN, INT32_MAX, 1, 0},
};
INSTANTIATE_TEST_SUITE_P(Boolean, AcceptTable, ::testing::ValuesIn(kBooleanCases));

const AcceptCase kDelayCases[] = {
    {RULE_DELAY, 1, 200, 1},
    {RULE_DELAY, 2000, 200, 2000},
    {RULE_DELAY, 75, 200, 75},
    {RULE_DELAY, 350, 200, 350},
    {RULE_DELAY, 0, 200, 200},
    {RULE_DELAY, 2001, 200, 200},
    {RULE_DELAY, -5, 200, 200},
    {RULE_DELAY, -1, 200, 200},
    {RULE_DELAY, INT32_MIN, 200, 200},
    {RULE_DELAY, INT32_MAX, 200, 200},
};
INSTANTIATE_TEST_SUITE_P(Delay, AcceptTable, ::testing::ValuesIn(kDelayCases));

const AcceptCase kRemovalCases[] = {
    {RULE_REMOVAL, 1, 0, 1},
    {RULE_REMOVAL, 2, 0, 1},
    {RULE_REMOVAL, -1, 0, 1},
    {RULE_REMOVAL, 7, 0, 1},
    {RULE_REMOVAL, INT32_MIN, 0, 1},
    {RULE_REMOVAL, 0, 0, 0},
    {RULE_REMOVAL, 0, 1, 1},  // 0 keeps, it does not clear
};
INSTANTIATE_TEST_SUITE_P(Removal, AcceptTable, ::testing::ValuesIn(kRemovalCases));

// The shortcut: what the hot-key control can give (a virtual key and flags in
// 16 bits, 0 for none) is taken, anything else keeps the setting.
const AcceptCase kHotKeyCases[] = {
    {RULE_HOT_KEY, 1620, 0, 1620},
    {RULE_HOT_KEY, 0, 1620, 0},  // 0 is a stored "none", not a missing value
    {RULE_HOT_KEY, 1, 0, 1},
    {RULE_HOT_KEY, 0xFFFF, 0, 0xFFFF},
    {RULE_HOT_KEY, 0x10000, 0, 0},
    {RULE_HOT_KEY, 0x10000, 1620, 1620},
    {RULE_HOT_KEY, -1, 0, 0},
    {RULE_HOT_KEY, INT32_MIN, 0, 0},
    {RULE_HOT_KEY, INT32_MAX, 0, 0},
};
INSTANTIATE_TEST_SUITE_P(HotKey, AcceptTable, ::testing::ValuesIn(kHotKeyCases));

// From the stored text to the setting, starting from the program's start values.
struct TextCase {
    SettingRule rule;
    const char* text;
    uint32_t start;
    uint32_t expected;
};

class StoredTextTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(StoredTextTable, ReadsAsTheSetting) {
    const TextCase& c = GetParam();
    EXPECT_EQ(acceptStoredNumber(c.rule, readDecimal(c.text, strlen(c.text) + 1), c.start), c.expected)
        << "\"" << c.text << "\"";
}

const TextCase kStoredTexts[] = {
    // The icon flag: shown only from a number that is exactly 1.
    {RULE_BOOLEAN, "0", 1, 0},
    {RULE_BOOLEAN, "2", 1, 0},
    {RULE_BOOLEAN, "-1", 1, 0},
    {RULE_BOOLEAN, "yes", 1, 0},
    {RULE_BOOLEAN, "", 1, 0},
    {RULE_BOOLEAN, "4294967297", 1, 1},  // wraps to 1
    {RULE_BOOLEAN, "1", 1, 1},
    {RULE_BOOLEAN, "01", 1, 1},
    {RULE_BOOLEAN, "1abc", 1, 1},
    {RULE_BOOLEAN, "+1", 1, 1},
    {RULE_BOOLEAN, " 1", 1, 1},
    // Icon removal: on from any nonzero number.
    {RULE_REMOVAL, "1", 0, 1},
    {RULE_REMOVAL, "2", 0, 1},
    {RULE_REMOVAL, "-1", 0, 1},
    {RULE_REMOVAL, "7x", 0, 1},
    {RULE_REMOVAL, "0", 0, 0},
    {RULE_REMOVAL, "x", 0, 0},
    {RULE_REMOVAL, " 0", 0, 0},
    {RULE_REMOVAL, "", 0, 0},
    {RULE_REMOVAL, "4294967296", 0, 0},  // wraps to 0
    // The delay: 1 to 2000 taken, the rest keeps 200.
    {RULE_DELAY, "1", 200, 1},
    {RULE_DELAY, "2000", 200, 2000},
    {RULE_DELAY, "+75", 200, 75},
    {RULE_DELAY, " 350", 200, 350},
    {RULE_DELAY, "2001", 200, 200},
    {RULE_DELAY, "0", 200, 200},
    {RULE_DELAY, "-5", 200, 200},
    {RULE_DELAY, "", 200, 200},
    {RULE_DELAY, "4294967496", 200, 200},  // wraps to 200
    {RULE_DELAY, "4294968296", 200, 1000},  // wraps to 1000
    // The shortcut: none unless the text holds 0 to 65535.
    {RULE_HOT_KEY, "1620", 0, 1620},
    {RULE_HOT_KEY, "65535", 0, 65535},
    {RULE_HOT_KEY, "65536", 0, 0},
    {RULE_HOT_KEY, "-1620", 0, 0},
    {RULE_HOT_KEY, "T", 0, 0},
    {RULE_HOT_KEY, "", 0, 0},
    {RULE_HOT_KEY, "4294968916", 0, 1620},  // wraps to 1620
};
INSTANTIATE_TEST_SUITE_P(Texts, StoredTextTable, ::testing::ValuesIn(kStoredTexts));

struct FormCase {
    SettingRule rule;
    uint32_t value;
    const char* text;
};

class FormTable : public ::testing::TestWithParam<FormCase> {};

TEST_P(FormTable, WritesTheText) {
    const FormCase& c = GetParam();
    char buffer[256];
    memset(buffer, 'X', sizeof buffer);
    const size_t length = formStoredText(c.rule, c.value, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, c.text);
    EXPECT_EQ(length, strlen(c.text));
}

const FormCase kForms[] = {
    {RULE_BOOLEAN, 0, "0"},
    {RULE_BOOLEAN, 1, "1"},
    {RULE_BOOLEAN, 2, "1"},  // any nonzero flag is written as 1
    {RULE_BOOLEAN, 0xFFFFFFFFu, "1"},
    {RULE_REMOVAL, 0, "0"},
    {RULE_REMOVAL, 1, "1"},
    {RULE_REMOVAL, 2, "1"},
    {RULE_DELAY, 0, "0"},
    {RULE_DELAY, 1, "1"},
    {RULE_DELAY, 10, "10"},
    {RULE_DELAY, 200, "200"},
    {RULE_DELAY, 2000, "2000"},
    {RULE_DELAY, 4294967295u, "4294967295"},
    {RULE_HOT_KEY, 0, "0"},
    {RULE_HOT_KEY, 1620, "1620"},  // Ctrl+Alt+T
    {RULE_HOT_KEY, 65535, "65535"},
};
INSTANTIATE_TEST_SUITE_P(Forms, FormTable, ::testing::ValuesIn(kForms));

TEST(FormStoredText, BufferTooSmallGivesEmptyText) {
    char buffer[STORED_TEXT_MAX];
    buffer[0] = 'X';
    EXPECT_EQ(formStoredText(RULE_DELAY, 5, buffer, sizeof buffer), 0u);
    EXPECT_EQ(buffer[0], '\0');
    char exact[STORED_TEXT_MAX + 1];
    EXPECT_EQ(formStoredText(RULE_DELAY, 4294967295u, exact, sizeof exact), STORED_TEXT_MAX);
    EXPECT_STREQ(exact, "4294967295");
}

// The dialog stores the nearest delay that the next start reads back.
TEST(DelayToStore, TakesTheNearestAcceptedDelay) {
    const uint32_t rows[][2] = {{0, 1}, {1, 1}, {2, 2}, {1999, 1999}, {2000, 2000}, {2001, 2000}, {4294967295u, 2000}};
    for (const auto& row : rows)
        EXPECT_EQ(delayToStore(row[0]), row[1]) << row[0];
}

// What is written reads back as the same setting: every delay the dialog
// stores, every shortcut, and both flags. A delay of 0 would be written but
// read back as the start value.
TEST(FormStoredText, RoundTrip) {
    char buffer[16];
    for (uint32_t delay = 0; delay <= 2001; ++delay) {
        size_t length = formStoredText(RULE_DELAY, delay, buffer, sizeof buffer);
        const uint32_t back = acceptStoredNumber(RULE_DELAY, readDecimal(buffer, length + 1), 200);
        const uint32_t expected = (delay >= 1 && delay <= 2000) ? delay : 200;
        ASSERT_EQ(back, expected) << delay;
        const uint32_t stored = delayToStore(delay);
        length = formStoredText(RULE_DELAY, stored, buffer, sizeof buffer);
        ASSERT_EQ(acceptStoredNumber(RULE_DELAY, readDecimal(buffer, length + 1), 200), stored) << delay;
    }
    for (uint32_t key = 0; key <= 0xFFFF; ++key) {
        const size_t length = formStoredText(RULE_HOT_KEY, key, buffer, sizeof buffer);
        ASSERT_EQ(acceptStoredNumber(RULE_HOT_KEY, readDecimal(buffer, length + 1), 7), key) << key;
    }
    for (uint32_t flag = 0; flag <= 1; ++flag) {
        const size_t boolLength = formStoredText(RULE_BOOLEAN, flag, buffer, sizeof buffer);
        EXPECT_EQ(acceptStoredNumber(RULE_BOOLEAN, readDecimal(buffer, boolLength + 1), 1), flag);
        const size_t removalLength = formStoredText(RULE_REMOVAL, flag, buffer, sizeof buffer);
        EXPECT_EQ(acceptStoredNumber(RULE_REMOVAL, readDecimal(buffer, removalLength + 1), 0), flag);
    }
}

}  // namespace
