// The user keyword editor.
#include "browsing/FrmKey.h"

#include <string>
#include <string_view>
#include <vector>

#include "browsing/FrmAdd.h"
#include "common/Paging.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Options.h"
#include "ui/App.h"
#include "ui/Keys.h"

FrmKey frmKey;

namespace {

// The position of the item whose text is exactly this one (letter case counts), or -1.
int FindExact(const ListControl& list, const std::string& text) {
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == text) return i;
    return -1;
}

// Empty, or blanks alone: no keyword anybody could see in the lists.
bool IsNoKeyword(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

}  // namespace

namespace {

// Geometry of the client area in twips.
constexpr int kClientWidth = 4680;
constexpr int kClientHeight = 3720;

}  // namespace

FormSpec FrmKey::Spec() const { return FixedDialogSpec("Edit Custom Keywords", kClientWidth, kClientHeight); }

void FrmKey::CreateControls() {
    txtKey.Create("", {240, 240, 2895, 315});
    lstKey.Create({240, 675, 2895, 2805});
    cmdAdd.Create("&Add", {3360, 225, 1080, 375}, ButtonOptions{.isDefault = true});
    cmdDelete.Create("&Delete", {3360, 705, 1080, 375});
    cmdCancel.Create("&Close", {3360, 3105, 1080, 375});
    cmdAdd.SetEnabled(false);
    cmdDelete.SetEnabled(false);
}

void FrmKey::BindEvents() {
    cmdAdd.Click = [this] { cmdAdd_Click(); };
    cmdDelete.Click = [this] { cmdDelete_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    lstKey.Click = [this] { lstKey_Click(); };
    txtKey.Change = [this] { txtKey_Change(); };
    txtKey.GotFocus = [this] { mTextHasFocus = true; };
    txtKey.LostFocus = [this] { mTextHasFocus = false; };
    lstKey.GotFocus = [this] { mListHasFocus = true; };
    lstKey.LostFocus = [this] { mListHasFocus = false; };
}

// Made on first use rather than at start-up, like the reference window, so that its load leaves
// the keywords' changed flag alone; its list is filled here.
void FrmKey::Form_Load() {
    mTextHasFocus = mListHasFocus = false;
    // The frame fits exactly around the designed client area, whatever the system's borders.
    Move(Left(), Top(), Width() + kClientWidth - ScaleWidth(), Height() + kClientHeight - ScaleHeight());
    FillKeywords();
    MoveToStoredPosition(*this, windowpos::Key);
}

// What is typed as soon as the window opens is a keyword.
void FrmKey::Form_Activate() { txtKey.SetFocus(); }

// The close box hides the window like Close: the exit save still reads the list.
void FrmKey::Form_QueryUnload(bool& cancel, UnloadMode mode) {
    if (mode != UnloadMode::FormControlMenu) return;
    cancel = true;
    cmdCancel_Click();
}

void FrmKey::FillKeywords() {
    // A user keyword is one without catalogue references: a catalogue keyword's list holds at
    // least the ";" that ends it.
    const ComboBox& keywords = frmMain.cmbSearch;
    std::vector<std::string> texts;
    std::vector<int32_t> slots;
    for (int i = 0; i < keywords.ListCount(); ++i) {
        const int32_t slot = keywords.ItemData(i);
        if (slot < 0 || slot >= kKeywordSlots || !gRefs[static_cast<size_t>(slot)].empty()) continue;
        texts.push_back(keywords.List(i));
        slots.push_back(slot);
    }
    lstKey.Clear();
    lstKey.AddItems(std::vector<std::string_view>(texts.begin(), texts.end()), slots);
}

void FrmKey::cmdAdd_Click() {
    const std::string text = txtKey.Text();
    if (IsNoKeyword(text)) return;
    if (FindExact(frmMain.cmbSearch, text) >= 0) {
        gResult = MsgBox("This Keyword is already present in\nthe Ornavale Keyword list.", MsgBoxStyle::Information,
                         Caption(), hwnd());
        return;
    }
    // The user files hold keywords and references as text split at ";".
    if (text.find(';') != std::string::npos) {
        gResult = MsgBox("A keyword may not contain \";\".", MsgBoxStyle::Exclamation, Caption(), hwnd());
        return;
    }
    if (gKeywordSlotsUsed >= kKeywordSlots) {
        gResult = MsgBox("The Ornavale Keyword list is full:\nno more keywords can be added.", MsgBoxStyle::Exclamation,
                         Caption(), hwnd());
        return;
    }

    gKeysChanged = true;
    const int32_t slot = gKeywordSlotsUsed++;
    gKeywords[static_cast<size_t>(slot)] = text;
    gRefs[static_cast<size_t>(slot)].clear();
    frmMain.cmbSearch.AddSorted(text, slot);
    // A reference window not made yet fills its box from the main window's when it is.
    if (frmAdd.IsLoaded()) frmAdd.cmbSearch.AddSorted(text);
    lstKey.SetListIndex(lstKey.AddSorted(text, slot));
    // Also when the text box kept the focus (Enter), which keeps lstKey_Click from doing so.
    cmdAdd.SetEnabled(false);
    cmdDelete.SetEnabled(true);
}

void FrmKey::cmdDelete_Click() {
    const int index = lstKey.ListIndex();
    if (index < 0) return;
    gKeysChanged = true;
    const std::string text = lstKey.List(index);
    // The main box's item is the one with this keyword's slot, not a catalogue keyword of the same
    // letters in another case.
    const ComboBox& keywords = frmMain.cmbSearch;
    for (int i = 0; i < keywords.ListCount(); ++i) {
        if (keywords.ItemData(i) == lstKey.ItemData(index) && keywords.List(i) == text) {
            frmMain.cmbSearch.RemoveItem(i);
            break;
        }
    }
    if (frmAdd.IsLoaded()) frmAdd.cmbSearch.RemoveItem(FindExact(frmAdd.cmbSearch, text));
    lstKey.RemoveItem(index);
    txtKey.SetText({});
    cmdDelete.SetEnabled(false);
}

void FrmKey::cmdCancel_Click() { Hide(); }

void FrmKey::lstKey_Click() {
    if (mTextHasFocus) return;
    const int index = lstKey.ListIndex();
    if (index < 0) return;
    // Set only when it differs: the text's own Change selects the same item again.
    if (txtKey.Text() != lstKey.List(index)) txtKey.SetText(lstKey.List(index));
    cmdAdd.SetEnabled(false);
    cmdDelete.SetEnabled(true);
}

void FrmKey::txtKey_Change() {
    if (mListHasFocus) return;
    const std::string text = txtKey.Text();
    if (IsNoKeyword(text)) {
        cmdAdd.SetEnabled(false);
        return;
    }
    int found = -1;
    for (int i = 0; i < lstKey.ListCount() && found < 0; ++i)
        if (CompareTextNoCase(lstKey.List(i), text) == 0) found = i;
    lstKey.SetListIndex(found);
    cmdAdd.SetEnabled(found < 0);
    cmdDelete.SetEnabled(found >= 0);
}
