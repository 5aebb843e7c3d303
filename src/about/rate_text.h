#pragma once

#include "about/rate.h"
#include "resources/constants.h"

// The average-rate label ("An average of 3.50 times per") for the current
// count, start of counting and unit.
void averageRateText(char (&buffer)[TEXT_BUFFER_SIZE]);

// The label for given parts: the format string with the integer part, the
// separator and the hundredths, then " times per". A NUL separator ends the
// number after its integer part.
void formatAverageRate(const RateParts& parts, char (&buffer)[TEXT_BUFFER_SIZE]);
