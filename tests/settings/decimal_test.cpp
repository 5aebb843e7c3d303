#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "settings/decimal.h"

namespace {

struct DecimalCase {
    const char* name;
    std::string bytes;  // the stored bytes, NULs included where a case has them
    int32_t expected;
};

// The bytes as the registry hands them over: no NUL added unless the case has one.
int32_t readBytes(const std::string& bytes) {
    return readDecimal(bytes.data(), bytes.size());
}

class DecimalTable : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalTable, ReadsTheNumber) {
    EXPECT_EQ(readBytes(GetParam().bytes), GetParam().expected) << GetParam().name;
}

const DecimalCase kPlainNumbers[] = {
    {"zero", "0", 0},
    {"one", "1", 1},
    {"leading zeros", "01", 1},
    {"many leading zeros", "0000000000000000000000200", 200},
    {"plus sign", "+75", 75},
    {"minus sign", "-5", -5},
    {"minus zero", "-0", 0},
    {"largest int", "2147483647", 2147483647},
    {"smallest int", "-2147483648", INT32_MIN},
};
INSTANTIATE_TEST_SUITE_P(Plain, DecimalTable, ::testing::ValuesIn(kPlainNumbers));

const DecimalCase kWrapAround[] = {
    {"2^31 reads negative", "2147483648", INT32_MIN},
    {"2^32 - 1 reads -1", "4294967295", -1},
    {"2^32 reads 0", "4294967296", 0},
    {"2^32 + 1 reads 1", "4294967297", 1},
    {"2^32 + 200 reads 200", "4294967496", 200},
    {"minus 2^32 - 1", "-4294967295", 1},
    {"minus 2^31 + 1 wraps", "-2147483649", 2147483647},
    // 10^20 mod 2^32 = 1661992960.
    {"twenty-one digits", "100000000000000000000", 1661992960},
};
INSTANTIATE_TEST_SUITE_P(Wrap, DecimalTable, ::testing::ValuesIn(kWrapAround));

const DecimalCase kWhiteSpaceAndSigns[] = {
    {"space", " 1", 1},
    {"tab", "\t1", 1},
    {"line feed", "\n1", 1},
    {"vertical tab", "\v1", 1},
    {"form feed", "\f1", 1},
    {"carriage return", "\r1", 1},
    {"mixed white space", " \t\r\n\v\f350", 350},
    {"space after sign is not skipped", "+ 1", 0},
    {"two signs", "+-1", 0},
    {"double minus", "--1", 0},
    {"sign alone", "-", 0},
    {"backspace 0x08 is not space", "\b1", 0},
    {"0x0E is not space", "\x0E" "1", 0},
    {"non-breaking space 0xA0 is not space", "\xA0" "1", 0},
    {"0x85 is not space", "\x85" "1", 0},
};
INSTANTIATE_TEST_SUITE_P(Space, DecimalTable, ::testing::ValuesIn(kWhiteSpaceAndSigns));

const DecimalCase kStopAndEmpty[] = {
    {"empty", "", 0},
    {"only spaces", "   ", 0},
    {"word", "yes", 0},
    {"trailing letters", "1abc", 1},
    {"digits then letters", "7x", 7},
    {"letter first", "x7", 0},
    {"trailing space", "12 3", 12},
    {"decimal point", "3.9", 3},
    {"superscript two 0xB2 stops", "1\xB2", 1},
    {"high byte first", "\xE8" "1", 0},
    {"digits of 0x30 + 10 stop", "1:", 1},
    {"slash stops", "1/", 1},
};
INSTANTIATE_TEST_SUITE_P(Stop, DecimalTable, ::testing::ValuesIn(kStopAndEmpty));

const DecimalCase kExtent[] = {
    {"NUL ends the text", std::string("12\0" "34", 5), 12},
    {"NUL before the digits", std::string("\0" "5", 2), 0},
    {"NUL after white space", std::string(" \0" "5", 3), 0},
    {"NUL after sign", std::string("-\0" "5", 3), 0},
    {"text with its NUL", std::string("1\0", 2), 1},
    {"REG_DWORD 1 as bytes", std::string("\x01\0\0\0", 4), 0},
    {"REG_MULTI_SZ", std::string("2\0" "3\0\0", 5), 2},
    {"UTF-16 text", std::string("1\0" "2\0", 4), 1},
};
INSTANTIATE_TEST_SUITE_P(Extent, DecimalTable, ::testing::ValuesIn(kExtent));

// The byte count ends the text even when more digits follow in memory.
TEST(DecimalExtent, CountEndsTheTextBeforeTheBufferDoes) {
    const char buffer[] = "123456";
    const struct {
        size_t count;
        int32_t expected;
    } cases[] = {{0, 0}, {1, 1}, {2, 12}, {3, 123}, {6, 123456}};
    for (const auto& c : cases)
        EXPECT_EQ(readDecimal(buffer, c.count), c.expected) << c.count;
}

TEST(DecimalExtent, SignOrSpaceAtTheLastCountedByte) {
    EXPECT_EQ(readDecimal("-9", 1), 0);
    EXPECT_EQ(readDecimal(" 9", 1), 0);
    EXPECT_EQ(readDecimal("+9", 2), 9);
}

// A value stored without its NUL reads like the same text stored with it.
TEST(DecimalExtent, WithAndWithoutNulReadTheSame) {
    const char* texts[] = {"1", "-1", " 350", "1abc", "4294967297", "", "+"};
    for (const char* text : texts) {
        const size_t length = strlen(text);
        EXPECT_EQ(readDecimal(text, length), readDecimal(text, length + 1)) << text;
    }
}

// A full 255-byte value of digits still reads, wrapping as it goes.
TEST(DecimalExtent, LongestStoredValue) {
    std::string digits(254, '0');
    digits += '7';
    EXPECT_EQ(readBytes(digits), 7);
    std::string spaces(254, ' ');
    spaces += '8';
    EXPECT_EQ(readBytes(spaces), 8);
}

}  // namespace
