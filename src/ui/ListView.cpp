// The list view over its item records.
#include "ui/ListView.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "ui/DragDrop.h"
#include "ui/ImageList.h"
#include "ui/Units.h"

DWORD ListViewStyleForView(int view) {
    switch (view) {
        case lvwSmallIcon:
            return LVS_SMALLICON;
        case lvwList:
            return LVS_LIST;
        case lvwReport:
            return LVS_REPORT;
        default:
            return LVS_ICON;
    }
}

namespace {

int CALLBACK ByRank(LPARAM a, LPARAM b, LPARAM ranks) {
    const auto& rank = *reinterpret_cast<const std::unordered_map<int, int>*>(ranks);
    auto rankOf = [&](LPARAM item) {  // nothing may throw back into the control
        auto found = rank.find(static_cast<int>(item));
        return found != rank.end() ? found->second : 0;
    };
    return rankOf(a) - rankOf(b);
}

}  // namespace

// ---- ListItem

void ListItem::SetText(const std::string& text) {
    text_ = text;
    owner_.ShowSubItem(*this, 0);
}

void ListItem::SetKey(const std::string& key) {
    auto& byKey = owner_.byKey_;
    if (!key.empty()) {
        auto held = byKey.find(FoldKey(key));
        if (held != byKey.end() && held->second != this) throw KeyError("Key is not unique in collection: " + key);
    }
    if (!key_.empty()) byKey.erase(FoldKey(key_));
    key_ = key;
    if (!key_.empty()) byKey[FoldKey(key_)] = this;
}

std::string ListItem::SubItem(int index) const {
    if (index < 1) throw std::out_of_range("Sub-item index out of bounds");
    return static_cast<size_t>(index) <= subItems_.size() ? subItems_[static_cast<size_t>(index) - 1] : std::string();
}

void ListItem::SetSubItem(int index, const std::string& text) {
    if (index < 1) throw std::out_of_range("Sub-item index out of bounds");
    if (subItems_.size() < static_cast<size_t>(index)) subItems_.resize(static_cast<size_t>(index));
    subItems_[static_cast<size_t>(index) - 1] = text;
    owner_.ShowSubItem(*this, index);
}

void ListItem::SetIcon(int index) {
    icon_ = std::max(index, 0);
    owner_.Redraw(*this);
}

void ListItem::SetSmallIcon(int index) {
    smallIcon_ = std::max(index, 0);
    owner_.Redraw(*this);
}

int ListItem::Index() const {
    const auto& order = owner_.order_;
    auto it = std::find_if(order.begin(), order.end(), [this](const auto& p) { return p.get() == this; });
    return it == order.end() ? 0 : static_cast<int>(it - order.begin()) + 1;
}

bool ListItem::Selected() const { return owner_.SelectedItem() == this; }

// ---- ListView

void ListView::Create(Bounds bounds) {
    columns_.clear();
    // The list owns no image list: ours own them.
    Define(WC_LISTVIEWA, WS_TABSTOP | LVS_SHAREIMAGELISTS | LVS_SINGLESEL | LVS_AUTOARRANGE | ListViewStyleForView(view_),
           WS_EX_CLIENTEDGE, bounds);
}

