// The one conversion of stored text to a number. No windows.h: tested on the host.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Reads a signed decimal number the way every stored value is read: white
// space (0x20, 0x09 to 0x0D) is skipped, one '+' or '-' is taken, then the
// digits up to the first other byte, in 32 bits with wrap-around. The text
// ends at its first NUL or after `count` bytes, whichever comes first; no
// byte past `count` is touched. A text without digits reads as 0.
int32_t readDecimal(const char* text, size_t count);
