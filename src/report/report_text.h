// The report's text: UTF-8, one "key: value" line each, in forms fixed so
// that a reader (or a script) can find what it looks for. Written into a
// buffer of the caller's that never grows: what does not fit is left out.
// Only class names and program file names of other programs go in, never a
// title or a path. No windows.h: tested on the host.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "desktop/rect.h"
#include "trigger/stand_aside_rules.h"

struct ReportText {
    char* bytes;
    size_t capacity;
    size_t length;
};

struct ReportTime {
    uint32_t year, month, day, hour, minute, second;
};

struct WindowsVersion {
    uint32_t major, minor, build;
};

// Another program's window: names cut to REPORT_NAME_MAX_CHARS, an empty
// or missing one shown as "?".
struct ReportWindow {
    const wchar_t* className;
    const wchar_t* program;
    bool leftAlone;  // the strip stopped climbing over it for a while
};

enum StoredKind {
    STORED_NONE,
    STORED_TEXT,
    STORED_OTHER_TYPE,  // a value, but not text: its type is named, its bytes are not shown
    STORED_TOO_LONG,
};

struct StoredValue {
    StoredKind kind;
    uint32_t type;
    const wchar_t* text;  // ends at its first NUL or after `units`
    size_t units;
    bool list;  // a list of programs: of each entry only the file name is shown
};

// The first lines: the title, the program's version, the system's, the
// time and whether a compositor draws the desktop.
void reportHead(ReportText& text, const char* version, const WindowsVersion& windows, const ReportTime& now,
                bool composited);
void reportMonitor(ReportText& text, uint32_t number, const Rect& rect, uint32_t dpi, bool primary);
void reportTaskbar(ReportText& text, uint32_t number, const wchar_t* className, uint32_t edge, const Rect& rect,
                   bool topmost, bool autoHide, uint32_t monitor);
// The windows over the strip from the top down, `shown` of them; `more`
// when others lie there too.
void reportStrip(ReportText& text, uint32_t number, const Rect& rect, bool catching, const ReportWindow* over,
                 size_t shown, bool more);
// The window in front on a taskbar's monitor; null for none.
void reportFront(ReportText& text, uint32_t number, const ReportWindow* front, const Rect& rect, bool fills,
                 bool cursorHidden);
// The system's state of the user, the strips' state (a copy that does not
// run has none), the raises.
void reportNotificationState(ReportText& text, uint32_t state);
void reportState(ReportText& text, bool running, AsideReason reason, const wchar_t* program);
void reportLastBlocked(ReportText& text, const wchar_t* program, const ReportTime& at);  // null: none
void reportRaises(ReportText& text, uint32_t raises, uint32_t blocked);
void reportSetting(ReportText& text, const wchar_t* name, const StoredValue& value);
