#include <gtest/gtest.h>

#include "desktop/shell_windows.h"

namespace {

const wchar_t* const EXPLORER = L"C:\\Windows\\explorer.exe";

TEST(ShellWindows, WhatTheShellShowsFromTheTaskbar) {
    struct {
        const char* name;
        WindowKin kin;  // taskbar process, owned by the taskbar, fills the monitor, captioned, image, taskbar image
        bool shown;
    } cases[] = {
        {"a thumbnail", {true, false, false, false, nullptr, nullptr}, true},
        {"a folder window of the taskbar's process", {true, false, false, true, nullptr, nullptr}, false},
        {"owned by the taskbar", {false, true, false, false, L"C:\\x\\other.exe", EXPLORER}, true},
        {"owned by the taskbar, with a caption", {false, true, false, true, L"C:\\x\\other.exe", EXPLORER}, true},
        {"the desktop", {true, false, true, false, nullptr, nullptr}, false},
        {"Start in full screen", {false, false, true, true, L"C:\\W\\A_1\\startmenuexperiencehost.EXE", EXPLORER}, true},
        {"search", {false, false, false, false, L"D:/SearchHost.exe", nullptr}, true},
        {"a jump list of folders run apart", {false, false, false, false, L"C:\\Windows\\EXPLORER.EXE", EXPLORER}, true},
        {"a folder window run apart", {false, false, false, true, L"C:\\Windows\\EXPLORER.EXE", EXPLORER}, false},
        {"a captioned explorer.exe in front", {false, false, false, true, L"Z:\\tests\\explorer.exe", EXPLORER}, false},
        {"taskbar's image unknown", {false, false, false, false, EXPLORER, nullptr}, false},
        {"a name ending like a host", {false, false, false, false, L"C:\\MySearchHost.exe", EXPLORER}, false},
        {"a name beginning like one", {false, false, false, false, L"C:\\SearchHost.exe.1", EXPLORER}, false},
        {"a prefix of a host's name", {false, false, false, false, L"C:\\Widgets.ex", EXPLORER}, false},
        {"a folder", {false, false, false, false, L"C:\\explorer.exe\\", EXPLORER}, false},
        {"an empty name", {false, false, false, false, L"", L""}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, shownByShell(c.kin)) << c.name;
}

// Every host of the shell keeps the raise, whatever it shows and in any case.
TEST(ShellWindows, EveryHostOfTheShellCounts) {
    const wchar_t* const hosts[] = {
        L"C:\\Windows\\SystemApps\\x\\StartMenuExperienceHost.exe", L"C:\\W\\SearchHost.exe",
        L"C:\\W\\SEARCHAPP.EXE", L"C:\\W\\searchui.exe", L"C:\\W\\ShellExperienceHost.exe",
        L"C:\\W\\ShellHost.exe", L"C:\\W\\TextInputHost.exe", L"C:\\Program Files\\W\\Widgets.exe",
        L"C:\\Program Files\\W\\WidgetBoard.exe",
    };
    for (const wchar_t* host : hosts) {
        EXPECT_TRUE(shellHostImage(host)) << std::wstring(host).size();
        EXPECT_TRUE(shownByShell(WindowKin{false, false, true, true, host, EXPLORER})) << std::wstring(host).size();
    }
    for (const wchar_t* other : {L"C:\\W\\Shell.exe", L"C:\\W\\Host.exe", L"", L"C:\\W\\"})
        EXPECT_FALSE(shellHostImage(other));
    EXPECT_TRUE(frameHostImage(L"C:\\Windows\\System32\\applicationframehost.exe"));
    EXPECT_FALSE(frameHostImage(L"C:\\Windows\\System32\\ApplicationFrame.exe"));
}

}  // namespace
