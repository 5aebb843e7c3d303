// The names other programs know Pendrel by: its window classes and title, its
// dialogs' titles, its registry key and value names, the text of its counter.
// The string table of pendrel.rc holds them for the program; the tests that
// watch the program from outside take them from here. Read by the resource
// compiler too: macros only.
#pragma once

#define PENDREL_CAPTION "Pendrel"
#define PENDREL_TRIGGER_CLASS "Marrowick"
#define PENDREL_DIALOG_CLASS "Marrowick_APropos"
// The strips of the taskbars on other monitors than the primary one.
#define PENDREL_STRIP_CLASS "Marrowick_Ecran"
// The mutex a running copy holds for the user's session.
#define PENDREL_SESSION_MUTEX "Local\\Marrowick"
#define PENDREL_ABOUT_TITLE "About Pendrel"
#define PENDREL_CONFIG_TITLE "Pendrel Configuration"
#define PENDREL_COUNTER_FORMAT "You have activated %lu times the taskbar."

#define PENDREL_REGISTRY_KEY "Software\\Oxbrindle\\Marrowick"
#define PENDREL_REG_DELAY_ENABLED "Temporiser"
#define PENDREL_REG_DELAY_MS "ValeurTempo"
#define PENDREL_REG_RESTART_ON_MOVE "RelanceTempo"
#define PENDREL_REG_OVER_TOPMOST "DevantToujoursVisibles"
#define PENDREL_REG_SHOW_ICON "VoirIcone"
#define PENDREL_REG_REMOVE_ICON "SupprimerIconeApresTempo"
// One byte 0xE8 in code page 1252 (an e with a grave accent): stored data is
// found by these exact bytes.
#define PENDREL_REG_SEND_BACK "RetourArri\xE8rePlan"
#define PENDREL_REG_HIGHLIGHT "Surbrillance"
#define PENDREL_REG_ALL_SCREENS "TousLesEcrans"
#define PENDREL_REG_HOT_KEY "Raccourci"
#define PENDREL_REG_AVOID_FULL_SCREEN "EviterPleinEcran"
// Text read and written with the wide functions: program names need not fit
// the ANSI code page.
#define PENDREL_REG_NEVER_OVER "JamaisDevant"
#define PENDREL_PAUSED_TIP "Pendrel (paused)"
// The tooltip while a strip keeps out of the way of the program in front, and
// after another program stayed over the raised taskbar: %s is its file name.
#define PENDREL_ASIDE_TIP "Pendrel (not over %s)"
#define PENDREL_BLOCKED_TIP "Pendrel (%s stayed over the taskbar)"
// The value of the current user's Run key that starts Pendrel at sign-in; it
// is not one of the settings of Pendrel's own key.
#define PENDREL_RUN_VALUE "Pendrel"
