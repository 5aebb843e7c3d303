// Long uptime in a few minutes: thousands of activations through each of the
// three signals, each dialog opened and closed again and again, the icon
// re-added again and again. The count stays exact and the process keeps its
// size. The short form runs with the tests; PENDREL_SOAK=full runs the long
// one (10000 activations, 500 of each of the rest) by hand:
//   PENDREL_SOAK=full wine e2e_driver.exe --gtest_filter='Soak.*'
#include "e2e/hardship.h"

#include <shellapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace e2e {
namespace {

struct SoakSize {
    int activations;
    int dialogOpenings;  // of each dialog
    int iconReadds;
};
const SoakSize SHORT_SOAK = {300, 20, 20};
const SoakSize FULL_SOAK = {10000, 500, 500};

// What the second half of the work may add to the first half's figures: a
// few objects and bytes come and go with the system's own doings, while a
// lost icon alone holds two GDI objects or more, once per round.
const long GDI_OBJECTS_SLACK = 8;
const SIZE_T PRIVATE_BYTES_SLACK = 2 * 1024 * 1024;

const DWORD STEP_BOUND_MS = 5000;
// Polls are asked for this often (a posted WM_TIMER of the poll timer, the
// tick's own handling) rather than waited for, one a second.
const DWORD TICK_GAP_MS = 20;

SoakSize soakSize() {
    char value[16] = {};
    const DWORD length = GetEnvironmentVariableA("PENDREL_SOAK", value, sizeof(value));
    return length > 0 && length < sizeof(value) && strcmp(value, "full") == 0 ? FULL_SOAK : SHORT_SOAK;
}

// Thousands of rounds wait on effects that take a millisecond or two.
template <typename Predicate>
bool waitBriefly(Predicate holds, DWORD boundMs = STEP_BOUND_MS) {
    return waitUntil(holds, boundMs, FINE_STEP_MS);
}

enum Signal { HIT_TEST, POLL, CLICK };
const Signal SIGNALS[] = {HIT_TEST, POLL, CLICK};
// The stand-in taskbar, clear of every pointer position of the scenario by
// more than the release margin.
const RECT OFF_THE_POINTER = {0, 0, 10, 10};
// Where the pointer rests. The shell reports a short taskbar on the left of
// the bottom edge, and for a poll one whose strip comes under the pointer
// (rows 698 to 702). (When the TriggerWindow moves away from under the
// pointer, Wine may take the pointer to be where it lay in the window, now
// moved, for a moment: x 500 in the moved strip, which the short strip does
// not reach.)
const POINT REST_POINT = {500, 700};
const RECT SHORT_BAR = {0, 767, 400, 768};
const RECT SHORT_STRIP = {0, 764, 400, 768};
const RECT POLL_BAR = {0, 690, 1024, 702};
const int STRIP_X = 200;

class Soak : public PendrelTest {
protected:
    void TearDown() override {
        shell_.stop();
        PendrelTest::TearDown();
    }
    // The program's poll, at once rather than within the second: the tick's
    // own handling, asked for by a posted WM_TIMER.
    void tick() { PostMessageA(copy_->window, WM_TIMER, TIMER_POLL, 0); }
    // The shell's answer changes, and it announces the new work area, without
    // which the program does not ask again.
    void moveTaskbar(const RECT& bar) {
        shell_.reportTaskbar(bar, ABE_BOTTOM);
        ASSERT_TRUE(announceTo(copy_->window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0));
    }

