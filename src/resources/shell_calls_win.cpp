#include "resources/shell_calls.h"

#include "resources/program.h"

namespace {

// Where the one call stands. A call the message thread stopped waiting for
// is ABANDONED while it runs and LANDING once it has ended, until the
// message thread lands it: no other call is handed over before that.
enum CallState : LONG { IDLE, RUNNING, FINISHED, ABANDONED, LANDING };

struct ShellCalls {
    HANDLE thread;
    HANDLE handed;    // a call is ready to run
    HANDLE finished;  // the call the message thread waits for has ended
    ShellWork work;
    ShellWork landed;
    HWND window;  // told when a late call has ended
    volatile LONG state;
};
ShellCalls calls;

DWORD WINAPI runShellCalls(void*) {
    while (WaitForSingleObject(calls.handed, INFINITE) == WAIT_OBJECT_0) {
        calls.work();
        if (InterlockedCompareExchange(&calls.state, FINISHED, RUNNING) == RUNNING) {
            SetEvent(calls.finished);
            continue;
        }
        InterlockedExchange(&calls.state, LANDING);
        PostMessageA(calls.window, WM_SHELL_CALL_LANDED, 0, 0);
    }
    return 0;
}

// Made at the first call; without it each call runs where it is asked for.
bool threadRuns() {
    if (calls.thread == nullptr && calls.handed == nullptr) {
        calls.handed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        calls.finished = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (calls.handed != nullptr && calls.finished != nullptr)
            calls.thread = CreateThread(nullptr, 0, runShellCalls, nullptr, 0, nullptr);
    }
    return calls.thread != nullptr;
}

// The shell may send this thread messages while it handles the call (under
// Wine a notification area of this very thread does): they are answered,
// nothing posted is taken. Each message sent starts the wait again, a few
// times at most.
bool finishedWithin(DWORD boundMs) {
    for (int wait = 0; wait < SHELL_CALL_WAITS; ++wait) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD woke = MsgWaitForMultipleObjects(1, &calls.finished, FALSE, boundMs, QS_SENDMESSAGE);
        if (woke != WAIT_OBJECT_0 + 1)
            return woke == WAIT_OBJECT_0;
    }
    return false;
}

}  // namespace

bool shellCallFree() {
    landShellCall();
    return calls.state == IDLE;
}

ShellCallOutcome callShell(ShellWork work, ShellWork landed) {
    if (!shellCallFree())
        return SHELL_CALL_BUSY;
    if (!threadRuns()) {
        work();
        return SHELL_CALL_DONE;
    }
    calls.work = work;
    calls.landed = landed;
    calls.window = programState().mainWindow;
    InterlockedExchange(&calls.state, RUNNING);
    SetEvent(calls.handed);
    if (!finishedWithin(SHELL_CALL_WAIT_MS)) {
        if (InterlockedCompareExchange(&calls.state, ABANDONED, RUNNING) == RUNNING)
            return SHELL_CALL_LATE;
        // It ended as the wait ran out: its signal is on its way.
        WaitForSingleObject(calls.finished, SHELL_CALL_WAIT_MS);
    }
    InterlockedExchange(&calls.state, IDLE);
    return SHELL_CALL_DONE;
}

void landShellCall() {
    if (calls.state != LANDING)
        return;
    // Free before the landing, which may hand the next call over.
    InterlockedExchange(&calls.state, IDLE);
    calls.landed();
}
