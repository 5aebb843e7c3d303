#include "trigger/verify_rule.h"

#include "resources/constants.h"

VerifyOutcome verifyRaise(bool taskbarInFront, bool retriedAlready) {
    if (taskbarInFront)
        return VERIFY_HELD;
    return retriedAlready ? VERIFY_BLOCKED : VERIFY_RETRY;
}

bool raiseAllowed(unsigned raisesMade) {
    return raisesMade < RAISES_PER_APPROACH;
}
