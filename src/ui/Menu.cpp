// The menu model and its realisation into Win32 menus.
#include "ui/Menu.h"

#include <algorithm>

#include "ui/Keys.h"

PopupHook gPopupHook = nullptr;

std::vector<RealisedEntry> RealiseEntries(const std::vector<MenuItem>& items) {
    std::vector<RealisedEntry> out;
    for (const auto& item : items) {
        if (!item.visible) continue;
        RealisedEntry e;
        e.id = item.id;
        e.caption = item.caption;
        e.enabled = item.enabled;
        e.checked = item.checked;
        if (item.IsSeparator()) {
            e = RealisedEntry{};
            e.kind = RealisedEntry::Separator;
        } else if (!item.children.empty()) {
            e.kind = RealisedEntry::Submenu;
            e.checked = false;
        }
        out.push_back(e);
    }
    return out;
}

namespace {

void TagPopup(HMENU popup, int id) {
    MENUINFO mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_MENUDATA;
    mi.dwMenuData = static_cast<ULONG_PTR>(id);
    SetMenuInfo(popup, &mi);
}

int PopupTag(HMENU popup) {
    MENUINFO mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIM_MENUDATA;
    if (!GetMenuInfo(popup, &mi)) return 0;
    return static_cast<int>(mi.dwMenuData);
}

const MenuItem* FindConst(const std::vector<MenuItem>& items, int id) {
    for (const auto& item : items) {
        if (item.id == id) return &item;
        if (const MenuItem* found = FindConst(item.children, id)) return found;
    }
    return nullptr;
}

// The chain of items from the top level down to the item with the id; empty when it is missing.
bool PathTo(const std::vector<MenuItem>& items, int id, std::vector<const MenuItem*>& path) {
    for (const auto& item : items) {
        path.push_back(&item);
        if (item.id == id || PathTo(item.children, id, path)) return true;
        path.pop_back();
    }
    return false;
}

// Appends the visible children; submenus get empty popups, filled when they open, or at once when deep.
void Append(HMENU menu, const std::vector<MenuItem>& items, bool deep) {
    for (const auto& e : RealiseEntries(items)) {
        UINT state = e.enabled ? 0 : MF_GRAYED;
        switch (e.kind) {
            case RealisedEntry::Separator:
                AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
                break;
            case RealisedEntry::Submenu: {
                HMENU sub = CreatePopupMenu();
                TagPopup(sub, e.id);
                if (deep) Append(sub, FindConst(items, e.id)->children, true);
                AppendMenuA(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub), e.caption.c_str());
                break;
            }
            case RealisedEntry::Command:
                AppendMenuA(menu, MF_STRING | state | (e.checked ? MF_CHECKED : 0), static_cast<UINT_PTR>(e.id),
                            e.caption.c_str());
                break;
        }
    }
}

}  // namespace

void MenuModel::Define(std::vector<MenuItem> items) {
    items_ = std::move(items);
    arrays_.clear();
    RebuildBar();
}

MenuItem* MenuModel::FindIn(std::vector<MenuItem>& items, int id, MenuItem** parent) {
    for (auto& item : items) {
        if (item.id == id) return &item;
        if (MenuItem* found = FindIn(item.children, id, parent)) {
            if (parent && !*parent) *parent = &item;
            return found;
        }
    }
    return nullptr;
}

MenuItem* MenuModel::Find(int id) { return id ? FindIn(items_, id, nullptr) : nullptr; }
const MenuItem* MenuModel::Find(int id) const { return id ? FindConst(items_, id) : nullptr; }

bool MenuModel::IsTopLevel(int id) const {
    return std::any_of(items_.begin(), items_.end(), [id](const MenuItem& m) { return m.id == id; });
}

MenuItem& MenuModel::Add(int parentId, MenuItem item) {
    if (item.id && Find(item.id)) throw KeyError("Menu id is not unique: " + std::to_string(item.id));
    if (parentId == 0) {
        items_.push_back(std::move(item));
        RebuildBar();
        return items_.back();
    }
    MenuItem* parent = Find(parentId);
    if (!parent) throw KeyError("Menu not found: " + std::to_string(parentId));
    parent->children.push_back(std::move(item));
    MenuItem& added = parent->children.back();
    // A top-level command that gains its first child turns into a menu on the bar.
    if (IsTopLevel(parentId) && parent->children.size() == 1) RebuildBar();
    return added;
}

void MenuModel::TopLevelChanged(int id) {
    if (IsTopLevel(id)) RebuildBar();
}

void MenuModel::SetVisible(int id, bool visible) {
    if (MenuItem* m = Find(id); m && m->visible != visible) {
        m->visible = visible;
        TopLevelChanged(id);
    }
}

