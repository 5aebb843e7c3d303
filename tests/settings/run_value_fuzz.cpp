// Arbitrary UTF-16 text through the Run value's reading. The first byte
// splits the rest into a Run value and a program path, each in a heap buffer
// of exactly its characters and a NUL, so AddressSanitizer stops any read
// past the end. Checked whatever the text: the case of ASCII letters and
// white space before the value change nothing; the value written for a path
// names it, with arguments after it too, and fits exactly its length.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>

#include "settings/run_value.h"

namespace {

// A NUL-terminated copy in a buffer of exactly that size.
std::unique_ptr<char16_t[]> exactCopy(const std::u16string& text) {
    std::unique_ptr<char16_t[]> copy(new char16_t[text.size() + 1]);
    memcpy(copy.get(), text.c_str(), (text.size() + 1) * sizeof(char16_t));
    return copy;
}

bool names(const std::u16string& value, const std::u16string& path) {
    return runValueNamesProgram(exactCopy(value).get(), exactCopy(path).get());
}

std::u16string swapAsciiCase(std::u16string text) {
    for (char16_t& c : text)
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
            c ^= 0x20;
    return text;
}

// Up to the first NUL: the functions read NUL-terminated text.
std::u16string textFrom(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t at = 0; at + 1 < size; at += 2) {
        const char16_t c = static_cast<char16_t>(data[at] | data[at + 1] << 8);
        if (c == u'\0')
            break;
        text.push_back(c);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t split = 1 + (data[0] * (size - 1)) / 256;
    const std::u16string value = textFrom(data + 1, split - 1);
    const std::u16string path = textFrom(data + split, size - split);

    const bool named = names(value, path);
    if (named && path.empty())
        abort();
    if (names(swapAsciiCase(value), path) != named || names(value, swapAsciiCase(path)) != named)
        abort();
    if (names(u" \t " + value, path) != named)
        abort();

    if (path.empty())
        return 0;
    std::unique_ptr<char16_t[]> written(new char16_t[path.size() + 3]);
    if (formRunValue(exactCopy(path).get(), written.get(), path.size() + 3) != path.size() + 2)
        abort();
    const std::u16string form(written.get());
    if (form.size() != path.size() + 2 || !names(form, path) || !names(form + u" /min", path))
        abort();
    std::unique_ptr<char16_t[]> tooShort(new char16_t[path.size() + 2]);
    if (formRunValue(exactCopy(path).get(), tooShort.get(), path.size() + 2) != 0 || tooShort[0] != u'\0')
        abort();
    return 0;
}
