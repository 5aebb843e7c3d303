#include "desktop/shell_kin.h"

#include "desktop/process.h"
#include "desktop/shell_windows.h"
#include "desktop/win_rect.h"
#include "desktop/zorder_rules.h"

HWND topLevelWindowAt(POINT p) {
    HWND window = WindowFromPoint(p);
    return window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
}

static bool captioned(HWND window) {
    return (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

bool fillsMonitorRect(HWND window, const RECT& monitor) {
    RECT rect = {}, client = {};
    if (window == nullptr || !GetWindowRect(window, &rect) || !GetClientRect(window, &client))
        return false;
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x, origin.y);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const bool framed = (style & WS_CAPTION) == WS_CAPTION || (style & WS_THICKFRAME) != 0;
    return fillsMonitor(toRect(rect), toRect(client), framed, toRect(monitor));
}

bool shownFromTaskbar(HWND window, HWND taskbar, const RECT& monitor) {
    if (window == nullptr || window == taskbar)
        return false;
    DWORD pid = 0, taskbarPid = 0;
    GetWindowThreadProcessId(window, &pid);
    GetWindowThreadProcessId(taskbar, &taskbarPid);
    WindowKin kin = {taskbarPid != 0 && pid == taskbarPid, GetAncestor(window, GA_ROOTOWNER) == taskbar,
                     fillsMonitorRect(window, monitor), captioned(window), nullptr, nullptr};
    // A process other than the taskbar's is known by its image's name.
    wchar_t image[IMAGE_PATH_CAPACITY], taskbarImage[IMAGE_PATH_CAPACITY];
    if (!kin.taskbarProcess && imagePathOf(pid, image) != 0) {
        kin.image = image;
        if (imagePathOf(taskbarPid, taskbarImage) != 0)
            kin.taskbarImage = taskbarImage;
    }
    return shownByShell(kin);
}
