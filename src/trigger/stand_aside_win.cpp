#include "trigger/stand_aside.h"

#include "resources/program.h"
#include "settings/program_list.h"
#include "settings/settings.h"
#include "trigger/stand_aside_rules.h"
#include "trigger/taskbar.h"

// The records this file works on, reached once.
static const ProgramState& program = programState();
static const Settings& settings = currentSettings();
static const ProgramList& listed = neverOverList();
static FrontWatch& front = triggerState().front;

// Letters beyond ASCII are folded here, on both sides, the system's way.
// Read only when another window comes to the front.
static bool programListed(HWND window) {
    if (window == nullptr || listed.names[0] == L'\0')
        return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    WCHAR path[IMAGE_PATH_CAPACITY];
    const DWORD length = imagePathOf(pid, path);
    if (length == 0)
        return false;
    CharUpperBuffW(path, length);
    WCHAR list[NEVER_OVER_MAX_CHARS + 1];
    lstrcpynW(list, listed.names, NEVER_OVER_MAX_CHARS + 1);
    const DWORD listLength = static_cast<DWORD>(lstrlenW(list));
    CharUpperBuffW(list, listLength);
    const size_t name = fileNameStart(path, length);
    return listNamesProgram(list, listLength, path + name, length - name);
}

// Whether the window covers the whole monitor that `onMonitorOf` lies on.
static bool coversMonitorOf(HWND window, HWND onMonitorOf) {
    RECT rect = {}, monitor = {};
    return window != nullptr && GetWindowRect(window, &rect) && monitorRectOf(onMonitorOf, &monitor) &&
           coversMonitor(toRect(rect), toRect(monitor));
}

// A system without the question, or one that fails, reports nothing that
// keeps the strips away.
static DWORD askSystem() {
    NotificationStateQuery query = front.query;
    if (query == nullptr)
        query = (NotificationStateQuery)(void*)systemFunction("shell32.dll", "SHQueryUserNotificationState");
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    if (query == nullptr || FAILED(query(&state)))
        return 0;
    return static_cast<DWORD>(state);
}

// The monitor is looked up again only when the window moved or another came
// to the front: a display change forgets the window in front.
static bool frontCoversItsMonitor(HWND window, bool changed) {
    RECT rect = {}, monitor = {};
    if (window == nullptr || !GetWindowRect(window, &rect))
        return false;
    if (!changed && sameRect(toRect(rect), toRect(front.rect)))
        return front.coversMonitor != 0;
    front.rect = rect;
    front.coversMonitor = monitorRectOf(window, &monitor) && coversMonitor(toRect(rect), toRect(monitor)) ? 1 : 0;
    return front.coversMonitor != 0;
}

// Without a list and with the full-screen setting off, only the pause keeps
// the strips away, and the window in front is never looked at.
static void lookAtFront(bool atPoll) {
    const bool avoid = settings.avoidFullScreen != 0;
    if (!avoid && listed.names[0] == L'\0')
        return;
    HWND now = GetForegroundWindow();
    const bool changed = now != front.window;
    if (!changed && !atPoll)
        return;
    front.window = now;
    if (changed)
        front.listed = programListed(now) ? 1 : 0;
    const bool ask = askNotificationState(avoid, avoid && frontCoversItsMonitor(now, changed), changed, atPoll);
    front.notificationState = ask ? askSystem() : 0;
}

// The system answered only while the window in front covers its own monitor;
// whether it covers this strip's is looked at only then.
static bool frontCovers(const Strip& strip) {
    return front.notificationState != 0 && coversMonitorOf(front.window, strip.taskbarWindow);
}

// The poll's look is made by the first question after the poll, inside it or
// at a later hit test: an idle poll whose strips are in place and have no
// pointer on them asks nothing.
bool stripStandsAside(const Strip& strip) {
    const bool atPoll = front.pollLookDue != 0;
    front.pollLookDue = 0;
    lookAtFront(atPoll);
    const StandAsideFacts facts = {program.paused != 0, front.listed != 0, settings.avoidFullScreen != 0,
                                   front.notificationState, frontCovers(strip)};
    return standsAside(facts);
}

void watchFront() {
    front.pollLookDue = 1;
}

void forgetFront() {
    front.window = nullptr;
    front.listed = 0;
    front.notificationState = 0;
    front.coversMonitor = 0;
}
