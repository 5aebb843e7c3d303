// What the report says, as this process sees it now: the running copy with
// its strips and what became of its raises, or a process that runs none,
// which sees only the desktop and the stored settings.
#pragma once

#include "report/report_text.h"

void composeReport(ReportText& text, bool running);
