#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "about/about_dialog.h"
#include "about/about_state.h"
#include "app/hot_key.h"
#include "app/message_filter.h"
#include "app/strip_messages.h"
#include "report/report.h"
#include "resources/program.h"
#include "resources/resource.h"
#include "resources/shell_calls.h"
#include "settings/config_dialog.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "tray/context_menu.h"
#include "tray/tray_icon.h"
#include "tray/tray_notify.h"
#include "tray/tray_state.h"
#include "trigger/activation.h"
#include "trigger/composition.h"
#include "trigger/locator.h"
#include "trigger/pointer.h"
#include "trigger/presence.h"
#include "trigger/stand_aside.h"
#include "trigger/trigger_state.h"
#include "trigger/verify.h"

namespace {

static_assert(HOT_KEY_FLAG_SHIFT == HOTKEYF_SHIFT && HOT_KEY_FLAG_CONTROL == HOTKEYF_CONTROL &&
                  HOT_KEY_FLAG_ALT == HOTKEYF_ALT && HOT_KEY_FLAG_EXT == HOTKEYF_EXT,
              "the hot-key control's flags");
static_assert(HOT_KEY_MOD_ALT == MOD_ALT && HOT_KEY_MOD_CONTROL == MOD_CONTROL && HOT_KEY_MOD_SHIFT == MOD_SHIFT &&
                  HOT_KEY_MOD_NOREPEAT == MOD_NOREPEAT,
              "RegisterHotKey's modifiers");

// The TriggerWindow is the primary taskbar's strip.
Strip& primary() {
    return triggerState().primary;
}

// The chosen combination is registered before the held one is let go, so
// that a refusal (another program holds it) leaves the old one working.
// True when the choice is in force.
bool takeShowTaskbarKey(HWND window, uint32_t chosen) {
    ProgramState& program = programState();
    switch (hotKeyStep(program.hotKeyHeld, chosen)) {
    case HOT_KEY_KEEP: break;
    case HOT_KEY_RELEASE: UnregisterHotKey(window, program.hotKeyId); break;
    case HOT_KEY_TAKE: {
        const int freeId = program.hotKeyId == HOT_KEY_SHOW_TASKBAR ? HOT_KEY_SHOW_TASKBAR_NEXT : HOT_KEY_SHOW_TASKBAR;
        const HotKeyRegistration key = hotKeyRegistration(chosen);
        if (!RegisterHotKey(window, freeId, key.modifiers, key.virtualKey))
            return false;
        if (program.hotKeyHeld != 0)
            UnregisterHotKey(window, program.hotKeyId);
        program.hotKeyId = freeId;
        break;
    }
    }
    program.hotKeyHeld = hotKeyRegistration(chosen).wanted ? chosen : 0;
    return true;
}

LRESULT onCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    programState().mainWindow = window;
    primary().window = window;
    trayState().iconSmall = loadSmallAppIcon();
    programState().taskbarCreatedMessage = RegisterWindowMessageA(TASKBAR_CREATED_MESSAGE_NAME);
    letShellMessagesThrough(window);
    followComposition();
    loadSettings();
    // A refusal is shown when the configuration dialog opens.
    takeShowTaskbarKey(window, currentSettings().hotKey);
    if (currentSettings().showTrayIcon) {
        showTrayIcon(trayState().iconSmall);
        // A failed start has been reported; the icon simply stays.
        if (currentSettings().removeIconAfterTimeout)
            startTimer(window, TIMER_ICON_REMOVAL, ICON_REMOVAL_PERIOD_MS);
    }
    return DefWindowProcA(window, WM_CREATE, wParam, lParam);
}

LRESULT onDestroy(HWND window) {
    takeShowTaskbarKey(window, 0);
    hideTrayIcon();
    PostQuitMessage(0);
    return 0;
}

