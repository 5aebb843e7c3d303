#include "tray/tray_icon.h"

#include <shellapi.h>

#include "resources/program.h"
#include "resources/resource.h"
#include "tray/tray_state.h"

// The first form of the record is what every shell accepts; later fields are
// never needed for an icon with a tooltip and a callback.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "first form of NOTIFYICONDATAA is 88 bytes on 32-bit builds");
#endif

void addTrayIcon(HWND window, UINT iconId, HICON icon, const char* tooltip) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = iconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = icon;
    // The first form's tip holds 63 characters and a NUL; lstrcpynA counts the NUL.
    if (tooltip != nullptr)
        lstrcpynA(data.szTip, tooltip, TOOLTIP_MAX_CHARS + 1);
    // Remembered whatever the shell answers: an add refused because the shell
    // was not up yet is repeated when it announces itself.
    trayState().iconWanted = 1;
    Shell_NotifyIconA(NIM_ADD, &data);
}

void deleteTrayIcon(HWND window, UINT iconId) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = iconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    trayState().iconWanted = 0;
}

static void loadTip(char (&tooltip)[TEXT_BUFFER_SIZE]) {
    loadText(programState().paused ? IDS_CAPTION_PAUSED : IDS_CAPTION, tooltip);
}

void showTrayIcon(HWND window, HICON icon) {
    char tooltip[TEXT_BUFFER_SIZE];
    loadTip(tooltip);
    addTrayIcon(window, TRAY_ICON_ID, icon, tooltip);
}

// An icon that is not there is left away: the shell refuses the change.
void showTrayTip(HWND window) {
    char tooltip[TEXT_BUFFER_SIZE];
    loadTip(tooltip);
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_TIP;
    lstrcpynA(data.szTip, tooltip, TOOLTIP_MAX_CHARS + 1);
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

void hideTrayIcon(HWND window) {
    deleteTrayIcon(window, TRAY_ICON_ID);
}

void readdTrayIcon(HWND window, HICON icon) {
    hideTrayIcon(window);
    showTrayIcon(window, icon);
}

bool trayIconWanted() {
    return trayState().iconWanted != 0;
}
