#include <gtest/gtest.h>

#include "resources/constants.h"
#include "trigger/geometry.h"

namespace {

bool operator==(const Rect& a, const Rect& b) { return sameRect(a, b); }

struct CornerCase {
    const char* name;
    Rect taskbar;
    int32_t cx;
    uint32_t edge;
    Rect strip;
};

// Taskbars as shells report them, with no edge given and no auto-hide bar.
const CornerCase CORNER_CASES[] = {
    {"bottom bar just wider than the screen", {-2, 740, 1026, 770}, 1024, EDGE_BOTTOM, {-2, 766, 1026, 770}},
    {"left bar with its corner off screen", {-2, -2, 62, 770}, 1024, EDGE_LEFT, {-2, -2, 2, 770}},
    {"top bar spanning the screen", {-2, -2, 1026, 28}, 1024, EDGE_TOP, {-2, -2, 1026, 2}},
    {"right bar on a narrow full-screen area", {962, -2, 1026, 770}, 964, EDGE_RIGHT, {1022, -2, 1026, 770}},
    {"the same right bar on a wide screen", {962, -2, 1026, 770}, 1024, EDGE_BOTTOM, {962, 766, 1026, 770}},
    {"corner at -10 is outside rule A", {-10, -10, 1026, 28}, 1024, EDGE_BOTTOM, {-10, 24, 1026, 28}},
    {"corner at -9 is inside rule A", {-9, -9, 1026, 28}, 1024, EDGE_TOP, {-9, -9, 1026, -5}},
    {"top at -10 keeps rule B off", {962, -10, 1040, 770}, 964, EDGE_BOTTOM, {962, 766, 1040, 770}},
    {"rule B overrides rule A", {-2, -2, 1040, 28}, 1024, EDGE_RIGHT, {1036, -2, 1040, 28}},
    {"width exactly the screen is a top bar", {-1, -1, 1023, 30}, 1024, EDGE_TOP, {-1, -1, 1023, 3}},
    {"a right edge of cx + 10 is not past the screen", {962, -2, 1034, 770}, 1024, EDGE_BOTTOM, {962, 766, 1034, 770}},
    {"a bar on screen is the bottom bar", {0, 748, 1024, 768}, 1024, EDGE_BOTTOM, {0, 764, 1024, 768}},
};

TEST(TriggerGeometry, EdgeAndStripFromTheTaskbarCorners) {
    for (const CornerCase& c : CORNER_CASES) {
        SCOPED_TRACE(c.name);
        uint32_t edge = edgeFromCorners(c.taskbar, c.cx);
        EXPECT_EQ(c.edge, edge);
        EXPECT_TRUE(stripForEdge(c.taskbar, edge) == c.strip);
    }
}

TEST(TriggerGeometry, ReportedEdgesGiveTheirBandAndOthersTheBottom) {
    const Rect r = {100, 200, 300, 600};
    EXPECT_TRUE(stripForEdge(r, EDGE_LEFT) == (Rect{100, 200, 104, 600}));
    EXPECT_TRUE(stripForEdge(r, EDGE_TOP) == (Rect{100, 200, 300, 204}));
    EXPECT_TRUE(stripForEdge(r, EDGE_RIGHT) == (Rect{296, 200, 300, 600}));
    EXPECT_TRUE(stripForEdge(r, EDGE_BOTTOM) == (Rect{100, 596, 300, 600}));
    for (uint32_t odd : {4u, 17u, EDGE_UNREPORTED})
        EXPECT_TRUE(stripForEdge(r, odd) == (Rect{100, 596, 300, 600})) << odd;
}

// A hostile shell can report a rectangle at the ends of the int range: the
// band stays inside the range instead of wrapping, and so does its size.
TEST(TriggerGeometry, ExtremeRectanglesGiveClampedBandsAndSizes) {
    const Rect low = {INT32_MIN, INT32_MIN, INT32_MIN + 2, INT32_MIN + 2};
    const Rect high = {INT32_MAX - 2, INT32_MAX - 2, INT32_MAX, INT32_MAX};
    EXPECT_TRUE(stripForEdge(low, EDGE_BOTTOM) == (Rect{INT32_MIN, INT32_MIN, INT32_MIN + 2, INT32_MIN + 2}));
    EXPECT_TRUE(stripForEdge(low, EDGE_RIGHT) == (Rect{INT32_MIN, INT32_MIN, INT32_MIN + 2, INT32_MIN + 2}));
    EXPECT_TRUE(stripForEdge(high, EDGE_LEFT) == (Rect{INT32_MAX - 2, INT32_MAX - 2, INT32_MAX, INT32_MAX}));
    EXPECT_TRUE(stripForEdge(high, EDGE_TOP) == (Rect{INT32_MAX - 2, INT32_MAX - 2, INT32_MAX, INT32_MAX}));
    EXPECT_EQ(INT32_MAX, spanOf(INT32_MIN, INT32_MAX));
    EXPECT_EQ(INT32_MIN, spanOf(INT32_MAX, INT32_MIN));
    EXPECT_EQ(1024, spanOf(0, 1024));
    EXPECT_EQ(-4, spanOf(768, 764));
}

// Secondary taskbars on monitors placed every way around the primary one
// (negative coordinates included), shown and auto-hidden, on every edge; a
// taskbar across the border of two monitors belongs to the one given first,
// whichever order the two come in.
TEST(TriggerGeometry, SecondaryTaskbarsGetTheBandOfTheirMonitorsEdge) {
    const Rect right = {1024, 0, 2048, 768}, left = {-1280, 0, 0, 1024}, above = {0, -768, 1024, 0};
    const Rect wideA = {0, 0, 1920, 1080}, wideB = {1920, 0, 3840, 1080}, below = {0, 1080, 1920, 2160};
    struct {
        const char* name;
        Rect taskbar, monitor;
        uint32_t edge;
        Rect strip;
        Rect neighbour = {};  // the other monitor under the taskbar; none when empty
    } cases[] = {
        {"bottom, right of the primary", {1024, 728, 2048, 768}, right, EDGE_BOTTOM, {1024, 764, 2048, 768}},
        {"top, right of the primary", {1024, 0, 2048, 40}, right, EDGE_TOP, {1024, 0, 2048, 4}},
        {"left, right of the primary", {1024, 0, 1086, 768}, right, EDGE_LEFT, {1024, 0, 1028, 768}},
        {"right, right of the primary", {1986, 0, 2048, 768}, right, EDGE_RIGHT, {2044, 0, 2048, 768}},
        {"bottom, left of the primary", {-1280, 984, 0, 1024}, left, EDGE_BOTTOM, {-1280, 1020, 0, 1024}},
        {"left, left of the primary", {-1280, 0, -1218, 1024}, left, EDGE_LEFT, {-1280, 0, -1276, 1024}},
        {"top, above the primary", {0, -768, 1024, -728}, above, EDGE_TOP, {0, -768, 1024, -764}},
        {"right, above the primary", {962, -768, 1024, 0}, above, EDGE_RIGHT, {1020, -768, 1024, 0}},
        {"auto-hidden at the bottom", {1024, 766, 2048, 806}, right, EDGE_BOTTOM, {1024, 764, 2048, 768}},
        {"auto-hidden at the top", {1024, -38, 2048, 2}, right, EDGE_TOP, {1024, 0, 2048, 4}},
        {"auto-hidden on the left", {-1340, 0, -1278, 1024}, left, EDGE_LEFT, {-1280, 0, -1276, 1024}},
        {"auto-hidden on the right", {2046, 0, 2108, 768}, right, EDGE_RIGHT, {2044, 0, 2048, 768}},
        {"shorter than its monitor", {1200, 728, 1800, 768}, right, EDGE_BOTTOM, {1200, 764, 1800, 768}},
        {"square lies along the top", {1024, 0, 1124, 100}, right, EDGE_TOP, {1024, 0, 1124, 4}},
        {"long, on the middle row", {1024, 364, 2048, 404}, right, EDGE_BOTTOM, {1024, 764, 2048, 768}},
        {"tall, on the middle column", {1505, 0, 1567, 768}, right, EDGE_RIGHT, {2044, 0, 2048, 768}},
        {"wider than its monitor", {1000, 728, 2100, 768}, right, EDGE_BOTTOM, {1024, 764, 2048, 768}},
        {"taller than its monitor", {1024, -10, 1086, 780}, right, EDGE_LEFT, {1024, 0, 1028, 768}},
        {"hidden on a left edge shared", {1862, 0, 1922, 1080}, wideB, EDGE_LEFT, {1920, 0, 1924, 1080}, wideA},
        {"hidden on a right edge shared", {1918, 0, 1978, 1080}, wideA, EDGE_RIGHT, {1916, 0, 1920, 1080}, wideB},
        {"hidden on a bottom edge shared", {0, 1078, 1920, 1118}, wideA, EDGE_BOTTOM, {0, 1076, 1920, 1080}, below},
        {"beside the neighbour, on none of it", {1920, 0, 1982, 1080}, wideB, EDGE_LEFT, {1920, 0, 1924, 1080}, wideA},
        {"a neighbour touching only at a corner", {0, 1040, 1920, 1080}, wideA, EDGE_BOTTOM, {0, 1076, 1920, 1080},
         {1920, 1080, 3840, 2160}},
        {"a neighbour apart from it", {0, 1040, 1920, 1080}, wideA, EDGE_BOTTOM, {0, 1076, 1920, 1080},
         {2000, 1200, 3920, 2280}},
        {"the primary's own edge shared", {0, 1078, 1920, 1080}, wideA, EDGE_BOTTOM, {0, 1076, 1920, 1080}, below},
    };
    for (const auto& c : cases) {
        if (c.neighbour.right > c.neighbour.left) {
            EXPECT_EQ(1u, edgeMonitorOf(c.taskbar, c.neighbour, c.monitor)) << c.name;
            EXPECT_EQ(0u, edgeMonitorOf(c.taskbar, c.monitor, c.neighbour)) << c.name;
        }
        EXPECT_EQ(c.edge, secondaryEdge(c.taskbar, c.monitor)) << c.name;
        EXPECT_TRUE(secondaryStrip(c.taskbar, c.monitor, c.edge) == c.strip) << c.name;
    }
    // Halfway across a shared edge the monitor at the short side's first end keeps it.
    EXPECT_EQ(0u, edgeMonitorOf(Rect{1890, 0, 1950, 1080}, wideA, wideB));
    EXPECT_EQ(0u, edgeMonitorOf(Rect{1890, 0, 1950, 1080}, wideB, wideA));
    // The monitors are looked for at the ends of the short side, halfway along.
    Point ends[2];
    edgeProbePoints(Rect{1862, 0, 1922, 1080}, ends);
    EXPECT_TRUE(ends[0].x == 1862 && ends[0].y == 540 && ends[1].x == 1921 && ends[1].y == 540);
    edgeProbePoints(Rect{0, 1078, 1920, 1118}, ends);
    EXPECT_TRUE(ends[0].x == 960 && ends[0].y == 1078 && ends[1].x == 960 && ends[1].y == 1117);
}

// The strip and the release margin cover the same physical band at any scale.
TEST(TriggerGeometry, LengthsScaleWithTheDpiRoundedToTheNearestPixel) {
    struct {
        int32_t at96;
        uint32_t dpi;
        int32_t scaled;
    } cases[] = {
        {4, 96, 4}, {4, 120, 5}, {4, 144, 6}, {4, 168, 7}, {4, 192, 8}, {4, 288, 12},
        {5, 96, 5}, {5, 120, 6}, {5, 144, 8}, {5, 192, 10}, {4, 72, 3}, {4, 0, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.scaled, scaledForDpi(c.at96, c.dpi)) << c.at96 << " at " << c.dpi;
    EXPECT_TRUE(stripForEdge(Rect{0, 728, 1024, 768}, EDGE_BOTTOM, 6) == (Rect{0, 762, 1024, 768}));
    EXPECT_TRUE(secondaryStrip(Rect{1024, 0, 1086, 768}, Rect{1024, 0, 2048, 768}, EDGE_LEFT, 8) ==
                (Rect{1024, 0, 1032, 768}));
    EXPECT_TRUE(pointerOnTaskbar(Rect{0, 740, 1024, 768}, Rect{}, Point{500, 733}, 8));
    EXPECT_FALSE(pointerOnTaskbar(Rect{0, 740, 1024, 768}, Rect{}, Point{500, 732}, 8));
}

// A monitor not known yet clips nothing; a known one keeps the strip test
// and the release margin off the next monitor.
const Rect UNKNOWN = {0, 0, 0, 0}, PRIMARY = {0, 0, 1024, 768};

TEST(TriggerGeometry, StripTestIsInclusiveOnAllFourSidesButStaysOnItsMonitor) {
    const Rect strip = {0, 764, 1024, 768};
    struct { Point p; bool in, onPrimary; } cases[] = {
        {{0, 764}, true, true},       {{1024, 768}, true, false}, {{1024, 764}, true, false},
        {{0, 768}, true, false},      {{1023, 767}, true, true},  {{1025, 766}, false, false},
        {{-1, 766}, false, false},    {{500, 763}, false, false}, {{500, 769}, false, false},
        {{500, 766}, true, true},     {{-5000, -5000}, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.in, pointInStrip(strip, UNKNOWN, c.p)) << c.p.x << "," << c.p.y;
        EXPECT_EQ(c.onPrimary, pointInStrip(strip, PRIMARY, c.p)) << c.p.x << "," << c.p.y << " on the primary";
    }
    // The all-zero strip of a fresh start still contains the origin.
    EXPECT_TRUE(pointInStrip(Rect{0, 0, 0, 0}, UNKNOWN, Point{0, 0}));
    // The first row and column of a known monitor are on it.
    EXPECT_TRUE(pointInStrip(Rect{0, 0, 1024, 4}, PRIMARY, Point{500, 0}));
    EXPECT_TRUE(pointInStrip(Rect{0, 0, 4, 768}, PRIMARY, Point{0, 300}));
}

TEST(TriggerGeometry, ReleaseMarginIsFivePixelsWithStrictBoundsOnItsMonitor) {
    const Rect taskbar = {-2, 740, 1026, 770};
    struct { Point p; bool on, onPrimary; } cases[] = {
        {{500, 736}, true, true},   {{500, 735}, false, false}, {{1030, 750}, true, false},
        {{1031, 750}, false, false}, {{1023, 750}, true, true},  {{1024, 750}, true, false},
        {{-6, 750}, true, false},   {{-7, 750}, false, false},  {{500, 774}, true, false},
        {{500, 775}, false, false}, {{500, 300}, false, false}, {{0, 767}, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.on, pointerOnTaskbar(taskbar, UNKNOWN, c.p)) << c.p.x << "," << c.p.y;
        EXPECT_EQ(c.onPrimary, pointerOnTaskbar(taskbar, PRIMARY, c.p)) << c.p.x << "," << c.p.y << " on the primary";
    }
    // Extreme rectangles must not wrap around.
    EXPECT_FALSE(pointerOnTaskbar(Rect{INT32_MIN, INT32_MIN, INT32_MIN + 1, INT32_MIN + 1}, UNKNOWN, Point{INT32_MAX, 0}));
    EXPECT_TRUE(pointerOnTaskbar(Rect{INT32_MAX - 10, 0, INT32_MAX, 10}, UNKNOWN, Point{INT32_MAX - 1, 5}));
}

TEST(TriggerGeometry, PackedPositionKeepsTheLowSixteenBitsOfEachCoordinate) {
    EXPECT_EQ(0x02FE01F4u, packPosition(Point{500, 766}));
    EXPECT_EQ(0x0000FFFEu, packPosition(Point{-2, 0}));
    EXPECT_EQ(0xFFFF0001u, packPosition(Point{1, -1}));
    EXPECT_EQ(0x00010000u, packPosition(Point{0x10000, 1}));
}

TEST(TriggerGeometry, RectanglesCompareMemberByMember) {
    const Rect a = {1, 2, 3, 4};
    EXPECT_TRUE(sameRect(a, Rect{1, 2, 3, 4}));
    EXPECT_FALSE(sameRect(a, Rect{0, 2, 3, 4}));
    EXPECT_FALSE(sameRect(a, Rect{1, 0, 3, 4}));
    EXPECT_FALSE(sameRect(a, Rect{1, 2, 0, 4}));
    EXPECT_FALSE(sameRect(a, Rect{1, 2, 3, 0}));
}

}  // namespace
