#include "about/counter_text.h"

#include "about/counter_suffix.h"
#include "resources/program.h"
#include "resources/resource.h"

void counterText(DWORD count, char (&buffer)[TEXT_BUFFER_SIZE]) {
    char format[TEXT_BUFFER_SIZE];
    loadText(IDS_COUNTER_FORMAT, format);
    // The shipped format takes the count alone; one with a second, string
    // conversion receives the suffix. Formatted with room for wsprintfA's
    // longest output, then cut to the label's buffer.
    char formatted[WSPRINTF_MAX_OUTPUT + 1];
    wsprintfA(formatted, format, count, pluralSuffix(count));
    lstrcpynA(buffer, formatted, TEXT_BUFFER_SIZE);
}
