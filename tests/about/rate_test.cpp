#include <gtest/gtest.h>

#include <stdint.h>

#include "about/counter_suffix.h"
#include "about/rate.h"
#include "resources/constants.h"

namespace {

const int64_t SECOND = 10000000;  // FILETIME ticks
const int64_t MINUTE = 60 * SECOND;
const int64_t HOUR = 60 * MINUTE;
const int64_t DAY = 24 * HOUR;

enum Unit : uint32_t { PER_SECOND = 0, PER_MINUTE = 1, PER_HOUR = 2, PER_DAY = 3 };

struct RateCase {
    const char* name;
    uint32_t count;
    int64_t elapsed;
    uint32_t unit;
    char separatorIn;
    int32_t whole;
    char separatorOut;
    int32_t hundredths;
};

const RateCase rateCases[] = {
    // The same count and time read differently per unit.
    {"7 in 2 hours per second", 7, 2 * HOUR, PER_SECOND, '.', 0, '.', 0},
    {"7 in 2 hours per minute", 7, 2 * HOUR, PER_MINUTE, '.', 0, '.', 5},
    {"7 in 2 hours per hour", 7, 2 * HOUR, PER_HOUR, '.', 3, '.', 50},
    {"7 in 2 hours per day", 7, 2 * HOUR, PER_DAY, '.', 84, '\0', 0},
    // 0.29 is held as 0.28999999999999998: cut, not rounded.
    {"29 in 100 s per second", 29, 100 * SECOND, PER_SECOND, '.', 0, '.', 28},
    {"9999 in 1000 s per second", 9999, 1000 * SECOND, PER_SECOND, '.', 9, '.', 99},
    {"999 in 1000 s is never 1.00", 999, 1000 * SECOND, PER_SECOND, '.', 0, '.', 99},
    {"exactly 10 per hour", 10, HOUR, PER_HOUR, '.', 10, '\0', 0},
    {"150 per hour", 150, HOUR, PER_HOUR, '.', 150, '\0', 0},
    {"25 in a day per minute", 25, DAY, PER_MINUTE, '.', 0, '.', 1},
    {"1 in 3 s per minute", 1, 3 * SECOND, PER_MINUTE, '.', 20, '\0', 0},
    {"2.5 per second keeps the trailing zero", 5, 2 * SECOND, PER_SECOND, '.', 2, '.', 50},
    // No activations: zero whatever the elapsed time, even none or negative
    // (0/0 is not a number, 0/-x is -0).
    {"count 0, some time", 0, HOUR, PER_HOUR, '.', 0, '.', 0},
    {"count 0, no time", 0, 0, PER_SECOND, '.', 0, '.', 0},
    {"count 0, clock set back", 0, -HOUR, PER_DAY, '.', 0, '.', 0},
    // The separator is the string's first character, passed through as it is.
    {"comma separator", 7, 2 * HOUR, PER_HOUR, ',', 3, ',', 50},
    {"empty separator string", 7, 2 * HOUR, PER_HOUR, '\0', 3, '\0', 50},
    {"0xE8 separator", 7, 2 * HOUR, PER_HOUR, '\xE8', 3, '\xE8', 50},
    // No measurable time with activations (an infinite rate) and a clock set
    // back (a negative rate) read as no activity.
    {"activations, no time", 5, 0, PER_HOUR, '.', 0, '.', 0},
    {"activations, clock set back", 7, -2 * HOUR, PER_HOUR, '.', 0, '.', 0},
    {"activations, clock set back to the first tick", UINT32_MAX, INT64_MIN, PER_DAY, '.', 0, '.', 0},
    // Rates beyond the label's signed 32-bit integer stop at its largest value.
    {"just under 2^31 per second", 2147483647u, SECOND, PER_SECOND, '.', 2147483647, '\0', 0},
    {"2^31 per second", 2147483648u, SECOND, PER_SECOND, '.', INT32_MAX, '\0', 0},
    {"3e9 per second", 3000000000u, SECOND, PER_SECOND, '.', INT32_MAX, '\0', 0},
    {"beyond 2^63 per day", UINT32_MAX, 1, PER_DAY, ',', INT32_MAX, '\0', 0},
    // The count is unsigned: above 2^31 it stays positive.
    {"count above 2^31", 3000000000u, 1000 * DAY, PER_DAY, '.', 3000000, '\0', 0},
    // The longest measurable time keeps the arithmetic finite.
    {"one activation since the first tick", 1, INT64_MAX, PER_DAY, '.', 0, '.', 0},
};

class AverageRate : public ::testing::TestWithParam<RateCase> {};

TEST_P(AverageRate, SplitsIntoLabelParts) {
    const RateCase& c = GetParam();
    const RateParts parts = averageRate(c.count, c.elapsed, unitSecondsFor(c.unit), c.separatorIn);
    EXPECT_EQ(parts.whole, c.whole) << c.name;
    EXPECT_EQ(parts.separator, c.separatorOut) << c.name;
    EXPECT_EQ(parts.hundredths, c.hundredths) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, AverageRate, ::testing::ValuesIn(rateCases));

TEST(AverageRate, DriftsDownWhileNothingHappens) {
    // 7 in 2 hours per hour, then a further second with no activation: the
    // average falls below 3.50 and keeps its integer part.
    const RateParts later = averageRate(7, 2 * HOUR + SECOND, unitSecondsFor(PER_HOUR), '.');
    EXPECT_EQ(later.whole, 3);
    EXPECT_EQ(later.hundredths, 49);
}

struct ElapsedCase {
    const char* name;
    uint64_t now;
    uint64_t start;
    int64_t elapsed;
};

const ElapsedCase elapsedCases[] = {
    {"forward", 133000000000000000ull, 132999999990000000ull, 10000000},
    {"same instant", 133000000000000000ull, 133000000000000000ull, 0},
    {"clock set back", 132999999990000000ull, 133000000000000000ull, -10000000},
    // Counts above 2^63 are negative as signed numbers; the difference wraps
    // like the signed subtraction it stands for, without overflowing.
    {"start above 2^63", 0x7FFFFFFFFFFFFFFFull, 0x8000000000000000ull, -1},
    {"now above 2^63", 0x8000000000000000ull, 0x7FFFFFFFFFFFFFFFull, 1},
    {"wraps across the signed range", 0x8000000000000000ull, 0, INT64_MIN},
};

TEST(ElapsedTicks, SignedDifferenceOfTickCounts) {
    for (const ElapsedCase& c : elapsedCases)
        EXPECT_EQ(elapsedTicks(c.now, c.start), c.elapsed) << c.name;
}

TEST(StatsUnit, SelectionOutsideTheListIsHour) {
    const struct {
        uint32_t selection;
        uint32_t unit;
        int32_t seconds;
    } cases[] = {
        {0, 0, 1},
        {1, 1, 60},
        {2, 2, 3600},
        {3, 3, 86400},
        {4, 2, 3600},
        {0xFFFFFFFFu, 2, 3600},  // CB_ERR read as unsigned
        {0x80000000u, 2, 3600},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(statsUnitFromSelection(c.selection), c.unit) << c.selection;
        EXPECT_EQ(unitSecondsFor(c.selection), c.seconds) << c.selection;
    }
}

TEST(CounterSuffix, PluralFromTwoOn) {
    const struct {
        uint32_t count;
        const char* suffix;
    } cases[] = {{0, ""}, {1, ""}, {2, "s"}, {UINT32_MAX, "s"}};
    for (const auto& c : cases)
        EXPECT_STREQ(pluralSuffix(c.count), c.suffix) << c.count;
}

}  // namespace
