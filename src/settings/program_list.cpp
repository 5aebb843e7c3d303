#include "settings/program_list.h"

#include "resources/constants.h"
#include "resources/file_names.h"

namespace {

// What may stand around a name without being part of it: white space a paste
// can bring, and the quotes of a path copied from Explorer.
bool isPadding(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0xA0 || c == L'"';
}

}  // namespace

bool nextListedName(const wchar_t* list, size_t length, size_t* at, ListedName* name) {
    while (*at < length) {
        size_t end = *at;
        while (end < length && list[end] != L';')
            ++end;
        size_t start = *at + fileNameStart(list + *at, end - *at);
        *at = end < length ? end + 1 : end;
        while (start < end && isPadding(list[start]))
            ++start;
        while (end > start && isPadding(list[end - 1]))
            --end;
        if (end > start) {
            *name = {start, end - start};
            return true;
        }
    }
    return false;
}

bool listNamesProgram(const wchar_t* list, size_t listLength, const wchar_t* fileName, size_t nameLength) {
    size_t at = 0;
    ListedName name = {};
    while (nextListedName(list, listLength, &at, &name))
        if (sameFileName(list + name.start, name.length, fileName, nameLength))
            return true;
    return false;
}

bool acceptStoredList(const wchar_t* data, size_t units, size_t* length) {
    size_t extent = 0;
    while (extent < units && data[extent] != 0)
        ++extent;
    *length = extent;
    return extent <= NEVER_OVER_MAX_CHARS;
}
