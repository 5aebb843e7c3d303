#include "desktop/zorder.h"

#include "desktop/desktop_state.h"
#include "desktop/shell_kin.h"
#include "desktop/win_rect.h"
#include "resources/constants.h"

// The record this file works on, reached once.
static DesktopState& desktop = desktopState();

// Cloaking exists from Windows 8 on; before it, and where the compositor's
// library lacks the question, nothing is cloaked.
static bool cloaked(HWND window) {
    if (!desktop.compositorLooked) {
        desktop.compositorLooked = 1;
        HMODULE dwm = LoadLibraryA("dwmapi.dll");
        if (dwm != nullptr)
            desktop.windowAttribute = (WindowAttributeQuery)(void*)GetProcAddress(dwm, "DwmGetWindowAttribute");
    }
    DWORD value = 0;
    return desktop.windowAttribute != nullptr &&
           SUCCEEDED(desktop.windowAttribute(window, WINDOW_ATTRIBUTE_CLOAKED, &value, sizeof value)) && value != 0;
}

static bool sameRECT(const RECT& a, const RECT& b) {
    return sameRect(toRect(a), toRect(b));
}

// A window that covers a strip is asked about at every poll: its answer is
// kept while it stays where it was.
static bool shellWindow(HWND window, const RECT& rect, HWND taskbar, const RECT& monitor) {
    for (const ShellWindowMemo& memo : desktop.memos)
        if (memo.window == window && memo.taskbar == taskbar && sameRECT(memo.rect, rect))
            return memo.shown != 0;
    ShellWindowMemo& memo = desktop.memos[desktop.nextMemo++ % SHELL_WINDOW_MEMOS];
    memo = ShellWindowMemo{window, taskbar, rect, shownFromTaskbar(window, taskbar, monitor) ? 1 : 0};
    return memo.shown != 0;
}

namespace {

// What is read of one window, each part only once some question needs it.
struct Reading {
    HWND window;
    WindowFacts facts;
    bool cloakRead;
    bool monitorRead;
    HMONITOR monitor;
};

bool oneOfTheStrips(const BandLook* looks, size_t count, HWND window) {
    for (size_t i = 0; i < count; ++i)
        if (looks[i].strip == window)
            return true;
    return false;
}

bool oneOfTheTaskbars(const BandLook* looks, size_t count, HWND window) {
    for (size_t i = 0; i < count; ++i)
        if (looks[i].taskbar == window)
            return true;
    return false;
}

// The cheap facts: which window it is, its style, and for a shown window
// its place and band. The strips are always on top by their making.
Reading readWindow(HWND window, const BandLook* looks, size_t count) {
    Reading r = {window, {}, false, false, nullptr};
    WindowFacts& f = r.facts;
    f.strip = oneOfTheStrips(looks, count, window);
    f.taskbar = oneOfTheTaskbars(looks, count, window);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    f.visible = (style & WS_VISIBLE) != 0;
    f.minimised = (style & WS_MINIMIZE) != 0;
    if (f.strip) {
        f.topmost = true;
        return r;
    }
    if (!f.taskbar && (!f.visible || f.minimised))
        return r;
    f.topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    RECT rect = {};
    if (GetWindowRect(window, &rect))
        f.rect = toRect(rect);
    return r;
}

void readCloaking(Reading& r) {
    if (r.cloakRead)
        return;
    r.cloakRead = true;
    r.facts.cloaked = cloaked(r.window);
}

// Against one strip: its own window and taskbar, and what is dearer to read
// only when the window may cover its band.
WindowFacts factsFor(Reading& r, const BandLook& look, bool countTopmost) {
    WindowFacts f = r.facts;
    f.ownStrip = r.window == look.strip;
    f.ownTaskbar = r.window == look.taskbar;
    if (!look.edge.ended && !look.edge.covered && mayCoverBand(f, toRect(look.band), countTopmost)) {
        readCloaking(r);
        f.cloaked = r.facts.cloaked;
        f.shellWindow = !f.cloaked && shellWindow(r.window, toRECT(f.rect), look.taskbar, look.monitor);
    }
    return f;
}

void lookForFront(Reading& r, BandLook& look) {
    const WindowFacts& f = r.facts;
    if (!look.wantFront || look.front != nullptr || f.strip || f.taskbar || !f.visible || f.minimised)
        return;
    if (!r.monitorRead) {
        r.monitorRead = true;
        const RECT rect = toRECT(f.rect);
        r.monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    }
    readCloaking(r);
    WindowFacts facts = f;
    facts.cloaked = r.facts.cloaked;
    facts.onMonitor = r.monitor != nullptr && r.monitor == look.monitorHandle;
    if (frontWindowCandidate(facts))
        look.front = r.window;
}

bool answered(const BandLook* looks, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (!looks[i].edge.ended || (looks[i].wantFront && looks[i].front == nullptr))
            return false;
    return true;
}

}  // namespace

