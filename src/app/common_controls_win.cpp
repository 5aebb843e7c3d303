#include "app/common_controls.h"

#include <windows.h>
#include <commctrl.h>

typedef BOOL(WINAPI* InitCommonControlsExProc)(const INITCOMMONCONTROLSEX*);

void ensureCommonControls() {
    // Kept loaded for the life of the process, as the dialogs need it every time.
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (library == nullptr)
        return;
    InitCommonControlsExProc init = (InitCommonControlsExProc)(void*)GetProcAddress(library, "InitCommonControlsEx");
    if (init == nullptr)
        return;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
    init(&controls);
}
