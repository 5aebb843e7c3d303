// bench_driver.exe: the Windows side of tools/benchmark.sh.
//   bench_driver reset                     no copy running, no settings, pointer away
//   bench_driver ready [STRIPS]            waits for pendrel.exe on the strip, the baseline's window and
//                                          STRIPS strips of secondary taskbars (default 0)
//   bench_driver standins                  a taskbar along the bottom of each of two monitors side by
//                                          side, where the desktop shows none, until `stop`
//   bench_driver stop                      closes pendrel.exe and the baseline, removes the settings,
//                                          ends the stand-in taskbars
//   bench_driver probe                     checks the object counting on objects of its own
//   bench_driver latency TRIES DELAY_MS    activation and release latency (DELAY_MS 0: delay off)
//   bench_driver churn ACTIVATIONS OPENINGS  object counts before and after
// Exit code 0 when it measured, whatever the figures; 1 when it could not; 2 on bad arguments.
#include "bench.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace bench {
namespace {

const int EXIT_MEASURED = 0;
const int EXIT_NOT_MEASURED = 1;
const int EXIT_USAGE = 2;

// `standins` waits on this event, which `stop` sets.
const char STAND_INS_DONE[] = "PendrelBenchStandInsDone";
const DWORD STAND_INS_BOUND_MS = 3600000;
const LONG STAND_IN_HEIGHT = 30;

int reset() {
    closeAllOf(PENDREL_TRIGGER_CLASS);
    closeAllOf(BASELINE_CLASS);
    resetTaskbarBand();
    deleteSettingsKey();
    movePointerThroughX(AWAY.x, AWAY.y);
    return EXIT_MEASURED;
}

long secondaryStrips() {
    long count = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, PENDREL_STRIP_CLASS, nullptr); w != nullptr;
         w = FindWindowExA(nullptr, w, PENDREL_STRIP_CLASS, nullptr))
        ++count;
    return count;
}

int ready(long strips) {
    RECT strip = {};
    if (!waitUntil([&] { return shellTaskbar() != nullptr && bottomStrip(&strip); }, START_BOUND_MS))
        return EXIT_NOT_MEASURED;
    HWND trigger = nullptr;
    const bool onStrip = waitUntil(
        [&] {
            trigger = FindWindowA(PENDREL_TRIGGER_CLASS, PENDREL_CAPTION);
            return trigger != nullptr && sameRect(windowRect(trigger), strip);
        },
        START_BOUND_MS);
    const bool baseline = waitUntil([] { return FindWindowA(BASELINE_CLASS, nullptr) != nullptr; }, START_BOUND_MS);
    const bool secondaries = waitUntil([&] { return secondaryStrips() == strips; }, START_BOUND_MS);
    printResult("pendrel_on_strip", onStrip ? "1" : "0");
    printResult("baseline_window", baseline ? "1" : "0");
    printCount("secondary_strips", secondaryStrips());
    return onStrip && baseline && secondaries ? EXIT_MEASURED : EXIT_NOT_MEASURED;
}

// The bottom band of a monitor, as tall as a taskbar.
RECT bottomBand(const RECT& monitor) {
    return RECT{monitor.left, monitor.bottom - STAND_IN_HEIGHT, monitor.right, monitor.bottom};
}

bool monitorAt(POINT p, RECT* monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(MonitorFromPoint(p, MONITOR_DEFAULTTONULL), &info))
        return false;
    *monitor = info.rcMonitor;
    return true;
}

int standIns() {
    RECT primary = {}, second = {};
    if (!monitorAt(POINT{0, 0}, &primary) || !monitorAt(POINT{primary.right, primary.top}, &second))
        return EXIT_NOT_MEASURED;
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, STAND_INS_DONE);
    StandInTaskbar primaryBar, secondBar;
    const bool shown = done != nullptr && primaryBar.show(TASKBAR_CLASS, bottomBand(primary)) &&
                       secondBar.show(SECONDARY_TASKBAR_CLASS_NAME, bottomBand(second));
    if (shown)
        WaitForSingleObject(done, STAND_INS_BOUND_MS);
    if (done != nullptr)
        CloseHandle(done);
    return shown ? EXIT_MEASURED : EXIT_NOT_MEASURED;
}

// Returns once the stand-ins' process has ended, so that the desktop can be
// ended right after.
void endStandIns() {
    HANDLE done = OpenEventA(EVENT_MODIFY_STATE, FALSE, STAND_INS_DONE);
    if (done == nullptr)
        return;
    DWORD pid = 0;
    GetWindowThreadProcessId(FindWindowA(SECONDARY_TASKBAR_CLASS_NAME, nullptr), &pid);
    HANDLE standIns = pid != 0 ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr;
    SetEvent(done);
    CloseHandle(done);
    if (standIns != nullptr) {
        WaitForSingleObject(standIns, EXIT_BOUND_MS);
        CloseHandle(standIns);
    }
}

int stop() {
    closeAllOf(PENDREL_TRIGGER_CLASS);
    closeAllOf(BASELINE_CLASS);
    deleteSettingsKey();
    endStandIns();
    return EXIT_MEASURED;
}

bool number(const char* text, int* value) {
    char* end = nullptr;
    long parsed = strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 0 || parsed > 100000)
        return false;
    *value = static_cast<int>(parsed);
    return true;
}

int usage() {
    fprintf(stderr,
            "usage: bench_driver reset | ready [STRIPS] | standins | stop | probe | latency TRIES DELAY_MS | "
            "churn ACTIVATIONS OPENINGS\n");
    return EXIT_USAGE;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
    using namespace bench;
    if (argc == 2 && strcmp(argv[1], "reset") == 0)
        return reset();
    if (argc == 2 && strcmp(argv[1], "ready") == 0)
        return ready(0);
    if (argc == 2 && strcmp(argv[1], "standins") == 0)
        return standIns();
    if (argc == 2 && strcmp(argv[1], "probe") == 0)
        return checkCounting() ? EXIT_MEASURED : EXIT_NOT_MEASURED;
    if (argc == 2 && strcmp(argv[1], "stop") == 0)
        return stop();
    int first = 0;
    int second = 0;
    if (argc == 3 && strcmp(argv[1], "ready") == 0 && number(argv[2], &first))
        return ready(first);
    if (argc == 4 && number(argv[2], &first) && number(argv[3], &second)) {
        if (strcmp(argv[1], "latency") == 0 && first > 0)
            return runLatency(first, static_cast<UINT>(second));
        if (strcmp(argv[1], "churn") == 0)
            return runChurn(first, second);
    }
    return usage();
}
