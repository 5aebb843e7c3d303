#include "about/rate.h"

#include "resources/constants.h"

int64_t elapsedTicks(uint64_t now, uint64_t start) {
    // Unsigned subtraction wraps instead of overflowing; read back as signed it
    // is the signed difference whenever that fits, and never undefined.
    return static_cast<int64_t>(now - start);
}

int32_t unitSecondsFor(uint32_t unit) {
    return UNIT_SECONDS[statsUnitFromSelection(unit)];
}

uint32_t statsUnitFromSelection(uint32_t selection) {
    return selection < STATS_UNIT_COUNT ? selection : STATS_UNIT_DEFAULT;
}

RateParts averageRate(uint32_t count, int64_t elapsed, int32_t unitSeconds, char separator) {
    RateParts parts = {0, separator, 0};
    // Zero elapsed time with activations would be an infinite rate, and a clock
    // set back would give a negative one (printed as "-3.-50"): neither is an
    // average anyone can read, so both show as no activity until the clock has
    // moved past the start of counting or the count is reset.
    if (elapsed <= 0)
        return parts;

    const double seconds = static_cast<double>(elapsed) / TICKS_PER_SECOND;
    const double rate = static_cast<double>(count) / seconds * unitSeconds;

    // The label's integer is signed 32-bit; a double outside that range has no
    // defined conversion, so the largest value stands for every rate beyond it.
    // (!(rate >= 0.0)) also catches NaN.
    if (!(rate >= 0.0))
        return parts;
    if (rate >= RATE_WHOLE_LIMIT) {
        parts.whole = INT32_MAX;
    } else {
        parts.whole = static_cast<int32_t>(rate);
    }
    if (rate >= RATE_WHOLE_THRESHOLD) {
        parts.separator = '\0';
        parts.hundredths = 0;
    } else {
        parts.hundredths = static_cast<int32_t>((rate - parts.whole) * 100.0);
    }
    return parts;
}
