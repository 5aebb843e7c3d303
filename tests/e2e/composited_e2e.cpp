// On a composited desktop (every Windows from 8 on) the strip is a layered
// window, all but invisible while hidden, opaque while shown and hit-tested
// all the while. Wine composites nothing: a copy of the program beside a
// compositor's library of our own (tests/e2e/standins) is told otherwise.
#include "e2e/support.h"

namespace e2e {
namespace {

const char OVERRIDES[] = "WINEDLLOVERRIDES";
const char COMPOSITED_PENDREL[] = "composited\\pendrel.exe";

bool opacityIs(HWND window, BYTE expected) {
    BYTE alpha = 0;
    DWORD flags = 0;
    return GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) && alpha == expected;
}

using Composited = PendrelTest;

TEST_F(Composited, StripIsLayeredAlmostInvisibleUntilShownAndStillRaises) {
    ASSERT_TRUE(cover_.raise());
    // Only the copy is started with the override; the driver keeps its own.
    char saved[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(OVERRIDES, saved, MAX_PATH);
    SetEnvironmentVariableA(OVERRIDES, (std::string(saved) + ";dwmapi=n,b").c_str());
    copies_.emplace_back();
    Pendrel& copy = copies_.back();
    ASSERT_TRUE(startProgram(COMPOSITED_PENDREL, copy)) << besideDriver(COMPOSITED_PENDREL);
    SetEnvironmentVariableA(OVERRIDES, length > 0 ? saved : nullptr);
    ASSERT_NE(waitForWindow(copy, PENDREL_TRIGGER_CLASS, PENDREL_CAPTION), nullptr);
    ASSERT_TRUE(waitOnStrip(copy));
    const LONG exStyle = GetWindowLongA(copy.window, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT), WS_EX_LAYERED) << std::hex << exStyle;
    EXPECT_TRUE(opacityIs(copy.window, 1));

    ASSERT_TRUE(movePointer(500, strip_.top + STRIP_DEPTH / 2));
    EXPECT_TRUE(waitUntil([&] { return opacityIs(copy.window, 255); }, EFFECT_BOUND_MS)) << "not shown";
    EXPECT_TRUE(waitUntil(taskbarAboveCover, EFFECT_BOUND_MS)) << "the layered strip did not raise the taskbar";
    ASSERT_TRUE(placePointerForGood(AWAY.x, AWAY.y));
    EXPECT_TRUE(waitUntil([&] { return opacityIs(copy.window, 1); }, EFFECT_BOUND_MS)) << "not hidden again";
    EXPECT_TRUE(waitUntil(taskbarReleased, EFFECT_BOUND_MS));
}

}  // namespace
}  // namespace e2e
