// Which windows the shell shows from a taskbar (a button's thumbnails, a jump
// list, Start, search, the notification area's flyouts and overflow, quick
// settings, the touch keyboard, the widgets): they keep a raised taskbar up,
// and they never count as covering it. No windows.h: tested on the host.
#pragma once

// What is known of a window other than the taskbar.
struct WindowKin {
    bool taskbarProcess;  // it belongs to the taskbar's process
    bool ownedByTaskbar;  // the taskbar owns it
    bool fillsMonitor;    // it covers the taskbar's monitor (see fillsMonitor)
    // It has a caption: a window the user works in (a folder window), never
    // a thumbnail, a jump list, a menu or the overflow, which have none.
    bool captioned;
    // Its process's image path and the taskbar process's, null when unknown.
    const wchar_t* image;
    const wchar_t* taskbarImage;
};

// The shell's own hosts count whatever they show. Otherwise a window owned
// by the taskbar, or without a caption of the taskbar's process or of a
// process with the same image (the shell may run its folder windows apart),
// counts, unless it fills the monitor: that is a window the user works in
// (a folder window in full screen, the desktop itself).
bool shownByShell(const WindowKin& kin);

// The image is one of the shell's hosts.
bool shellHostImage(const wchar_t* image);
// The image frames a Store app's windows.
bool frameHostImage(const wchar_t* image);
