#include "trigger/stand_aside_rules.h"

// QUNS_BUSY alone is no reason: the system also reports it for borderless
// windows, for an empty desktop under some overlays and while Start is open.
static bool fullScreenAnswer(uint32_t state) {
    return state == NOTIFICATION_STATE_D3D_FULL_SCREEN || state == NOTIFICATION_STATE_PRESENTATION;
}

bool standsAside(const StandAsideFacts& facts) {
    if (facts.paused || facts.listedInFront)
        return true;
    return facts.avoidFullScreen && fullScreenAnswer(facts.notificationState) && facts.frontCoversMonitor;
}

EventAccess eventAccess(TriggerEvent event, bool asideNow) {
    if (!asideNow)
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

bool askNotificationState(bool avoidFullScreen, bool frontCoversItsMonitor, bool frontChanged, bool atPoll) {
    return avoidFullScreen && frontCoversItsMonitor && (frontChanged || atPoll);
}

bool coversMonitor(const Rect& window, const Rect& monitor) {
    return window.left <= monitor.left && window.top <= monitor.top && window.right >= monitor.right &&
           window.bottom >= monitor.bottom;
}
