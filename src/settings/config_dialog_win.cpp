#include "settings/config_dialog.h"

#include <commctrl.h>

#include "resources/program.h"
#include "resources/resource.h"
#include "settings/setting_rules.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings/sign_in.h"
#include "tray/tray_icon.h"

namespace {

// The delay's label, box, unit and the restart option follow the delay check box.
const int DELAY_CONTROLS[] = {IDC_DELAY_LABEL, IDC_DELAY_VALUE, IDC_DELAY_UNIT, IDC_RESTART_ON_MOVE};

void enableControl(HWND dialog, int id, bool enable) {
    EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

void enableDelayControls(HWND dialog, bool enable) {
    for (int id : DELAY_CONTROLS)
        enableControl(dialog, id, enable);
}

// Check boxes give settings of exactly 0 or 1.
DWORD checkedState(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0;
}

void setCheck(HWND dialog, int id, DWORD setting) {
    CheckDlgButton(dialog, id, setting ? BST_CHECKED : BST_UNCHECKED);
}

void startIconRemoval() {
    // A failure has been reported to the user; the icon simply stays.
    startTimer(programState().mainWindow, TIMER_ICON_REMOVAL, ICON_REMOVAL_PERIOD_MS);
}

// The box holds digits only, but a pasted text can hold anything. An empty
// box and a number past 32 bits both read as 0, not as the largest delay.
// What is stored is what the next start reads, and the box shows it.
DWORD applyDelayBox(HWND dialog) {
    const UINT typed = GetDlgItemInt(dialog, IDC_DELAY_VALUE, nullptr, FALSE);
    const DWORD stored = delayToStore(typed);
    if (stored != typed)
        SetDlgItemInt(dialog, IDC_DELAY_VALUE, stored, FALSE);
    return stored;
}

// The Run value and the entry beside it are the user's too (Task Manager
// switches the start off there): they are touched only for a box the user
// changed.
void applySignInBox(HWND dialog) {
    const DWORD checked = checkedState(dialog, IDC_START_AT_SIGN_IN);
    if (checked == configDialogState().signInShown)
        return;
    configDialogState().signInShown = checked;
    setStartAtSignIn(checked != 0);
}

// The icon changes act on what the settings said, not on whether the icon
// is actually shown: after the removal timer took it away, OK with the box
// still checked leaves it away.
void applyIconSettings(HWND dialog) {
    Settings& settings = currentSettings();
    const DWORD show = checkedState(dialog, IDC_SHOW_ICON);
    if (show != settings.showTrayIcon) {
        settings.showTrayIcon = show;
        hideTrayIcon();
        if (show) {
            showTrayIcon(configDialogState().iconSmall);
            if (checkedState(dialog, IDC_REMOVE_ICON))
                startIconRemoval();
        }
    }
    const DWORD remove = checkedState(dialog, IDC_REMOVE_ICON);
    if (remove != settings.removeIconAfterTimeout) {
        settings.removeIconAfterTimeout = remove;
        if (remove && settings.showTrayIcon)
            startIconRemoval();
        else
            KillTimer(programState().mainWindow, TIMER_ICON_REMOVAL);
    }
}

// The control's value: the virtual key in the low byte, the HOTKEYF_ flags in
// the high byte.
DWORD hotKeyOfControl(HWND dialog) {
    return LOWORD(SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_GETHOTKEY, 0, 0));
}

// The row under the hot-key control says when the main window could not
// register the shortcut; hidden otherwise.
void showHotKeyRefusal(HWND dialog, bool refused) {
    ShowWindow(GetDlgItem(dialog, IDC_HOT_KEY_TAKEN), refused ? SW_SHOW : SW_HIDE);
}

// The list is kept as typed, up to its limit; a longer one is refused as a
// whole rather than cut, and the row under the box says so.
bool readNeverOverBox(HWND dialog) {
    const int typed = GetWindowTextLengthW(GetDlgItem(dialog, IDC_NEVER_OVER));
    const bool fits = typed <= static_cast<int>(NEVER_OVER_MAX_CHARS);
    ShowWindow(GetDlgItem(dialog, IDC_NEVER_OVER_TOO_LONG), fits ? SW_HIDE : SW_SHOW);
    if (fits)
        GetDlgItemTextW(dialog, IDC_NEVER_OVER, neverOverList().names, NEVER_OVER_MAX_CHARS + 1);
    return fits;
}

// False when something chosen is refused: a list of programs too long
// (nothing is applied or stored), or a shortcut the main window could not
// take (it is not stored, and the one held before stays in force).
bool applyDialogSettings(HWND dialog) {
    if (!readNeverOverBox(dialog))
        return false;
    Settings& settings = currentSettings();
    settings.delayEnabled = checkedState(dialog, IDC_DELAY_ENABLED);
    settings.delayMs = applyDelayBox(dialog);
    settings.restartDelayOnMove = checkedState(dialog, IDC_RESTART_ON_MOVE);
    settings.overTopmost = checkedState(dialog, IDC_OVER_TOPMOST);
    settings.sendBackAfterUse = checkedState(dialog, IDC_SEND_BACK);
    settings.highlight = checkedState(dialog, IDC_HIGHLIGHT);
    settings.allScreens = checkedState(dialog, IDC_ALL_SCREENS);
    settings.avoidFullScreen = checkedState(dialog, IDC_AVOID_FULL_SCREEN);
    const DWORD chosen = hotKeyOfControl(dialog);
    const bool taken = SendMessageA(programState().mainWindow, WM_TAKE_HOT_KEY, chosen, 0) == 0;
    if (taken)
        settings.hotKey = chosen;
    applyIconSettings(dialog);
    saveSettings();
    applySignInBox(dialog);
    // The list of programs or the full-screen setting may have changed.
    SendMessageA(programState().mainWindow, WM_SETTINGS_APPLIED, 0, 0);
    showHotKeyRefusal(dialog, !taken);
    return taken;
}

INT_PTR onInitDialog(HWND dialog) {
    configDialogState().dialog = dialog;
    giveDialogTheTabTexture(dialog);
    SetForegroundWindow(dialog);
    HICON big = LoadIconA(programState().instance, MAKEINTRESOURCEA(IDI_APP));
    PostMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    // Loaded once: an icon loaded at its own size is not shared, so loading it
    // at every opening would leave one more icon behind each time. The tray
    // may be showing this one, so it is never destroyed.
    if (configDialogState().iconSmall == nullptr)
        configDialogState().iconSmall = loadSmallAppIcon();
    PostMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(configDialogState().iconSmall));