// The icon's tooltip says why the strips do not act, whenever that changed.
void sayWhyInTheTip() {
    showTrayTip(programStoodAsideFor(), programThatStayedOver());
}

LRESULT onPollTick(HWND window) {
    const bool timersStarted = pollTick();
    sayWhyInTheTip();
    if (!timersStarted)
        return DefWindowProcA(window, WM_TIMER, TIMER_POLL, 0);
    return 0;
}

LRESULT onVerifyTick() {
    onStripVerifyTick(primary());
    sayWhyInTheTip();
    return 0;
}

LRESULT onIconRemovalTick(HWND window) {
    hideTrayIcon();
    KillTimer(window, TIMER_ICON_REMOVAL);
    return 0;
}

LRESULT onIconRetryTick() {
    retryTrayIcon();
    return 0;
}

// Timers are looked at in the order poll, icon removal, delay, highlight, icon retry.
LRESULT onTimer(HWND window, WPARAM timerId) {
    switch (timerId) {
    case TIMER_POLL: return onPollTick(window);
    case TIMER_ICON_REMOVAL: return onIconRemovalTick(window);
    case TIMER_DELAY: return onStripDelayTick(primary());
    case TIMER_HIGHLIGHT: return onStripHighlightTick(primary());
    case TIMER_ICON_RETRY: return onIconRetryTick();
    case TIMER_VERIFY: return onVerifyTick();
    default: return 0;
    }
}

// A pointer that rested on a strip through the menu is found by the next poll.
LRESULT onMenuLoop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    programState().inMenuLoop = message == WM_ENTERMENULOOP ? 1 : 0;
    if (message == WM_EXITMENULOOP)
        pointerUnseen();
    return DefWindowProcA(window, message, wParam, lParam);
}

// A dialog opened by a click gets the foreground once the click is over: the
// shell handles the last button-up after the dialog has shown, and may take
// the foreground (and so the keyboard) back to the taskbar with it.
void foregroundWhenHandled(UINT command) {
    PostMessageA(programState().mainWindow, WM_FOREGROUND_DIALOG, command, 0);
}

// The menu's click is over once its command arrives.
void openFromMenu(UINT command) {
    if (command == IDM_ABOUT)
        openAboutDialog();
    else
        openConfigDialog();
    foregroundWhenHandled(command);
}

// Not stored: only this run is paused. The menu shows the pause by its check
// mark, the icon by its tooltip.
void togglePause() {
    programState().paused = programState().paused ? 0 : 1;
    if (programState().paused)
        quietStrips();
    // Out of the way at once, or back where something covers the edge.
    followCovers();
    sayWhyInTheTip();
}

