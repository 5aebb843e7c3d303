#include "app/startup.h"

#include "app/app_state.h"
#include "app/start_timer.h"
#include "resources/resource.h"
#include "trigger/locator.h"
#include "trigger/trigger_window.h"

// Fixed start-up texts in code page 1252 (not in the string table).
static const char CLASS_ERROR_TEXT[] = "Erreur \xE0 la cr\xE9" "ation de la classe de fen\xEAtre";
static const char WINDOW_ERROR_TEXT[] = "Erreur lors de la cr\xE9" "ation de la fen\xEAtre";

void loadNames() {
    loadText(IDS_TRIGGER_CLASS, g_app.triggerClassName);
    loadText(IDS_DIALOG_CLASS, g_app.dialogClassName);
    loadText(IDS_CAPTION, g_app.caption);
    loadText(IDS_TASKBAR_CLASS, g_app.taskbarClassName);
}

bool handOverToRunningCopy() {
    HWND running = FindWindowA(g_app.triggerClassName, nullptr);
    if (running == nullptr)
        return false;
    SetForegroundWindow(running);
    PostMessageA(running, WM_SECOND_INSTANCE, 0, 0);
    return true;
}

static WNDCLASSEXA classTemplate(HICON large, HICON small) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hInstance = g_app.instance;
    wc.hIcon = large;
    wc.hIconSm = small;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    return wc;
}

bool registerClasses() {
    HICON large = LoadIconA(g_app.instance, MAKEINTRESOURCEA(IDI_APP));
    HICON small = loadSmallAppIcon();

    WNDCLASSEXA trigger = classTemplate(large, small);
    trigger.lpfnWndProc = triggerWindowProc;
    // The strip shows this brush whenever its highlight is on.
    trigger.hbrBackground = (HBRUSH)(INT_PTR)(COLOR_HIGHLIGHT + 1);
    trigger.lpszClassName = g_app.triggerClassName;
    if (!RegisterClassExA(&trigger))
        return false;

    WNDCLASSEXA dialog = classTemplate(large, small);
    dialog.lpfnWndProc = DefDlgProcA;
    dialog.cbWndExtra = DLGWINDOWEXTRA;
    dialog.hbrBackground = (HBRUSH)(INT_PTR)(COLOR_BACKGROUND + 1);
    dialog.lpszClassName = g_app.dialogClassName;
    return RegisterClassExA(&dialog) != 0;
}

HWND createTriggerWindow() {
    return CreateWindowExA(TRIGGER_EX_STYLE, g_app.triggerClassName, g_app.caption, WS_POPUP, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, g_app.instance, nullptr);
}

int runMessageLoop() {
    MSG msg = {};
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
            return (int)msg.wParam;
        if (got == -1)  // only for an invalid filter window, which we never pass
            return 0;
        // Both modeless dialogs get their keyboard navigation this way.
        if (g_app.aboutDialog != nullptr && IsDialogMessageA(g_app.aboutDialog, &msg))
            continue;
        if (g_app.configDialog != nullptr && IsDialogMessageA(g_app.configDialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int runPendrel(HINSTANCE instance) {
    g_app.instance = instance;
    loadNames();
    if (handOverToRunningCopy())
        return EXIT_ALREADY_RUNNING;
    if (!registerClasses()) {
        MessageBoxA(nullptr, CLASS_ERROR_TEXT, g_app.caption, MB_ICONWARNING);
        return EXIT_STARTUP_FAILED;
    }
    HWND window = createTriggerWindow();
    if (window == nullptr) {
        MessageBoxA(nullptr, WINDOW_ERROR_TEXT, g_app.caption, MB_ICONWARNING);
        return EXIT_STARTUP_FAILED;
    }
    if (!startTimer(window, TIMER_POLL, POLL_PERIOD_MS)) {
        // Destroying the window takes the tray icon away with it.
        DestroyWindow(window);
        return EXIT_STARTUP_FAILED;
    }
    // The strip is still empty: the window shows at the origin with no area
    // until the first poll finds the taskbar.
    placeTriggerWindow(window);
    SYSTEMTIME now;
    GetSystemTime(&now);
    SystemTimeToFileTime(&now, &g_app.countStart);
    return runMessageLoop();
}
