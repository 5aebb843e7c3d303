#include "resources/program.h"

#include <windows.h>
#include <commctrl.h>

typedef BOOL(WINAPI* InitCommonControlsExProc)(const INITCOMMONCONTROLSEX*);

void ensureCommonControls() {
    // Loaded and initialised once, then kept for the life of the process: the
    // dialogs need it every time, and each load would add a reference.
    static bool done = false;
    if (done)
        return;
    done = true;
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (library == nullptr)
        return;
    InitCommonControlsExProc init = (InitCommonControlsExProc)(void*)GetProcAddress(library, "InitCommonControlsEx");
    if (init == nullptr)
        return;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES | ICC_HOTKEY_CLASS};
    init(&controls);
}
