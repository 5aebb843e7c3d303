// monitor_probe.exe: the monitors as a Win32 program sees them, to check the
// desktop of tools/two-monitor-desktop.sh.
//   monitor_probe                  prints the monitors
//   monitor_probe --watch SECONDS  also prints, for SECONDS, each change of the
//                                  monitor count and each WM_DISPLAYCHANGE, with
//                                  the milliseconds since the watch began
// Exit code 0 when the monitors (at the end of the watch) are exactly two side
// by side: (0,0,1024,768) primary and (1024,0,2048,768); 1 otherwise; 2 on bad
// arguments.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

enum ExitCode { EXIT_TWO_SIDE_BY_SIDE, EXIT_OTHER_MONITORS, EXIT_USAGE };
const int MAX_MONITORS = 16;
const int MAX_WATCH_SECONDS = 3600;
const UINT_PTR POLL_TIMER = 1;
const UINT POLL_MS = 10;
const LONG SIDE = 1024;
const LONG HEIGHT = 768;

struct Monitor {
    RECT rect;
    bool primary;
};

struct Monitors {
    int count;  // all of them, even beyond MAX_MONITORS
    Monitor list[MAX_MONITORS];
};

struct Watch {
    DWORD startTick;
    DWORD durationMs;
    int lastCount;
};

Watch watch = {};

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    Monitors* monitors = reinterpret_cast<Monitors*>(data);
    if (monitors->count < MAX_MONITORS) {
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        // A monitor whose information cannot be read keeps an empty rectangle and fails the check.
        GetMonitorInfoA(monitor, &info);
        monitors->list[monitors->count].rect = info.rcMonitor;
        monitors->list[monitors->count].primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    }
    monitors->count++;
    return TRUE;
}

Monitors readMonitors() {
    Monitors monitors = {};
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

bool sameRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
    return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

bool twoSideBySide(const Monitors& monitors) {
    if (monitors.count != 2)
        return false;
    bool left = false;
    bool right = false;
    for (int i = 0; i < 2; ++i) {
        const Monitor& m = monitors.list[i];
        left = left || (m.primary && sameRect(m.rect, 0, 0, SIDE, HEIGHT));
        right = right || (!m.primary && sameRect(m.rect, SIDE, 0, 2 * SIDE, HEIGHT));
    }
    return left && right;
}

int report() {
    const Monitors monitors = readMonitors();
    printf("MONITORS %d\n", monitors.count);
    for (int i = 0; i < monitors.count && i < MAX_MONITORS; ++i) {
        const Monitor& m = monitors.list[i];
        printf("MONITOR %ld %ld %ld %ld%s\n", m.rect.left, m.rect.top, m.rect.right, m.rect.bottom,
               m.primary ? " primary" : "");
    }
    fflush(stdout);
    return twoSideBySide(monitors) ? EXIT_TWO_SIDE_BY_SIDE : EXIT_OTHER_MONITORS;
}

DWORD watchedMs() { return GetTickCount() - watch.startTick; }

LRESULT onDisplayChange(WPARAM bitsPerPixel, LPARAM size) {
    printf("%lu ms WM_DISPLAYCHANGE %ux%u %u bpp\n", watchedMs(), static_cast<unsigned>(LOWORD(size)),
           static_cast<unsigned>(HIWORD(size)), static_cast<unsigned>(bitsPerPixel));
    fflush(stdout);
    return 0;
}

LRESULT onPoll() {
    const int count = readMonitors().count;
    if (count != watch.lastCount) {
        printf("%lu ms MONITORS %d\n", watchedMs(), count);
        fflush(stdout);
        watch.lastCount = count;
    }
    if (watchedMs() >= watch.durationMs)
        PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK watchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DISPLAYCHANGE: return onDisplayChange(wParam, lParam);
    case WM_TIMER: return onPoll();
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// A hidden top-level window: WM_DISPLAYCHANGE is broadcast to top-level
// windows only, and the count is polled since Wine does not broadcast every change.
int watchFor(int seconds) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = watchProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PendrelMonitorProbe";
    if (!RegisterClassA(&windowClass))
        return EXIT_OTHER_MONITORS;
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "monitor probe", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr || !SetTimer(window, POLL_TIMER, POLL_MS, nullptr))
        return EXIT_OTHER_MONITORS;
    watch.startTick = GetTickCount();
    watch.durationMs = static_cast<DWORD>(seconds) * 1000;
    watch.lastCount = -1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    DestroyWindow(window);
    return report();
}

int usage() {
    fprintf(stderr, "usage: monitor_probe [--watch SECONDS]\n");
    return EXIT_USAGE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 1)
        return report();
    if (argc != 3 || strcmp(argv[1], "--watch") != 0)
        return usage();
    char* end = nullptr;
    const long seconds = strtol(argv[2], &end, 10);
    if (end == argv[2] || *end != '\0' || seconds < 1 || seconds > MAX_WATCH_SECONDS)
        return usage();
    report();
    return watchFor(static_cast<int>(seconds));
}
