#include "app/app_state.h"

AppState g_app;
Strip secondaryStripRecords[MAX_SECONDARY_STRIPS];
static ProgramList g_neverOverList;

ProgramState& programState() {
    return g_app.program;
}

Settings& currentSettings() {
    return g_app.settings;
}

ProgramList& neverOverList() {
    return g_neverOverList;
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

DesktopState& desktopState() {
    return g_app.desktop;
}
