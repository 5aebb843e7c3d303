#include "resources/file_names.h"

size_t fileNameStart(const wchar_t* path, size_t length) {
    size_t start = 0;
    for (size_t i = 0; i < length; ++i)
        if (path[i] == L'\\' || path[i] == L'/')
            start = i + 1;
    return start;
}

bool sameFileName(const wchar_t* name, size_t length, const wchar_t* other, size_t otherLength) {
    if (length == 0 || length != otherLength)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (asciiUpper(static_cast<char32_t>(name[i])) != asciiUpper(static_cast<char32_t>(other[i])))
            return false;
    return true;
}

bool sameFileNameOf(const wchar_t* path, const wchar_t* otherPath) {
    size_t length = 0, otherLength = 0;
    while (path[length] != L'\0')
        ++length;
    while (otherPath[otherLength] != L'\0')
        ++otherLength;
    const size_t start = fileNameStart(path, length), otherStart = fileNameStart(otherPath, otherLength);
    return sameFileName(path + start, length - start, otherPath + otherStart, otherLength - otherStart);
}
