#include "trigger/release_rule.h"

#include <stddef.h>

ReleasePlacement releasePlacement(const ReleaseFacts& facts) {
    if (!facts.sendBackAfterUse || facts.taskbarForeground)
        return RELEASE_LEAVE;
    if (facts.wasTopmost)
        return facts.coverStillTopmost ? RELEASE_BELOW_COVER : RELEASE_TOP_OF_BAND;
    if (facts.coverWasOrdinary && !facts.foregroundFillsMonitor)
        return RELEASE_LEAVE;
    return RELEASE_TO_BOTTOM;
}

static bool contains(const Rect& outer, const Rect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool fillsMonitor(const Rect& window, const Rect& client, bool framed, const Rect& monitor) {
    return contains(framed ? client : window, monitor);
}

// The part after the last separator.
static const wchar_t* fileNameOf(const wchar_t* path) {
    const wchar_t* name = path;
    for (const wchar_t* c = path; *c != 0; ++c)
        if (*c == L'\\' || *c == L'/')
            name = c + 1;
    return name;
}

static wchar_t foldCase(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? (wchar_t)(c - L'A' + L'a') : c;
}

// File names compare as the file system does for the names that matter
// here, which are plain ASCII: without regard to case.
static bool sameFileName(const wchar_t* path, const wchar_t* otherPath) {
    const wchar_t* a = fileNameOf(path);
    const wchar_t* b = fileNameOf(otherPath);
    if (*a == 0)
        return false;
    while (*a != 0 && foldCase(*a) == foldCase(*b)) {
        ++a;
        ++b;
    }
    return *a == 0 && *b == 0;
}

static const wchar_t* const SHELL_HOSTS[] = {SHELL_HOST_START_MENU, SHELL_HOST_SEARCH, SHELL_HOST_EXPERIENCE};

static bool shellHost(const wchar_t* image) {
    for (size_t i = 0; i < sizeof(SHELL_HOSTS) / sizeof(SHELL_HOSTS[0]); ++i)
        if (sameFileName(image, SHELL_HOSTS[i]))
            return true;
    return false;
}

bool shownByShell(const WindowKin& kin) {
    if (kin.image != nullptr && shellHost(kin.image))
        return true;
    if (kin.fillsMonitor)
        return false;
    if (kin.taskbarProcess || kin.ownedByTaskbar)
        return true;
    return kin.image != nullptr && kin.taskbarImage != nullptr && sameFileName(kin.image, kin.taskbarImage);
}

bool releaseDue(const ReleaseTiming& timing) {
    if (timing.pointerOnTaskbar || timing.pointerOnShellWindow || timing.shellForeground)
        return false;
    return !(timing.raisedByKeyboard && timing.taskbarForeground);
}
