#include "tray/context_menu.h"

#include "about/about_dialog.h"
#include "app/app_state.h"
#include "resources/resource.h"

void showContextMenu(POINT point) {
    // One menu at a time: a press that arrives while one is tracked (the
    // tracking loop dispatches it) would otherwise stack a second menu.
    if (g_app.inMenuLoop)
        return;
    // Loaded afresh for every display and destroyed once tracking returns.
    HMENU menu = LoadMenuA(g_app.instance, MAKEINTRESOURCEA(IDM_CONTEXT));
    if (menu == nullptr)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    if (popup != nullptr) {
        SetMenuDefaultItem(popup, IDM_ABOUT, FALSE);
        // Without the foreground the menu would not close when the user
        // clicks elsewhere.
        SetForegroundWindow(g_app.mainWindow);
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, point.x, point.y, 0, g_app.mainWindow, nullptr);
        // The documented remedy for a tray menu that won't close the second time.
        PostMessageA(g_app.mainWindow, WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
}

void handleTrayNotify(WPARAM, LPARAM mouseMessage) {
    POINT cursor = {};
    switch ((UINT)mouseMessage) {
    case WM_RBUTTONDOWN:
        if (GetCursorPos(&cursor))
            showContextMenu(cursor);
        break;
    case WM_LBUTTONDBLCLK: openAboutDialog(); break;
    default: break;
    }
}
