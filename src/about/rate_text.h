#pragma once

#include "app/constants.h"

// The average-rate label ("An average of 3.50 times per") for the current
// count, start of counting and unit.
void averageRateText(char (&buffer)[TEXT_BUFFER_SIZE]);
