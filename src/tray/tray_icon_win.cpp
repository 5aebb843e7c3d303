#include "tray/tray_icon.h"

#include <shellapi.h>

#include "resources/program.h"
#include "resources/resource.h"
#include "resources/shell_calls.h"
#include "tray/icon_steps.h"
#include "tray/tray_state.h"
#include "tray/tray_tip.h"

namespace {

// The record's newer form (Windows 2000 on) holds a tooltip of 127 characters;
// its later fields stay zero, as the icon needs none of them.
static_assert(TOOLTIP_MAX_CHARS + 1 == sizeof(NOTIFYICONDATAW::szTip) / sizeof(WCHAR), "the newer form's tooltip");
const UINT ICON_FLAGS = NIF_MESSAGE | NIF_ICON | NIF_TIP;

// The calls to the shell in hand, made on the shell calls' thread, and what
// it answered. The record keeps the icon as it was last sent.
struct IconCall {
    NOTIFYICONDATAW record;
    IconSteps steps;
    bool wasRetry;
    bool held;
};
IconCall call;
WCHAR tipWanted[TOOLTIP_MAX_CHARS + 1];

TrayState& tray = trayState();

// Compared as stored, character by character: a linguistic comparison would
// take some different texts for the same.
bool sameText(const WCHAR* a, const WCHAR* b) {
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

BOOL notify(DWORD message, UINT flags) {
    call.record.uFlags = flags;
    return Shell_NotifyIconW(message, &call.record);
}

// A delete needs no flags, a modify of the tooltip names it alone.
void talkToShell() {
    const IconSteps& steps = call.steps;
    if (steps.remove)
        notify(NIM_DELETE, 0);
    call.held = steps.probe && notify(NIM_MODIFY, ICON_FLAGS);
    if (steps.add && !call.held)
        call.held = notify(NIM_ADD, ICON_FLAGS) != FALSE;
    if (steps.retip)
        notify(NIM_MODIFY, NIF_TIP);
}

void answerLanded() {
    if (call.steps.add) {
        tray.iconHeld = call.held ? 1 : 0;
        tray.retriesLeft = iconRetriesAfter(call.held, call.wasRetry, tray.retriesLeft);
        // A failure to start the timer has been reported; the icon is then offered at the next re-add.
        if (tray.retriesLeft != 0)
            startTimer(programState().mainWindow, TIMER_ICON_RETRY, ICON_RETRY_PERIOD_MS);
        else
            KillTimer(programState().mainWindow, TIMER_ICON_RETRY);
    }
    syncTrayIcon();
}

// The tooltip says why the strips do not act, when they do not.
void formTip(const wchar_t* asideFor, const wchar_t* blockedBy) {
    WCHAR format[TOOLTIP_MAX_CHARS + 1];
    switch (tipKind(programState().paused != 0, asideFor, blockedBy)) {
    case TIP_ACTING: LoadStringW(programState().instance, IDS_CAPTION, tipWanted, TOOLTIP_MAX_CHARS + 1); return;
    case TIP_PAUSED: LoadStringW(programState().instance, IDS_CAPTION_PAUSED, tipWanted, TOOLTIP_MAX_CHARS + 1); return;
    case TIP_ASIDE:
        LoadStringW(programState().instance, IDS_TIP_ASIDE, format, TOOLTIP_MAX_CHARS + 1);
        fillTip(format, asideFor, tipWanted, TOOLTIP_MAX_CHARS + 1);
        return;
    case TIP_BLOCKED:
        LoadStringW(programState().instance, IDS_TIP_BLOCKED, format, TOOLTIP_MAX_CHARS + 1);
        fillTip(format, blockedBy, tipWanted, TOOLTIP_MAX_CHARS + 1);
        return;
    }
}

void want(bool wanted, bool readd, HICON icon) {
    tray.iconWanted = wanted ? 1 : 0;
    tray.readdAsked = readd ? 1 : 0;
    // A new icon carries the tooltip last said, or the program's name.
    if (wanted) {
        tray.iconShown = icon;
        if (tipWanted[0] == L'\0')
            formTip(nullptr, nullptr);
    }
    syncTrayIcon();
}

}  // namespace

// Nothing is handed over while an earlier call runs: its landing comes here
// again with whatever is wanted by then.
void syncTrayIcon() {
    if (!shellCallFree())
        return;
    const IconFacts facts = {tray.iconWanted != 0, tray.iconSent != 0,  tray.iconHeld != 0,
                             tray.readdAsked != 0, tray.retryDue != 0,
                             !sameText(tipWanted, call.record.szTip)};
    const IconSteps steps = iconSteps(facts);
    tray.retryDue = 0;
    if (!steps.remove && !steps.add && !steps.retip)
        return;
    call.steps = steps;
    call.wasRetry = facts.retryDue;
    NOTIFYICONDATAW& record = call.record;
    record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record.hWnd = programState().mainWindow;
    record.uID = TRAY_ICON_ID;
    record.uCallbackMessage = WM_TRAY_NOTIFY;
    record.hIcon = tray.iconShown;
    lstrcpynW(record.szTip, tipWanted, TOOLTIP_MAX_CHARS + 1);
    tray.readdAsked = 0;
    if (steps.remove)
        tray.iconSent = tray.iconHeld = 0;
    if (steps.add)
        tray.iconSent = 1;
    if (callShell(talkToShell, answerLanded) == SHELL_CALL_DONE)
        answerLanded();
}

void showTrayIcon(HICON icon) {
    want(true, false, icon);
}

void hideTrayIcon() {
    want(false, false, nullptr);
}

void readdTrayIcon(HICON icon) {
    want(true, true, icon);
}

void showTrayTip(const wchar_t* asideFor, const wchar_t* blockedBy) {
    formTip(asideFor, blockedBy);
    syncTrayIcon();
}

// Offers stop once the icon is held, no longer wanted, or two minutes went by.
void retryTrayIcon() {
    if (tray.retriesLeft == 0 || !tray.iconWanted || tray.iconHeld) {
        tray.retriesLeft = 0;
        KillTimer(programState().mainWindow, TIMER_ICON_RETRY);
        return;
    }
    tray.retriesLeft--;
    tray.retryDue = 1;
    syncTrayIcon();
}

bool trayIconWanted() {
    return tray.iconWanted != 0;
}
