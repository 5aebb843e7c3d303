// The one process-wide record, grouped by the part of the program that owns
// each group. Each part reaches its own group through its accessor
// (programState, currentSettings, triggerState, ...), never through this file.
#pragma once

#include "about/about_state.h"
#include "desktop/desktop_state.h"
#include "resources/program.h"
#include "settings/settings.h"
#include "tray/tray_state.h"
#include "trigger/trigger_state.h"

struct AppState {
    ProgramState program;      // the module, names, main window
    Settings settings;         // what the user chose
    ConfigDialogState config;  // the configuration dialog
    TriggerState trigger;      // the taskbar, its strip, the activation
    TrayState tray;            // the notification-area icon
    AboutState about;          // the statistics and the About dialog
    DesktopState desktop;      // what the look at the desktop's windows keeps
};

extern AppState g_app;
