// The plural suffix of the counter label. No windows.h: tested on the host.
#pragma once

#include <stdint.h>

// "s" for more than one activation; 0 and 1 take no suffix.
const char* pluralSuffix(uint32_t count);
