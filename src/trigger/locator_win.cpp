#include "trigger/locator.h"

#include "resources/program.h"
#include "resources/shell_calls.h"
#include "trigger/pointer.h"
#include "trigger/shell_watch.h"
#include "trigger/taskbar.h"
#include "trigger/trigger_state.h"

// The record this file works on, reached once.
static TriggerState& trigger = triggerState();

// The question to the shell where the taskbar lies, asked on the shell
// calls' thread: what it is asked with, and what it answered.
struct PositionQuestion {
    APPBARDATA request;  // the taskbar asked about; the rectangle and maybe the edge answered
    RECT last;           // the rectangle known before
    bool scaleChanged;   // the scale there is not the one the strip was laid at
    bool answered;
    uint32_t edge;  // reported, or found by the auto-hide probes; EDGE_UNREPORTED when neither
};
static PositionQuestion question;

// With no taskbar window to compare with, a probe cannot tell which edge holds
// it (a null answer would match a null handle), so only a real handle is probed.
static void probeAutoHideEdge() {
    HWND taskbar = question.request.hWnd;
    if (taskbar == nullptr)
        return;
    for (uint32_t candidate : AUTOHIDE_PROBE_ORDER) {
        if (autoHideBarOn(&question.request, candidate) == taskbar) {
            question.edge = candidate;
            return;
        }
    }
}

// The edge is worked out only for a rectangle or a scale that changed.
static void askWhereTaskbarIs() {
    question.answered = requestTaskbarPosition(&question.request) != 0;
    question.edge = question.request.uEdge;
    if (question.answered && question.edge == EDGE_UNREPORTED &&
        (question.scaleChanged || !sameRect(toRect(question.request.rc), toRect(question.last))))
        probeAutoHideEdge();
}

static int takeAnswer(RECT* last) {
    Strip& primary = trigger.primary;
    trigger.lastAskUnanswered = question.answered ? 0 : 1;
    if (!question.answered)
        return 0;
    const Rect taskbar = toRect(question.request.rc);
    // A new scale, or a monitor that moved, lays the same taskbar's strip again.
    EdgeMonitor monitor = {};
    if (!edgeMonitorOf(question.request.hWnd, question.request.rc, &monitor))
        monitor = EdgeMonitor{};
    if (sameRect(taskbar, toRect(*last)) && monitor.dpi == primary.dpi &&
        sameRect(toRect(monitor.rect), toRect(primary.monitor)))
        return 0;
    *last = question.request.rc;
    primary.dpi = monitor.dpi;
    primary.monitor = monitor.rect;
    primary.monitorHandle = monitor.handle;
    uint32_t edge = question.edge;
    if (edge == EDGE_UNREPORTED)
        edge = edgeFromCorners(taskbar, GetSystemMetrics(SM_CXFULLSCREEN));
    // A value outside the four edges lays the bottom band, and is kept as that.
    primary.edge = edge <= EDGE_BOTTOM ? edge : EDGE_BOTTOM;
    primary.strip = toRECT(stripForEdge(taskbar, edge, scaledForDpi(STRIP_DEPTH, primary.dpi)));
    return 1;
}

// An answer that came after the poll went on is taken as the poll would have.
static void answerLanded() {
    if (takeAnswer(&trigger.primary.lastTaskbarRect))
        placeStripWindow(trigger.primary);
}

// While the shell does not answer, the strip stays where the last answer put it.
int locateTaskbar(APPBARDATA* request, RECT* last) {
    Strip& primary = trigger.primary;
    trigger.lastAskUnanswered = 1;
    if (!shellCallFree())
        return 0;
    question = PositionQuestion{};
    question.request.cbSize = sizeof(APPBARDATA);
    question.request.hWnd = primary.taskbarWindow;
    question.request.uEdge = EDGE_UNREPORTED;
    question.last = *last;
    // The scale where the taskbar was last seen, against the strip's.
    EdgeMonitor before = {};
    question.scaleChanged = edgeMonitorOf(primary.taskbarWindow, *last, &before) && before.dpi != primary.dpi;
    if (callShell(askWhereTaskbarIs, answerLanded) != SHELL_CALL_DONE)
        return 0;
    *request = question.request;
    return takeAnswer(last);
}

// A strip out of the way is moved along hidden, so that it is in its place
// the moment something comes over its taskbar's edge.
void placeStripWindow(const Strip& strip) {
    const RECT& s = strip.strip;
    SetWindowPos(strip.window, HWND_TOPMOST, s.left, s.top, spanOf(s.left, s.right), spanOf(s.top, s.bottom),
                 (strip.catching ? SWP_SHOWWINDOW : 0) | SWP_NOACTIVATE | SWP_NOZORDER);
    pointerUnseen();
}

static bool shellAskDue(HWND taskbar, bool rectRead, const RECT& rect) {
    const ShellWatchFacts facts = {taskbar == nullptr || taskbar != trigger.watchedTaskbar,
                                   !rectRead || !sameRect(toRect(rect), toRect(trigger.watchedRect)),
                                   trigger.shellChangeAnnounced != 0, trigger.lastAskUnanswered != 0,
                                   trigger.ticksSinceAsk};
    if (!shouldAskShell(facts)) {
        trigger.ticksSinceAsk++;
        return false;
    }
    trigger.watchedTaskbar = taskbar;
    trigger.watchedRect = rect;
    trigger.shellChangeAnnounced = 0;
    trigger.ticksSinceAsk = 0;
    return true;
}

// The kept window's rectangle is read at every poll, and tells as well
// whether the window still exists: one question rather than two.
TaskbarPoll watchTaskbars(bool secondariesWanted) {
    Strip& primary = trigger.primary;
    RECT rect = {};
    bool rectRead = primary.taskbarWindow != nullptr && GetWindowRect(primary.taskbarWindow, &rect);
    const TaskbarSearchFacts facts = {!rectRead || trigger.secondaryWentAway != 0, trigger.shellChangeAnnounced != 0,
                                      secondariesWanted && !trigger.secondariesWanted, trigger.searchesLeft,
                                      trigger.ticksSinceAsk};
    const TaskbarSearch search = taskbarSearch(facts);
    trigger.searchesLeft = search.searchesLeft;
    trigger.secondariesWanted = secondariesWanted ? 1 : 0;
    trigger.secondaryWentAway = 0;
    if (search.search) {
        primary.taskbarWindow = findTaskbar();
        rectRead = primary.taskbarWindow != nullptr && GetWindowRect(primary.taskbarWindow, &rect);
    }
    return TaskbarPoll{search.search, shellAskDue(primary.taskbarWindow, rectRead, rect)};
}

void announceShellChange() {
    trigger.shellChangeAnnounced = 1;
    // A monitor that moved may leave a secondary taskbar's own rectangle as it was.
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        trigger.secondary[i].lastTaskbarRect = RECT{};
}