int ListView::WindowIndexOf(int id) const {
    if (!hwnd()) return -1;
    // The window keeps the records' order, so the position is known; check it, then search.
    for (size_t i = 0; i < order_.size(); ++i) {
        if (order_[i]->id_ != id) continue;
        if (RecordAt(static_cast<int>(i)) == order_[i].get()) return static_cast<int>(i);
        break;
    }
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = id;
    return static_cast<int>(Send(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

ListItem* ListView::RecordAt(int windowIndex) const {
    if (!hwnd() || windowIndex < 0) return nullptr;
    LVITEMA it{};
    it.mask = LVIF_PARAM;
    it.iItem = windowIndex;
    if (!Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return nullptr;
    auto found = byId_.find(static_cast<int>(it.lParam));
    return found == byId_.end() ? nullptr : found->second;
}

void ListView::InsertWindowItem(const ListItem& item, int position) {
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    it.iItem = position;
    it.pszText = const_cast<char*>(item.text_.c_str());
    it.iImage = WindowImage(item);
    it.lParam = item.id_;
    int at = static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
    for (size_t k = 0; k < item.subItems_.size(); ++k) {
        if (item.subItems_[k].empty()) continue;
        LVITEMA sub{};
        sub.iSubItem = static_cast<int>(k) + 1;
        sub.pszText = const_cast<char*>(item.subItems_[k].c_str());
        Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
    }
}

void ListView::ShowSubItem(const ListItem& item, int index) {
    int at = WindowIndexOf(item.id_);
    if (at < 0) return;
    LVITEMA it{};
    it.iSubItem = index;
    it.pszText = const_cast<char*>(index == 0 ? item.text_.c_str() : item.subItems_[static_cast<size_t>(index) - 1].c_str());
    Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&it));
}

// The window's own image index of an item: one picture for both views, so that drawing asks us
// nothing; only an item whose large and small pictures differ makes the list ask per view.
int ListView::WindowImage(const ListItem& item) {
    if (item.icon_ != item.smallIcon_) return I_IMAGECALLBACK;
    return item.icon_ > 0 ? item.icon_ - 1 : I_IMAGENONE;
}

void ListView::Redraw(const ListItem& item) {
    int at = WindowIndexOf(item.id_);
    if (at < 0) return;
    LVITEMA it{};
    it.mask = LVIF_IMAGE;
    it.iItem = at;
    it.iImage = WindowImage(item);
    Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    Send(LVM_REDRAWITEMS, static_cast<WPARAM>(at), at);
}

bool ListView::SortsBefore(const ListItem& a, const ListItem& b) const {
    const std::string& ta = sortKey_ == 0 ? a.text_ : a.SubItem(sortKey_);
    const std::string& tb = sortKey_ == 0 ? b.text_ : b.SubItem(sortKey_);
    int c = CompareTextNoCase(ta, tb);
    return sortOrder_ == lvwDescending ? c > 0 : c < 0;
}

ListItem& ListView::Add(int index, const std::string& key, const std::string& text, int icon, int smallIcon) {
    if (!key.empty() && byKey_.count(FoldKey(key))) throw KeyError("Key is not unique in collection: " + key);
    std::unique_ptr<ListItem> record(new ListItem(*this, ++nextId_));
    record->key_ = key;
    record->text_ = text;
    record->icon_ = std::max(icon, 0);
    record->smallIcon_ = std::max(smallIcon, 0);

    size_t pos = index < 1 || index > Count() ? order_.size() : static_cast<size_t>(index) - 1;
    if (sorted_) {
        auto at = std::upper_bound(order_.begin(), order_.end(), record,
                                   [this](const auto& a, const auto& b) { return SortsBefore(*a, *b); });
        pos = static_cast<size_t>(at - order_.begin());
    }
    ListItem& item = *record;
    byId_[item.id_] = &item;
    if (!key.empty()) byKey_[FoldKey(key)] = &item;
    order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(record));
    if (hwnd()) {
        bool wasQuiet = std::exchange(quiet_, true);
        InsertWindowItem(item, static_cast<int>(pos));
        quiet_ = wasQuiet;
    }
    return item;
}

void ListView::Remove(int index) {
    if (index < 1 || index > Count()) throw std::out_of_range("Index out of bounds");
    const auto at = order_.begin() + (index - 1);
    ListItem& item = **at;
    if (hwnd()) {
        const int windowIndex = WindowIndexOf(item.id_);
        bool wasQuiet = std::exchange(quiet_, true);
        if (windowIndex >= 0) Send(LVM_DELETEITEM, static_cast<WPARAM>(windowIndex));
        quiet_ = wasQuiet;
    }
    if (selectedId_ == item.id_) selectedId_ = 0;
    if (!item.key_.empty()) byKey_.erase(FoldKey(item.key_));
    byId_.erase(item.id_);
    order_.erase(at);
}

void ListView::Clear() {
    if (hwnd()) {
        bool wasQuiet = std::exchange(quiet_, true);
        // The scroll bars go first, both at once: the list takes them away one by one as its
        // items go, and repaints its frame with the other still on it, slow to draw under Wine.
        if (!order_.empty()) ShowScrollBar(hwnd(), SB_BOTH, FALSE);
        Send(LVM_DELETEALLITEMS);
        quiet_ = wasQuiet;
    }
    selectedId_ = 0;
    byKey_.clear();
    byId_.clear();
    order_.clear();
}

ListItem& ListView::Item(int index) {
    if (index < 1 || index > Count()) throw std::out_of_range("Index out of bounds");
    return *order_[static_cast<size_t>(index) - 1];
}

ListItem* ListView::Find(const std::string& key) {
    if (key.empty()) return nullptr;
    auto it = byKey_.find(FoldKey(key));
    return it == byKey_.end() ? nullptr : it->second;
}

ListItem& ListView::Item(const std::string& key) {
    if (ListItem* item = Find(key)) return *item;
    throw KeyError("Element not found: " + key);
}

ListItem* ListView::SelectedItem() {
    if (hwnd() && !closing_)
        return RecordAt(static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
    auto it = byId_.find(selectedId_);
    return it == byId_.end() ? nullptr : it->second;
}

void ListView::SelectInWindow(const ListItem* item) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (!item) return;
    int at = WindowIndexOf(item->id_);
    if (at < 0) return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&state));
}

