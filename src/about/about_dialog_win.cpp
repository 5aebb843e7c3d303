#include "about/about_dialog.h"

#include <shellapi.h>

#include "about/about_state.h"
#include "about/counter_text.h"
#include "about/link_buttons.h"
#include "about/rate.h"
#include "about/rate_text.h"
#include "resources/program.h"
#include "resources/resource.h"

namespace {

// The unit list, in statsUnit order; the list is not sorted, so an item's index
// is its unit.
const UINT unitNames[STATS_UNIT_COUNT] = {IDS_UNIT_SECOND, IDS_UNIT_MINUTE, IDS_UNIT_HOUR, IDS_UNIT_DAY};

// The 16 by 16 title-bar icon. Loaded once and kept for the life of the
// process: LoadImageA without LR_SHARED makes a new icon at each call, and the
// dialog can be opened any number of times.
HICON smallDialogIcon() {
    if (aboutState().iconSmall == nullptr)
        aboutState().iconSmall = loadSmallAppIcon();
    return aboutState().iconSmall;
}

void showCounter(HWND dialog, DWORD count) {
    char text[TEXT_BUFFER_SIZE];
    counterText(count, text);
    SetDlgItemTextA(dialog, IDC_COUNTER_LABEL, text);
}

void showAverage(HWND dialog) {
    char text[TEXT_BUFFER_SIZE];
    averageRateText(text);
    SetDlgItemTextA(dialog, IDC_AVERAGE_LABEL, text);
}

void fillUnitList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_UNIT_LIST);
    for (UINT id : unitNames) {
        char name[TEXT_BUFFER_SIZE];
        loadText(id, name);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SendMessageA(list, CB_SETCURSEL, aboutState().statsUnit, 0);
}

void openLink(HWND dialog, UINT urlId) {
    char url[TEXT_BUFFER_SIZE];
    loadText(urlId, url);
    ShellExecuteA(dialog, nullptr, url, nullptr, nullptr, SW_SHOWMAXIMIZED);
}

void restartCount(HWND dialog) {
    aboutState().activationCount = 0;
    showCounter(dialog, 0);
    // Shown before the start moves, with the count already 0: the label reads
    // 0.00 at once, and the next tick measures from the moment of the reset.
    showAverage(dialog);
    startCounting();
}

INT_PTR onUnitCommand(HWND dialog, WPARAM wParam) {
    if (HIWORD(wParam) != CBN_SELCHANGE)
        return FALSE;
    const LRESULT selection = SendDlgItemMessageA(dialog, IDC_UNIT_LIST, CB_GETCURSEL, 0, 0);
    aboutState().statsUnit = statsUnitFromSelection(static_cast<uint32_t>(selection));
    showAverage(dialog);
    return TRUE;
}

INT_PTR onInitDialog(HWND dialog) {
    SetForegroundWindow(dialog);
    giveDialogTheTabTexture(dialog);
    HICON bigIcon = LoadIconA(programState().instance, MAKEINTRESOURCEA(IDI_APP));
    aboutState().dialog = dialog;
    // Posted: the icons are set once WM_INITDIALOG has returned.
    PostMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    PostMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallDialogIcon()));
    aboutState().mailLinkColor = GetSysColor(COLOR_WINDOWTEXT);
    aboutState().webLinkColor = GetSysColor(COLOR_WINDOWTEXT);
    subclassLinkButtons(dialog);
    showCounter(dialog, aboutState().activationCount);
    fillUnitList(dialog);
    showAverage(dialog);
    startTimer(dialog, TIMER_REFRESH, REFRESH_PERIOD_MS);
    // TRUE: the dialog manager gives the focus to the first tab stop, OK.
    return TRUE;
}

INT_PTR onTimer(HWND dialog) {
    // Only the average drifts with time; the counter label follows activations.
    showAverage(dialog);
    return TRUE;
}

INT_PTR onCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL: DestroyWindow(dialog); return TRUE;
    case IDC_MAIL_LINK: openLink(dialog, IDS_MAILTO_URL); return TRUE;
    case IDC_WEB_LINK: openLink(dialog, IDS_HOMEPAGE_URL); return TRUE;
    case IDC_UNIT_LIST: return onUnitCommand(dialog, wParam);
    case IDC_RESET: restartCount(dialog); return TRUE;
    default: return FALSE;
    }
}

INT_PTR onSysCommand(HWND dialog, WPARAM wParam) {
    // Only the exact close command; the default handling turns the others
    // (Alt+F4 among them) into IDCANCEL.
    if (wParam != SC_CLOSE)
        return FALSE;
    DestroyWindow(dialog);
    return TRUE;
}

INT_PTR onDestroy(HWND dialog) {
    aboutState().dialog = nullptr;
    aboutState().hotLink = nullptr;
    aboutState().mailLinkSized = 0;
    aboutState().webLinkSized = 0;
    KillTimer(dialog, TIMER_REFRESH);
    return FALSE;
}

}  // namespace

void openAboutDialog() {
    if (aboutState().dialog != nullptr) {
        SetForegroundWindow(aboutState().dialog);
        return;
    }
    ensureCommonControls();
    // No owner: the dialog is a top-level window of its own. It sets
    // aboutDialog itself while it initialises.
    CreateDialogParamA(programState().instance, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, aboutDialogProc, 0);
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog);
    case WM_TIMER: return onTimer(dialog);
    case WM_COMMAND: return onCommand(dialog, wParam);
    case WM_SYSCOMMAND: return onSysCommand(dialog, wParam);
    case WM_DESTROY: return onDestroy(dialog);
    case WM_ACTIVATE: return onLinksActivate(wParam);
    case WM_SETCURSOR: return onLinksDialogSetCursor();
    case WM_DRAWITEM: return onLinksDrawItem(dialog, wParam, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_SYSCOLORCHANGE: return onLinksSysColorChange();
    default: return FALSE;
    }
}

void countActivation() {
    aboutState().activationCount++;
    if (IsWindow(aboutState().dialog))
        showCounter(aboutState().dialog, aboutState().activationCount);
}

void startCounting() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    SystemTimeToFileTime(&now, &aboutState().countStart);
}
