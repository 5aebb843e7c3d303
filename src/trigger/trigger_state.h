#pragma once
#include <windows.h>

// The taskbar, its strip and where an activation stands.
struct TriggerState {
    // Taskbar geometry.
    HWND taskbarWindow = nullptr;
    RECT lastTaskbarRect = {};
    RECT strip = {};
    // What the last question to the shell saw, so that idle polls need not ask.
    HWND watchedTaskbar = nullptr;
    RECT watchedRect = {};
    LONG shellChangeAnnounced = 0;
    DWORD ticksSinceAsk = 0;

    // Activation state.
    LONG taskbarRaised = 0;
    LONG delayPending = 0;
    LONG highlightShown = 0;
    // The taskbar's place before the current raise, for its release.
    LONG taskbarWasTopmost = 0;
    HWND coverBeforeRaise = nullptr;
};

TriggerState& triggerState();
