// Arbitrary text through the list of programs. The characters sit in a heap
// buffer of exactly their count, so AddressSanitizer stops any read past it.
// Every name lies inside the text after the one before, is not empty, holds
// no separator and no padding at its ends, and the match finds it again.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <memory>

#include "settings/program_list.h"

static bool separatorOrPadding(wchar_t c) {
    return c == L';' || c == L'\\' || c == L'/' || c == L'"' || c == L' ' || c == L'\t';
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t units = size / 2;
    std::unique_ptr<wchar_t[]> list(new wchar_t[units]);
    for (size_t i = 0; i < units; ++i)
        list[i] = static_cast<wchar_t>(data[2 * i] | data[2 * i + 1] << 8);

    size_t at = 0, previousEnd = 0;
    ListedName name = {};
    while (nextListedName(list.get(), units, &at, &name)) {
        const size_t end = name.start + name.length;
        if (name.length == 0 || name.start < previousEnd || end > units || at < end || at > units)
            abort();
        if (separatorOrPadding(list[name.start]) || separatorOrPadding(list[end - 1]))
            abort();
        for (size_t i = name.start; i < end; ++i)
            if (list[i] == L';' || list[i] == L'\\' || list[i] == L'/')
                abort();
        if (!listNamesProgram(list.get(), units, list.get() + name.start, name.length))
            abort();
        previousEnd = end;
    }
    size_t length = 0;
    const bool taken = acceptStoredList(list.get(), units, &length);
    if (length > units || taken != (length <= 1024))
        abort();
    return 0;
}
