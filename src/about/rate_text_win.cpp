#include "about/rate_text.h"

#include "about/about_state.h"
#include "resources/program.h"
#include "resources/resource.h"

namespace {

uint64_t ticksOf(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The clock that set countStart: UTC, millisecond resolution.
uint64_t nowTicks() {
    SYSTEMTIME system;
    GetSystemTime(&system);
    FILETIME now = {};
    SystemTimeToFileTime(&system, &now);
    return ticksOf(now);
}

}  // namespace

void formatAverageRate(const RateParts& parts, char (&buffer)[TEXT_BUFFER_SIZE]) {
    char format[TEXT_BUFFER_SIZE];
    loadText(IDS_RATE_FORMAT, format);
    // The format may come out longer than the label's buffer; wsprintfA bounds
    // its own output, so format into room for that and keep what fits.
    char formatted[WSPRINTF_MAX_OUTPUT + 1];
    wsprintfA(formatted, format, parts.whole, static_cast<int>(static_cast<unsigned char>(parts.separator)),
              parts.hundredths);
    // A NUL separator was written into the text and ends it: the suffix follows
    // the integer part directly.
    lstrcpynA(buffer, formatted, TEXT_BUFFER_SIZE);

    char suffix[TEXT_BUFFER_SIZE];
    loadText(IDS_RATE_SUFFIX, suffix);
    const int length = lstrlenA(buffer);
    lstrcpynA(buffer + length, suffix, TEXT_BUFFER_SIZE - length);
}

void averageRateText(char (&buffer)[TEXT_BUFFER_SIZE]) {
    char separator[TEXT_BUFFER_SIZE];
    loadText(IDS_DECIMAL_SEPARATOR, separator);
    const int64_t elapsed = elapsedTicks(nowTicks(), ticksOf(aboutState().countStart));
    const RateParts parts =
        averageRate(aboutState().activationCount, elapsed, unitSecondsFor(aboutState().statsUnit), separator[0]);
    formatAverageRate(parts, buffer);
}
