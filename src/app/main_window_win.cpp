#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "about/about_dialog.h"
#include "app/hot_key.h"
#include "app/strip_messages.h"
#include "resources/program.h"
#include "resources/resource.h"
#include "settings/config_dialog.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "tray/context_menu.h"
#include "tray/tray_icon.h"
#include "tray/tray_notify.h"
#include "tray/tray_state.h"
#include "trigger/activation.h"
#include "trigger/locator.h"
#include "trigger/stand_aside.h"
#include "trigger/trigger_state.h"

namespace {

static_assert(HOT_KEY_FLAG_SHIFT == HOTKEYF_SHIFT && HOT_KEY_FLAG_CONTROL == HOTKEYF_CONTROL &&
                  HOT_KEY_FLAG_ALT == HOTKEYF_ALT && HOT_KEY_FLAG_EXT == HOTKEYF_EXT,
              "the hot-key control's flags");
static_assert(HOT_KEY_MOD_ALT == MOD_ALT && HOT_KEY_MOD_CONTROL == MOD_CONTROL && HOT_KEY_MOD_SHIFT == MOD_SHIFT,
              "RegisterHotKey's modifiers");

// The TriggerWindow is the primary taskbar's strip.
Strip& primary() {
    return triggerState().primary;
}

// Registered afresh at every change (and at every OK or Apply, so that a key
// another program has let go of since is taken). A refusal is kept for the
// configuration dialog to show.
void registerShowTaskbarKey(HWND window) {
    UnregisterHotKey(window, HOT_KEY_SHOW_TASKBAR);
    const HotKeyRegistration key = hotKeyRegistration(currentSettings().hotKey);
    const bool refused =
        key.wanted && !RegisterHotKey(window, HOT_KEY_SHOW_TASKBAR, key.modifiers, key.virtualKey);
    programState().hotKeyRefused = refused ? 1 : 0;
}

LRESULT onCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    programState().mainWindow = window;
    primary().window = window;
    trayState().iconSmall = loadSmallAppIcon();
    programState().taskbarCreatedMessage = RegisterWindowMessageA(TASKBAR_CREATED_MESSAGE_NAME);
    loadSettings();
    registerShowTaskbarKey(window);
    if (currentSettings().showTrayIcon) {
        showTrayIcon(window, trayState().iconSmall);
        // A failed start has been reported; the icon simply stays.
        if (currentSettings().removeIconAfterTimeout)
            startTimer(window, TIMER_ICON_REMOVAL, ICON_REMOVAL_PERIOD_MS);
    }
    return DefWindowProcA(window, WM_CREATE, wParam, lParam);
}

LRESULT onDestroy(HWND window) {
    UnregisterHotKey(window, HOT_KEY_SHOW_TASKBAR);
    hideTrayIcon(window);
    PostQuitMessage(0);
    return 0;
}

LRESULT onPollTick(HWND window) {
    if (!pollTick())
        return DefWindowProcA(window, WM_TIMER, TIMER_POLL, 0);
    return 0;
}

LRESULT onIconRemovalTick(HWND window) {
    hideTrayIcon(window);
    KillTimer(window, TIMER_ICON_REMOVAL);
    return 0;
}

// Timers are looked at in the order poll, icon removal, delay, highlight.
LRESULT onTimer(HWND window, WPARAM timerId) {
    switch (timerId) {
    case TIMER_POLL: return onPollTick(window);
    case TIMER_ICON_REMOVAL: return onIconRemovalTick(window);
    case TIMER_DELAY: return onStripDelayTick(primary());
    case TIMER_HIGHLIGHT: return onStripHighlightTick(primary());
    default: return 0;
    }
}

LRESULT onMenuLoop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    programState().inMenuLoop = message == WM_ENTERMENULOOP ? 1 : 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

// Not stored: only this run is paused. The menu shows the pause by its check
// mark, the icon by its tooltip.
void togglePause() {
    programState().paused = programState().paused ? 0 : 1;
    if (programState().paused)
        quietStrips();
    showTrayTip(programState().mainWindow);
}