    // The program's count and what the stand-in taskbar went through.
    long shownCount() { return countShownInAbout(about_); }
    // Every counted raise released, once: a raise counted twice, or one not
    // counted, leaves the two apart.
    bool settled() { return shell_.timesSentToBottom() == shownCount(); }
    // One raise through the signal, then its release. The pointer rests away
    // from the strip all the time: under Wine another process may go on
    // seeing a synthesised pointer where it was for seconds, or miss a move,
    // which thousands of rounds always meet. So the hit test is given to the
    // TriggerWindow as the system gives it for a pointer on the strip; the
    // poll finds the resting pointer on a strip that the shell moved under
    // it; the click is posted. (Real pointer moves are the other scenarios'.)
    // The stand-in taskbar lies away from every pointer position, so that
    // each raise is released at the next poll.
    void activateOnce(Signal signal) {
        ASSERT_TRUE(waitPolling([&] { return settled(); }, STEP_BOUND_MS)) << describeCounts();
        // The released taskbar is behind the cover again, and the strip over
        // it catches the pointer, once the poll after the release has looked.
        ASSERT_TRUE(waitPolling([&] { return IsWindowVisible(copy_->window) != FALSE; }, STEP_BOUND_MS))
            << "the strip never came back over the cover";
        const long before = shownCount();
        switch (signal) {
        case HIT_TEST: hitTestDirectly(); break;
        case POLL:
            moveTaskbar(POLL_BAR);
            tick();
            break;
        case CLICK:
            PostMessageA(copy_->window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(STRIP_X, STRIP_DEPTH / 2));
            break;
        }
        ASSERT_TRUE(waitBriefly([&] { return shownCount() > before; }))
            << "signal " << signal << " raised nothing: " << describeCounts();
        if (signal == POLL)
            moveTaskbar(SHORT_BAR);
        ++rounds_;
        ASSERT_TRUE(waitPolling([&] { return settled(); }, STEP_BOUND_MS)) << describeCounts();
    }
    // Posted, not sent: a sent message is handled inside whatever call the
    // program is waiting on, the release's restacking among them, which no
    // hit test of the system ever is.
    void hitTestDirectly() {
        PostMessageA(copy_->window, WM_NCHITTEST, 0, MAKELPARAM(STRIP_X, SHORT_STRIP.top + STRIP_DEPTH / 2));
    }
    std::string describeCounts() {
        char text[160];
        snprintf(text, sizeof(text), "count shown %ld, stand-in sent to the bottom %ld times", shownCount(),
                 shell_.timesSentToBottom());
        return text;
    }
    // Asks for polls until the predicate holds.
    template <typename Predicate>
    bool waitPolling(Predicate holds, DWORD boundMs) {
        const DWORD start = GetTickCount();
        while (!holds() && GetTickCount() - start < boundMs) {
            tick();
            waitBriefly(holds, TICK_GAP_MS);
        }
        return holds();
    }
    void openAndClose(UINT command, const char* title) {
        HWND dialog = openDialog(*copy_, command, title);
        ASSERT_NE(dialog, nullptr) << title;
        ASSERT_TRUE(closeDialog(dialog)) << title;
    }
    // The icon is forgotten, then comes back: by the shell's "TaskbarCreated"
    // or by message 51677, in turn.
    void readdIcon(int round) {
        ASSERT_TRUE(deleteIconFromOutside(copy_->window));
        if (round % 2 == 0)
            broadcastTaskbarCreated();
        else
            PostMessageA(copy_->window, WM_READD_ICON, 0, 0);
        ASSERT_TRUE(waitBriefly([&] { return trayIconPresent(copy_->window); })) << "re-add " << round;
    }
    void openAboutForCounting() {
        about_ = openAbout(*copy_);
        ASSERT_NE(about_, nullptr);
        ASSERT_TRUE(waitBriefly([&] { return settled(); })) << describeCounts();
    }
    void closeAbout() { ASSERT_TRUE(closeDialog(about_)); }
    void record(const char* phase) {
        const ProcessFigures figures = readFigures(*copy_);
        printf("soak %-12s %s\n", phase, describe(figures).c_str());
        RecordProperty(phase, describe(figures));
    }

