#include "trigger/verify.h"

#include "desktop/process.h"
#include "desktop/shell_kin.h"
#include "resources/file_names.h"
#include "resources/program.h"
#include "trigger/activation.h"
#include "trigger/presence.h"
#include "trigger/taskbar.h"
#include "trigger/verify_rule.h"

// The record this file works on, reached once.
static TriggerState& trigger = triggerState();

void verifyLater(Strip& strip) {
    // A timer that cannot start has been reported; the raise then goes unchecked.
    startTimer(strip.window, TIMER_VERIFY, VERIFY_DELAY_MS);
}

// The middle of the strip's band: with the strip out of the way, the
// taskbar's own outer pixels once it is in front.
static POINT middleOfBand(const Strip& strip) {
    const RECT& s = strip.strip;
    return POINT{static_cast<LONG>((static_cast<int64_t>(s.left) + s.right) / 2),
                 static_cast<LONG>((static_cast<int64_t>(s.top) + s.bottom) / 2)};
}

// A strip that shows there came back because something covers the edge again.
static bool taskbarInFront(const Strip& strip, HWND top) {
    if (top == nullptr || stripOfWindow(top) != nullptr)
        return false;
    return top == strip.taskbarWindow || GetAncestor(top, GA_ROOTOWNER) == strip.taskbarWindow ||
           shownFromTaskbar(top, strip.taskbarWindow, strip.monitor);
}

static void noteBlocked(HWND over) {
    RaiseRecord& raises = trigger.raises;
    raises.blocked++;
    raises.blockedNow = 1;
    GetLocalTime(&raises.blockedAt);
    WCHAR path[IMAGE_PATH_CAPACITY];
    const DWORD length = over != nullptr ? programPathOf(over, path) : 0;
    raises.blockedProgram[0] = L'\0';
    if (length != 0)
        lstrcpynW(raises.blockedProgram, path + fileNameStart(path, length), PROGRAM_NAME_CAPACITY);
}

bool raiseAgain(Strip& strip, HWND over) {
    if (!raiseAllowed(strip.raisesThisApproach)) {
        strip.raiseBlocked = 1;
        noteBlocked(over);
        return false;
    }
    strip.raisesThisApproach++;
    return true;
}

void newApproach(Strip& strip) {
    strip.raiseBlocked = 0;
    strip.verifyRetried = 0;
    strip.raisesThisApproach = 0;
}

void verifyTick(Strip& strip) {
    KillTimer(strip.window, TIMER_VERIFY);
    if (!strip.taskbarRaised || !IsWindow(strip.taskbarWindow))
        return;
    HWND top = topLevelWindowAt(middleOfBand(strip));
    switch (verifyRaise(taskbarInFront(strip, top), strip.verifyRetried != 0)) {
    case VERIFY_HELD:
        strip.verifyRetried = 0;
        trigger.raises.blockedNow = 0;
        break;
    case VERIFY_RETRY:
        strip.verifyRetried = 1;
        if (!raiseAgain(strip, top))
            break;
        // What came back over the taskbar lies over the hidden strip too: the
        // strip goes over it first, still hidden, for the taskbar to follow.
        liftOutOfSight(strip);
        placeTaskbarBelow(strip.taskbarWindow, strip.window);
        verifyLater(strip);
        break;
    case VERIFY_BLOCKED:
        strip.verifyRetried = 0;
        strip.raiseBlocked = 1;
        noteBlocked(top);
        break;
    }
}

const wchar_t* programThatStayedOver() {
    const RaiseRecord& raises = trigger.raises;
    return raises.blockedNow && raises.blockedProgram[0] != L'\0' ? raises.blockedProgram : nullptr;
}
