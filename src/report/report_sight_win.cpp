#include "report/report_sight.h"

#include <windows.h>
#include <shellapi.h>

#include "desktop/process.h"
#include "desktop/shell_kin.h"
#include "desktop/win_rect.h"
#include "desktop/zorder.h"
#include "report/report_rules.h"
#include "resources/program.h"
#include "resources/resource.h"
#include "resources/shell_calls.h"
#include "settings/setting_rules.h"
#include "settings/settings.h"
#include "trigger/composition.h"
#include "trigger/geometry.h"
#include "trigger/lift_rule.h"
#include "trigger/stand_aside.h"
#include "trigger/taskbar.h"
#include "trigger/trigger_state.h"
#include "version.h"

namespace {

const size_t TASKBARS_MAX = 1 + MAX_SECONDARY_STRIPS;

// The taskbars seen, the primary one first, each with the running copy's
// strip (none where no copy runs) and the look down the z-order for it.
struct Sight {
    size_t count;
    bool firstIsPrimary;
    BandLook looks[TASKBARS_MAX];
    Strip* strips[TASKBARS_MAX];
    uint32_t edges[TASKBARS_MAX];
    HMONITOR monitors[REPORT_MONITORS_MAX];
    size_t monitorCount;
};

void seeStrip(Sight& sight, Strip& strip) {
    if (!stripInUse(strip) || strip.taskbarWindow == nullptr || sight.count == TASKBARS_MAX)
        return;
    sight.looks[sight.count] = BandLook{strip.window, strip.taskbarWindow, strip.strip, strip.monitor,
                                        strip.monitorHandle, true, {}, nullptr, nullptr, nullptr};
    sight.strips[sight.count] = &strip;
    sight.edges[sight.count++] = strip.edge;
}

// Without a running copy a taskbar is known by its window alone, and its
// edge by where it lies.
void seeTaskbar(Sight& sight, HWND taskbar) {
    RECT rect = {};
    EdgeMonitor monitor = {};
    if (taskbar == nullptr || !IsWindowVisible(taskbar) || !GetWindowRect(taskbar, &rect) ||
        !edgeMonitorOf(taskbar, rect, &monitor))
        return;
    sight.looks[sight.count] =
        BandLook{nullptr, taskbar, RECT{}, monitor.rect, monitor.handle, true, {}, nullptr, nullptr, nullptr};
    sight.strips[sight.count] = nullptr;
    sight.edges[sight.count++] = secondaryEdge(toRect(rect), toRect(monitor.rect));
}

BOOL CALLBACK seeMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
    Sight& sight = *reinterpret_cast<Sight*>(param);
    if (sight.monitorCount < REPORT_MONITORS_MAX)
        sight.monitors[sight.monitorCount++] = monitor;
    return TRUE;
}

void see(Sight& sight, bool running) {
    TriggerState& trigger = triggerState();
    if (running) {
        seeStrip(sight, trigger.primary);
        sight.firstIsPrimary = sight.count == 1;
        for (DWORD i = 0; i < trigger.secondaryCount; ++i)
            seeStrip(sight, trigger.secondary[i]);
    } else {
        seeTaskbar(sight, findTaskbar());
        sight.firstIsPrimary = sight.count == 1;
        for (HWND t = findSecondaryTaskbar(nullptr); t != nullptr && sight.count < TASKBARS_MAX;
             t = findSecondaryTaskbar(t))
            seeTaskbar(sight, t);
    }
    lookDownTheZOrder(sight.looks, sight.count, currentSettings().overTopmost != 0);
    EnumDisplayMonitors(nullptr, nullptr, seeMonitor, reinterpret_cast<LPARAM>(&sight));
}

// Asked on the shell calls' thread: the primary taskbar's state, and of
// each other one whether the shell keeps it as the auto-hide bar of its
// monitor's edge.
struct AutoHideQuestion {
    size_t count;
    bool firstIsPrimary;
    bool perMonitor;  // the system knows an auto-hide bar for each monitor's edge
    HWND taskbars[TASKBARS_MAX];
    RECT monitors[TASKBARS_MAX];
    UINT edges[TASKBARS_MAX];
    bool answers[TASKBARS_MAX];
};
AutoHideQuestion question;

