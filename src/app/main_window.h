// The TriggerWindow: the primary strip, and the owner of the tray icon, the
// timers and the menus. Its procedure and every handler live here; each
// handler calls the plain actions the feature folders offer.
#pragma once
#include <windows.h>

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
