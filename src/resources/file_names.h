// File names as the program compares them: the part of a path after its
// last separator, and letters A to Z in either case. Names beyond ASCII are
// folded by the caller the system's way. No windows.h: tested on the host.
#pragma once

#include <stddef.h>

// Any UTF-16 or UTF-32 code unit: a to z become A to Z, the rest stays.
inline char32_t asciiUpper(char32_t c) {
    return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
}

// Where the file name of a path starts: after its last backslash or slash.
size_t fileNameStart(const wchar_t* path, size_t length);

// The two file names are the same, A to Z in either case; an empty name is
// never the same as anything.
bool sameFileName(const wchar_t* name, size_t length, const wchar_t* other, size_t otherLength);

// The same, for the file names of two NUL-terminated paths.
bool sameFileNameOf(const wchar_t* path, const wchar_t* otherPath);
