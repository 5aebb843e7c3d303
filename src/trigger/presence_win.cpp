#include "trigger/presence.h"

#include "desktop/win_rect.h"
#include "desktop/zorder.h"
#include "resources/program.h"
#include "settings/settings.h"
#include "trigger/geometry.h"
#include "trigger/lift_rule.h"
#include "trigger/locator.h"
#include "trigger/pointer.h"
#include "trigger/stand_aside.h"

// The records this file works on, reached once.
static const ProgramState& program = programState();
static const Settings& settings = currentSettings();
static TriggerState& trigger = triggerState();

const size_t MAX_STRIPS = 1 + MAX_SECONDARY_STRIPS;

// Every strip in use, the primary one first, with its questions.
static size_t gatherLooks(BandLook (&looks)[MAX_STRIPS], Strip* (&strips)[MAX_STRIPS]) {
    size_t count = 0;
    Strip* all[MAX_STRIPS] = {&trigger.primary};
    size_t candidates = 1;
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        all[candidates++] = &trigger.secondary[i];
    for (size_t i = 0; i < candidates; ++i) {
        Strip& strip = *all[i];
        if (!stripInUse(strip))
            continue;
        looks[count] = BandLook{strip.window, strip.taskbarWindow, strip.strip, strip.monitor, strip.monitorHandle,
                                 false, {}, nullptr, nullptr, nullptr};
        strips[count++] = &strip;
    }
    return count;
}

static size_t lookOf(Strip* const (&strips)[MAX_STRIPS], size_t count, const Strip& strip) {
    for (size_t i = 0; i < count; ++i)
        if (strips[i] == &strip)
            return i;
    return count;
}

static void hide(Strip& strip) {
    if (!strip.catching)
        return;
    strip.catching = 0;
    SetWindowPos(strip.window, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

// Right below `anchor` (HWND_TOPMOST: at the very top), or where it lies
// when there is none.
static void show(Strip& strip, HWND anchor) {
    strip.catching = 1;
    const RECT& s = strip.strip;
    SetWindowPos(strip.window, anchor, s.left, s.top, spanOf(s.left, s.right), spanOf(s.top, s.bottom),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | (anchor == nullptr ? SWP_NOZORDER : 0));
    pointerUnseen();
}

// A window that undoes every lift at once is not climbed over at every poll.
static bool liftOver(Strip& strip, HWND cover) {
    const DWORD now = GetTickCount();
    const LiftFacts facts = {cover == strip.liftedOver, strip.contactSinceLift != 0, strip.liftsInARow,
                             backOffAt(strip.backOffStarted != 0, strip.backOffUntil, now)};
    const LiftStep step = liftStep(facts);
    strip.liftsInARow = step.liftsInARow;
    if (step.startBackOff) {
        strip.backOffStarted = 1;
        strip.backOffUntil = now + LIFT_BACK_OFF_MS;
    }
    if (step.lift) {
        strip.liftedOver = cover;
        strip.contactSinceLift = 0;
        strip.backOffStarted = 0;
    }
    return step.lift;
}

static void follow(Strip& strip, const BandLook& look) {
    strip.topCover = look.topCover;
    strip.standingAside = look.edge.covered ? stripAsideReason(strip) : ASIDE_NONE;
    if (!look.edge.covered || strip.standingAside != ASIDE_NONE) {
        hide(strip);
        return;
    }
    const bool lift = look.edge.buried && liftOver(strip, look.topCover);
    if (!strip.catching || lift)
        show(strip, lift ? look.anchor : nullptr);
}

void followCovers() {
    if (program.inMenuLoop)
        return;
    BandLook looks[MAX_STRIPS];
    Strip* strips[MAX_STRIPS];
    const size_t count = gatherLooks(looks, strips);
    if (program.paused) {
        for (size_t i = 0; i < count; ++i) {
            strips[i]->standingAside = ASIDE_PAUSED;
            hide(*strips[i]);
        }
        return;
    }
    lookDownTheZOrder(looks, count, settings.overTopmost != 0);
    // Where a strip would catch, and something could keep it away, a second
    // look finds the window in front on its monitor: an idle poll over a
    // taskbar in plain view makes only the first.
    bool fronts = false;
    for (size_t i = 0; i < count; ++i) {
        looks[i].wantFront = looks[i].edge.covered && frontMatters();
        fronts = fronts || looks[i].wantFront;
    }
    if (fronts)
        lookDownTheZOrder(looks, count, settings.overTopmost != 0);
    for (size_t i = 0; i < count; ++i)
        if (looks[i].wantFront)
            noteFrontWindow(*strips[i], looks[i].front);
    for (size_t i = 0; i < count; ++i)
        follow(*strips[i], looks[i]);
}

void stepAside(Strip& strip) {
    hide(strip);
}

void liftForShortcut(Strip& strip) {
    if (!settings.overTopmost)
        return;
    SetWindowPos(strip.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    pointerUnseen();
}

void liftOutOfSight(Strip& strip) {
    SetWindowPos(strip.window, settings.overTopmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

HWND coverOverTaskbar(const Strip& strip) {
    BandLook looks[MAX_STRIPS];
    Strip* strips[MAX_STRIPS];
    const size_t count = gatherLooks(looks, strips);
    const size_t which = lookOf(strips, count, strip);
    return which < count ? coverAbove(looks, count, which) : nullptr;
}

HWND frontWindowOf(const Strip& strip) {
    BandLook looks[MAX_STRIPS];
    Strip* strips[MAX_STRIPS];
    const size_t count = gatherLooks(looks, strips);
    const size_t which = lookOf(strips, count, strip);
    if (which == count)
        return nullptr;
    looks[which].wantFront = true;
    lookDownTheZOrder(looks, count, settings.overTopmost != 0);
    return looks[which].front;
}