    Pendrel* copy_ = nullptr;
    HWND about_ = nullptr;
    long rounds_ = 0;
    FakeShell shell_;
};

TEST_F(Soak, CountStaysExactAndTheProcessKeepsItsSize) {
    const SoakSize size = soakSize();
    // No delay: each signal raises at once.
    ASSERT_TRUE(writeSetting(PENDREL_REG_DELAY_ENABLED, "0"));
    // The stand-in answers for the shell; its taskbar is the one the program
    // raises and releases.
    if (!shell_.start() || !shell_.answersTaskbarRequests())
        GTEST_SKIP() << "the shell's taskbar requests cannot be answered from here (not Wine's shell)";
    shell_.reportTaskbar(SHORT_BAR, ABE_BOTTOM);
    ASSERT_TRUE(shell_.showTaskbar(OFF_THE_POINTER));
    // A window over the taskbar, where the strip catches the pointer.
    ASSERT_TRUE(cover_.raise());
    ASSERT_TRUE(placePointerForGood(REST_POINT.x, REST_POINT.y));
    copy_ = &launch();
    ASSERT_NE(copy_->window, nullptr);
    ASSERT_TRUE(waitUntil([&] { return sameRect(windowRect(copy_->window), SHORT_STRIP); }, EFFECT_BOUND_MS));

    // Warm-up: one of everything, so that what is made once for good exists.
    ASSERT_NO_FATAL_FAILURE(openAboutForCounting());
    for (Signal signal : SIGNALS)
        ASSERT_NO_FATAL_FAILURE(activateOnce(signal));
    ASSERT_NO_FATAL_FAILURE(closeAbout());
    ASSERT_NO_FATAL_FAILURE(openAndClose(IDM_ABOUT, PENDREL_ABOUT_TITLE));
    ASSERT_NO_FATAL_FAILURE(openAndClose(IDM_CONFIG, PENDREL_CONFIG_TITLE));
    ASSERT_NO_FATAL_FAILURE(readdIcon(0));
    ASSERT_NO_FATAL_FAILURE(readdIcon(1));
    record("warmed-up");

    // Two halves of the same work: a lost object or byte grows with the
    // work done, while a cache of the system fills during the first half and
    // stays. The second half must leave the figures where the first left them.
    const DWORD started = GetTickCount();
    ProcessFigures halves[2];
    for (int half = 0; half < 2; ++half) {
        ASSERT_NO_FATAL_FAILURE(openAboutForCounting());
        for (int i = 0; i < size.activations / 2; ++i)
            ASSERT_NO_FATAL_FAILURE(activateOnce(SIGNALS[i % 3])) << "round " << i;
        ASSERT_NO_FATAL_FAILURE(closeAbout());
        for (int i = 0; i < size.dialogOpenings / 2; ++i) {
            ASSERT_NO_FATAL_FAILURE(openAndClose(IDM_ABOUT, PENDREL_ABOUT_TITLE)) << "round " << i;
            ASSERT_NO_FATAL_FAILURE(openAndClose(IDM_CONFIG, PENDREL_CONFIG_TITLE)) << "round " << i;
        }
        for (int i = 0; i < size.iconReadds / 2; ++i)
            ASSERT_NO_FATAL_FAILURE(readdIcon(i));
        halves[half] = readFigures(*copy_);
        record(half == 0 ? "first-half" : "second-half");
    }
    const ProcessFigures& before = halves[0];
    const ProcessFigures& after = halves[1];
    const long raises = shell_.timesSentToBottom();
    printf("soak %ld rounds of activation (%ld raises), %d openings of each dialog, %d re-adds in %lu s\n", rounds_,
           raises, size.dialogOpenings, size.iconReadds, (GetTickCount() - started) / 1000);
    RecordProperty("rounds", static_cast<int>(rounds_));
    RecordProperty("raises", static_cast<int>(raises));
    RecordProperty("seconds", static_cast<int>((GetTickCount() - started) / 1000));

    EXPECT_TRUE(isRunning(*copy_));
    EXPECT_FALSE(messageBoxShown(copy_->pid));
    ASSERT_GE(before.gdiObjects, 0) << "GDI objects cannot be counted here";
    EXPECT_LE(after.gdiObjects, before.gdiObjects + GDI_OBJECTS_SLACK) << describe(before) << " -> " << describe(after);
    EXPECT_EQ(after.userObjects, before.userObjects) << describe(before) << " -> " << describe(after);
    EXPECT_LE(after.privateBytes, before.privateBytes + PRIVATE_BYTES_SLACK)
        << describe(before) << " -> " << describe(after);

    // A freshly opened About dialog shows every raise, each released once.
    ASSERT_NO_FATAL_FAILURE(openAboutForCounting());
    EXPECT_EQ(shownCount(), raises);
    EXPECT_EQ(shell_.timesSentToBottom(), raises);
    EXPECT_GE(raises, rounds_);
}

}  // namespace
}  // namespace e2e
