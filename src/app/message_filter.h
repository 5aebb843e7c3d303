// Started elevated, Pendrel would not receive the messages that less
// privileged processes (the shell, a second start) send it.
#pragma once
#include <windows.h>

// Lets the shell's "TaskbarCreated", the icon's callback, the hand-over and
// the icon re-add reach the window whatever the sender's privileges.
void letShellMessagesThrough(HWND window);
