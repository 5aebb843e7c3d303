// The cover that doubles as the latency baseline.
#include "bench.h"

namespace bench {

namespace {

const UINT_PTR RESPONDER_DELAY_TIMER = 1;
const UINT_PTR RESPONDER_CHECK_TIMER = 2;
const UINT RESPONDER_CHECK_PERIOD_MS = 1000;

}  // namespace

void ResponderCover::onCreated(HWND window) {
    SetTimer(window, RESPONDER_CHECK_TIMER, RESPONDER_CHECK_PERIOD_MS, nullptr);
}

LRESULT ResponderCover::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: return onHitTest(window, wParam, lParam);
    case WM_TIMER: return onTimer(window, wParam);
    default: return Cover::onMessage(window, message, wParam, lParam);
    }
}

void ResponderCover::armHitTest(POINT target, UINT delayMs) {
    answeredAt_ = 0.0;
    releaseArmed_ = 0;
    targetX_ = target.x;
    targetY_ = target.y;
    delayMs_ = delayMs;
    hitArmed_ = 1;
}

void ResponderCover::armRelease() {
    answeredAt_ = 0.0;
    hitArmed_ = 0;
    releaseArmed_ = 1;
}

LRESULT ResponderCover::onHitTest(HWND window, WPARAM wParam, LPARAM lParam) {
    const LONG x = static_cast<short>(LOWORD(lParam));
    const LONG y = static_cast<short>(HIWORD(lParam));
    if (hitArmed_.load() && x == targetX_.load() && y == targetY_.load()) {
        hitArmed_ = 0;
        if (delayMs_.load() == 0)
            answeredAt_ = nowMs();
        else
            SetTimer(window, RESPONDER_DELAY_TIMER, delayMs_.load(), nullptr);
    }
    return DefWindowProcA(window, WM_NCHITTEST, wParam, lParam);
}

LRESULT ResponderCover::onTimer(HWND window, WPARAM id) {
    if (id == RESPONDER_DELAY_TIMER) {
        KillTimer(window, RESPONDER_DELAY_TIMER);
        answeredAt_ = nowMs();
    } else if (id == RESPONDER_CHECK_TIMER && releaseArmed_.load()) {
        // The same test a once-a-second release makes: the pointer outside
        // the band grown by the margin.
        POINT p = {};
        GetCursorPos(&p);
        const LONG top = RESPONDER_ROW - RESPONDER_BAND_HALF - RELEASE_MARGIN;
        const LONG bottom = RESPONDER_ROW + RESPONDER_BAND_HALF + RELEASE_MARGIN;
        if (p.y <= top || p.y >= bottom) {
            releaseArmed_ = 0;
            answeredAt_ = nowMs();
        }
    }
    return 0;
}

}  // namespace bench
