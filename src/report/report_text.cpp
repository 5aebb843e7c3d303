#include "report/report_text.h"

#include <stdarg.h>

#include "resources/constants.h"
#include "resources/file_names.h"

namespace {

// Once something did not fit, nothing after it goes in either.
void putBytes(ReportText& t, const char* bytes, size_t count) {
    if (count > t.capacity - t.length) {
        t.capacity = t.length;
        return;
    }
    for (size_t i = 0; i < count; ++i)
        t.bytes[t.length++] = bytes[i];
}

void putAscii(ReportText& t, const char* text) {
    while (*text != '\0')
        putBytes(t, text++, 1);
}

void putNumber(ReportText& t, uint32_t value, unsigned minDigits) {
    char digits[10];
    unsigned count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0 || count < minDigits);
    while (count > 0)
        putBytes(t, &digits[--count], 1);
}

// A code point whole or not at all; a control character, which would break
// the line, as '?'.
void putCodePoint(ReportText& t, uint32_t c) {
    if (c < 0x20 || c == 0x7F)
        c = '?';
    char bytes[4];
    size_t count = 0;
    if (c < 0x80) {
        bytes[count++] = static_cast<char>(c);
    } else if (c < 0x800) {
        bytes[count++] = static_cast<char>(0xC0 | c >> 6);
        bytes[count++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        bytes[count++] = static_cast<char>(0xE0 | c >> 12);
        bytes[count++] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        bytes[count++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        bytes[count++] = static_cast<char>(0xF0 | c >> 18);
        bytes[count++] = static_cast<char>(0x80 | (c >> 12 & 0x3F));
        bytes[count++] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        bytes[count++] = static_cast<char>(0x80 | (c & 0x3F));
    }
    putBytes(t, bytes, count);
}

bool highSurrogate(uint32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool lowSurrogate(uint32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// At most `budget` units of UTF-16 (UTF-32 on the host); a pair cut in two,
// or a surrogate alone, becomes U+FFFD. The units taken.
size_t putWide(ReportText& t, const wchar_t* text, size_t units, size_t budget) {
    const size_t end = units < budget ? units : budget;
    for (size_t i = 0; i < end; ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if (highSurrogate(c) && i + 1 < end && lowSurrogate(static_cast<uint32_t>(text[i + 1])))
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[++i]) - 0xDC00);
        else if (highSurrogate(c) || lowSurrogate(c) || c > 0x10FFFF)
            c = 0xFFFD;
        putCodePoint(t, c);
    }
    return end;
}

size_t unitsOf(const wchar_t* text, size_t most) {
    size_t units = 0;
    while (units < most && text[units] != L'\0')
        ++units;
    return units;
}

void putName(ReportText& t, const wchar_t* name) {
    if (name == nullptr || name[0] == L'\0')
        putAscii(t, "?");
    else
        putWide(t, name, unitsOf(name, REPORT_NAME_MAX_CHARS), REPORT_NAME_MAX_CHARS);
}

const char* const EDGE_NAMES[] = {"left", "top", "right", "bottom"};

// The one way a line is written: a pattern with %u (a number), %2 (two
// digits at least), %d (a signed number), %r (a Rect*), %s (ASCII text), %y
// (yes or no) and %n (a name, wide).
void put(ReportText& t, const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p != '%') {
            putBytes(t, p, 1);
            continue;
        }
        switch (*++p) {
        case 'u': putNumber(t, va_arg(args, unsigned), 1); break;
        case '2': putNumber(t, va_arg(args, unsigned), 2); break;
        case 'd': {
            const int value = va_arg(args, int);
            if (value < 0)
                putAscii(t, "-");
            putNumber(t, value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value), 1);
            break;
        }
        case 'r': {
            const Rect* r = va_arg(args, const Rect*);
            put(t, "%d,%d,%d,%d", r->left, r->top, r->right, r->bottom);
            break;
        }
        case 's': putAscii(t, va_arg(args, const char*)); break;
        case 'y': putAscii(t, va_arg(args, int) ? "yes" : "no"); break;
        case 'n': putName(t, va_arg(args, const wchar_t*)); break;
        }
    }
    va_end(args);
}

