#include "report/report_rules.h"

#include "resources/constants.h"
#include "resources/file_names.h"

namespace {

bool blank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// The argument from `at` on: its text without quotes, and where the next
// one may begin.
struct Argument {
    size_t start, length, next;
};

Argument argumentAt(const wchar_t* line, size_t at) {
    while (blank(line[at]))
        ++at;
    const bool quoted = line[at] == L'"';
    const size_t start = quoted ? at + 1 : at;
    size_t end = start;
    while (line[end] != L'\0' && (quoted ? line[end] != L'"' : !blank(line[end])))
        ++end;
    return Argument{start, end - start, quoted && line[end] == L'"' ? end + 1 : end};
}

// Something stood there: text, or quotes around nothing.
bool given(const Argument& argument) {
    return argument.next > argument.start;
}

bool isReportSwitch(const wchar_t* text, size_t length) {
    const char SWITCH[] = "/REPORT";
    if (length != sizeof SWITCH - 1)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (asciiUpper(static_cast<char32_t>(text[i])) != static_cast<char32_t>(SWITCH[i]))
            return false;
    return true;
}

bool separator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool deviceDigit(char32_t c) {
    return (c >= U'0' && c <= U'9') || c == 0xB9 || c == 0xB2 || c == 0xB3;  // the superscripts count too
}

// '#' in the device's name stands for its number.
bool namesDevice(const wchar_t* name, size_t length, const char* device) {
    size_t i = 0;
    for (; device[i] != '\0'; ++i) {
        const char32_t c = i < length ? asciiUpper(static_cast<char32_t>(name[i])) : 0;
        if (i == length || (device[i] == '#' ? !deviceDigit(c) : c != static_cast<char32_t>(device[i])))
            return false;
    }
    return i == length;
}

// The system opens the device whatever follows a dot in the name, and drops
// the blanks before that dot.
bool deviceName(const wchar_t* name, size_t length) {
    size_t base = 0;
    while (base < length && name[base] != L'.')
        ++base;
    while (base > 0 && name[base - 1] == L' ')
        --base;
    const char* const DEVICES[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "COM#", "LPT#"};
    for (const char* device : DEVICES)
        if (namesDevice(name, base, device))
            return true;
    return false;
}

bool plainName(const wchar_t* name, size_t length) {
    if (length == 0 || name[length - 1] == L'.' || name[length - 1] == L' ')
        return false;
    for (size_t i = 0; i < length; ++i) {
        const wchar_t c = name[i];
        if (c < 0x20 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'|' || c == L'?' || c == L'*')
            return false;
    }
    return !deviceName(name, length);
}

}  // namespace

Command readCommandLine(const wchar_t* line) {
    // The program's name ends at its closing quote, or at the first blank.
    size_t at = 0;
    if (line[0] == L'"') {
        for (at = 1; line[at] != L'\0' && line[at] != L'"'; ++at) {
        }
        at += line[at] == L'"' ? 1 : 0;
    } else {
        while (line[at] != L'\0' && !blank(line[at]))
            ++at;
    }
    const Argument command = argumentAt(line, at);
    if (!isReportSwitch(line + command.start, command.length))
        return Command{COMMAND_RUN, 0, 0};
    const Argument file = argumentAt(line, command.next);
    const Argument rest = argumentAt(line, file.next);
    const bool misused = given(rest) || (given(file) && file.length == 0);
    return Command{misused ? COMMAND_REPORT_MISUSED : COMMAND_REPORT, file.start, file.length};
}

bool reportPathAllowed(const wchar_t* path, size_t units) {
    if (units < 5 || units > REPORT_PATH_MAX_CHARS + 1 || path[units - 1] != L'\0')
        return false;
    const size_t length = units - 1;
    if (asciiUpper(static_cast<char32_t>(path[0])) < U'A' || asciiUpper(static_cast<char32_t>(path[0])) > U'Z' ||
        path[1] != L':' || !separator(path[2]))
        return false;
    size_t start = 3;
    for (size_t i = start; i <= length; ++i) {
        if (i < length && !separator(path[i]))
            continue;
        if (!plainName(path + start, i - start))
            return false;
        start = i + 1;
    }
    return true;
}

bool hiddenOffMonitor(const Rect& taskbar, const Rect& monitor, uint32_t edge) {
    const bool across = edge == EDGE_LEFT || edge == EDGE_RIGHT;
    const int64_t from = across ? taskbar.left : taskbar.top, to = across ? taskbar.right : taskbar.bottom;
    const int64_t low = across ? monitor.left : monitor.top, high = across ? monitor.right : monitor.bottom;
    const int64_t shown = (to < high ? to : high) - (from > low ? from : low);
    return to > from && 2 * shown < to - from;
}