void MenuModel::SetEnabled(int id, bool enabled) {
    MenuItem* m = Find(id);
    if (!m || m->enabled == enabled) return;
    m->enabled = enabled;
    if (!IsTopLevel(id) || !m->visible || !form_ || !bar_) return;
    // Only this entry of the bar changes: rebuilding the whole bar for each of the menus that busy
    // mode switches costs a visible pause under Wine.
    int position = 0;
    for (const MenuItem& top : items_) {
        if (&top == m) break;
        if (top.visible) ++position;
    }
    EnableMenuItem(bar_, static_cast<UINT>(position), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    RedrawBar();
}

void MenuModel::RedrawBar() {
    if (batchDepth_ > 0) {
        barDirty_ = true;
        return;
    }
    if (!form_) return;
    // Only the bar's strip of the frame, painted with the window's next paint: DrawMenuBar
    // recomputes the whole frame at once, which under Wine costs more than filling a page.
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    POINT origin{0, 0};
    if (!GetMenuBarInfo(form_, OBJID_MENU, 0, &bar) || !ClientToScreen(form_, &origin)) {
        DrawMenuBar(form_);
        return;
    }
    OffsetRect(&bar.rcBar, -origin.x, -origin.y);
    RedrawWindow(form_, &bar.rcBar, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void MenuModel::EndBarBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0 || !barDirty_) return;
    barDirty_ = false;
    RedrawBar();
}

void MenuModel::SetChecked(int id, bool checked) {
    if (MenuItem* m = Find(id)) m->checked = checked;
}

void MenuModel::SetCaption(int id, const std::string& caption) {
    if (MenuItem* m = Find(id); m && m->caption != caption) {
        m->caption = caption;
        TopLevelChanged(id);
    }
}

bool MenuModel::CanRun(int id) const {
    std::vector<const MenuItem*> path;
    if (!id || !PathTo(items_, id, path)) return true;
    const MenuItem* item = path.back();
    if (item->IsSeparator() || !item->visible) return false;
    return std::all_of(path.begin(), path.end(), [](const MenuItem* m) { return m->enabled; });
}

MenuItem& MenuModel::LoadArrayItem(int baseId, int index) {
    if (index <= 0) {
        MenuItem* base = Find(baseId);
        if (!base) throw KeyError("Menu not found: " + std::to_string(baseId));
        return *base;
    }
    if (MenuItem* existing = Find(baseId + index)) return *existing;
    MenuItem* parent = nullptr;
    MenuItem* base = baseId ? FindIn(items_, baseId, &parent) : nullptr;
    if (!base) throw KeyError("Menu not found: " + std::to_string(baseId));
    MenuItem copy;
    copy.id = baseId + index;
    copy.caption = base->caption;
    copy.visible = base->visible;
    copy.enabled = base->enabled;
    copy.checked = base->checked;

    std::vector<MenuItem>& siblings = parent ? parent->children : items_;
    // After the nearest lower element that is loaded.
    int after = baseId;
    for (int k : arrays_[baseId])
        if (k < index) after = baseId + k;
    auto at = std::find_if(siblings.begin(), siblings.end(), [after](const MenuItem& m) { return m.id == after; });
    auto inserted = siblings.insert(at == siblings.end() ? at : at + 1, std::move(copy));
    arrays_[baseId].insert(index);
    MenuItem& result = *inserted;
    if (!parent) RebuildBar();
    return result;
}

void MenuModel::UnloadArrayItem(int baseId, int index) {
    auto arr = arrays_.find(baseId);
    if (index <= 0 || arr == arrays_.end() || !arr->second.count(index)) return;
    MenuItem* parent = nullptr;
    if (!FindIn(items_, baseId + index, &parent)) return;
    std::vector<MenuItem>& siblings = parent ? parent->children : items_;
    int id = baseId + index;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [id](const MenuItem& m) { return m.id == id; }),
                   siblings.end());
    arr->second.erase(index);
    if (!parent) RebuildBar();
}

int MenuModel::ArrayUBound(int baseId) const {
    auto arr = arrays_.find(baseId);
    return arr == arrays_.end() || arr->second.empty() ? 0 : *arr->second.rbegin();
}

void MenuModel::Attach(HWND form) {
    form_ = form;
    bar_ = nullptr;
    RebuildBar();
}

void MenuModel::Detach() {
    form_ = nullptr;
    bar_ = nullptr;
}

void MenuModel::RebuildBar() {
    if (!form_) return;
    HMENU old = bar_;
    bar_ = nullptr;
    if (!RealiseEntries(items_).empty()) {
        bar_ = CreateMenu();
        Append(bar_, items_, false);
    }
    SetMenu(form_, bar_);
    // SetMenu leaves the replaced bar to us.
    if (old) DestroyMenu(old);
    RedrawBar();
}

bool MenuModel::OnInitMenuPopup(HMENU popup) {
    const MenuItem* item = Find(PopupTag(popup));
    if (!item) return false;
    // DeleteMenu also destroys the submenus made when this popup was last opened.
    while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
    Append(popup, item->children, false);
    return true;
}

HMENU MenuModel::BuildPopup(int id) const {
    const MenuItem* item = Find(id);
    if (!item) return nullptr;
    HMENU popup = CreatePopupMenu();
    TagPopup(popup, id);
    Append(popup, item->children, true);
    return popup;
}

int TrackPopup(HMENU menu, int x, int y, HWND owner) {
    if (gPopupHook) return gPopupHook(menu, x, y);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    int chosen = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN |
                                                           TPM_RIGHTBUTTON,
                                                 x, y, 0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    return chosen;
}