void ListView::SetSelectedItem(ListItem* item) {
    selectedId_ = item ? item->id_ : 0;
    if (!hwnd()) return;
    bool wasQuiet = std::exchange(quiet_, true);
    SelectInWindow(item);
    quiet_ = wasQuiet;
}

ListItem* ListView::HitTest(int x, int y) {
    if (!hwnd()) return nullptr;
    LVHITTESTINFO hit{};
    hit.pt = {TwipsToPxX(x), TwipsToPxY(y)};
    int at = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return at >= 0 && (hit.flags & LVHT_ONITEM) ? RecordAt(at) : nullptr;
}

ListItem* ListView::HitTestScreen(POINT screen) {
    if (!hwnd()) return nullptr;
    LVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(hwnd(), &hit.pt);
    const int at = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return at >= 0 && (hit.flags & LVHT_ONITEM) ? RecordAt(at) : nullptr;
}

void ListView::InsertColumn(int index) {
    const Column& c = columns_[static_cast<size_t>(index)];
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.cx = TwipsToPxX(c.width);
    col.pszText = const_cast<char*>(c.text.c_str());
    col.iSubItem = index;
    Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col));
}

int ListView::AddColumn(const std::string& text, int width) {
    columns_.push_back({text, std::max(width, 0)});
    int index = ColumnCount() - 1;
    if (hwnd()) {
        InsertColumn(index);
        // The window drops sub-item texts of columns it does not have yet; give them now.
        if (index > 0)
            for (const auto& item : order_)
                if (item->subItems_.size() >= static_cast<size_t>(index) &&
                    !item->subItems_[static_cast<size_t>(index) - 1].empty())
                    ShowSubItem(*item, index);
    }
    return index + 1;
}

int ListView::ColumnWidth(int column) const {
    if (column < 1 || column > ColumnCount()) throw std::out_of_range("Column index out of bounds");
    if (!hwnd()) return columns_[static_cast<size_t>(column) - 1].width;
    // Read from the header, which keeps the widths in every view, not only in the report view.
    LVCOLUMNA col{};
    col.mask = LVCF_WIDTH;
    if (!Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column - 1), reinterpret_cast<LPARAM>(&col)))
        return columns_[static_cast<size_t>(column) - 1].width;
    return PxToTwipsX(col.cx);
}

void ListView::SetColumnWidth(int column, int width) {
    if (column < 1 || column > ColumnCount()) throw std::out_of_range("Column index out of bounds");
    columns_[static_cast<size_t>(column) - 1].width = std::max(width, 0);
    if (!hwnd()) return;
    LVCOLUMNA col{};
    col.mask = LVCF_WIDTH;
    col.cx = TwipsToPxX(std::max(width, 0));
    Send(LVM_SETCOLUMNA, static_cast<WPARAM>(column - 1), reinterpret_cast<LPARAM>(&col));
}

void ListView::SetView(int view) {
    view_ = view;
    if (!hwnd()) return;
    LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
    SetWindowLongPtrA(hwnd(), GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | ListViewStyleForView(view));
    // The pictures are chosen per view when drawn.
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void ListView::Sort() {
    std::stable_sort(order_.begin(), order_.end(),
                     [this](const auto& a, const auto& b) { return SortsBefore(*a, *b); });
    if (!hwnd()) return;
    // The window sorts by the records' new order, so both agree on equal texts too.
    std::unordered_map<int, int> rank;
    for (size_t i = 0; i < order_.size(); ++i) rank[order_[i]->id_] = static_cast<int>(i);
    Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&rank), reinterpret_cast<LPARAM>(&ByRank));
}

