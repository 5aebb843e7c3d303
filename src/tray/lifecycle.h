// The TriggerWindow's creation and destruction, its menu commands and the
// messages that bring the tray icon back.
#pragma once
#include <windows.h>

LRESULT onCreate(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT onDestroy(HWND window);
LRESULT onCommand(HWND window, WPARAM wParam);
LRESULT onRightButtonDown(HWND window, LPARAM lParam);
LRESULT onIconRemovalTick(HWND window);
LRESULT onDropFiles(WPARAM wParam);
LRESULT onTrayNotify(WPARAM wParam, LPARAM lParam);
LRESULT onSecondInstance(HWND window);
LRESULT onReaddIcon(HWND window);
LRESULT onTaskbarCreated(HWND window);
