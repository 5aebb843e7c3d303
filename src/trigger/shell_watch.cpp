#include "trigger/shell_watch.h"

#include "resources/constants.h"

bool shouldAskShell(const ShellWatchFacts& facts) {
    return facts.taskbarChanged || facts.rectChanged || facts.changeAnnounced || facts.lastAskUnanswered ||
           facts.ticksSinceAsk >= SHELL_ASK_SAFETY_TICKS - 1;
}
