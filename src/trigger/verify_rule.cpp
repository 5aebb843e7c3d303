#include "trigger/verify_rule.h"

VerifyOutcome verifyRaise(bool taskbarInFront, bool retriedAlready) {
    if (taskbarInFront)
        return VERIFY_HELD;
    return retriedAlready ? VERIFY_BLOCKED : VERIFY_RETRY;
}
