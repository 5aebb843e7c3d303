// The records Wine's shell32 sends its shell in WM_COPYDATA, for the tests'
// stand-in shells: what SHAppBarMessage asks (dwData the request) and the
// answer it reads back from a mapping it names, both the same on 32 and 64
// bits; and the start of what Shell_NotifyIcon sends (dwData the NIM_ request).
#pragma once
#include <windows.h>

struct AppBarFields {
    ULONG window;
    UINT callbackMessage;
    UINT edge;
    RECT rect;
    ULONGLONG lParam;
};
struct AppBarRequest {
    ULONG answerMapping;
    DWORD answerProcess;
    AppBarFields fields;
};
struct AppBarAnswer {
    ULONGLONG result;
    AppBarFields fields;
};
struct NotifyIconFields {
    LONG window;
    UINT id;
};
static_assert(sizeof(AppBarRequest) == 48, "the request as Wine's shell sends it");
static_assert(sizeof(AppBarAnswer) == 48, "the answer as Wine's shell reads it");
