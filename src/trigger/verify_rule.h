// Whether a raise took: a moment after it, the taskbar (or what the shell
// showed from it) must be what lies at its edge. Another window there may
// have put itself back over the taskbar at once; it is tried once more, and
// then left be for this approach of the pointer, rather than fought. No
// windows.h: tested on the host.
#pragma once

enum VerifyOutcome {
    VERIFY_HELD,     // the taskbar is in front: whatever was blocked before is over
    VERIFY_RETRY,    // raise it once more, and look again
    VERIFY_BLOCKED,  // the same again after a retry: the raise is blocked
};

VerifyOutcome verifyRaise(bool taskbarInFront, bool retriedAlready);

// Whether the taskbar may be raised again in this approach of the pointer,
// after `raisesMade` raises in it. A window that puts itself back over the
// taskbar only after the look found the raise held is not fought either.
bool raiseAllowed(unsigned raisesMade);
