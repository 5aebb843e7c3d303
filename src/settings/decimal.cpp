#include "settings/decimal.h"

namespace {

bool isSpace(unsigned char byte) {
    return byte == ' ' || (byte >= 0x09 && byte <= 0x0D);
}

bool isDigit(unsigned char byte) {
    return byte >= '0' && byte <= '9';
}

}  // namespace

int32_t readDecimal(const char* text, size_t count) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    // A NUL ends the text as surely as the byte count does.
    size_t at = 0;
    while (at < count && bytes[at] != 0 && isSpace(bytes[at]))
        ++at;
    bool negative = false;
    if (at < count && (bytes[at] == '+' || bytes[at] == '-')) {
        negative = bytes[at] == '-';
        ++at;
    }
    // Unsigned arithmetic wraps modulo 2^32 by definition, so overlong digit
    // strings wrap instead of overflowing.
    uint32_t value = 0;
    while (at < count && isDigit(bytes[at])) {
        value = value * 10u + static_cast<uint32_t>(bytes[at] - '0');
        ++at;
    }
    if (negative)
        value = 0u - value;
    // The final 32 bits taken as two's complement, without an
    // implementation-defined narrowing conversion.
    if (value <= static_cast<uint32_t>(INT32_MAX))
        return static_cast<int32_t>(value);
    return -static_cast<int32_t>(~value) - 1;
}
