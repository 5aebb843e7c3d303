#include <gtest/gtest.h>

#include <vector>

#include "desktop/zorder_rules.h"

namespace {

const Rect BAND = {0, 764, 1024, 768};  // a bottom strip's band
const Rect FULL = {0, 0, 1024, 768}, CORNER = {900, 0, 1024, 100}, ABOVE_BAND = {0, 0, 1024, 764};

// A shown window on the screen, neither ours nor a taskbar.
WindowFacts window(const Rect& rect, bool topmost = true) {
    WindowFacts f = {};
    f.visible = true;
    f.topmost = topmost;
    f.rect = rect;
    return f;
}

WindowFacts ownStrip() {
    WindowFacts f = {};
    f.strip = f.ownStrip = true;
    f.topmost = true;
    f.rect = BAND;
    return f;
}

WindowFacts ownTaskbar() {
    WindowFacts f = window(Rect{0, 728, 1024, 768});
    f.taskbar = f.ownTaskbar = true;
    return f;
}

// Windows over the whole screen, on its one monitor, of kinds that are never
// covers, and whether they may be one before the dear facts are read, and
// whether they can be the window in front.
struct Kind {
    const char* name;
    WindowFacts facts;
    bool mayCover, front;
};
WindowFacts kind(bool WindowFacts::*fact, bool value) {
    WindowFacts f = window(FULL);
    f.onMonitor = true;
    f.*fact = value;
    return f;
}
const Kind KINDS[] = {
    {"hidden", kind(&WindowFacts::visible, false), false, false},
    {"cloaked", kind(&WindowFacts::cloaked, true), true, false},
    {"minimised", kind(&WindowFacts::minimised, true), false, false},
    {"a strip", kind(&WindowFacts::strip, true), false, false},
    {"a taskbar", kind(&WindowFacts::taskbar, true), false, false},
    {"shown by the shell", kind(&WindowFacts::shellWindow, true), true, true},
};

EdgeLook lookDown(const std::vector<WindowFacts>& zorder, bool countTopmost = true) {
    EdgeLook look = {};
    for (const WindowFacts& w : zorder)
        lookAtWindow(look, w, BAND, countTopmost);
    return look;
}

TEST(ZOrderRules, WhatCoversAStripsBand) {
    struct {
        const char* name;
        WindowFacts facts;
        bool covers, coversWithoutTopmost;
    } cases[] = {
        {"a full-screen window", window(FULL, false), true, true},
        {"an always-on-top one", window(FULL), true, false},
        {"one pixel over the band", window(Rect{0, 0, 1024, 765}), true, false},
        {"ending where the band begins", window(ABOVE_BAND), false, false},
        {"one pixel of the band's corner", window(Rect{1023, 767, 1100, 800}, false), true, true},
        {"beside the band", window(Rect{1024, 0, 2048, 768}, false), false, false},
        {"ending where the band's left end is", window(Rect{-200, 700, 0, 800}, false), false, false},
        {"beginning where the band ends", window(Rect{0, 768, 1024, 900}, false), false, false},
        {"an empty window on the band", window(Rect{500, 766, 500, 766}, false), false, false},
        {"a window with no width across the band", window(Rect{500, 700, 500, 800}, false), false, false},
        {"a clock at the top right", window(CORNER), false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.covers, coversBand(c.facts, BAND, true)) << c.name;
        EXPECT_EQ(c.coversWithoutTopmost, coversBand(c.facts, BAND, false)) << c.name;
        EXPECT_EQ(c.covers, mayCoverBand(c.facts, BAND, true)) << c.name;
    }
    EXPECT_FALSE(coversBand(window(FULL, false), Rect{0, 700, 1024, 700}, true));  // a band of no height
    // Over the band, but never a cover; what is dear to read is read only
    // for what may cover.
    for (const Kind& k : KINDS) {
        EXPECT_FALSE(coversBand(k.facts, BAND, true)) << k.name;
        EXPECT_EQ(k.mayCover, mayCoverBand(k.facts, BAND, true)) << k.name;
    }
}

TEST(ZOrderRules, AStripLiesRightAboveWhatCoversItsBand) {
    const WindowFacts clock = window(CORNER), cover = window(FULL), ordinary = window(FULL, false),
                      note = window(Rect{100, 100, 300, 300}, false);
    WindowFacts otherStrip = window(BAND), otherTaskbar = window(BAND);
    otherStrip.strip = true;
    otherTaskbar.taskbar = true;
    struct {
        const char* name;
        std::vector<WindowFacts> zorder;  // from the top down
        bool covered, buried;
        EdgeAnchor anchor;
    } cases[] = {
        {"nothing over the taskbar", {clock, ownStrip(), ownTaskbar(), cover}, false, false, ANCHOR_NONE},
        {"the taskbar raised over the cover", {ownStrip(), ownTaskbar(), cover}, false, false, ANCHOR_NONE},
        {"in place over the cover", {clock, ownStrip(), cover, ownTaskbar()}, true, false, ANCHOR_NONE},
        {"under the cover, a clock above", {clock, cover, ownStrip(), ownTaskbar()}, true, true, ANCHOR_BELOW_PREVIOUS},
        {"under the first window", {cover, clock, ownStrip(), ownTaskbar()}, true, true, ANCHOR_TOP},
        {"under an ordinary cover", {clock, note, ordinary, ownStrip(), ownTaskbar()}, true, true,
         ANCHOR_BELOW_LAST_TOPMOST},
        {"under an ordinary cover, nothing always on top", {note, ordinary, ownTaskbar(), ownStrip()}, true, true,
         ANCHOR_TOP},
        {"the first cover decides", {clock, cover, ordinary, ownStrip(), ownTaskbar()}, true, true,
         ANCHOR_BELOW_PREVIOUS},
        {"another strip and another taskbar", {otherStrip, otherTaskbar, ownTaskbar(), ownStrip()}, false, false,
         ANCHOR_NONE},
        {"below another strip", {otherStrip, cover, ownStrip(), ownTaskbar()}, true, true, ANCHOR_BELOW_PREVIOUS},
        {"no taskbar found", {cover}, true, true, ANCHOR_TOP},
    };
    for (const auto& c : cases) {
        const EdgeLook look = lookDown(c.zorder);
        EXPECT_EQ(c.covered, look.covered) << c.name;
        EXPECT_EQ(c.buried, look.buried) << c.name;
        EXPECT_EQ(c.anchor, look.anchor) << c.name;
    }
    // Kept below the always-on-top windows, the strip leaves them be.
    EXPECT_FALSE(lookDown({clock, cover, ownStrip(), ownTaskbar()}, false).covered);
    EXPECT_TRUE(lookDown({clock, cover, ordinary, ownStrip(), ownTaskbar()}, false).covered);
    EXPECT_EQ(ANCHOR_BELOW_LAST_TOPMOST, lookDown({clock, cover, ordinary, ownStrip(), ownTaskbar()}, false).anchor);
}

TEST(ZOrderRules, TheWindowInFrontOnAMonitor) {
    WindowFacts on = window(FULL), elsewhere = window(FULL);
    on.onMonitor = true;
    EXPECT_TRUE(frontWindowCandidate(on));
    EXPECT_FALSE(frontWindowCandidate(elsewhere));
    for (const Kind& k : KINDS)
        EXPECT_EQ(k.front, frontWindowCandidate(k.facts)) << k.name;
}

TEST(ZOrderRules, AFullScreenWindowFillsItsMonitorAMaximisedOneDoesNot) {
    const Rect monitor = {0, 0, 1024, 768};
    struct {
        Rect window, client;
        bool framed, fills;
    } cases[] = {
        {{0, 0, 1024, 768}, {0, 0, 1024, 768}, false, true},         // exactly the monitor
        {{0, 0, 1024, 768}, {1, 1, 1023, 767}, false, true},         // a border of its own
        {{0, 0, 1024, 767}, {0, 0, 1024, 767}, false, false},
        {{1, 0, 1024, 768}, {1, 0, 1024, 768}, false, false},
        {{0, 0, 1023, 768}, {0, 0, 1023, 768}, false, false},
        {{0, 1, 1024, 768}, {0, 1, 1024, 768}, false, false},
        {{1024, 0, 2048, 768}, {1024, 0, 2048, 768}, false, false},  // the next monitor
        {{-8, -31, 1032, 776}, {0, 0, 1024, 768}, true, true},      // its caption off the monitor
        {{-8, -8, 1032, 776}, {0, 23, 1024, 768}, true, false},     // its caption on it
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.fills, fillsMonitor(c.window, c.client, c.framed, monitor)) << c.window.top << " " << c.framed;
}

}  // namespace
