#include "settings/run_value.h"

namespace {

char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The length of `path` when `text` starts with it, ignoring case; 0 when not.
size_t matchedPrefix(const char* text, const char* path) {
    size_t at = 0;
    for (; path[at] != '\0'; ++at)
        if (foldCase(text[at]) != foldCase(path[at]))
            return 0;
    return at;
}

}  // namespace

bool runValueNamesProgram(const char* value, const char* programPath) {
    if (programPath[0] == '\0')
        return false;
    while (*value == ' ' || *value == '\t')
        ++value;
    const bool quoted = *value == '"';
    if (quoted)
        ++value;
    const size_t length = matchedPrefix(value, programPath);
    if (length == 0)
        return false;
    const char after = value[length];
    if (quoted)
        return after == '"' || after == '\0';
    return after == ' ' || after == '\t' || after == '\0';
}

size_t formRunValue(const char* programPath, char* buffer, size_t size) {
    size_t length = 0;
    while (programPath[length] != '\0')
        ++length;
    // The quotes and the NUL.
    if (size < length + 3) {
        if (size > 0)
            buffer[0] = '\0';
        return 0;
    }
    buffer[0] = '"';
    for (size_t i = 0; i < length; ++i)
        buffer[i + 1] = programPath[i];
    buffer[length + 1] = '"';
    buffer[length + 2] = '\0';
    return length + 2;
}
