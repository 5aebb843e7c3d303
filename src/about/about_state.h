#pragma once
#include <windows.h>

#include "resources/constants.h"

// The activation statistics and the About dialog with its link buttons.
struct AboutState {
    // Statistics, not persisted.
    DWORD activationCount = 0;
    FILETIME countStart = {};
    DWORD statsUnit = STATS_UNIT_DEFAULT;

    HWND dialog = nullptr;
    HICON iconSmall = nullptr;  // loaded at the first opening and kept

    // Link buttons.
    HWND hotLink = nullptr;
    HWND mailLink = nullptr;
    HWND webLink = nullptr;
    COLORREF mailLinkColor = 0;
    COLORREF webLinkColor = 0;
    LONG mailLinkSized = 0;
    LONG webLinkSized = 0;
    WNDPROC linkPrevProc = nullptr;
};

AboutState& aboutState();
