// What the notification area is asked next, so that the icon becomes what
// it is meant to be, and how often a refused icon is offered again. No
// windows.h: tested on the host.
#pragma once

#include <stdint.h>

struct IconFacts {
    bool wanted;      // the icon is meant to show
    bool sent;        // an add went to the shell since the last delete: it may hold the icon
    bool held;        // the shell said it holds the icon
    bool readdAsked;  // it is to be deleted and added afresh (a new shell, a second start, the re-add message)
    bool retryDue;    // the time has come to offer a refused icon again
    bool tipChanged;  // the tooltip meant is not the one last sent
};

struct IconSteps {
    bool remove;  // delete it first
    bool probe;   // modify the whole icon: a shell that timed out may hold it without having said so
    bool add;     // add it, unless the probe found it
    bool retip;   // modify the tooltip alone
};

IconSteps iconSteps(const IconFacts& facts);

// The offers a refused icon has left once the shell answered an offer: none
// once it holds the icon, the rest of the retries after a retry, all of them
// after a first offer.
uint32_t iconRetriesAfter(bool held, bool wasRetry, uint32_t retriesLeft);