void askAutoHide() {
    for (size_t i = 0; i < question.count; ++i) {
        APPBARDATA data = {};
        data.cbSize = sizeof data;
        if (i == 0 && question.firstIsPrimary) {
            question.answers[i] = (SHAppBarMessage(ABM_GETSTATE, &data) & ABS_AUTOHIDE) != 0;
            continue;
        }
        data.uEdge = question.edges[i];
        data.rc = question.monitors[i];
        question.answers[i] =
            question.perMonitor && (HWND)SHAppBarMessage(APPBAR_GET_AUTOHIDE_BAR_EX, &data) == question.taskbars[i];
    }
}

// A late answer finds the report written without it.
void answeredLate() {}

// Where the shell does not answer in time, where a taskbar lies tells
// whether it hides.
void askShell(const Sight& sight, const WindowsVersion& windows, bool (&autoHide)[TASKBARS_MAX]) {
    for (bool& hidden : autoHide)
        hidden = false;
    if (!shellCallFree())
        return;
    question.count = sight.count;
    question.firstIsPrimary = sight.firstIsPrimary;
    question.perMonitor = windows.major > 6 || (windows.major == 6 && windows.minor >= 2);
    for (size_t i = 0; i < sight.count; ++i) {
        question.taskbars[i] = sight.looks[i].taskbar;
        question.monitors[i] = sight.looks[i].monitor;
        question.edges[i] = sight.edges[i];
    }
    if (callShell(askAutoHide, answeredLate) != SHELL_CALL_DONE)
        return;
    for (size_t i = 0; i < sight.count; ++i)
        autoHide[i] = question.answers[i];
}

struct WindowNames {
    WCHAR className[PROGRAM_NAME_CAPACITY];
    WCHAR program[PROGRAM_NAME_CAPACITY];
};

void readClass(HWND window, WCHAR (&name)[PROGRAM_NAME_CAPACITY]) {
    if (GetClassNameW(window, name, PROGRAM_NAME_CAPACITY) == 0)
        name[0] = L'\0';
}

ReportWindow named(HWND window, WindowNames& names, bool leftAlone) {
    readClass(window, names.className);
    programNameOf(window, names.program);
    return ReportWindow{names.className, names.program, leftAlone};
}

uint32_t monitorNumber(const Sight& sight, HMONITOR monitor) {
    for (size_t i = 0; i < sight.monitorCount; ++i)
        if (sight.monitors[i] == monitor)
            return static_cast<uint32_t>(i + 1);
    return 0;
}

