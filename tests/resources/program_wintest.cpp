// The program's own services that no window owns: the timer warning, the
// common controls, the drop handles.
#include <windows.h>
#include <shlobj.h>

#include "resources/program.h"
#include "resources/program.h"
#include "support/app_fixture.h"

namespace {

// A timer for a window of another process always fails, and the box still
// has a valid owner.
HWND foreignWindow() {
    return GetDesktopWindow();
}
const UINT FAIL_AGAIN = WM_APP + 7;

LRESULT CALLBACK failingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == FAIL_AGAIN) {
        startTimer(foreignWindow(), 1, 1000);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct BoxWatch {
    DWORD thread;
    int mostAtOnce;
};

BOOL CALLBACK countBox(HWND window, LPARAM count) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window))
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK closeBox(HWND window, LPARAM) {
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Watches the test's thread for message boxes, notes how many were up at
// once, then closes them.
DWORD WINAPI watchBoxes(void* parameter) {
    BoxWatch* watch = static_cast<BoxWatch*>(parameter);
    for (int step = 0; step < 100; ++step) {
        int count = 0;
        EnumThreadWindows(watch->thread, countBox, reinterpret_cast<LPARAM>(&count));
        if (count > watch->mostAtOnce)
            watch->mostAtOnce = count;
        if (step > 30)
            EnumThreadWindows(watch->thread, closeBox, 0);
        Sleep(20);
    }
    return 0;
}

class Services : public AppFixture {};

// The warning box runs a message loop in which the same failure can come
// round again; one box at a time, however often it does.
TEST_F(Services, AFailingTimerWarnsWithOneBoxAtATime) {
    ASSERT_TRUE(registerTestClass("PendrelFailingTimer", failingProc));
    HWND failing = CreateWindowA("PendrelFailingTimer", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, failing);
    for (int i = 0; i < 3; ++i)
        PostMessageA(failing, FAIL_AGAIN, 0, 0);
    BoxWatch watch = {GetCurrentThreadId(), 0};
    HANDLE watcher = CreateThread(nullptr, 0, watchBoxes, &watch, 0, nullptr);
    ASSERT_NE(nullptr, watcher);
    EXPECT_EQ(0, startTimer(foreignWindow(), 1, 1000));
    pumpMessages(200);
    WaitForSingleObject(watcher, 10000);
    CloseHandle(watcher);
    EXPECT_EQ(1, watch.mostAtOnce);
    DestroyWindow(failing);
}

// The dialogs ask for the common controls at every opening: the library is
// loaded once however often, so one release unloads what we loaded.
TEST_F(Services, CommonControlsAreLoadedOnce) {
    for (int i = 0; i < 5; ++i)
        ensureCommonControls();
    HMODULE library = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(nullptr, library);
    int releases = 0;
    while (GetModuleHandleA("comctl32.dll") != nullptr && releases < 10) {
        FreeLibrary(library);
        ++releases;
    }
    EXPECT_EQ(1, releases);
}

// Files dropped on the strip are not used, but the drop's memory is given back.
TEST_F(Services, ADropOnTheStripGivesItsHandleBack) {
    HWND window = createTrigger();
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + 8);
    ASSERT_NE(nullptr, drop);
    DROPFILES* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    GlobalUnlock(drop);
    ASSERT_NE(0u, GlobalSize(drop));
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(0u, GlobalSize(drop)) << "the drop handle was not released";
}

}  // namespace