void ListView::SetSortKey(int key) {
    sortKey_ = std::max(key, 0);
    if (sorted_) Sort();
}

void ListView::SetSortOrder(int order) {
    sortOrder_ = order == lvwDescending ? lvwDescending : lvwAscending;
    if (sorted_) Sort();
}

void ListView::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted) Sort();
}

void ListView::ApplyColors() {
    const COLORREF c = ToColorRef(ShownBackColor());
    Send(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(c));
    Send(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(c));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void ListView::SetBackColor(std::optional<uint32_t> color) {
    Control::SetBackColor(color);
    if (hwnd()) ApplyColors();
}

void ListView::ApplyExtendedStyle() {
    // Hot tracking: the item under the pointer is underlined, the pointer is a hand, and resting
    // on an item selects it.
    const DWORD hot = LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT | LVS_EX_TRACKSELECT;
    Send(LVM_SETEXTENDEDLISTVIEWSTYLE, hot, hotTracking_ ? hot : 0);
}

void ListView::SetHotTracking(bool on) {
    hotTracking_ = on;
    if (hwnd()) ApplyExtendedStyle();
}

void ListView::SetIcons(ImageList* list) {
    icons_ = list;
    if (!hwnd()) return;
    if (list) FixIconSpacing(list->ImageWidth(), list->ImageHeight());
    Send(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(list ? list->handle() : nullptr));
}

// The system's grid for icons of this size, kept when the image list goes. Left to itself, Wine's
// list works the grid out again whenever the image list changes, from no icon at all when there is
// none, and does not lay the icons out again: a page filled before its pictures were bound sat on
// a grid 43 pixels wide with items 75 wide, and its last column ran under the vertical scroll bar.
void ListView::FixIconSpacing(int iconWidth, int iconHeight) {
    const int cx = GetSystemMetrics(SM_CXICONSPACING) - GetSystemMetrics(SM_CXICON) + iconWidth;
    const int cy = GetSystemMetrics(SM_CYICONSPACING) - GetSystemMetrics(SM_CYICON) + iconHeight;
    Send(LVM_SETICONSPACING, 0, MAKELPARAM(cx, cy));
}

void ListView::SetSmallIcons(ImageList* list) {
    smallIcons_ = list;
    if (hwnd()) Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(list ? list->handle() : nullptr));
}

void ListView::BeginUpdate() {
    if (updateDepth_++ == 0 && hwnd()) Send(WM_SETREDRAW, FALSE);
}

