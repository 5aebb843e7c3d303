#pragma once
#include <windows.h>

#include "resources/constants.h"

// One taskbar and the strip along its outer edge.
struct Strip {
    HWND window = nullptr;  // the strip's window; the TriggerWindow for the primary taskbar
    HWND taskbarWindow = nullptr;
    RECT lastTaskbarRect = {};  // as last seen: the shell's answer (primary), the window's own (secondary)
    RECT strip = {};
    DWORD dpi = 0;  // of the taskbar's monitor when the strip was laid; 0 before

    // Activation state.
    LONG taskbarRaised = 0;
    LONG delayPending = 0;
    LONG highlightShown = 0;
    // The keyboard shortcut raised the taskbar and gave it the foreground:
    // the release waits until the foreground has gone elsewhere.
    LONG raisedByKeyboard = 0;
    // The taskbar's place before the current raise, for its release.
    LONG taskbarWasTopmost = 0;
    HWND coverBeforeRaise = nullptr;
    LONG coverWasOrdinary = 0;  // that cover was not always on top
};

// The taskbars, their strips and where each activation stands.
struct TriggerState {
    Strip primary;
    Strip secondary[MAX_SECONDARY_STRIPS];  // the first secondaryCount are in use
    DWORD secondaryCount = 0;

    // What the last question to the shell saw, so that idle polls need not ask.
    HWND watchedTaskbar = nullptr;
    RECT watchedRect = {};
    LONG shellChangeAnnounced = 0;
    LONG lastAskUnanswered = 0;
    DWORD ticksSinceAsk = 0;

    // The desktop is composited: the strips are layered windows.
    LONG composited = 0;
};

TriggerState& triggerState();
