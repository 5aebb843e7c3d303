// Arbitrary stored bytes through the decimal reading. The bytes sit in a heap
// buffer of exactly the given size with no NUL added, so AddressSanitizer
// stops any read past the byte count. The result is checked against the C
// library's strtoll where that one cannot saturate, and against the extent
// rule: the text ends at the first NUL, and a NUL after the count changes
// nothing.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>

#include "settings/decimal.h"

namespace {

bool isSpace(unsigned char byte) {
    return byte == ' ' || (byte >= 0x09 && byte <= 0x0D);
}

bool isDigit(unsigned char byte) {
    return byte >= '0' && byte <= '9';
}

// Digits in the number that starts the text (after white space and a sign).
size_t leadingDigitCount(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && isSpace(static_cast<unsigned char>(text[at])))
        ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    size_t digits = 0;
    while (at + digits < text.size() && isDigit(static_cast<unsigned char>(text[at + digits])))
        ++digits;
    return digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> exact(new char[size]);
    if (size > 0)
        memcpy(exact.get(), data, size);
    const int32_t result = readDecimal(exact.get(), size);

    // The same bytes with a NUL after them, and cut at their first NUL.
    std::string withNul(exact.get(), size);
    withNul.push_back('\0');
    if (readDecimal(withNul.data(), withNul.size()) != result)
        abort();
    const size_t textLength = strlen(withNul.c_str());
    if (readDecimal(withNul.data(), textLength) != result)
        abort();

    // strtoll reads the same syntax in the C locale; with at most 18 digits it
    // cannot saturate, and its low 32 bits must be ours.
    const std::string text(withNul.c_str());
    if (leadingDigitCount(text) <= 18) {
        const long long reference = strtoll(text.c_str(), nullptr, 10);
        if (static_cast<uint32_t>(reference) != static_cast<uint32_t>(result))
            abort();
    }
    return 0;
}
