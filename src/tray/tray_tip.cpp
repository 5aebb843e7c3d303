#include "tray/tray_tip.h"

static bool named(const wchar_t* name) {
    return name != nullptr && name[0] != L'\0';
}

TipKind tipKind(bool paused, const wchar_t* asideFor, const wchar_t* blockedBy) {
    if (paused)
        return TIP_PAUSED;
    if (named(asideFor))
        return TIP_ASIDE;
    return named(blockedBy) ? TIP_BLOCKED : TIP_ACTING;
}

void fillTip(const wchar_t* format, const wchar_t* name, wchar_t* out, size_t size) {
    if (size == 0)
        return;
    size_t at = 0;
    for (const wchar_t* f = format; *f != L'\0' && at + 1 < size; ++f) {
        if (f[0] == L'%' && f[1] == L's') {
            for (const wchar_t* n = name; *n != L'\0' && at + 1 < size; ++n)
                out[at++] = *n;
            ++f;
            continue;
        }
        out[at++] = *f;
    }
    out[at] = L'\0';
}
