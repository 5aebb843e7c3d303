#include "trigger/activation_rules.h"

namespace {

struct Decider {
    const ActivationFacts& facts;
    ActivationDecision decision;

    void add(uint32_t action) { decision.actions |= action; }

    void armDelay() {
        add(ACTION_ARM_DELAY);
        decision.after.pending = true;
        if (facts.highlight)
            decision.after.shown = true;
    }
    // Showing a strip that shows already, or with the highlight off, is nothing to do.
    void showHighlight() {
        if (facts.flags.shown || !facts.highlight)
            return;
        add(ACTION_SHOW_HIGHLIGHT);
        decision.after.shown = true;
    }
    void raise() {
        add(ACTION_RAISE);
        decision.after.raised = true;
    }
    void endDelay() {
        add(ACTION_END_DELAY);
        decision.after.pending = false;
    }
    void hideHighlight() {
        add(ACTION_HIDE_HIGHLIGHT);
        decision.after.shown = false;
    }

    void onHitTest() {
        if (facts.delayEnabled) {
            if (facts.restartOnMove || !facts.flags.pending)
                armDelay();
        } else if (!facts.inMenuLoop) {
            showHighlight();
            raise();
        }
    }
    // Only a pointer at rest that nothing else is handling.
    void onPoll() {
        const StripFlags& f = facts.flags;
        if (f.pending || f.raised || facts.inMenuLoop || !facts.pointerInStrip)
            return;
        if (facts.delayEnabled) {
            armDelay();
            return;
        }
        showHighlight();
        raise();
    }
    void onDelayTick() {
        if (facts.pointerInStrip) {
            // During a menu loop the delay keeps running and the next tick decides.
            if (facts.inMenuLoop)
                return;
            raise();
            endDelay();
            add(ACTION_START_HIGHLIGHT_TIMER);
            return;
        }
        endDelay();
        if (facts.flags.raised)
            add(ACTION_START_HIGHLIGHT_TIMER);
        else if (facts.highlight)
            hideHighlight();
    }
    void onHighlightTick() {
        if (!facts.flags.shown)
            add(ACTION_STOP_HIGHLIGHT_TIMER);
        else if (!facts.pointerInStrip)
            hideHighlight();  // the next tick finds it hidden and stops the timer
    }
};

}  // namespace

ActivationDecision decideActivation(TriggerEvent event, const ActivationFacts& facts) {
    Decider d = {facts, {0, facts.flags}};
    switch (event) {
    case EVENT_HIT_TEST: d.onHitTest(); break;
    case EVENT_POLL: d.onPoll(); break;
    case EVENT_DELAY_TICK: d.onDelayTick(); break;
    case EVENT_HIGHLIGHT_TICK: d.onHighlightTick(); break;
    case EVENT_CLICK: d.raise(); break;
    case EVENT_HOT_KEY: d.raise(); break;
    }
    return d.decision;
}
