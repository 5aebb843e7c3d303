#include "trigger/raise.h"

#include "about/about_dialog.h"
#include "resources/program.h"
#include "settings/settings.h"
#include "trigger/release_rule.h"
#include "trigger/taskbar.h"
#include "trigger/trigger_state.h"

// The records this file works on, reached once.
static ProgramState& program = programState();
static const Settings& settings = currentSettings();
static TriggerState& trigger = triggerState();

void activateTaskbar() {
    trigger.taskbarWindow = findTaskbar();
    if (!IsWindow(trigger.taskbarWindow))
        return;
    if (!trigger.taskbarRaised) {
        // Where the taskbar lay before, so that the release can put it back.
        trigger.taskbarWasTopmost = taskbarIsTopmost(trigger.taskbarWindow) ? 1 : 0;
        trigger.coverBeforeRaise = windowAbove(trigger.taskbarWindow);
        trigger.taskbarRaised = 1;
        countActivation();
    }
    placeTaskbarBelow(trigger.taskbarWindow, program.mainWindow);
}

void forwardHitTest(WPARAM wParam, LPARAM lParam) {
    if (trigger.taskbarWindow == nullptr)
        return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(trigger.taskbarWindow, WM_NCHITTEST, wParam, lParam, SMTO_ABORTIFHUNG,
                        FORWARD_HIT_TEST_TIMEOUT_MS, &ignored);
}

void enforceZOrder() {
    HWND first = GetWindow(program.mainWindow, GW_HWNDFIRST);
    if (first == program.mainWindow || program.inMenuLoop)
        return;
    if (settings.overTopmost)
        SetWindowPos(program.mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    else if (taskbarIsTopmost(trigger.taskbarWindow))
        placeTaskbarBelow(trigger.taskbarWindow, program.mainWindow);
}

// A taskbar that went away, or a pointer that cannot be read, counts as left:
// the raise ends rather than hanging on.
static bool pointerStillOnTaskbar() {
    POINT cursor;
    RECT taskbar;
    if (!GetCursorPos(&cursor) || !GetWindowRect(trigger.taskbarWindow, &taskbar))
        return false;
    return pointerOnTaskbar(toRect(taskbar), toPoint(cursor));
}

static bool coverStillTopmost() {
    HWND cover = trigger.coverBeforeRaise;
    return cover != nullptr && cover != trigger.taskbarWindow && IsWindow(cover) && taskbarIsTopmost(cover);
}

void checkRelease() {
    if (!trigger.taskbarRaised || pointerStillOnTaskbar())
        return;
    const ReleaseFacts facts = {settings.sendBackAfterUse != 0, GetForegroundWindow() == trigger.taskbarWindow,
                                trigger.taskbarWasTopmost != 0, coverStillTopmost()};
    switch (releasePlacement(facts)) {
    case RELEASE_TO_BOTTOM: sendTaskbarToBottom(trigger.taskbarWindow); break;
    case RELEASE_BELOW_COVER: placeTaskbarBelow(trigger.taskbarWindow, trigger.coverBeforeRaise); break;
    case RELEASE_TOP_OF_BAND: placeTaskbarAtTopOfBand(trigger.taskbarWindow); break;
    case RELEASE_LEAVE: break;
    }
    trigger.taskbarRaised = 0;
    trigger.coverBeforeRaise = nullptr;
}