void ListView::EndUpdate() {
    if (updateDepth_ == 0 || --updateDepth_ > 0 || !hwnd()) return;
    Send(WM_SETREDRAW, TRUE);
    // Wine lays the icons out for the width the list had before the vertical scroll bar came, and
    // the last column can end under the bar; turning redraw off and on lays them out beside it.
    if ((view_ == lvwIcon || view_ == lvwSmallIcon) && (GetWindowLongA(hwnd(), GWL_STYLE) & WS_HSCROLL)) {
        Send(WM_SETREDRAW, FALSE);
        Send(WM_SETREDRAW, TRUE);
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void ListView::Reserve(int count) {
    if (count <= 0) return;
    order_.reserve(static_cast<size_t>(count));
    byId_.reserve(static_cast<size_t>(count));
    if (hwnd()) Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(count));
}

std::optional<LRESULT> ListView::OnNotify(NMHDR* header) {
    if (closing_) return std::nullopt;
    switch (header->code) {
        case LVN_ITEMCHANGED: {
            auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
            if (!(nm->uChanged & LVIF_STATE)) return 0;
            bool now = nm->uNewState & LVIS_SELECTED;
            bool before = nm->uOldState & LVIS_SELECTED;
            ListItem* item = nm->iItem < 0 ? nullptr : RecordAt(nm->iItem);
            if (now && !before && item) {
                selectedId_ = item->id_;
                pressSelected_ = true;
                if (!quiet_ && ItemClick) ItemClick(*item);
            } else if (before && !now && (!item || item->id_ == selectedId_)) {
                selectedId_ = 0;
            }
            return 0;
        }
        case LVN_GETDISPINFOA:
        case LVN_GETDISPINFOW: {
            auto* di = reinterpret_cast<NMLVDISPINFOA*>(header);
            if (!(di->item.mask & LVIF_IMAGE) || di->item.iSubItem != 0) return 0;
            auto it = byId_.find(static_cast<int>(di->item.lParam));
            const ListItem* item = it != byId_.end() ? it->second : RecordAt(di->item.iItem);
            int image = !item ? 0 : view_ == lvwIcon ? item->icon_ : item->smallIcon_;
            di->item.iImage = image > 0 ? image - 1 : I_IMAGENONE;
            return 0;
        }
        case LVN_DELETEALLITEMS:
            return TRUE;  // no notice for each item: nothing here listens to them
        case LVN_COLUMNCLICK:
            if (ColumnClick) ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem + 1);
            return 0;
        case NM_DBLCLK:
            if (DblClick) DblClick();
            return 0;
        case LVN_BEGINDRAG:
            if (ListItem* item = RecordAt(reinterpret_cast<NMLISTVIEW*>(header)->iItem); item && OLEDragItems)
                OLEDragText(item->Text(), vbDropEffectCopy | vbDropEffectMove);
            return 0;
        case NM_CLICK:
        case NM_RCLICK: {
            // A click on the item already selected changes no selection, yet it is a click on it.
            if (header->code == NM_CLICK && !std::exchange(pressSelected_, true) && !quiet_ && ItemClick) {
                const int index = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
                ListItem* item = index < 0 ? nullptr : RecordAt(index);
                if (item && item->id_ == selectedId_) ItemClick(*item);
            }
            DWORD pos = GetMessagePos();
            POINT pt{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
            ScreenToClient(hwnd(), &pt);
            if (MouseUp) MouseUp(header->code == NM_CLICK ? 1 : 2, PxToTwipsX(pt.x), PxToTwipsY(pt.y));
            return 0;
        }
        default:
            return std::nullopt;
    }
}

void ListView::AfterCreate() {
    closing_ = false;
    PaintOffScreen(hwnd());
    bool wasQuiet = std::exchange(quiet_, true);
    SetView(view_);
    ApplyExtendedStyle();
    ApplyColors();
    if (icons_) SetIcons(icons_);
    else FixIconSpacing(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    if (smallIcons_) Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallIcons_->handle()));
    for (int i = 0; i < ColumnCount(); ++i) InsertColumn(i);
    Send(WM_SETREDRAW, FALSE);
    if (!order_.empty()) Send(LVM_SETITEMCOUNT, order_.size());
    for (size_t i = 0; i < order_.size(); ++i) InsertWindowItem(*order_[i], static_cast<int>(i));
    auto selected = byId_.find(selectedId_);
    if (selected != byId_.end()) SelectInWindow(selected->second);
    if (updateDepth_ == 0) {
        Send(WM_SETREDRAW, TRUE);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
    quiet_ = wasQuiet;
}

void ListView::BeforeDestroy() {
    for (int c = 1; c <= ColumnCount(); ++c) columns_[static_cast<size_t>(c) - 1].width = ColumnWidth(c);
    ListItem* selected = SelectedItem();
    selectedId_ = selected ? selected->id_ : 0;
    closing_ = true;
}

void ListView::Destroyed() {
    Control::Destroyed();
    closing_ = false;
    quiet_ = false;
}

// ---- right button and released keys

bool ListView::OnInput(const MSG& msg) {
    if (closing_) return false;
    const int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                      (GetKeyState(VK_MENU) < 0 ? 4 : 0);
    if (msg.message == WM_LBUTTONDOWN) pressSelected_ = false;
    if (msg.message == WM_RBUTTONDOWN && MouseDown) {
        // Not passed on: the list would select or deselect by itself and run its own drag loop.
        ::SetFocus(hwnd());
        MouseDown(2, shift, PxToTwipsX(static_cast<short>(LOWORD(msg.lParam))),
                  PxToTwipsY(static_cast<short>(HIWORD(msg.lParam))));
        return true;
    }
    if (msg.message == WM_KEYUP && KeyUp) KeyUp(static_cast<int>(msg.wParam), shift);
    return false;
}
