// The calls that wait on the shell's windows (where the taskbar lies, the
// notification-area icon) run on one thread of their own, so that a shell
// that stops answering stops nothing but them. The message thread hands one
// call over at a time and waits for it a little while; one that takes longer
// goes on alone and is landed on the message thread when it ends.
#pragma once

// A call's work, run on the shell calls' thread, and its landing, run on the
// message thread. Each works on a record of its own caller; the caller
// leaves that record alone from the hand-over until the call is done or landed.
typedef void (*ShellWork)();

enum ShellCallOutcome {
    SHELL_CALL_DONE,  // finished while the message thread waited: the caller takes the result
    SHELL_CALL_LATE,  // still running: `landed` runs once it has finished
    SHELL_CALL_BUSY,  // an earlier call is still running or landing: nothing was handed over
};

// Whether a call can be handed over now: none runs, and none waits to be
// landed (one whose landing message was lost is landed now). A caller fills
// the record of its call only then.
bool shellCallFree();
// Hands `work` over and waits for it at most SHELL_CALL_WAIT_MS, answering the
// messages other threads send meanwhile (the shell may be one of them).
ShellCallOutcome callShell(ShellWork work, ShellWork landed);
// Runs the landing of a call that finished late: the main window calls it
// when WM_SHELL_CALL_LANDED arrives.
void landShellCall();
