#include <gtest/gtest.h>

#include "trigger/strip_choice.h"

namespace {

TEST(StripChoice, TheStripOfThePointersMonitorOrThePrimary) {
    // Monitors 10 (primary) and 20, 30.
    const uintptr_t three[] = {10, 20, 30};
    EXPECT_EQ(stripOnPointerMonitor(three, 3, 10), 0u);
    EXPECT_EQ(stripOnPointerMonitor(three, 3, 20), 1u);
    EXPECT_EQ(stripOnPointerMonitor(three, 3, 30), 2u);
    EXPECT_EQ(stripOnPointerMonitor(three, 3, 40), 0u);  // a monitor without a taskbar
    EXPECT_EQ(stripOnPointerMonitor(three, 1, 20), 0u);  // its strip is off: only the primary counts
    // Strips whose taskbar went away match nothing, not even a pointer on no monitor.
    const uintptr_t gone[] = {10, 0, 20};
    EXPECT_EQ(stripOnPointerMonitor(gone, 3, 0), 0u);
    EXPECT_EQ(stripOnPointerMonitor(gone, 3, 20), 2u);
    // Two taskbars on one monitor: the first is raised.
    const uintptr_t shared[] = {10, 20, 20};
    EXPECT_EQ(stripOnPointerMonitor(shared, 3, 20), 1u);
}

}  // namespace
