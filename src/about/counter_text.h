#pragma once
#include <windows.h>

#include "resources/constants.h"

// The counter label: "You have activated %lu times the taskbar." with the count,
// and a plural suffix ("s" above 1) for a format that wants one.
void counterText(DWORD count, char (&buffer)[TEXT_BUFFER_SIZE]);
