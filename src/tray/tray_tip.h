// What the icon's tooltip says: the program's name while the strips act,
// and otherwise why not. No windows.h: tested on the host.
#pragma once

#include <stddef.h>

enum TipKind {
    TIP_ACTING,   // "Pendrel"
    TIP_PAUSED,   // "Pendrel (paused)"
    TIP_ASIDE,    // a strip keeps out of the way of the program in front
    TIP_BLOCKED,  // a program stayed over the raised taskbar, and no raise held since
};

// The pause first, then a strip standing aside, then a blocked raise; the
// last two only with the program's name known.
TipKind tipKind(bool paused, const wchar_t* asideFor, const wchar_t* blockedBy);

// Writes `format` with its "%s" replaced by `name` into `out` (`size`
// characters with the NUL), cut to what fits.
void fillTip(const wchar_t* format, const wchar_t* name, wchar_t* out, size_t size);
