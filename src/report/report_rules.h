// The report's decisions: what the command line asks for, which paths a
// report may be written to, and when a taskbar is hidden at its edge. No
// windows.h: tested on the host.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "desktop/rect.h"

enum CommandKind {
    COMMAND_RUN,             // anything but the report: arguments are ignored
    COMMAND_REPORT,          // `/report`, perhaps with the file
    COMMAND_REPORT_MISUSED,  // `/report` with more than one argument after it
};

struct Command {
    CommandKind kind;
    size_t pathStart;  // where the file's name lies in the line; no file when its length is 0
    size_t pathLength;
};

// Read as the system splits a command line: the program's name first, then
// arguments separated by blanks, double quotes around one that holds
// blanks (a path holds no double quote, so none is escaped).
Command readCommandLine(const wchar_t* line);

// A request's path, given as `units` characters with its NUL at the end:
// written to only when it is a plain absolute path on a drive, such as
// C:\folder\report.txt, of at most REPORT_PATH_MAX_CHARS characters, without
// a stream (a second ':'), a device's name (NUL, CON, COM1, ...), a "." or
// ".." step, an empty step, a name ending in a dot or a blank (which the
// system would drop), or a character the file system refuses.
bool reportPathAllowed(const wchar_t* path, size_t units);

// An auto-hidden taskbar lies mostly off the monitor whose edge it is on:
// less than half of its thickness shows.
bool hiddenOffMonitor(const Rect& taskbar, const Rect& monitor, uint32_t edge);
