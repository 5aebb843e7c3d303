// Which strip the keyboard shortcut raises. No windows.h: tested on the host.
#pragma once

#include <stddef.h>
#include <stdint.h>

// `taskbarMonitors[i]` is the monitor of strip i's taskbar, the primary strip
// first; 0 for a strip without a taskbar. The answer is the first strip whose
// taskbar lies on the pointer's monitor, or the primary strip when none does
// (the pointer's monitor has no taskbar of its own, or its strip is off).
size_t stripOnPointerMonitor(const uintptr_t* taskbarMonitors, size_t count, uintptr_t pointerMonitor);
