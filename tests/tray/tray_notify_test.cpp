#include <gtest/gtest.h>

#include "tray/tray_notify.h"

namespace {

// The icon reports every mouse message; only three of them do anything.
TEST(TrayNotify, TheRightPressOpensTheMenuTheDoubleClickTheAboutBox) {
    struct {
        uint32_t message;
        TrayNotifyAction action;
    } cases[] = {
        {0x0204, TRAY_OPEN_MENU},   // right button down
        {0x0203, TRAY_OPEN_ABOUT},  // left double-click
        {0x0205, TRAY_IGNORE},      // right button up
        {0x0201, TRAY_IGNORE},      // left button down
        {0x0202, TRAY_CLICK_OVER},  // left button up
        {0x0206, TRAY_IGNORE},      // right double-click
        {0x0200, TRAY_IGNORE},      // move
        {0x0400, TRAY_IGNORE},      // a newer shell's select message
        {0x00010204, TRAY_IGNORE},  // a newer shell's packed form is not ours
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.action, trayNotifyAction(c.message)) << std::hex << c.message;
}

}  // namespace
