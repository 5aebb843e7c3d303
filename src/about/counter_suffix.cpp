#include "about/counter_suffix.h"

const char* pluralSuffix(uint32_t count) {
    return count > 1 ? "s" : "";
}
