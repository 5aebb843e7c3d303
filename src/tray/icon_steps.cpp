#include "tray/icon_steps.h"

#include "resources/constants.h"

// A refused icon is offered again only when its retry is due, never at each
// change: the shell may refuse it for a while.
IconSteps iconSteps(const IconFacts& facts) {
    IconSteps steps = {};
    if (!facts.wanted) {
        steps.remove = facts.sent;
    } else if (facts.readdAsked || !facts.sent) {
        steps.remove = facts.readdAsked;
        steps.add = true;
    } else if (!facts.held) {
        steps.probe = facts.retryDue;
        steps.add = facts.retryDue;
    } else {
        steps.retip = facts.tipChanged;
    }
    return steps;
}

uint32_t iconRetriesAfter(bool held, bool wasRetry, uint32_t retriesLeft) {
    if (held)
        return 0;
    return wasRetry ? retriesLeft : ICON_RETRIES;
}
