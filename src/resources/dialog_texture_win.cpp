#include "resources/program.h"

typedef HRESULT(WINAPI* EnableThemeDialogTextureProc)(HWND, DWORD);
static const DWORD TEXTURE_ENABLE_TAB = 0x6;  // ETDT_ENABLETAB: ETDT_ENABLE | ETDT_USETABTEXTURE

// Loaded when first needed, where the system has it: without visual styles
// the tab's pane is the dialog's own colour and nothing is to be done.
void giveDialogTheTabTexture(HWND dialog) {
    static bool looked = false;
    static EnableThemeDialogTextureProc enable = nullptr;
    if (!looked) {
        looked = true;
        HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
        if (uxtheme != nullptr)
            enable = (EnableThemeDialogTextureProc)(void*)GetProcAddress(uxtheme, "EnableThemeDialogTexture");
    }
    if (enable != nullptr)
        enable(dialog, TEXTURE_ENABLE_TAB);
}
