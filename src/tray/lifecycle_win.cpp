#include "tray/lifecycle.h"

#include <shellapi.h>
#include <windowsx.h>

#include "about/about_dialog.h"
#include "app/app_state.h"
#include "app/start_timer.h"
#include "resources/resource.h"
#include "settings/config_dialog.h"
#include "settings/settings_store.h"
#include "tray/context_menu.h"
#include "tray/tray_icon.h"
#include "trigger/locator.h"

LRESULT onCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    g_app.mainWindow = window;
    g_app.trayIconSmall = loadSmallAppIcon();
    g_app.taskbarCreatedMessage = RegisterWindowMessageA(TASKBAR_CREATED_MESSAGE_NAME);
    loadSettings();
    if (g_app.settings.showTrayIcon) {
        char tooltip[TEXT_BUFFER_SIZE];
        loadText(IDS_CAPTION, tooltip);
        addTrayIcon(window, TRAY_ICON_ID, g_app.trayIconSmall, tooltip);
        // A failed start has been reported; the icon simply stays.
        if (g_app.settings.removeIconAfterTimeout)
            startTimer(window, TIMER_ICON_REMOVAL, ICON_REMOVAL_PERIOD_MS);
    }
    return DefWindowProcA(window, WM_CREATE, wParam, lParam);
}

LRESULT onDestroy(HWND window) {
    deleteTrayIcon(window, TRAY_ICON_ID);
    PostQuitMessage(0);
    return 0;
}

LRESULT onCommand(HWND, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDM_ABOUT: openAboutDialog(); break;
    case IDM_CONFIG: openConfigDialog(); break;
    case IDM_EXIT: PostMessageA(g_app.mainWindow, WM_CLOSE, 0, 0); break;
    default: break;
    }
    return 0;
}

LRESULT onRightButtonDown(HWND window, LPARAM lParam) {
    POINT click = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &click);
    showContextMenu(click);
    return 0;
}

LRESULT onIconRemovalTick(HWND window) {
    deleteTrayIcon(window, TRAY_ICON_ID);
    KillTimer(window, TIMER_ICON_REMOVAL);
    return 0;
}

// The window accepts dropped files but has no use for them: the drop's
// handle is only given back.
LRESULT onDropFiles(WPARAM wParam) {
    DragFinish(reinterpret_cast<HDROP>(wParam));
    return 0;
}

LRESULT onTrayNotify(WPARAM wParam, LPARAM lParam) {
    handleTrayNotify(wParam, lParam);
    return 0;
}

// A second start asks for the icon back for good and for the About dialog,
// whatever the settings say.
LRESULT onSecondInstance(HWND window) {
    readdTrayIcon(window, g_app.trayIconSmall);
    KillTimer(window, TIMER_ICON_REMOVAL);
    openAboutDialog();
    return 0;
}

LRESULT onReaddIcon(HWND window) {
    readdTrayIcon(window, g_app.trayIconSmall);
    return 0;
}

// A restarted shell has forgotten every icon: put ours back exactly when it
// is meant to be showing, so that an icon the removal timer took away stays away.
LRESULT onTaskbarCreated(HWND window) {
    announceShellChange();
    if (g_app.trayIconWanted)
        readdTrayIcon(window, g_app.trayIconSmall);
    return 0;
}
