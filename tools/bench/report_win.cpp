// The driver's RESULT lines, and the check that the object counting sees
// objects this process makes itself.
#include "bench.h"

#include <stdio.h>

namespace bench {

void printResult(const char* name, const char* value) {
    printf("RESULT %s %s\n", name, value);
    fflush(stdout);
}

void printCount(const char* name, long value) {
    char text[32];
    snprintf(text, sizeof(text), "%ld", value);
    printResult(name, text);
}

void printResult(const char* name, double value) {
    char text[64];
    snprintf(text, sizeof(text), "%.1f", value);
    printResult(name, text);
}

bool checkCounting() {
    const int PROBE_OBJECTS = 5;
    HANDLE self = GetCurrentProcess();
    const DWORD pid = GetCurrentProcessId();
    countsOf(self, pid);  // the first look makes objects of its own
    const Counts before = countsOf(self, pid);
    HBRUSH brushes[PROBE_OBJECTS];
    HANDLE events[PROBE_OBJECTS];
    for (int i = 0; i < PROBE_OBJECTS; ++i) {
        brushes[i] = CreateSolidBrush(RGB(i, i, i));
        events[i] = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    const Counts during = countsOf(self, pid);
    for (int i = 0; i < PROBE_OBJECTS; ++i) {
        DeleteObject(brushes[i]);
        CloseHandle(events[i]);
    }
    const bool gui = during.guiGdi - before.guiGdi == PROBE_OBJECTS;
    const bool table = during.gdiTable - before.gdiTable == PROBE_OBJECTS;
    const bool kernel = during.kernelHandles - before.kernelHandles == PROBE_OBJECTS;
    printResult("counting_gui_resources", gui ? "1" : "0");
    printResult("counting_gdi_table", table ? "1" : "0");
    printResult("counting_kernel_handles", kernel ? "1" : "0");
    return (gui || table) && kernel;
}

void printCounts(const char* prefix, const Counts& counts) {
    char name[96];
    const struct {
        const char* field;
        long value;
    } rows[] = {
        {"gui_gdi", static_cast<long>(counts.guiGdi)},
        {"gui_user", static_cast<long>(counts.guiUser)},
        {"gdi_table", counts.gdiTable},
        {"gdi_dcs", counts.gdiDcs},
        {"gdi_beyond_dcs", counts.gdiBeyondDcs},
        {"windows", counts.windows},
        {"kernel_handles", counts.kernelHandles},
        {"private_kib", static_cast<long>(counts.privateBytes / 1024)},
        {"working_set_kib", static_cast<long>(counts.workingSetBytes / 1024)},
    };
    for (const auto& row : rows) {
        snprintf(name, sizeof(name), "%s_%s", prefix, row.field);
        printCount(name, row.value);
    }
    snprintf(name, sizeof(name), "%s_gdi_kinds", prefix);
    printResult(name, counts.gdiKinds.empty() ? "-" : counts.gdiKinds.c_str());
}


}  // namespace bench
