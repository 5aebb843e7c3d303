#include "app/app_state.h"

AppState g_app;

ProgramState& programState() {
    return g_app.program;
}

Settings& currentSettings() {
    return g_app.settings;
}

ConfigDialogState& configDialogState() {
    return g_app.config;
}

TriggerState& triggerState() {
    return g_app.trigger;
}

TrayState& trayState() {
    return g_app.tray;
}

AboutState& aboutState() {
    return g_app.about;
}
