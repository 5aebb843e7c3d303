// The programs the user names, such as "game.exe; Other.EXE": file names
// separated by semicolons, compared with the file name of a program's image.
// No windows.h: tested on the host.
#pragma once

#include <stddef.h>

// One name of the list: where it starts in the text and how long it is.
struct ListedName {
    size_t start;
    size_t length;
};

// The next name from *at on; *at moves past it. Each entry ends at a
// semicolon; blanks and double quotes around it are dropped, and of a path
// only the file name counts. An entry left empty names nothing. False when
// no name is left.
bool nextListedName(const wchar_t* list, size_t length, size_t* at, ListedName* name);

// Whether the list names the program of this file name. ASCII letters match
// in either case; the caller folds other letters on both sides first.
bool listNamesProgram(const wchar_t* list, size_t listLength, const wchar_t* fileName, size_t nameLength);

// A stored list ends at its first NUL or with its data; it is taken only
// when at most NEVER_OVER_MAX_CHARS characters long. *length gets its length.
bool acceptStoredList(const wchar_t* data, size_t units, size_t* length);