ReportTime timeOf(const SYSTEMTIME& t) {
    return ReportTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// The system's own version: GetVersionEx answers what the manifest names.
typedef LONG(WINAPI* VersionQuery)(OSVERSIONINFOW*);

WindowsVersion windowsVersion() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    VersionQuery query = (VersionQuery)(void*)systemFunction("ntdll.dll", "RtlGetVersion");
    if (query == nullptr || query(&info) != 0)
        return WindowsVersion{0, 0, 0};
    return WindowsVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

void reportDesktop(ReportText& text, const Sight& sight, const WindowsVersion& windows) {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    reportHead(text, PENDREL_VERSION_TEXT, windows, timeOf(now), desktopComposited());
    for (size_t i = 0; i < sight.monitorCount; ++i) {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        if (GetMonitorInfoA(sight.monitors[i], &info))
            reportMonitor(text, static_cast<uint32_t>(i + 1), toRect(info.rcMonitor),
                          monitorDpi(sight.monitors[i], nullptr), (info.dwFlags & MONITORINFOF_PRIMARY) != 0);
    }
}

void reportTaskbars(ReportText& text, const Sight& sight, const WindowsVersion& windows) {
    bool autoHide[TASKBARS_MAX];
    askShell(sight, windows, autoHide);
    for (size_t i = 0; i < sight.count; ++i) {
        const BandLook& look = sight.looks[i];
        WCHAR className[PROGRAM_NAME_CAPACITY];
        readClass(look.taskbar, className);
        RECT rect = {};
        GetWindowRect(look.taskbar, &rect);
        const bool hides = autoHide[i] || hiddenOffMonitor(toRect(rect), toRect(look.monitor), sight.edges[i]);
        reportTaskbar(text, static_cast<uint32_t>(i + 1), className, sight.edges[i], toRect(rect),
                      taskbarIsTopmost(look.taskbar), hides, monitorNumber(sight, look.monitorHandle));
    }
}

// Every window over each strip, counted as the strips count them.
void reportStrips(ReportText& text, const Sight& sight) {
    const bool countTopmost = currentSettings().overTopmost != 0;
    for (size_t i = 0; i < sight.count; ++i) {
        const Strip* strip = sight.strips[i];
        if (strip == nullptr)
            continue;
        HWND over[REPORT_COVERS_MAX + 1];
        const size_t found =
            coversAbove(sight.looks, sight.count, i, strip->strip, countTopmost, over, REPORT_COVERS_MAX + 1);
        const size_t shown = found < REPORT_COVERS_MAX ? found : REPORT_COVERS_MAX;
        const bool backingOff =
            backOffAt(strip->backOffStarted != 0, strip->backOffUntil, GetTickCount()) == BACK_OFF_RUNNING;
        WindowNames names[REPORT_COVERS_MAX];
        ReportWindow windows[REPORT_COVERS_MAX];
        for (size_t k = 0; k < shown; ++k) {
            HWND window = over[shown - 1 - k];  // from the top down
            windows[k] = named(window, names[k], backingOff && window == strip->liftedOver);
        }
        reportStrip(text, static_cast<uint32_t>(i + 1), toRect(strip->strip), strip->catching != 0, windows, shown,
                    found > shown);
    }
}

void reportFronts(ReportText& text, const Sight& sight) {
    const bool cursorHidden = systemCursorHidden();
    for (size_t i = 0; i < sight.count; ++i) {
        HWND front = sight.looks[i].front;
        RECT rect = {};
        WindowNames names;
        if (front == nullptr || !GetWindowRect(front, &rect)) {
            reportFront(text, static_cast<uint32_t>(i + 1), nullptr, Rect{}, false, false);
            continue;
        }
        const ReportWindow window = named(front, names, false);
        reportFront(text, static_cast<uint32_t>(i + 1), &window, toRect(rect),
                    fillsMonitorRect(front, sight.looks[i].monitor), cursorHidden);
    }
}

// The first strip that keeps out of the way says why.
void reportStates(ReportText& text, const Sight& sight, bool running) {
    reportNotificationState(text, systemNotificationState());
    // As the strips last looked: a strip over a taskbar in plain view stands
    // aside from nothing.
    AsideReason reason = programState().paused ? ASIDE_PAUSED : ASIDE_NONE;
    const WCHAR* program = L"";
    for (size_t i = 0; running && reason == ASIDE_NONE && i < sight.count; ++i) {
        reason = static_cast<AsideReason>(sight.strips[i]->standingAside);
        program = sight.strips[i]->frontProgram;
    }
    reportState(text, running, reason, program);
    const RaiseRecord& raises = triggerState().raises;
    reportLastBlocked(text, raises.blocked != 0 ? raises.blockedProgram : nullptr, timeOf(raises.blockedAt));
    reportRaises(text, raises.raises, raises.blocked);
}

// Each value as the registry holds it, whether the program took it or not.
void reportStored(ReportText& text, HKEY key, UINT nameId, bool list) {
    WCHAR name[TEXT_BUFFER_SIZE] = {};
    LoadStringW(programState().instance, nameId, name, TEXT_LOAD_SIZE);
    WCHAR data[NEVER_OVER_MAX_CHARS + 1];
    DWORD type = REG_NONE, size = sizeof data;
    const LONG read = key != nullptr
                          ? RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size)
                          : ERROR_FILE_NOT_FOUND;
    StoredValue value = {STORED_TEXT, type, data, size / sizeof(WCHAR), list};
    if (read == ERROR_MORE_DATA)
        value.kind = STORED_TOO_LONG;
    else if (read != ERROR_SUCCESS)
        value.kind = STORED_NONE;
    else if (type != REG_SZ)
        value.kind = STORED_OTHER_TYPE;
    reportSetting(text, name, value);
}

void reportSettings(ReportText& text) {
    WCHAR path[TEXT_BUFFER_SIZE] = {};
    LoadStringW(programState().instance, IDS_REGISTRY_KEY, path, TEXT_LOAD_SIZE);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        key = nullptr;
    for (const StoredSetting& stored : STORED_SETTINGS)
        reportStored(text, key, stored.nameId, false);
    reportStored(text, key, IDS_REG_NEVER_OVER, true);
    if (key != nullptr)
        RegCloseKey(key);
}

}  // namespace

void composeReport(ReportText& text, bool running) {
    Sight sight = {};
    see(sight, running);
    const WindowsVersion windows = windowsVersion();
    reportDesktop(text, sight, windows);
    reportTaskbars(text, sight, windows);
    reportStrips(text, sight);
    reportFronts(text, sight);
    reportStates(text, sight, running);
    reportSettings(text);
}
