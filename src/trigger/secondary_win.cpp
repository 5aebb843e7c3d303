#include "trigger/secondary.h"

#include "resources/names.h"
#include "resources/program.h"
#include "trigger/composition.h"
#include "trigger/geometry.h"
#include "trigger/locator.h"
#include "trigger/raise.h"
#include "trigger/taskbar.h"
#include "trigger/trigger_state.h"

// The records this file works on, reached once.
static ProgramState& program = programState();
static TriggerState& trigger = triggerState();

static HWND createStripWindow() {
    return CreateWindowExA(SECONDARY_STRIP_EX_STYLE, PENDREL_STRIP_CLASS, program.caption, WS_POPUP, 0, 0, 0, 0,
                           nullptr, nullptr, program.instance, nullptr);
}

// A strip that goes lets its taskbar go first, or a taskbar raised into the
// always-on-top band would stay above every window. Its timers go with the
// window. The emptied record stays in its slot (a handler may be holding it)
// until no handler runs.
static void retireStrip(Strip& strip) {
    endRaise(strip);
    DestroyWindow(strip.window);
    strip = Strip{};
}

static void compactStrips() {
    DWORD kept = 0;
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        if (stripInUse(trigger.secondary[i]))
            trigger.secondary[kept++] = trigger.secondary[i];
    for (DWORD i = kept; i < trigger.secondaryCount; ++i)
        trigger.secondary[i] = Strip{};
    trigger.secondaryCount = kept;
}

static bool stillThere(const Strip& strip, const HWND* found, DWORD count) {
    for (DWORD i = 0; i < count; ++i)
        if (found[i] == strip.taskbarWindow)
            return true;
    return false;
}

static bool hasStrip(HWND taskbar) {
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        if (trigger.secondary[i].taskbarWindow == taskbar)
            return true;
    return false;
}

static void addStrip(HWND taskbar) {
    if (trigger.secondaryCount >= MAX_SECONDARY_STRIPS)
        return;
    Strip strip;
    strip.taskbarWindow = taskbar;
    strip.window = createStripWindow();
    if (strip.window == nullptr)
        return;
    setStripShown(strip.window, false);
    trigger.secondary[trigger.secondaryCount++] = strip;
}

// The taskbar's own rectangle against its monitor's: no message to the shell.
static void follow(Strip& strip) {
    RECT taskbar = {};
    EdgeMonitor monitor = {};
    if (!GetWindowRect(strip.taskbarWindow, &taskbar) || sameRect(toRect(taskbar), toRect(strip.lastTaskbarRect)))
        return;
    if (!edgeMonitorOf(strip.taskbarWindow, taskbar, &monitor))
        return;
    strip.lastTaskbarRect = taskbar;
    strip.dpi = monitor.dpi;
    strip.monitor = monitor.rect;
    strip.monitorHandle = monitor.handle;
    const Rect t = toRect(taskbar), m = toRect(monitor.rect);
    strip.edge = secondaryEdge(t, m);
    strip.strip = toRECT(secondaryStrip(t, m, strip.edge, scaledForDpi(STRIP_DEPTH, strip.dpi)));
    placeStripWindow(strip);
}

// A hidden taskbar shows nothing to raise; an auto-hidden one is visible,
// only off its monitor.
static DWORD searchTaskbars(HWND* found) {
    DWORD count = 0;
    for (HWND t = findSecondaryTaskbar(nullptr); t != nullptr && count < MAX_SECONDARY_STRIPS;
         t = findSecondaryTaskbar(t))
        if (IsWindowVisible(t))
            found[count++] = t;
    return count;
}

// One that died or hid may be followed by others the shell makes.
static DWORD keptTaskbars(HWND* found) {
    DWORD count = 0;
    for (DWORD i = 0; i < trigger.secondaryCount; ++i) {
        const Strip& strip = trigger.secondary[i];
        if (!stripInUse(strip))
            continue;
        if (taskbarShown(strip.taskbarWindow))
            found[count++] = strip.taskbarWindow;
        else
            trigger.secondaryWentAway = 1;
    }
    return count;
}

void followSecondaryTaskbars(bool wanted, bool search) {
    HWND found[MAX_SECONDARY_STRIPS] = {};
    DWORD count = 0;
    if (wanted)
        count = search ? searchTaskbars(found) : keptTaskbars(found);
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        if (stripInUse(trigger.secondary[i]) && !stillThere(trigger.secondary[i], found, count))
            retireStrip(trigger.secondary[i]);
    if (trigger.stripsHeld == 0)
        compactStrips();
    for (DWORD i = 0; i < count; ++i)
        if (!hasStrip(found[i]))
            addStrip(found[i]);
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        if (stripInUse(trigger.secondary[i]))
            follow(trigger.secondary[i]);
}
