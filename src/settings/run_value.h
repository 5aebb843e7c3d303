// Starting at sign-in: whether the text of the Run value starts this program,
// the text that makes it do so, and whether the user switched that start off.
// Text is UTF-16, as the registry's wide functions give it (wchar_t on
// Windows). No windows.h: tested on the host.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Whether `value` (a NUL-terminated Run value) starts the program at
// `programPath`. White space before the path is skipped. A path in double
// quotes ends at the closing quote (or the end of the text when there is
// none); an unquoted one must be followed by the end of the text or a space,
// so that "C:\Program Files\x.exe -q" names C:\Program Files\x.exe. What
// follows the path (arguments) does not matter. ASCII letters compare without
// regard to case; every other character must be the same; an empty path
// names nothing.
bool runValueNamesProgram(const char16_t* value, const char16_t* programPath);

// Writes the program's path in double quotes and a NUL into `buffer` (of
// `size` characters) and returns the text's length; 0 and an empty text when
// it does not fit.
size_t formRunValue(const char16_t* programPath, char16_t* buffer, size_t size);

// Whether the entry the system keeps beside the Run value (written when the
// user switches the start off or on in Task Manager or Settings) says off:
// its first byte is 2 while on and 3 once off. An odd first byte is off; an
// entry that is absent or empty is on.
bool startupEntrySaysOff(const uint8_t* data, size_t size);
