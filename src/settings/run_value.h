// Starting at sign-in: whether the text of the Run value starts this program,
// and the text that makes it do so. No windows.h: tested on the host.
#pragma once

#include <stddef.h>

// Whether `value` (a NUL-terminated Run value) starts the program at
// `programPath`. White space before the path is skipped. A path in double
// quotes ends at the closing quote (or the end of the text when there is
// none); an unquoted one must be followed by the end of the text or a space,
// so that "C:\Program Files\x.exe -q" names C:\Program Files\x.exe. What
// follows the path (arguments) does not matter. ASCII letters compare without
// regard to case, as the file system compares names; an empty path names
// nothing.
bool runValueNamesProgram(const char* value, const char* programPath);

// Writes the program's path in double quotes and a NUL into `buffer` and
// returns the text's length; 0 and an empty text when it does not fit.
size_t formRunValue(const char* programPath, char* buffer, size_t size);
