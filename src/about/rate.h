// The arithmetic of the average-rate label: how many activations per unit of
// time since counting started, split into the three values the label's format
// prints. No windows.h: this is tested on the host.
#pragma once

#include <stdint.h>

struct RateParts {
    int32_t whole;       // the rate truncated toward zero
    char separator;      // the decimal separator, NUL when no decimals are shown
    int32_t hundredths;  // truncated, never rounded up; 0 when no decimals are shown
};

// FILETIME tick counts subtracted as signed 64-bit numbers: negative when the
// clock was set back before the start of counting.
int64_t elapsedTicks(uint64_t now, uint64_t start);

// Seconds in one unit (second, minute, hour, day); an index outside the table
// counts as hour.
int32_t unitSecondsFor(uint32_t unit);

// The unit a list selection stands for: anything but 0 to 3 (CB_ERR included,
// read as unsigned) is taken as hour.
uint32_t statsUnitFromSelection(uint32_t selection);

// The rate of `count` activations in `elapsed` ticks, per unit of `unitSeconds`.
// Rates of 10 and more show no decimals. When no rate can be measured (no time
// has passed, or the clock went back) the label reads as if nothing had been
// counted yet, 0.00; rates too large for the label's integer stop at its largest
// value.
RateParts averageRate(uint32_t count, int64_t elapsed, int32_t unitSeconds, char separator);
