#include "trigger/shell_watch.h"

#include "resources/constants.h"

bool shouldAskShell(const ShellWatchFacts& facts) {
    return facts.taskbarChanged || facts.rectChanged || facts.changeAnnounced || facts.lastAskUnanswered ||
           facts.ticksSinceAsk >= SHELL_ASK_SAFETY_TICKS - 1;
}

TaskbarSearch taskbarSearch(const TaskbarSearchFacts& facts) {
    if (facts.taskbarGone || facts.changeAnnounced || facts.secondariesNewlyWanted)
        return TaskbarSearch{true, TASKBAR_SEARCH_POLLS - 1};
    if (facts.searchesLeft > 0)
        return TaskbarSearch{true, facts.searchesLeft - 1};
    return TaskbarSearch{facts.ticksSinceAsk >= SHELL_ASK_SAFETY_TICKS - 1, 0};
}
