// The pace of a long fill of the result set: how often it shows its count and lets events run,
// and the page it ends on.
#pragma once

class FrmMain;

// The status bar repaints itself at once for every new text, which costs more than an entry; during
// a listing the count and the pending events are brought up to date every few milliseconds instead.
// Each answers true, and starts its next wait, once its time has come: the count every 50 ms, the
// events every gListingEventsMs (FileIconReader.h).
bool CountDue();
bool EventsDue();
// The events have just run: the next wait starts now.
void EventsRan();

// The end of a fill: page 1 of what it found, out of busy mode (an empty page leaves it on, a full
// one has left it already), the page menus, and an empty message panel.
void EndFill(FrmMain& form);
