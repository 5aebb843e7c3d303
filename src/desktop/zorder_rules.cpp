#include "desktop/zorder_rules.h"

bool mayCoverBand(const WindowFacts& w, const Rect& band, bool countTopmost) {
    return !w.strip && !w.taskbar && w.visible && !w.minimised && (countTopmost || !w.topmost) &&
           rectsOverlap(w.rect, band);
}

bool coversBand(const WindowFacts& w, const Rect& band, bool countTopmost) {
    return mayCoverBand(w, band, countTopmost) && !w.cloaked && !w.shellWindow;
}

void lookAtWindow(EdgeLook& look, const WindowFacts& w, const Rect& band, bool countTopmost) {
    if (look.ended)
        return;
    if (w.ownTaskbar) {
        look.ended = true;
        return;
    }
    if (w.ownStrip) {
        look.ownSeen = true;
        return;
    }
    if (!look.covered && coversBand(w, band, countTopmost)) {
        look.covered = true;
        look.buried = !look.ownSeen;
        if (look.buried) {
            if (w.topmost)
                look.anchor = look.windowBefore ? ANCHOR_BELOW_PREVIOUS : ANCHOR_TOP;
            else
                look.anchor = look.topmostBefore ? ANCHOR_BELOW_LAST_TOPMOST : ANCHOR_TOP;
        }
    }
    look.windowBefore = true;
    if (w.topmost)
        look.topmostBefore = true;
}

bool frontWindowCandidate(const WindowFacts& w) {
    return !w.strip && !w.taskbar && w.visible && !w.cloaked && !w.minimised && w.onMonitor;
}

bool fillsMonitor(const Rect& window, const Rect& client, bool framed, const Rect& monitor) {
    return rectContains(framed ? client : window, monitor);
}
