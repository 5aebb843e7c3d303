#include "trigger/strip_choice.h"

size_t stripOnPointerMonitor(const uintptr_t* taskbarMonitors, size_t count, uintptr_t pointerMonitor) {
    for (size_t i = 0; i < count; ++i)
        if (taskbarMonitors[i] != 0 && taskbarMonitors[i] == pointerMonitor)
            return i;
    return 0;
}
