// The compositor's library of Windows 8 and later: the desktop is always
// composited. Its one function is exported by name through dwmapi.def.
#include <windows.h>

extern "C" HRESULT WINAPI DwmIsCompositionEnabled(BOOL* enabled) {
    *enabled = TRUE;
    return S_OK;
}
