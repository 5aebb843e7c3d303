#include "trigger/raise.h"

#include "about/about_dialog.h"
#include "desktop/shell_kin.h"
#include "settings/settings.h"
#include "trigger/presence.h"
#include "trigger/release_rule.h"
#include "trigger/taskbar.h"
#include "trigger/verify.h"

// The records this file works on, reached once.
static const Settings& settings = currentSettings();
static TriggerState& trigger = triggerState();

// The primary taskbar is looked for again when its window died; a secondary
// one is the window its strip was made for.
static void refreshTaskbar(Strip& strip) {
    if (&strip == &trigger.primary && !IsWindow(strip.taskbarWindow))
        strip.taskbarWindow = findTaskbar();
}

void activateTaskbar(Strip& strip) {
    refreshTaskbar(strip);
    if (!IsWindow(strip.taskbarWindow))
        return;
    // A raise held at the look and undone later by a window that comes back
    // over the edge at its own pace still counts: that window is left be.
    if (!raiseAgain(strip, strip.topCover))
        return;
    if (!strip.taskbarRaised) {
        // Where the taskbar lay before, so that the release can put it back.
        strip.taskbarWasTopmost = taskbarIsTopmost(strip.taskbarWindow) ? 1 : 0;
        strip.coverBeforeRaise = coverOverTaskbar(strip);
        strip.coverWasOrdinary =
            strip.coverBeforeRaise != nullptr && !taskbarIsTopmost(strip.coverBeforeRaise) ? 1 : 0;
        strip.taskbarRaised = 1;
        countActivation();
        trigger.raises.raises++;
    }
    placeTaskbarBelow(strip.taskbarWindow, strip.window);
    verifyLater(strip);
    // The taskbar now lies over what covered its edge: the pointer and the
    // clicks on its outer pixels are its own.
    stepAside(strip);
}

void holdForKeyboard(Strip& strip) {
    // A taskbar that could not be found was not raised.
    if (!strip.taskbarRaised)
        return;
    strip.raisedByKeyboard = 1;
    giveTaskbarForeground(strip.taskbarWindow);
}

void forwardHitTest(const Strip& strip, WPARAM wParam, LPARAM lParam) {
    if (strip.taskbarWindow == nullptr)
        return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(strip.taskbarWindow, WM_NCHITTEST, wParam, lParam, SMTO_ABORTIFHUNG,
                        FORWARD_HIT_TEST_TIMEOUT_MS, &ignored);
}

// A taskbar that went away, or a pointer that cannot be read, counts as left:
// the raise ends rather than hanging on.
static bool pointerStillOnTaskbar(const Strip& strip, bool known, POINT cursor) {
    RECT taskbar;
    if (!known || !GetWindowRect(strip.taskbarWindow, &taskbar))
        return false;
    return pointerOnTaskbar(toRect(taskbar), toRect(strip.monitor), toPoint(cursor),
                            scaledForDpi(RELEASE_MARGIN, strip.dpi));
}

// Off the taskbar, what the shell showed from it (a thumbnail, Start, a
// flyout) still holds the raise; looked at only then.
static ReleaseTiming releaseTiming(const Strip& strip, HWND foreground) {
    POINT cursor = {};
    const bool known = GetCursorPos(&cursor) != 0;
    ReleaseTiming timing = {pointerStillOnTaskbar(strip, known, cursor), strip.raisedByKeyboard != 0,
                            foreground == strip.taskbarWindow, false, false};
    if (!timing.pointerOnTaskbar) {
        timing.pointerOnShellWindow =
            known && shownFromTaskbar(topLevelWindowAt(cursor), strip.taskbarWindow, strip.monitor);
        timing.shellForeground = shownFromTaskbar(foreground, strip.taskbarWindow, strip.monitor);
    }
    return timing;
}

static bool coverStillTopmost(const Strip& strip) {
    HWND cover = strip.coverBeforeRaise;
    return cover != nullptr && cover != strip.taskbarWindow && IsWindow(cover) && taskbarIsTopmost(cover);
}

static void release(Strip& strip, HWND foreground) {
    const ReleaseFacts facts = {settings.sendBackAfterUse != 0,
                                foreground == strip.taskbarWindow,
                                strip.taskbarWasTopmost != 0,
                                coverStillTopmost(strip),
                                strip.coverWasOrdinary != 0,
                                fillsMonitorRect(frontWindowOf(strip), strip.monitor)};
    switch (releasePlacement(facts)) {
    case RELEASE_TO_BOTTOM: sendTaskbarToBottom(strip.taskbarWindow); break;
    case RELEASE_BELOW_COVER: placeTaskbarBelow(strip.taskbarWindow, strip.coverBeforeRaise); break;
    case RELEASE_TOP_OF_BAND: placeTaskbarAtTopOfBand(strip.taskbarWindow); break;
    case RELEASE_LEAVE: break;
    }
    strip.taskbarRaised = 0;
    strip.raisedByKeyboard = 0;
    // The pointer has left the taskbar, or the trigger stopped. The pointer
    // is not read while nothing is raised, so this is where that is seen.
    newApproach(strip);
    strip.coverBeforeRaise = nullptr;
    strip.coverWasOrdinary = 0;
}

void checkRelease(Strip& strip) {
    if (!strip.taskbarRaised)
        return;
    HWND foreground = GetForegroundWindow();
    if (releaseDue(releaseTiming(strip, foreground)))
        release(strip, foreground);
}

void endRaise(Strip& strip) {
    if (strip.taskbarRaised)
        release(strip, GetForegroundWindow());
}
