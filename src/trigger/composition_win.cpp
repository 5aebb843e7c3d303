#include "trigger/composition.h"

#include "trigger/strip_look.h"
#include "trigger/trigger_state.h"

static_assert(EX_STYLE_TRANSPARENT == WS_EX_TRANSPARENT && EX_STYLE_LAYERED == WS_EX_LAYERED,
              "the extended styles of the strip's look");

// The record this file works on, reached once.
static TriggerState& trigger = triggerState();

typedef HRESULT(WINAPI* CompositionEnabledProc)(BOOL*);

// The library is loaded only to ask, which happens at start and when the
// answer changes. Without it (before Windows Vista) nothing is composited.
bool desktopComposited() {
    HMODULE dwm = LoadLibraryA("dwmapi.dll");
    if (dwm == nullptr)
        return false;
    CompositionEnabledProc enabled = (CompositionEnabledProc)(void*)GetProcAddress(dwm, "DwmIsCompositionEnabled");
    BOOL answer = FALSE;
    const bool yes = enabled != nullptr && SUCCEEDED(enabled(&answer)) && answer;
    FreeLibrary(dwm);
    return yes;
}

void setStripShown(HWND window, bool shown) {
    const StripLook look = stripLook((uint32_t)GetWindowLongA(window, GWL_EXSTYLE), trigger.composited != 0, shown);
    SetWindowLongA(window, GWL_EXSTYLE, (LONG)look.exStyle);
    if (look.layered)
        SetLayeredWindowAttributes(window, 0, look.alpha, LWA_ALPHA);
}

void followComposition() {
    trigger.composited = desktopComposited() ? 1 : 0;
    setStripShown(trigger.primary.window, trigger.primary.highlightShown != 0);
    for (DWORD i = 0; i < trigger.secondaryCount; ++i)
        setStripShown(trigger.secondary[i].window, trigger.secondary[i].highlightShown != 0);
}
