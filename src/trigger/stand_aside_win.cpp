#include "trigger/stand_aside.h"

#include "desktop/process.h"
#include "desktop/shell_kin.h"
#include "desktop/win_rect.h"
#include "resources/file_names.h"
#include "resources/program.h"
#include "settings/program_list.h"
#include "settings/settings.h"
#include "trigger/presence.h"

// The records this file works on, reached once.
static const ProgramState& program = programState();
static const Settings& settings = currentSettings();
static const ProgramList& listed = neverOverList();
static TriggerState& trigger = triggerState();
static FrontWatch& front = trigger.front;

static bool listGiven() {
    return listed.names[0] != L'\0';
}

bool frontMatters() {
    return settings.avoidFullScreen != 0 || listGiven();
}

// Letters beyond ASCII are folded here, on both sides, the system's way.
static bool programListed(WCHAR* path, DWORD length) {
    if (length == 0 || !listGiven())
        return false;
    CharUpperBuffW(path, length);
    WCHAR list[NEVER_OVER_MAX_CHARS + 1];
    lstrcpynW(list, listed.names, NEVER_OVER_MAX_CHARS + 1);
    const DWORD listLength = static_cast<DWORD>(lstrlenW(list));
    CharUpperBuffW(list, listLength);
    const size_t name = fileNameStart(path, length);
    return listNamesProgram(list, listLength, path + name, length - name);
}

// Read only when another window comes to the front: its program's name, kept
// for the tooltip and the report, and whether the user listed it.
static void readProgramOf(Strip& strip, HWND window) {
    WCHAR path[IMAGE_PATH_CAPACITY];
    const DWORD length = window != nullptr ? programPathOf(window, path) : 0;
    strip.frontProgram[0] = L'\0';
    if (length != 0)
        lstrcpynW(strip.frontProgram, path + fileNameStart(path, length), PROGRAM_NAME_CAPACITY);
    strip.frontListed = programListed(path, length) ? 1 : 0;
}

// A system without the question, or one that fails, reports nothing that
// keeps the strips away.
DWORD systemNotificationState() {
    NotificationStateQuery query = front.query;
    if (query == nullptr)
        query = (NotificationStateQuery)(void*)systemFunction("shell32.dll", "SHQueryUserNotificationState");
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    if (query == nullptr || FAILED(query(&state)))
        return 0;
    return static_cast<DWORD>(state);
}

// A game with mouse-look, or one that draws a pointer of its own, hides the
// system's; a pointer that cannot be read counts as shown.
bool systemCursorHidden() {
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetCursorInfo(&info))
        return false;
    return (info.flags & CURSOR_SHOWING) == 0 || info.hCursor == nullptr;
}

void noteFrontWindow(Strip& strip, HWND window) {
    front.foreground = GetForegroundWindow();
    const bool changed = window != strip.front;
    strip.front = window;
    if (changed)
        readProgramOf(strip, window);
    RECT rect = {};
    const bool measured = window != nullptr && GetWindowRect(window, &rect);
    if (changed || !measured || !sameRect(toRect(rect), toRect(strip.frontRect))) {
        strip.frontRect = rect;
        strip.frontFills = measured && fillsMonitorRect(window, strip.monitor) ? 1 : 0;
    }
    const bool avoid = settings.avoidFullScreen != 0;
    if (askNotificationState(avoid, strip.frontFills != 0, changed, front.pollLookDue != 0)) {
        front.pollLookDue = 0;
        front.notificationState = systemNotificationState();
        front.cursorHidden = systemCursorHidden() ? 1 : 0;
    }
}

// A game that hides the pointer is the one in use: the pointer read is the
// one of the foreground's thread.
static bool sameThread(HWND window, HWND other) {
    return window != nullptr && other != nullptr &&
           GetWindowThreadProcessId(window, nullptr) == GetWindowThreadProcessId(other, nullptr);
}

AsideReason stripAsideReason(Strip& strip) {
    if (!program.paused && frontMatters() && GetForegroundWindow() != front.foreground)
        noteFrontWindow(strip, frontWindowOf(strip));
    const StandAsideFacts facts = {program.paused != 0,          strip.frontListed != 0 && listGiven(),
                                   settings.avoidFullScreen != 0, front.notificationState,
                                   strip.frontFills != 0,         front.cursorHidden != 0,
                                   sameThread(strip.front, front.foreground)};
    return asideReason(facts);
}

bool stripStandsAside(Strip& strip) {
    return stripAsideReason(strip) != ASIDE_NONE;
}

// The pause is said apart; a program named only when it is known.
static const wchar_t* stoodAsideFor(const Strip& strip) {
    const bool forProgram = strip.standingAside != ASIDE_NONE && strip.standingAside != ASIDE_PAUSED;
    return forProgram && strip.frontProgram[0] != L'\0' ? strip.frontProgram : nullptr;
}

const wchar_t* programStoodAsideFor() {
    const wchar_t* name = stoodAsideFor(trigger.primary);
    for (DWORD i = 0; name == nullptr && i < trigger.secondaryCount; ++i)
        if (stripInUse(trigger.secondary[i]))
            name = stoodAsideFor(trigger.secondary[i]);
    return name;
}

void watchFront() {
    front.pollLookDue = 1;
}

static void forget(Strip& strip) {
    strip.front = nullptr;
    strip.frontProgram[0] = L'\0';
    strip.frontRect = RECT{};
    strip.frontListed = 0;
    strip.frontFills = 0;
}

void forgetFront() {
    front.foreground = nullptr;
    front.notificationState = 0;
    front.cursorHidden = 0;
    forget(trigger.primary);
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        forget(trigger.secondary[i]);
}
