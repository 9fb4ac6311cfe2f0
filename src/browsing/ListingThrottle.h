// The pace of a long listing: the count panel and the pending window events are brought up to date
// every few milliseconds instead of after every entry (gListingEventsMs, FileIconReader.h).
#pragma once

// True, and the time kept, once the count panel is due for its next text.
bool ListingCountDue();
// True, and the time kept, once the pending window events are due to run.
bool ListingEventsDue();
// Starts the interval of the events anew, at the start of a listing.
void RestartListingEvents();
