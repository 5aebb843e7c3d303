#include <gtest/gtest.h>

#include "trigger/release_rule.h"

namespace {

TEST(ReleaseRule, AnAlwaysOnTopTaskbarGoesBackIntoItsBandNeverToTheBottom) {
    struct {
        // send back, foreground, was topmost, cover still topmost, cover was ordinary, foreground fills the monitor
        ReleaseFacts facts;
        ReleasePlacement expected;
    } cases[] = {
        {{true, false, false, false, false, false}, RELEASE_TO_BOTTOM},    // an ordinary taskbar, as before
        {{true, false, false, true, false, false}, RELEASE_TO_BOTTOM},     // a cover does not matter to it
        {{true, false, true, true, false, false}, RELEASE_BELOW_COVER},    // back below the window it was under
        {{true, false, true, false, false, false}, RELEASE_TOP_OF_BAND},   // that window went or left the band
        {{false, false, true, true, false, false}, RELEASE_LEAVE},         // the user keeps it where it is
        {{false, false, false, false, false, false}, RELEASE_LEAVE},
        {{true, true, false, false, false, false}, RELEASE_LEAVE},         // the user is working in the taskbar
        {{true, true, true, true, false, false}, RELEASE_LEAVE},
        // An ordinary full-screen window covered it: behind it again only
        // while a full-screen window is still in front.
        {{true, false, false, false, true, true}, RELEASE_TO_BOTTOM},
        {{true, false, false, false, true, false}, RELEASE_LEAVE},
        {{true, false, true, true, true, false}, RELEASE_BELOW_COVER},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, releasePlacement(c.facts))
            << c.facts.sendBackAfterUse << c.facts.taskbarForeground << c.facts.wasTopmost << c.facts.coverStillTopmost
            << c.facts.coverWasOrdinary << c.facts.foregroundFillsMonitor;
}

TEST(ReleaseRule, AFullScreenWindowFillsItsMonitorAMaximisedOneDoesNot) {
    const Rect monitor = {0, 0, 1024, 768};
    struct {
        Rect window, client;
        bool framed, fills;
    } cases[] = {
        {{0, 0, 1024, 768}, {1, 1, 1023, 767}, false, true},       // a border of its own
        {{0, 0, 1024, 767}, {0, 0, 1024, 767}, false, false},
        {{1024, 0, 2048, 768}, {1024, 0, 2048, 768}, false, false},  // the next monitor
        {{-8, -31, 1032, 776}, {0, 0, 1024, 768}, true, true},      // its caption off the monitor
        {{-8, -8, 1032, 776}, {0, 23, 1024, 768}, true, false},     // its caption on it
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.fills, fillsMonitor(c.window, c.client, c.framed, monitor)) << c.window.top << " " << c.framed;
}

TEST(ReleaseRule, WhatTheShellShowsFromTheTaskbar) {
    const wchar_t* explorer = L"C:\\Windows\\explorer.exe";
    struct {
        const char* name;
        WindowKin kin;  // taskbar process, owned by the taskbar, fills the monitor, image, taskbar image
        bool shown;
    } cases[] = {
        {"a thumbnail", {true, false, false, nullptr, nullptr}, true},
        {"owned by the taskbar", {false, true, false, L"C:\\x\\other.exe", explorer}, true},
        {"the desktop", {true, false, true, nullptr, nullptr}, false},
        {"Start in full screen", {false, false, true, L"C:\\W\\A_1\\startmenuexperiencehost.EXE", explorer}, true},
        {"search", {false, false, false, L"D:/SearchHost.exe", nullptr}, true},
        {"folders apart", {false, false, false, L"C:\\Windows\\EXPLORER.EXE", explorer}, true},
        {"taskbar's image unknown", {false, false, false, explorer, nullptr}, false},
        {"a name ending like a host", {false, false, false, L"C:\\MySearchHost.exe", explorer}, false},
        {"a name beginning like one", {false, false, false, L"C:\\SearchHost.exe.1", explorer}, false},
        {"a folder", {false, false, false, L"C:\\explorer.exe\\", explorer}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, shownByShell(c.kin)) << c.name;
}

// A raise from the keyboard gave the taskbar the foreground: it stays up
// while the user works in it, wherever the pointer is.
TEST(ReleaseRule, AfterTheKeyboardTheReleaseWaitsForTheForegroundToLeave) {
    struct {
        // on the taskbar, raised by the keyboard, taskbar foreground, on a shell window, shell foreground
        ReleaseTiming timing;
        bool due;
    } cases[] = {
        {{false, false, false, false, false}, true},
        {{false, false, true, false, false}, true},  // raised by the pointer: the foreground does not hold it
        {{true, false, false, false, false}, false},
        {{true, false, true, false, false}, false},
        {{false, true, true, false, false}, false},
        {{false, true, false, false, false}, true},  // the foreground went elsewhere, or never came (refused)
        {{true, true, false, false, false}, false},  // and the pointer still holds it
        {{true, true, true, false, false}, false},
        // What the shell showed holds it, under the pointer or in the foreground.
        {{false, false, false, true, false}, false},
        {{false, true, false, false, true}, false},
        {{false, false, true, false, false}, true},  // not the taskbar itself
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.due, releaseDue(c.timing))
            << c.timing.pointerOnTaskbar << c.timing.raisedByKeyboard << c.timing.taskbarForeground
            << c.timing.pointerOnShellWindow << c.timing.shellForeground;
}

}  // namespace
