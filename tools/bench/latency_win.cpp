// Activation and release latency, each try followed by the same try against
// the cover's own responder, so that both meet the same load of the moment.
//
// A try: the pointer rests away, the taskbar lies below the cover; a real
// pointer motion (xdotool, else SendInput) puts the pointer on the strip. The
// clock starts when the system reports the pointer there and stops when the
// taskbar is found above the cover from outside. After a pause of random
// length (so the one-second poll meets the leaving pointer at every phase) the
// pointer leaves, and the clock runs until the program has released the
// taskbar: below the cover and out of the always-on-top band again.
//
// The responder's try is the same motion onto a row of the cover: its clock
// stops at the cover's own hit test (or at its timer, with the delay), and on
// leaving, at the first tick of its one-second check that finds the pointer
// gone. It shows what the system itself takes to deliver the same input and
// what a once-a-second check costs, on the same desktop at the same moment.
#include "bench.h"

#include <stdio.h>

#include <algorithm>
#include <vector>

namespace bench {

namespace {

const DWORD APPROACH_PAUSE_MIN_MS = 100;
const DWORD APPROACH_PAUSE_SPAN_MS = 300;
const DWORD LEAVE_PAUSE_SPAN_MS = 1000;
const Spread TRY_X = {120, 53, 780};

struct Series {
    std::vector<double> values;
    int missed = 0;
    void add(double value) {
        if (value < 0)
            ++missed;
        else
            values.push_back(value);
    }
};

// A small deterministic generator: the pauses vary, runs stay comparable.
unsigned nextPause(unsigned* state, unsigned span) {
    *state = *state * 1103515245u + 12345u;
    return (*state >> 16) % span;
}

template <typename Predicate>
double timeUntil(double from, Predicate holds) {
    if (from == NOT_SEEN)
        return NOT_SEEN;
    double at = NOT_SEEN;
    waitUntil(
        [&] {
            if (holds())
                at = nowMs();
            return at != NOT_SEEN;
        },
        EFFECT_BOUND_MS, FINE_STEP_MS);
    return at == NOT_SEEN ? NOT_SEEN : std::max(0.0, at - from);
}

// Starts a real motion; the time at which the system first reports the
// pointer there, or NOT_SEEN.
double movedAt(int x, int y) {
    double seen = NOT_SEEN;
    movePointerThroughX(x, y, &seen);
    return seen;
}

void summarise(const char* name, Series& series) {
    char key[96];
    std::sort(series.values.begin(), series.values.end());
    const size_t n = series.values.size();
    snprintf(key, sizeof(key), "%s_n", name);
    printCount(key, static_cast<long>(n));
    snprintf(key, sizeof(key), "%s_missed", name);
    printCount(key, series.missed);
    if (n == 0)
        return;
    const double median = n % 2 ? series.values[n / 2] : (series.values[n / 2 - 1] + series.values[n / 2]) / 2;
    snprintf(key, sizeof(key), "%s_median_ms", name);
    printResult(key, median);
    snprintf(key, sizeof(key), "%s_worst_ms", name);
    printResult(key, series.values.back());
}

}  // namespace

int runLatency(int tries, UINT delayMs) {
    RECT strip = {};
    if (shellTaskbar() == nullptr || !bottomStrip(&strip)) {
        fprintf(stderr, "no taskbar along the bottom edge: nothing to measure\n");
        return 1;
    }
    closeAllOf(PENDREL_TRIGGER_CLASS);
    resetTaskbarBand();
    deleteSettingsKey();
    char delayText[16];
    snprintf(delayText, sizeof(delayText), "%u", delayMs);
    writeSetting(PENDREL_REG_DELAY_ENABLED, delayMs == 0 ? "0" : "1");
    if (delayMs != 0)
        writeSetting(PENDREL_REG_DELAY_MS, delayText);
    movePointerThroughX(AWAY.x, AWAY.y);

    ResponderCover cover;
    Program pendrel;
    const int stripY = strip.top + STRIP_DEPTH / 2;
    const POINT onStrip = {AWAY.x, stripY};
    if (!cover.raise() || !startProgram(PENDREL_EXE, pendrel) ||
        waitForWindow(pendrel, PENDREL_TRIGGER_CLASS, PENDREL_CAPTION) == nullptr ||
        !waitUntil([&] { return rootWindowAt(onStrip) == pendrel.window; }, EFFECT_BOUND_MS)) {
        fprintf(stderr, "pendrel.exe did not come to lie on the strip in front of the cover\n");
        stopProgram(pendrel);
        deleteSettingsKey();
        return 1;
    }

    Series activation, release, fallsBehind, baseActivation, baseRelease;
    unsigned seed = 20240601u;
    for (int i = 0; i < tries; ++i) {
        const int x = TRY_X.at(i);
        const int awayX = AWAY.x + (i % 2 ? 7 : -7);

        // Pendrel.
        waitUntil([] { return !taskbarAboveCover(); }, EFFECT_BOUND_MS);
        Sleep(APPROACH_PAUSE_MIN_MS + nextPause(&seed, APPROACH_PAUSE_SPAN_MS));
        const double up = timeUntil(movedAt(x, stripY), taskbarAboveCover);
        activation.add(up);
        Sleep(nextPause(&seed, LEAVE_PAUSE_SPAN_MS));
        // Under Wine the taskbar can fall behind the cover before the
        // release (when the highlight hides); both moments are noted, the
        // release is the one the program makes.
        const double left = movedAt(awayX, AWAY.y);
        double behind = NOT_SEEN;
        const double down = timeUntil(left, [&] {
            if (behind == NOT_SEEN && !taskbarAboveCover())
                behind = nowMs() - left;
            return taskbarReleased();
        });
        release.add(down);
        fallsBehind.add(behind);

        // The cover's responder, the same motions on its own row.
        Sleep(APPROACH_PAUSE_MIN_MS + nextPause(&seed, APPROACH_PAUSE_SPAN_MS));
        cover.armHitTest(POINT{x, RESPONDER_ROW}, delayMs);
        const double baseUp = timeUntil(movedAt(x, RESPONDER_ROW), [&] { return cover.answeredAt() != 0; });
        baseActivation.add(baseUp);
        Sleep(nextPause(&seed, LEAVE_PAUSE_SPAN_MS));
        cover.armRelease();
        const double baseDown = timeUntil(movedAt(AWAY.x, AWAY.y), [&] { return cover.answeredAt() != 0; });
        baseRelease.add(baseDown);

        printf("try %d: activation %.1f ms (baseline %.1f), release %.1f ms (baseline %.1f, behind the cover %.1f)\n",
               i + 1, up, baseUp, down, baseDown, behind);
        fflush(stdout);
    }

    printResult("pointer_method", pointerMethod());
    summarise("activation", activation);
    summarise("release", release);
    summarise("falls_behind", fallsBehind);
    summarise("baseline_activation", baseActivation);
    summarise("baseline_release", baseRelease);

    stopProgram(pendrel);
    cover.lower();
    resetTaskbarBand();
    deleteSettingsKey();
    return 0;
}

}  // namespace bench
