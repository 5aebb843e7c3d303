// The benchmark's Windows-side driver: it starts pendrel.exe and the baseline
// program beside it, moves the pointer, watches the z-order from outside and
// counts the objects the programs hold. It prints what it measured as
// "RESULT name value" lines for tools/benchmark.sh; it asserts nothing.
#pragma once
#include "outside/outside.h"

#include <atomic>

namespace bench {

using namespace outside;

const char BASELINE_EXE[] = "bench_baseline.exe";
const char BASELINE_CLASS[] = "PendrelBenchBaseline";

// Where the pointer rests while the dialogs open: above both centred dialogs,
// so that no opening finds it over a control by chance.
const POINT CLEAR_OF_DIALOGS = {500, 80};
// The row of the cover where the baseline responder answers the pointer, well
// above the taskbar; its release test uses a band around it.
const int RESPONDER_ROW = 700;
const int RESPONDER_BAND_HALF = 10;
const DWORD SETTLE_MS = 1500;

// Pointer positions spread along the strip, clear of its ends: the i-th of a
// series that steps across it.
struct Spread {
    int first;
    int step;
    int span;
    int at(int i) const { return first + (i * step) % span; }
};

void printResult(const char* name, const char* value);
void printResult(const char* name, double value);  // one decimal
void printCount(const char* name, long value);
void printCounts(const char* prefix, const Counts& counts);
// Counts objects this process makes itself: whether each way of counting sees them.
bool checkCounting();

// The cover, which here also acts as the latency baseline: it notes when its
// own hit test for an armed point comes (at once, or after a timer of the
// given delay, as a program with that delay would act), and, on a one-second
// timer, when it first finds the pointer outside its band, as a program that
// checks once a second would.
class ResponderCover : public Cover {
public:
    ~ResponderCover() override { lower(); }
    void armHitTest(POINT target, UINT delayMs);
    void armRelease();
    // The time (nowMs) of the answer, or 0 while none has come.
    double answeredAt() const { return answeredAt_.load(); }
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void onCreated(HWND window) override;

private:
    LRESULT onHitTest(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT onTimer(HWND window, WPARAM id);
    std::atomic<int> hitArmed_{0};
    std::atomic<int> releaseArmed_{0};
    std::atomic<LONG> targetX_{0};
    std::atomic<LONG> targetY_{0};
    std::atomic<UINT> delayMs_{0};
    std::atomic<double> answeredAt_{0.0};
};

// --- The measurements.
int runLatency(int tries, UINT delayMs);
int runChurn(int activations, int openings);

}  // namespace bench