LRESULT onCommand(WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDM_ABOUT: openAboutDialog(); break;
    case IDM_CONFIG: openConfigDialog(); break;
    case IDM_PAUSE: togglePause(); break;
    case IDM_EXIT: PostMessageA(programState().mainWindow, WM_CLOSE, 0, 0); break;
    default: break;
    }
    return 0;
}

// The window accepts dropped files but has no use for them: the drop's
// handle is only given back.
LRESULT onDropFiles(WPARAM wParam) {
    DragFinish(reinterpret_cast<HDROP>(wParam));
    return 0;
}

// The display, the work area or the scale changed: the next poll asks the shell.
LRESULT onShellChange(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_SETTINGCHANGE || wParam == SPI_SETWORKAREA)
        announceShellChange();
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT onTrayNotify(LPARAM lParam) {
    switch (trayNotifyAction(static_cast<uint32_t>(lParam))) {
    case TRAY_OPEN_MENU: showContextMenuAtPointer(); break;
    case TRAY_OPEN_ABOUT: openAboutDialog(); break;
    case TRAY_IGNORE: break;
    }
    return 0;
}

// A second start asks for the icon back for good and for the About dialog,
// whatever the settings say.
LRESULT onSecondInstance(HWND window) {
    readdTrayIcon(window, trayState().iconSmall);
    KillTimer(window, TIMER_ICON_REMOVAL);
    openAboutDialog();
    return 0;
}

LRESULT onReaddIcon(HWND window) {
    readdTrayIcon(window, trayState().iconSmall);
    return 0;
}

// A restarted shell has forgotten every icon: put ours back exactly when it
// is meant to be showing, so that an icon the removal timer took away stays
// away. The taskbar may have moved with it.
LRESULT onTaskbarCreated(HWND window) {
    announceShellChange();
    if (trayIconWanted())
        readdTrayIcon(window, trayState().iconSmall);
    return 0;
}

LRESULT onHotKey(WPARAM id) {
    if (id == HOT_KEY_SHOW_TASKBAR)
        raiseTaskbarUnderPointer();
    return 0;
}

// The list of programs or the full-screen setting may have changed: the
// window in front is looked at afresh.
LRESULT onSettingsApplied(HWND window) {
    registerShowTaskbarKey(window);
    forgetFront();
    return 0;
}

// The shell's "TaskbarCreated" has a number known only at run time.
LRESULT onOtherMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != 0 && message == programState().taskbarCreatedMessage)
        return onTaskbarCreated(window);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return onCreate(window, wParam, lParam);
    case WM_DESTROY: return onDestroy(window);
    case WM_NCHITTEST: return onStripHitTest(primary(), window, wParam, lParam);
    case WM_TIMER: return onTimer(window, wParam);
    case WM_LBUTTONDOWN: return onStripLeftButtonDown(primary(), window, lParam);
    case WM_RBUTTONDOWN: return onStripRightButtonDown(window, lParam);
    case WM_PAINT: return onStripPaint(window);
    case WM_ERASEBKGND: return onStripEraseBackground(primary(), window, wParam, lParam);
    case WM_ENTERMENULOOP: return onMenuLoop(window, message, wParam, lParam);
    case WM_EXITMENULOOP: return onMenuLoop(window, message, wParam, lParam);
    case WM_COMMAND: return onCommand(wParam);
    case WM_DROPFILES: return onDropFiles(wParam);
    case WM_DISPLAYCHANGE: return onShellChange(window, message, wParam, lParam);
    case WM_SETTINGCHANGE: return onShellChange(window, message, wParam, lParam);
    case WM_DPICHANGED: return onShellChange(window, message, wParam, lParam);
    case WM_TRAY_NOTIFY: return onTrayNotify(lParam);
    case WM_SECOND_INSTANCE: return onSecondInstance(window);
    case WM_READD_ICON: return onReaddIcon(window);
    case WM_HOTKEY: return onHotKey(wParam);
    case WM_SETTINGS_APPLIED: return onSettingsApplied(window);
    default: return onOtherMessage(window, message, wParam, lParam);
    }
}
