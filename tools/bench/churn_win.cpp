// Object counts of Pendrel during many activations and dialog openings, and
// of the idle baseline program at the same moments.
//
// An activation here is a whole counted raise with the delay off: the pointer
// comes onto the strip (a real motion, so a real hit test), the taskbar comes
// above the cover, the pointer leaves, and the driver posts the poll timer's
// message instead of waiting up to a second for the next tick, so the release
// runs the program's own code a thousand times in about a minute. Each dialog
// is opened through its menu command and closed both ways a user can.
//
// Counts are taken before, halfway through and at the end of each series. The
// system keeps a cache of window DCs that fills up as windows paint, so some
// growth at first is the system's; a leak keeps growing in the second half.
#include "bench.h"

#include <stdio.h>

namespace bench {

namespace {

const Spread ACTIVATION_X = {100, 37, 800};
const DWORD RELEASE_RETRY_MS = 50;

struct Run {
    Program pendrel;
    Program baseline;
    Cover cover;
    int stripY = 0;
    int failures = 0;
};

bool activationCycle(Run& run, int i) {
    const int x = ACTIVATION_X.at(i);
    if (!movePointerThroughX(x, run.stripY) || !waitUntil(taskbarAboveCover, EFFECT_BOUND_MS, FINE_STEP_MS))
        return false;
    if (!movePointerThroughX(AWAY.x + (i % 2 ? 3 : -3), AWAY.y))
        return false;
    // The program may still read the pointer where it was for a moment after
    // the system reports the move: the tick is posted again until it releases.
    return waitUntil(
        [&] {
            PostMessageA(run.pendrel.window, WM_TIMER, TIMER_POLL, 0);
            return waitUntil(taskbarReleased, RELEASE_RETRY_MS, FINE_STEP_MS);
        },
        EFFECT_BOUND_MS, 0);
}

// The About dialog: Cancel, or the close box of its title bar.
bool aboutCycle(Run& run, int i) {
    HWND dialog = openAbout(run.pendrel);
    if (dialog == nullptr)
        return false;
    return i % 2 ? closeDialog(dialog, WM_SYSCOMMAND, SC_CLOSE) : closeDialog(dialog, WM_COMMAND, IDCANCEL);
}

// The configuration dialog: OK, which also saves the settings, or Cancel.
bool configCycle(Run& run, int i) {
    HWND dialog = openDialog(run.pendrel, IDM_CONFIG, PENDREL_CONFIG_TITLE);
    if (dialog == nullptr)
        return false;
    return closeDialog(dialog, WM_COMMAND, i % 2 ? IDCANCEL : IDOK);
}

// The count the About dialog shows, or -1 when it cannot be read.
long shownCount(Run& run) {
    HWND dialog = openAbout(run.pendrel);
    if (dialog == nullptr)
        return -1;
    long count = -1;
    waitUntil([&] { return (count = countShownInAbout(dialog)) >= 0; }, EFFECT_BOUND_MS);
    closeDialog(dialog);
    return count;
}

void note(Run& run, bool done) {
    if (!done)
        ++run.failures;
}

void countBoth(Run& run, const char* moment) {
    char prefix[64];
    snprintf(prefix, sizeof(prefix), "pendrel_%s", moment);
    printCounts(prefix, countsOf(run.pendrel.process, run.pendrel.pid));
    snprintf(prefix, sizeof(prefix), "baseline_%s", moment);
    printCounts(prefix, countsOf(run.baseline.process, run.baseline.pid));
}

// Runs the cycle for 1..total, counting at the half and at the end.
template <typename Cycle>
double series(Run& run, int total, const char* name, Cycle cycle) {
    char moment[64];
    const double started = nowMs();
    for (int i = 1; i <= total; ++i) {
        note(run, cycle(run, i));
        if (i == total / 2) {
            snprintf(moment, sizeof(moment), "%s_half", name);
            countBoth(run, moment);
        }
    }
    const double seconds = (nowMs() - started) / 1000.0;
    Sleep(SETTLE_MS);
    snprintf(moment, sizeof(moment), "%s_end", name);
    countBoth(run, moment);
    return seconds;
}

bool startAll(Run& run) {
    const POINT onStrip = {AWAY.x, run.stripY};
    return startProgram(BASELINE_EXE, run.baseline) &&
           waitForWindow(run.baseline, BASELINE_CLASS, nullptr) != nullptr && run.cover.raise() &&
           startProgram(PENDREL_EXE, run.pendrel) &&
           waitForWindow(run.pendrel, PENDREL_TRIGGER_CLASS, PENDREL_CAPTION) != nullptr &&
           waitUntil([&] { return rootWindowAt(onStrip) == run.pendrel.window; }, EFFECT_BOUND_MS);
}

}  // namespace

int runChurn(int activations, int openings) {
    RECT strip = {};
    if (shellTaskbar() == nullptr || !bottomStrip(&strip)) {
        fprintf(stderr, "no taskbar along the bottom edge: nothing to measure\n");
        return 1;
    }
    // The counting itself first: objects made here must show.
    printResult("counting_check", checkCounting() ? "1" : "0");

    closeAllOf(PENDREL_TRIGGER_CLASS);
    closeAllOf(BASELINE_CLASS);
    resetTaskbarBand();
    deleteSettingsKey();
    writeSetting(PENDREL_REG_DELAY_ENABLED, "0");
    movePointerThroughX(AWAY.x, AWAY.y);

    Run run;
    run.stripY = strip.top + STRIP_DEPTH / 2;
    if (!startAll(run)) {
        fprintf(stderr, "the programs did not start, or pendrel.exe never lay on the strip\n");
        stopProgram(run.pendrel);
        stopProgram(run.baseline);
        deleteSettingsKey();
        return 1;
    }

    // Whatever is made once and kept (the dialogs' small icon, the tab
    // control's class, fonts) is made before the first count. A closed
    // dialog can leave the taskbar as the foreground window, which the
    // release then leaves in front: the cover takes the foreground back.
    note(run, movePointerThroughX(CLEAR_OF_DIALOGS.x, CLEAR_OF_DIALOGS.y));
    note(run, aboutCycle(run, 0));
    note(run, configCycle(run, 0));
    note(run, run.cover.takeForeground());
    // Under Wine that raises the cover over the strip in the X server's
    // stacking alone, and a motion through X then hit-tests the cover: put
    // it on top in the system's order too, so that the program's policing
    // lifts the strip over it in both.
    SetWindowPos(run.cover.window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    note(run, waitUntil([&] { return rootWindowAt(POINT{AWAY.x, run.stripY}) == run.pendrel.window; },
                        EFFECT_BOUND_MS));
    note(run, activationCycle(run, 0));
    Sleep(SETTLE_MS);
    countBoth(run, "start");

    const double activationSeconds = series(run, activations, "activations", activationCycle);
    note(run, movePointerThroughX(CLEAR_OF_DIALOGS.x, CLEAR_OF_DIALOGS.y));
    const double aboutSeconds = series(run, openings, "about", aboutCycle);
    const double configSeconds = series(run, openings, "config", configCycle);

    printCount("activations", activations);
    printCount("openings", openings);
    printResult("activation_seconds", activationSeconds);
    printResult("opening_seconds", aboutSeconds + configSeconds);
    printCount("failures", run.failures);
    // Every cycle plus the warm-up one is a raise that counts.
    printCount("counted_activations", shownCount(run));
    printResult("pendrel_alive", isRunning(run.pendrel) ? "1" : "0");

    stopProgram(run.pendrel);
    stopProgram(run.baseline);
    run.cover.lower();
    resetTaskbarBand();
    deleteSettingsKey();
    movePointerThroughX(AWAY.x, AWAY.y);
    return 0;
}

}  // namespace bench