    const Settings& settings = currentSettings();
    setCheck(dialog, IDC_DELAY_ENABLED, settings.delayEnabled);
    SetDlgItemInt(dialog, IDC_DELAY_VALUE, settings.delayMs, FALSE);
    setCheck(dialog, IDC_RESTART_ON_MOVE, settings.restartDelayOnMove);
    setCheck(dialog, IDC_OVER_TOPMOST, settings.overTopmost);
    setCheck(dialog, IDC_SEND_BACK, settings.sendBackAfterUse);
    setCheck(dialog, IDC_SHOW_ICON, settings.showTrayIcon);
    setCheck(dialog, IDC_REMOVE_ICON, settings.removeIconAfterTimeout);
    setCheck(dialog, IDC_HIGHLIGHT, settings.highlight);
    setCheck(dialog, IDC_ALL_SCREENS, settings.allScreens);
    configDialogState().signInShown = startsAtSignIn() ? 1 : 0;
    setCheck(dialog, IDC_START_AT_SIGN_IN, configDialogState().signInShown);
    // Typed without Ctrl or Alt, a key gets both: taken system-wide, a bare
    // key or Shift with a key would be lost to every other program. A stored
    // one of that kind is no shortcut and shows as none.
    SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                        MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    const bool usable = hotKeyUsable(settings.hotKey);
    SendDlgItemMessageA(dialog, IDC_HOT_KEY, HKM_SETHOTKEY, usable ? settings.hotKey : 0, 0);
    showHotKeyRefusal(dialog, usable && programState().hotKeyHeld != settings.hotKey);
    setCheck(dialog, IDC_AVOID_FULL_SCREEN, settings.avoidFullScreen);
    // Wide: the box of the version 6 controls keeps any name.
    SetDlgItemTextW(dialog, IDC_NEVER_OVER, neverOverList().names);
    enableDelayControls(dialog, settings.delayEnabled != 0);
    enableControl(dialog, IDC_REMOVE_ICON, settings.showTrayIcon != 0);
    // Filling the controls is not a change. The multi-line delay box reports
    // no change for a text set from here, but a box of another kind would.
    enableControl(dialog, IDC_APPLY, false);
    return TRUE;
}

