// The report written to a file: only to a path the rule allows, and only
// over a regular file or as a new one.
#pragma once
#include <windows.h>

// `units` counts the path's characters with its NUL. `running`: this
// process is the running copy, with its strips.
bool writeReport(const WCHAR* path, size_t units, bool running);
