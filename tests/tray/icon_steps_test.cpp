#include <gtest/gtest.h>

#include "tray/icon_steps.h"

namespace {

struct StepRow {
    const char* name;
    IconFacts facts;  // wanted, sent, held, readd asked, retry due, tip changed
    IconSteps steps;  // remove, probe, add, retip
};

// Each step is asked only for what differs from what the shell was told; a
// refused icon waits for its retry, or for a re-add.
TEST(IconSteps, AskTheShellOnlyWhatDiffers) {
    const StepRow rows[] = {
        {"hidden, never sent", {false, false, false, false, false, false}, {false, false, false, false}},
        {"hidden after an add", {false, true, true, false, false, true}, {true, false, false, false}},
        {"hidden after a refused add", {false, true, false, false, true, false}, {true, false, false, false}},
        {"shown, never sent", {true, false, false, false, false, true}, {false, false, true, false}},
        {"re-added while held", {true, true, true, true, false, false}, {true, false, true, false}},
        {"re-added after a refusal", {true, true, false, true, false, false}, {true, false, true, false}},
        {"refused, no retry due", {true, true, false, false, false, true}, {false, false, false, false}},
        {"refused, retry due", {true, true, false, false, true, false}, {false, true, true, false}},
        {"held, new tooltip", {true, true, true, false, false, true}, {false, false, false, true}},
        {"held, retry due", {true, true, true, false, true, false}, {false, false, false, false}},
        {"held, nothing new", {true, true, true, false, false, false}, {false, false, false, false}},
    };
    for (const StepRow& row : rows) {
        const IconSteps steps = iconSteps(row.facts);
        EXPECT_EQ(steps.remove, row.steps.remove) << row.name;
        EXPECT_EQ(steps.probe, row.steps.probe) << row.name;
        EXPECT_EQ(steps.add, row.steps.add) << row.name;
        EXPECT_EQ(steps.retip, row.steps.retip) << row.name;
    }
}

// Two minutes of retries every two seconds after a first refusal, counted
// down by the retries, none once the shell holds the icon.
TEST(IconSteps, RetriesLeftAfterAnAnswer) {
    const struct {
        bool held, wasRetry;
        uint32_t left, after;
    } rows[] = {
        {true, false, 60, 0}, {true, true, 5, 0}, {false, false, 0, 60},
        {false, false, 17, 60}, {false, true, 59, 59}, {false, true, 0, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(iconRetriesAfter(row.held, row.wasRetry, row.left), row.after)
            << row.held << row.wasRetry << " " << row.left;
}

}  // namespace
