// The result fillers of the catalogue's classes and letters and of the user's references.
#include "mainwindow/FrmMain.h"

#include <exception>
#include <string>
#include <string_view>
#include <unordered_set>

#include "browsing/KeywordHits.h"
#include "browsing/ListingPace.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "core/FolderWalk.h"
#include "ui/App.h"
#include "ui/Keys.h"
#include "ui/StatusBar.h"

namespace {

// The type code digit of a class 0 to 8; none for any other number.
char ClassDigit(int c) { return c >= 0 && c <= 8 ? static_cast<char>('0' + c) : '\0'; }

// The type code of a user reference: the fifth character from the end.
char UserTypeCode(const std::string& entry) { return entry.size() >= 5 ? entry[entry.size() - 5] : '\0'; }

// The first character of a keyword in the form that compares without regard to case.
std::string FoldedInitial(const std::string& keyword) { return FoldKey(keyword.substr(0, 1)); }

// One fill of the result set in busy mode. The count, the pending events and the abort are kept up
// at the pace of a listing; a catalogue icon filed under several keywords is listed once.
class BusyFill {
  public:
    // Empties the page and the result set, enters busy mode and lets the events run once.
    explicit BusyFill(FrmMain& form) : form_(form) {
        form.procClearResult();
        form.cmbResult.Clear();
        form.procSetAbort(false);
        DoEvents();
        EventsRan();
    }

    // The catalogue icons of every keyword of the keyword box, in its order, whose keyword `takes`
    // and whose token `takes`; false when the fill is to stop.
    template <class TakesKeyword, class TakesToken>
    bool CataloguePass(TakesKeyword takesKeyword, TakesToken takesToken) {
        const ComboBox& box = form_.cmbSearch;
        for (int i = 0; i < box.ListCount(); ++i) {
            const int32_t slot = box.ItemData(i);
            if (slot < 0 || slot >= kKeywordSlots) continue;
            gKeyNrStr = std::to_string(slot);
            if (!takesKeyword(gKeywords[static_cast<size_t>(slot)])) continue;
            const bool whole = ForEachCatalogueToken(gRefs[static_cast<size_t>(slot)], [&](std::string_view token) {
                if (takesToken(token) && seen_.emplace(token).second) form_.cmbResult.AddItem(BookEntry(token), slot);
                return Paced();
            });
            if (!whole) return false;
        }
        return true;
    }

    // Adds an entry unchecked; false when the fill is to stop.
    bool Add(const std::string& entry, int32_t data) {
        form_.cmbResult.AddItem(entry, data);
        return Paced();
    }

    // False when the window closed while the events ran.
    bool Alive() const { return form_.IsLoaded(); }

  private:
    // After each entry looked at: the count now and then, the abort, and the events now and then.
    bool Paced() {
        if (CountDue() && gPanelCount) gPanelCount->SetText(std::to_string(form_.cmbResult.ListCount()) + " Icon(s)");
        if (gAbort) return false;
        if (!EventsDue()) return true;
        DoEvents();
        return form_.IsLoaded() && !gAbort;
    }

    FrmMain& form_;
    std::unordered_set<std::string> seen_;
};

// Page 1 of what a fill found, also after an abort, unless the window closed while events ran.
void EndBusyFill(FrmMain& form) {
    if (!form.IsLoaded()) return;
    gAbort = false;
    EndFill(form);
    SetScreenMousePointer(PointerShape::Default);
}

}  // namespace

void FrmMain::procFillBookByClass(int16_t iClass) {
    const char digit = ClassDigit(iClass);
    try {
        BusyFill fill(*this);
        if (fill.Alive() &&
            fill.CataloguePass([](const std::string&) { return true; },
                               [digit](std::string_view token) { return !token.empty() && token.back() == digit; })) {
            for (int i = 0; i < cmbUser.ListCount(); ++i)
                if (UserTypeCode(cmbUser.List(i)) == digit && !fill.Add(cmbUser.List(i), i)) break;
        }
    } catch (const std::exception&) {
        // What was found before the failure is shown.
    }
    EndBusyFill(*this);
}

void FrmMain::procFillReferences(int16_t iClass) {
    Hourglass hourglass;
    cmbResult.Clear();
    // The digits of one colour class, whatever the shape: c, c + 3 and c + 6.
    const char digit = iClass >= 0 && iClass <= 2 ? ClassDigit(iClass) : '\0';
    try {
        for (int i = 0; i < cmbUser.ListCount(); ++i) {
            const char d = UserTypeCode(cmbUser.List(i));
            if (digit && (d == digit || d == digit + 3 || d == digit + 6)) cmbResult.AddItem(cmbUser.List(i), i);
        }
    } catch (const std::exception&) {
        // What was found before the failure is shown.
    }
    EndFill(*this);
}

void FrmMain::procFillBookByLetter(const std::string& sLetter) {
    const std::string letter = FoldKey(sLetter);
    auto underLetter = [&letter](const std::string& keyword) { return FoldedInitial(keyword) == letter; };
    try {
        BusyFill fill(*this);
        if (fill.Alive() && fill.CataloguePass(underLetter, [](std::string_view) { return true; })) {
            for (int i = 0; i < lstUser.ListCount() && i < cmbUser.ListCount(); ++i)
                if (underLetter(lstUser.List(i))) cmbResult.AddItem(cmbUser.List(i), i);
        }
    } catch (const std::exception&) {
        // What was found before the failure is shown.
    }
    EndBusyFill(*this);
}
