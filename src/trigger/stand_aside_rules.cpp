#include "trigger/stand_aside_rules.h"

#include "resources/constants.h"

// QUNS_BUSY alone is no reason: the system also reports it for borderless
// windows, for an empty desktop under some overlays and while Start is open.
static bool fullScreenAnswer(uint32_t state) {
    return state == NOTIFICATION_STATE_D3D_FULL_SCREEN || state == NOTIFICATION_STATE_PRESENTATION;
}

AsideReason asideReason(const StandAsideFacts& facts) {
    if (facts.paused)
        return ASIDE_PAUSED;
    if (facts.listedInFront)
        return ASIDE_LISTED;
    if (!facts.avoidFullScreen || !facts.frontFillsMonitor)
        return ASIDE_NONE;
    if (fullScreenAnswer(facts.notificationState))
        return ASIDE_FULL_SCREEN;
    // A video or a browser in full screen shows the pointer: it still gets the raise.
    return facts.cursorHidden && facts.frontHasTheKeyboard ? ASIDE_GAME : ASIDE_NONE;
}

bool standsAside(const StandAsideFacts& facts) {
    return asideReason(facts) != ASIDE_NONE;
}

EventAccess eventAccess(TriggerEvent event, bool outOfTheWay) {
    if (!outOfTheWay)
        return EVENT_AS_IS;
    switch (event) {
    case EVENT_HOT_KEY: return EVENT_AS_IS;
    case EVENT_DELAY_TICK:
    case EVENT_HIGHLIGHT_TICK: return EVENT_AS_IF_AWAY;
    case EVENT_HIT_TEST:
    case EVENT_POLL:
    case EVENT_CLICK: return EVENT_DROPPED;
    }
    return EVENT_DROPPED;
}

bool askNotificationState(bool avoidFullScreen, bool frontFillsItsMonitor, bool frontChanged, bool atPoll) {
    return avoidFullScreen && frontFillsItsMonitor && (frontChanged || atPoll);
}