LRESULT onCommand(WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDM_ABOUT: openFromMenu(IDM_ABOUT); break;
    case IDM_CONFIG: openFromMenu(IDM_CONFIG); break;
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
    if (message != WM_SETTINGCHANGE || wParam == SPI_SETWORKAREA) {
        announceShellChange();
        forgetFront();
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The double-click's last button-up reaches the shell after the dialog shows;
// the dialog is brought forward once it has.
void onIconDoubleClick() {
    openAboutDialog();
    programState().dialogAwaitingClickEnd = IDM_ABOUT;
}

void onIconClickOver() {
    if (programState().dialogAwaitingClickEnd == 0)
        return;
    foregroundWhenHandled(programState().dialogAwaitingClickEnd);
    programState().dialogAwaitingClickEnd = 0;
}

LRESULT onCompositionChanged() {
    followComposition();
    return 0;
}

LRESULT onTrayNotify(LPARAM lParam) {
    switch (trayNotifyAction(static_cast<uint32_t>(lParam))) {
    case TRAY_OPEN_MENU: showContextMenuAtPointer(); break;
    case TRAY_OPEN_ABOUT: onIconDoubleClick(); break;
    case TRAY_CLICK_OVER: onIconClickOver(); break;
    case TRAY_IGNORE: break;
    }
    return 0;
}

// Only a dialog still open is brought forward: the user may have closed it.
LRESULT onForegroundDialog(WPARAM command) {
    HWND dialog = command == IDM_ABOUT ? aboutState().dialog : configDialogState().dialog;
    if (dialog != nullptr)
        SetForegroundWindow(dialog);
    return 0;
}

// A second start asks for the icon back for good and for the About dialog,
// whatever the settings say.
LRESULT onSecondInstance(HWND window) {
    readdTrayIcon(trayState().iconSmall);
    KillTimer(window, TIMER_ICON_REMOVAL);
    openAboutDialog();
    return 0;
}

LRESULT onReaddIcon() {
    readdTrayIcon(trayState().iconSmall);
    return 0;
}

// A restarted shell has forgotten every icon: put ours back exactly when it
// is meant to be showing, so that an icon the removal timer took away stays
// away, and one the shell refused is offered to it. The taskbar may have
// moved with it.
LRESULT onTaskbarCreated() {
    announceShellChange();
    if (trayIconWanted())
        readdTrayIcon(trayState().iconSmall);
    return 0;
}

// A call to the shell that the program stopped waiting for has ended: its
// answer is taken, and the icon told what it missed meanwhile.
LRESULT onShellCallLanded() {
    landShellCall();
    syncTrayIcon();
    return 0;
}

LRESULT onHotKey(WPARAM id) {
    if (id == HOT_KEY_SHOW_TASKBAR || id == HOT_KEY_SHOW_TASKBAR_NEXT)
        raiseTaskbarUnderPointer();
    return 0;
}

LRESULT onTakeHotKey(HWND window, WPARAM chosen) {
    return takeShowTaskbarKey(window, static_cast<uint32_t>(chosen)) ? 0 : 1;
}

// The list of programs or the full-screen setting may have changed: the
// window in front is looked at afresh.
LRESULT onSettingsApplied() {
    forgetFront();
    return 0;
}

// Another process asks for the report; anything else that comes this way
// is left unanswered.
LRESULT onCopyData(LPARAM lParam) {
    return answerReportRequest(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
}

// The shell's "TaskbarCreated" has a number known only at run time.
LRESULT onOtherMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != 0 && message == programState().taskbarCreatedMessage)
        return onTaskbarCreated();
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
    case WM_MOUSEACTIVATE: return onStripMouseActivate();
    case WM_PAINT: return onStripPaint(window);
    case WM_ERASEBKGND: return onStripEraseBackground(primary(), window, wParam, lParam);
    case WM_ENTERMENULOOP: return onMenuLoop(window, message, wParam, lParam);
    case WM_EXITMENULOOP: return onMenuLoop(window, message, wParam, lParam);
    case WM_COMMAND: return onCommand(wParam);
    case WM_DROPFILES: return onDropFiles(wParam);
    case WM_DISPLAYCHANGE: return onShellChange(window, message, wParam, lParam);
    case WM_SETTINGCHANGE: return onShellChange(window, message, wParam, lParam);
    case WM_DPICHANGED: return onShellChange(window, message, wParam, lParam);
    case WM_DWMCOMPOSITIONCHANGED: return onCompositionChanged();
    case WM_TRAY_NOTIFY: return onTrayNotify(lParam);
    case WM_SECOND_INSTANCE: return onSecondInstance(window);
    case WM_READD_ICON: return onReaddIcon();
    case WM_HOTKEY: return onHotKey(wParam);
    case WM_TAKE_HOT_KEY: return onTakeHotKey(window, wParam);
    case WM_SETTINGS_APPLIED: return onSettingsApplied();
    case WM_FOREGROUND_DIALOG: return onForegroundDialog(wParam);
    case WM_SHELL_CALL_LANDED: return onShellCallLanded();
    case WM_COPYDATA: return onCopyData(lParam);
    default: return onOtherMessage(window, message, wParam, lParam);
    }
}
