#include <gtest/gtest.h>

#include "tray/icon_steps.h"

namespace {

int stepBits(const IconSteps& s) {
    return s.remove * 1000 + s.probe * 100 + s.add * 10 + s.retip;
}

// Only what differs from what the shell was told is asked; a refused icon
// waits for its retry, or for a re-add. Facts: wanted, sent, held, re-add
// asked, retry due, tooltip changed; steps as remove, probe, add, retip.
TEST(IconSteps, AskTheShellOnlyWhatDiffers) {
    const struct {
        IconFacts facts;
        int steps;
    } rows[] = {
        {{false, false, false, false, false, false}, 0},     // hidden, never sent
        {{false, true, true, false, false, true}, 1000},     // hidden after an add
        {{false, true, false, false, true, false}, 1000},    // hidden after a refused add
        {{true, false, false, false, false, true}, 10},      // shown, never sent
        {{true, true, true, true, false, false}, 1010},      // re-added while held
        {{true, true, false, true, false, false}, 1010},     // re-added after a refusal
        {{true, true, false, false, false, true}, 0},        // refused, no retry due
        {{true, true, false, false, true, false}, 110},      // refused, retry due
        {{true, true, true, false, false, true}, 1},         // held, new tooltip
        {{true, true, true, false, true, false}, 0},         // held, retry due
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i)
        EXPECT_EQ(stepBits(iconSteps(rows[i].facts)), rows[i].steps) << "row " << i;
}

// Two minutes of retries after a first refusal, counted down by the retries.
TEST(IconSteps, RetriesLeftAfterAnAnswer) {
    EXPECT_EQ(iconRetriesAfter(true, false, 60), 0u);
    EXPECT_EQ(iconRetriesAfter(true, true, 5), 0u);
    EXPECT_EQ(iconRetriesAfter(false, false, 0), 60u);
    EXPECT_EQ(iconRetriesAfter(false, false, 17), 60u);
    EXPECT_EQ(iconRetriesAfter(false, true, 59), 59u);
    EXPECT_EQ(iconRetriesAfter(false, true, 0), 0u);
}

}  // namespace