void lookDownTheZOrder(BandLook* looks, size_t count, bool countTopmost) {
    // Without a taskbar there is no edge to cover; without a monitor, no
    // window in front on it.
    for (size_t i = 0; i < count; ++i) {
        looks[i].edge = EdgeLook{};
        looks[i].edge.ended = looks[i].taskbar == nullptr;
        looks[i].wantFront = looks[i].wantFront && looks[i].monitorHandle != nullptr;
        looks[i].anchor = looks[i].topCover = looks[i].front = nullptr;
    }
    HWND previous = nullptr, lastTopmost = nullptr;
    HWND window = GetTopWindow(nullptr);
    for (unsigned walked = 0; window != nullptr && walked < ZORDER_LOOK_LIMIT && !answered(looks, count);
         ++walked, window = GetWindow(window, GW_HWNDNEXT)) {
        Reading r = readWindow(window, looks, count);
        for (size_t i = 0; i < count; ++i) {
            BandLook& look = looks[i];
            const bool coveredBefore = look.edge.covered;
            lookAtWindow(look.edge, factsFor(r, look, countTopmost), toRect(look.band), countTopmost);
            if (look.edge.covered && !coveredBefore) {
                look.topCover = window;
                switch (look.edge.anchor) {
                case ANCHOR_BELOW_PREVIOUS: look.anchor = previous; break;
                case ANCHOR_BELOW_LAST_TOPMOST: look.anchor = lastTopmost; break;
                case ANCHOR_TOP: look.anchor = HWND_TOPMOST; break;
                case ANCHOR_NONE: break;
                }
            }
            lookForFront(r, look);
        }
        previous = window;
        if (r.facts.topmost)
            lastTopmost = window;
    }
}

size_t coversAbove(const BandLook* looks, size_t count, size_t which, const RECT& area, bool countTopmost,
                   HWND* found, size_t capacity) {
    const BandLook& look = looks[which];
    size_t covers = 0;
    unsigned walked = 0;
    for (HWND above = GetWindow(look.taskbar, GW_HWNDPREV);
         above != nullptr && covers < capacity && walked < ZORDER_LOOK_LIMIT;
         above = GetWindow(above, GW_HWNDPREV), ++walked) {
        Reading r = readWindow(above, looks, count);
        if (!mayCoverBand(r.facts, toRect(area), countTopmost))
            continue;
        readCloaking(r);
        r.facts.shellWindow = !r.facts.cloaked && shellWindow(above, toRECT(r.facts.rect), look.taskbar, look.monitor);
        if (coversBand(r.facts, toRect(area), countTopmost))
            found[covers++] = above;
    }
    return covers;
}

HWND coverAbove(const BandLook* looks, size_t count, size_t which) {
    RECT bar = {};
    HWND cover = nullptr;
    if (GetWindowRect(looks[which].taskbar, &bar))
        coversAbove(looks, count, which, bar, true, &cover, 1);
    return cover;
}
