// The program behind a window, known by its image's path.
#pragma once
#include <windows.h>

#include "resources/constants.h"

// The full path of the process's image, its length in `path`; 0 when the
// process cannot be opened or the path is longer than the buffer. The
// function exists from Windows Vista on.
DWORD imagePathOf(DWORD pid, wchar_t (&path)[IMAGE_PATH_CAPACITY]);
// The image of the window's program. A Store app's window belongs to the
// process that frames it: its program is the one of its child window from
// another process.
DWORD programPathOf(HWND window, wchar_t (&path)[IMAGE_PATH_CAPACITY]);
// The file name of the window's program, cut to fit; empty when unknown.
void programNameOf(HWND window, wchar_t (&name)[PROGRAM_NAME_CAPACITY]);
