// The pace of a long fill of the result set and the page it ends on.
#include "browsing/ListingPace.h"

#include "common/FileIconReader.h"
#include "common/PageMath.h"
#include "common/Paging.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/MainShared.h"
#include "ui/StatusBar.h"
#include "ui/Win.h"

unsigned long gListingEventsMs = 20;

namespace {

constexpr DWORD kShowCountEveryMs = 50;
DWORD gCountShownAt = 0;
DWORD gEventsRunAt = 0;

// True, and the time kept, once `everyMs` have passed since `lastAt`.
bool Due(DWORD& lastAt, DWORD everyMs) {
    const DWORD now = GetTickCount();
    if (now - lastAt < everyMs) return false;
    lastAt = now;
    return true;
}

}  // namespace

bool CountDue() { return Due(gCountShownAt, kShowCountEveryMs); }
bool EventsDue() { return Due(gEventsRunAt, gListingEventsMs); }
void EventsRan() { gEventsRunAt = GetTickCount(); }

void EndFill(FrmMain& form) {
    gPageNr = 1;
    gPageCount = PageCountFor(form.cmbResult.ListCount(), gIconsPerPage);
    form.procGetPage();
    if (IsBusy(form)) form.procSetAbort(true);
    form.procSetPageNr();
    if (gPanelMessage) gPanelMessage->SetText({});
}
