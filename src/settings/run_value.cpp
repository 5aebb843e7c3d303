#include "settings/run_value.h"

#include "resources/file_names.h"

namespace {

// The length of `path` when `text` starts with it, ignoring case; 0 when not.
size_t matchedPrefix(const char16_t* text, const char16_t* path) {
    size_t at = 0;
    for (; path[at] != u'\0'; ++at)
        if (asciiUpper(text[at]) != asciiUpper(path[at]))
            return 0;
    return at;
}

}  // namespace

bool runValueNamesProgram(const char16_t* value, const char16_t* programPath) {
    if (programPath[0] == u'\0')
        return false;
    while (*value == u' ' || *value == u'\t')
        ++value;
    const bool quoted = *value == u'"';
    if (quoted)
        ++value;
    const size_t length = matchedPrefix(value, programPath);
    if (length == 0)
        return false;
    const char16_t after = value[length];
    if (quoted)
        return after == u'"' || after == u'\0';
    return after == u' ' || after == u'\t' || after == u'\0';
}

size_t formRunValue(const char16_t* programPath, char16_t* buffer, size_t size) {
    size_t length = 0;
    while (programPath[length] != u'\0')
        ++length;
    // The quotes and the NUL.
    if (size < 3 || length > size - 3) {
        if (size > 0)
            buffer[0] = u'\0';
        return 0;
    }
    buffer[0] = u'"';
    for (size_t i = 0; i < length; ++i)
        buffer[i + 1] = programPath[i];
    buffer[length + 1] = u'"';
    buffer[length + 2] = u'\0';
    return length + 2;
}

bool startupEntrySaysOff(const uint8_t* data, size_t size) {
    return size > 0 && (data[0] & 1u) != 0;
}
