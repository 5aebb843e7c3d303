#include "tray/tray_notify.h"

// The mouse messages the icon reports, as the system numbers them.
static const uint32_t MOUSE_RIGHT_DOWN = 0x0204;
static const uint32_t MOUSE_LEFT_DOUBLE_CLICK = 0x0203;
static const uint32_t MOUSE_LEFT_UP = 0x0202;

TrayNotifyAction trayNotifyAction(uint32_t mouseMessage) {
    switch (mouseMessage) {
    case MOUSE_RIGHT_DOWN: return TRAY_OPEN_MENU;
    case MOUSE_LEFT_DOUBLE_CLICK: return TRAY_OPEN_ABOUT;
    case MOUSE_LEFT_UP: return TRAY_CLICK_OVER;
    default: return TRAY_IGNORE;
    }
}