// A stored text, cut to its budget; of a list's entries only the file names.
bool putStoredText(ReportText& t, const StoredValue& value) {
    const size_t units = unitsOf(value.text, value.units);
    size_t budget = REPORT_TEXT_MAX_CHARS;
    for (size_t start = 0; start < units;) {
        size_t end = start;
        while (value.list && end < units && value.text[end] != L';')
            ++end;
        if (!value.list)
            end = units;
        const size_t from = start + (value.list ? fileNameStart(value.text + start, end - start) : 0);
        end = end < units ? end + 1 : end;  // the separator goes with its entry
        const size_t taken = putWide(t, value.text + from, end - from, budget);
        budget -= taken;
        if (taken < end - from)
            return true;
        start = end;
    }
    return false;
}

}  // namespace

void reportHead(ReportText& t, const char* version, const WindowsVersion& windows, const ReportTime& now,
                bool composited) {
    put(t, "Pendrel report\r\nversion: %s\r\nwindows: %u.%u.%u\r\ntime: %u-%2-%2 %2:%2:%2\r\ncomposited: %y\r\n",
        version, windows.major, windows.minor, windows.build, now.year, now.month, now.day, now.hour, now.minute,
        now.second, composited);
}

void reportMonitor(ReportText& t, uint32_t number, const Rect& rect, uint32_t dpi, bool primary) {
    put(t, "monitor %u: %r dpi %u %s\r\n", number, &rect, dpi, primary ? "primary" : "secondary");
}

void reportTaskbar(ReportText& t, uint32_t number, const wchar_t* className, uint32_t edge, const Rect& rect,
                   bool topmost, bool autoHide, uint32_t monitor) {
    put(t, "taskbar %u: %n %s %r topmost %y autohide %y monitor %u\r\n", number, className,
        edge <= EDGE_BOTTOM ? EDGE_NAMES[edge] : "?", &rect, topmost, autoHide, monitor);
}

void reportStrip(ReportText& t, uint32_t number, const Rect& rect, bool catching, const ReportWindow* over,
                 size_t shown, bool more) {
    put(t, "strip %u: %r %s, over it: %s", number, &rect, catching ? "catching" : "out of the way",
        shown == 0 ? "none" : "");
    for (size_t i = 0; i < shown; ++i)
        put(t, "%s%n \"%n\"%s", i == 0 ? "" : ", ", over[i].className, over[i].program,
            over[i].leftAlone ? " (left alone)" : "");
    put(t, "%s\r\n", more ? ", ..." : "");
}

void reportFront(ReportText& t, uint32_t number, const ReportWindow* front, const Rect& rect, bool fills,
                 bool cursorHidden) {
    if (front == nullptr)
        put(t, "front %u: none\r\n", number);
    else
        put(t, "front %u: %n \"%n\" %r fills %y cursor hidden %y\r\n", number, front->className, front->program, &rect,
            fills, cursorHidden);
}

void reportNotificationState(ReportText& t, uint32_t state) {
    put(t, "notification state: %u\r\n", state);
}

void reportState(ReportText& t, bool running, AsideReason reason, const wchar_t* program) {
    const char* why = reason == ASIDE_LISTED ? "listed" : reason == ASIDE_FULL_SCREEN ? "full screen" : "game";
    if (!running)
        put(t, "state: not running\r\n");
    else if (reason == ASIDE_NONE || reason == ASIDE_PAUSED)
        put(t, "state: %s\r\n", reason == ASIDE_NONE ? "active" : "paused");
    else
        put(t, "state: standing aside for %n (%s)\r\n", program, why);
}

void reportLastBlocked(ReportText& t, const wchar_t* program, const ReportTime& at) {
    if (program == nullptr)
        put(t, "last blocked: none\r\n");
    else
        put(t, "last blocked: %n at %2:%2:%2\r\n", program, at.hour, at.minute, at.second);
}

void reportRaises(ReportText& t, uint32_t raises, uint32_t blocked) {
    put(t, "raises: %u, blocked: %u\r\n", raises, blocked);
}

void reportSetting(ReportText& t, const wchar_t* name, const StoredValue& value) {
    put(t, "setting %n: ", name);
    switch (value.kind) {
    case STORED_NONE: put(t, "(not stored)\r\n"); return;
    case STORED_OTHER_TYPE: put(t, "(not text, type %u)\r\n", value.type); return;
    case STORED_TOO_LONG: put(t, "(too long to show)\r\n"); return;
    case STORED_TEXT: break;
    }
    put(t, "\"");
    const bool cut = putStoredText(t, value);
    put(t, "\"%s\r\n", cut ? "..." : "");
}
