// What a mouse message from the notification-area icon asks for. No
// windows.h: tested on the host.
#pragma once

#include <stdint.h>

enum TrayNotifyAction {
    TRAY_IGNORE,
    TRAY_OPEN_MENU,   // the right button pressed on the icon
    TRAY_OPEN_ABOUT,  // a double-click with the left button
    TRAY_CLICK_OVER,  // the left button let go: a dialog the click opened may take the foreground
};

TrayNotifyAction trayNotifyAction(uint32_t mouseMessage);
