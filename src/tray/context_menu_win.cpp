#include "tray/context_menu.h"

#include "resources/program.h"
#include "resources/resource.h"

void showContextMenu(POINT point) {
    // One menu at a time: a press that arrives while one is tracked (the
    // tracking loop dispatches it) would otherwise stack a second menu.
    if (programState().inMenuLoop)
        return;
    // Loaded afresh for every display and destroyed once tracking returns.
    HMENU menu = LoadMenuA(programState().instance, MAKEINTRESOURCEA(IDM_CONTEXT));
    if (menu == nullptr)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    if (popup != nullptr) {
        SetMenuDefaultItem(popup, IDM_ABOUT, FALSE);
        CheckMenuItem(popup, IDM_PAUSE, MF_BYCOMMAND | (programState().paused ? MF_CHECKED : MF_UNCHECKED));
        // Without the foreground the menu would not close when the user
        // clicks elsewhere.
        SetForegroundWindow(programState().mainWindow);
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, point.x, point.y, 0, programState().mainWindow, nullptr);
        // The documented remedy for a tray menu that won't close the second time.
        PostMessageA(programState().mainWindow, WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
}

void showContextMenuAtPointer() {
    POINT cursor = {};
    if (GetCursorPos(&cursor))
        showContextMenu(cursor);
}