// A disabled Apply that kept the focus would leave the keyboard nowhere:
// Tab, Enter and Escape would do nothing until a click. The focus moves on
// first, and the dialog manager gives Enter back to OK.
void disableApply(HWND dialog) {
    HWND apply = GetDlgItem(dialog, IDC_APPLY);
    if (GetFocus() == apply)
        SendMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(apply, FALSE);
}

// OK keeps the dialog open while it says that a choice is refused, so that
// the refusal is seen; Apply then stays enabled for what was not applied.
INT_PTR onOkOrApply(HWND dialog, WPARAM command) {
    if (!applyDialogSettings(dialog))
        return TRUE;
    if (command == IDOK)
        DestroyWindow(dialog);
    else
        disableApply(dialog);
    return TRUE;
}

INT_PTR onCancel(HWND dialog) {
    DestroyWindow(dialog);
    return TRUE;
}

INT_PTR onDelayEnabledClicked(HWND dialog) {
    enableDelayControls(dialog, checkedState(dialog, IDC_DELAY_ENABLED) != 0);
    enableControl(dialog, IDC_APPLY, true);
    return FALSE;
}

INT_PTR onShowIconClicked(HWND dialog) {
    enableControl(dialog, IDC_REMOVE_ICON, checkedState(dialog, IDC_SHOW_ICON) != 0);
    enableControl(dialog, IDC_APPLY, true);
    return FALSE;
}

INT_PTR onOtherCommand(HWND dialog) {
    enableControl(dialog, IDC_APPLY, true);
    return FALSE;
}

// The whole wParam is compared: a command is a click (notification 0) on the
// control; any notification of the delay box, focus changes included, only
// enables Apply.
INT_PTR onCommand(HWND dialog, WPARAM wParam) {
    switch (wParam) {
    case IDOK:
    case IDC_APPLY: return onOkOrApply(dialog, wParam);
    case IDCANCEL: return onCancel(dialog);
    case IDC_DELAY_ENABLED: return onDelayEnabledClicked(dialog);
    case IDC_SHOW_ICON: return onShowIconClicked(dialog);
    default: return onOtherCommand(dialog);
    }
}

// Only SC_CLOSE itself, unmasked; the dialog manager turns other close
// requests into IDCANCEL.
INT_PTR onSysCommand(HWND dialog, WPARAM wParam) {
    if (wParam != SC_CLOSE)
        return FALSE;
    DestroyWindow(dialog);
    return TRUE;
}

INT_PTR onDestroy() {
    configDialogState().dialog = nullptr;
    return FALSE;
}

}  // namespace

void openConfigDialog() {
    if (configDialogState().dialog != nullptr) {
        SetForegroundWindow(configDialogState().dialog);
        return;
    }
    ensureCommonControls();
    // The dialog stores its own handle while it initialises. Made wide, so
    // that its controls are wide windows: the list's box keeps every
    // character typed into it, not only those of the ANSI code page.
    CreateDialogParamW(programState().instance, MAKEINTRESOURCEW(IDD_CONFIG), nullptr, configDialogProc, 0);
}

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog);
    case WM_COMMAND: return onCommand(dialog, wParam);
    case WM_SYSCOMMAND: return onSysCommand(dialog, wParam);
    case WM_DESTROY: return onDestroy();
    default: return FALSE;
    }
}
