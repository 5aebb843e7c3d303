#include "app/startup.h"

#include <objbase.h>

#include "about/about_dialog.h"
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/strip_window.h"
#include "report/report.h"
#include "resources/names.h"
#include "resources/program.h"
#include "resources/resource.h"
#include "trigger/locator.h"

// Fixed start-up texts in code page 1252 (not in the string table).
static const char CLASS_ERROR_TEXT[] = "Erreur \xE0 la cr\xE9" "ation de la classe de fen\xEAtre";
static const char WINDOW_ERROR_TEXT[] = "Erreur lors de la cr\xE9" "ation de la fen\xEAtre";

void loadNames() {
    loadText(IDS_TRIGGER_CLASS, g_app.program.triggerClassName);
    loadText(IDS_DIALOG_CLASS, g_app.program.dialogClassName);
    loadText(IDS_CAPTION, g_app.program.caption);
    loadText(IDS_TASKBAR_CLASS, g_app.program.taskbarClassName);
}

bool handOverToRunningCopy() {
    HWND running = FindWindowA(g_app.program.triggerClassName, nullptr);
    if (running == nullptr)
        return false;
    SetForegroundWindow(running);
    PostMessageA(running, WM_SECOND_INSTANCE, 0, 0);
    return true;
}

// Two copies started in the same moment would both find no TriggerWindow:
// the session's mutex tells the later one that the other is starting, and it
// hands over once that one's window is there. A copy that holds the mutex but
// shows no window within the bound is taken for one that is starting still.
// The mutex is held until the process ends (the system then lets it go for a
// start that waits on it). Without a mutex, a running copy is found by its
// window alone.
bool anotherCopyRuns() {
    HANDLE session = CreateMutexW(nullptr, FALSE, L"" PENDREL_SESSION_MUTEX);
    for (DWORD waited = 0;; waited += SESSION_WAIT_STEP_MS) {
        if (handOverToRunningCopy())
            return true;
        if (session == nullptr)
            return false;
        const DWORD taken = WaitForSingleObject(session, SESSION_WAIT_STEP_MS);
        if (taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED)
            return false;
        if (waited >= SESSION_WAIT_MS)
            return true;
    }
}

static WNDCLASSEXA classTemplate(HICON large, HICON small) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hInstance = g_app.program.instance;
    wc.hIcon = large;
    wc.hIconSm = small;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    return wc;
}

bool registerClasses() {
    HICON large = LoadIconA(g_app.program.instance, MAKEINTRESOURCEA(IDI_APP));
    HICON small = loadSmallAppIcon();

    WNDCLASSEXA trigger = classTemplate(large, small);
    trigger.lpfnWndProc = mainWindowProc;
    // The strip shows this brush whenever its highlight is on.
    trigger.hbrBackground = (HBRUSH)(INT_PTR)(COLOR_HIGHLIGHT + 1);
    trigger.lpszClassName = g_app.program.triggerClassName;
    if (!RegisterClassExA(&trigger))
        return false;

    // Without it the secondary taskbars get no strips, and the program still runs.
    WNDCLASSEXA strip = classTemplate(nullptr, nullptr);
    strip.lpfnWndProc = secondaryStripProc;
    strip.hbrBackground = (HBRUSH)(INT_PTR)(COLOR_HIGHLIGHT + 1);
    strip.lpszClassName = PENDREL_STRIP_CLASS;
    RegisterClassExA(&strip);

    WNDCLASSEXA dialog = classTemplate(large, small);
    dialog.lpfnWndProc = DefDlgProcA;
    dialog.cbWndExtra = DLGWINDOWEXTRA;
    dialog.hbrBackground = (HBRUSH)(INT_PTR)(COLOR_BACKGROUND + 1);
    dialog.lpszClassName = g_app.program.dialogClassName;
    return RegisterClassExA(&dialog) != 0;
}

HWND createTriggerWindow() {
    return CreateWindowExA(TRIGGER_EX_STYLE, g_app.program.triggerClassName, g_app.program.caption, WS_POPUP, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, g_app.program.instance, nullptr);
}

// Wide, so that a character typed outside the ANSI code page reaches the
// dialogs' boxes as it is.
int runMessageLoop() {
    MSG msg = {};
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
            return (int)msg.wParam;
        if (got == -1)  // only for an invalid filter window, which we never pass
            return 0;
        // Both modeless dialogs get their keyboard navigation this way.
        if (g_app.about.dialog != nullptr && IsDialogMessageW(g_app.about.dialog, &msg))
            continue;
        if (g_app.config.dialog != nullptr && IsDialogMessageW(g_app.config.dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Everything from the classes on, once this copy runs alone.
static int runAlone() {
    if (!registerClasses()) {
        MessageBoxA(nullptr, CLASS_ERROR_TEXT, g_app.program.caption, MB_ICONWARNING);
        return EXIT_STARTUP_FAILED;
    }
    HWND window = createTriggerWindow();
    if (window == nullptr) {
        MessageBoxA(nullptr, WINDOW_ERROR_TEXT, g_app.program.caption, MB_ICONWARNING);
        return EXIT_STARTUP_FAILED;
    }
    if (!startTimer(window, TIMER_POLL, POLL_PERIOD_MS, POLL_TOLERANCE_MS)) {
        // Destroying the window takes the tray icon away with it.
        DestroyWindow(window);
        return EXIT_STARTUP_FAILED;
    }
    // The strip is still empty: the window shows at the origin with no area
    // until the first poll finds the taskbar.
    placeStripWindow(g_app.trigger.primary);
    startCounting();
    return runMessageLoop();
}

int runPendrel(HINSTANCE instance) {
    g_app.program.instance = instance;
    loadNames();
    // A start for the report neither runs nor hands over.
    int reportExit = EXIT_REPORT_FAILED;
    if (runReportCommand(GetCommandLineW(), &reportExit))
        return reportExit;
    if (anotherCopyRuns())
        return EXIT_ALREADY_RUNNING;
    // Once for the thread, apartment-threaded: the shell's extensions that a
    // link may start need it so.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const int code = runAlone();
    if (SUCCEEDED(com))
        CoUninitialize();
    return code;
}
