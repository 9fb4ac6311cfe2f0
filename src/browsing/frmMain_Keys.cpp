// The keyword box and the keys of the main window: a keyword chosen or found by Enter is searched,
// Esc stops a running fill, "3" and "2" turn the page back and on.
#include "mainwindow/FrmMain.h"

#include "mainwindow/MainShared.h"

namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kKeyPrevPage = '3';
constexpr int kKeyNextPage = '2';

// Esc stops the fill that is running, as the abort button does. A request left over from an idle
// moment would stop the next listing at its first file, before any fill has cleared it.
void EscapePressed(FrmMain& form) {
    if (IsBusy(form)) RequestAbort(form);
}

}  // namespace

void FrmMain::cmbSearch_Click() {
    // While a fill runs only the abort acts; without a keyword there is nothing to search.
    if (IsBusy(*this) || cmbSearch.ListIndex() < 0) return;
    try {
        procSearchOrnavale();
    } catch (...) {
    }
}

void FrmMain::cmbSearch_KeyPress(int& keyAscii) {
    if (keyAscii == kEscape) EscapePressed(*this);
    if (keyAscii != kEnter || IsBusy(*this) || !cmbSearch.hwnd()) return;
    // The first keyword that begins with the text, letter case ignored; a new selection searches
    // through the box's Click, no match clears the selection.
    const std::string text = cmbSearch.Text();
    auto found = static_cast<int>(SendMessageA(cmbSearch.hwnd(), CB_FINDSTRING, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(text.c_str())));
    cmbSearch.SetListIndex(found < 0 ? -1 : found);
}

void FrmMain::Form_KeyPress(int& keyAscii) {
    if (keyAscii == kEscape) EscapePressed(*this);
}

void FrmMain::Form_KeyUp(int& keyCode, int) {
    // Digits typed into the keyword box belong to the keyword.
    if (cmbSearch.HasFocus() || IsBusy(*this)) return;
    const MenuItem* prev = Menus().Find(ID_mnuGoPrevPage);
    if (keyCode == kKeyPrevPage && prev && prev->enabled) mnuGoPrevPage_Click();
    const MenuItem* next = Menus().Find(ID_mnuGoNextPage);
    if (keyCode == kKeyNextPage && next && next->enabled) mnuGoNextPage_Click();
}
