#pragma once
#include <windows.h>

// Shows the About / Configuration / Exit menu at a screen point; the chosen
// command reaches the TriggerWindow as WM_COMMAND.
void showContextMenu(POINT point);
// The icon's callback: the menu opens on the right-button press, a left
// double-click opens the About dialog; anything else is ignored.
void handleTrayNotify(WPARAM iconId, LPARAM mouseMessage);
