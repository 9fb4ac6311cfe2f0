// Menus with hidden items: a model of the menu bar and popup-only menus, realised lazily into HMENUs.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/Win.h"

// One menu item. Caption "-" makes a separator (its id may be 0 when nothing addresses it).
// Captions carry "&" for the mnemonic and "\t" before the accelerator text. An item with children
// opens a submenu and needs an id of its own.
struct MenuItem {
    int id = 0;
    std::string caption;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    std::vector<MenuItem> children;

    bool IsSeparator() const { return caption == "-"; }
};

// Building a form's menu design (Form::Menus().Define): items, menus with their children,
// separators and hidden items, in the order they show.
//
// Menu ids: a form's menu items take their ids from the form's one id enum, after its controls:
// the first menu title is kIdBase + kMenuIdOffset, then the other titles, then each menu's items
// (ID_mnuFile, ID_mnuFileOpen, ...). Popup-only menus are hidden top-level items of the same design.
// The main window, whose menus and page arrays need thousands of ids, gives each menu a block of
// its own from kMainMenuBase (mainwindow/FrmMainIds.h).
inline constexpr int kMenuIdOffset = 50;

namespace menus {

inline MenuItem Item(int id, std::string caption, bool enabled = true, bool checked = false) {
    return MenuItem{id, std::move(caption), true, enabled, checked, {}};
}

inline MenuItem Menu(int id, std::string caption, std::vector<MenuItem> children, bool enabled = true) {
    MenuItem m = Item(id, std::move(caption), enabled);
    m.children = std::move(children);
    return m;
}

// A separator needs an id only when something shows or hides it.
inline MenuItem Separator(int id = 0, bool visible = true) { return MenuItem{id, "-", visible, true, false, {}}; }

inline MenuItem Hidden(MenuItem item) {
    item.visible = false;
    return item;
}

}  // namespace menus

// One entry of a realised menu: what Windows is given for a visible item.
struct RealisedEntry {
    enum Kind { Command, Separator, Submenu };
    Kind kind = Command;
    int id = 0;
    std::string caption;
    bool enabled = true;
    bool checked = false;

    bool operator==(const RealisedEntry&) const = default;
};

// The entries a popup shows for these items: the visible ones, in order, with their states.
// Separators show exactly as their own visible flags say; nothing is tidied away.
std::vector<RealisedEntry> RealiseEntries(const std::vector<MenuItem>& items);

class MenuModel {
  public:
    MenuModel() = default;
    MenuModel(const MenuModel&) = delete;
    MenuModel& operator=(const MenuModel&) = delete;

    // Replaces the whole menu (top-level items with their children), as a form's design does.
    void Define(std::vector<MenuItem> items);
    // Appends an item to the children of parentId (0: a top-level item). Throws KeyError when the
    // parent is missing or the id is taken. The reference lasts until the next change of that menu.
    MenuItem& Add(int parentId, MenuItem item);
    bool Empty() const { return items_.empty(); }
    const std::vector<MenuItem>& Items() const { return items_; }
    // nullptr when no item has the id (0 finds nothing).
    MenuItem* Find(int id);
    const MenuItem* Find(int id) const;

    // These change the model only; Windows sees the change when the menu next opens. A change
    // of a top-level item rebuilds the bar at once. An unknown id is ignored.
    void SetVisible(int id, bool visible);
    void SetEnabled(int id, bool enabled);
    void SetChecked(int id, bool checked);
    void SetCaption(int id, const std::string& caption);

    // Whether a menu or accelerator command may run: ids outside the model may; an item may when it
    // is visible and enabled and every menu above it is enabled. Accelerators reach hidden items
    // too, so this is what stops them. The visibility of the menus above does not count, since
    // popup-only menus are hidden top-level items.
    bool CanRun(int id) const;

    // Menu control arrays: element k has the id baseId + k; element 0 is the designed item and
    // always exists. Loading element k copies element 0's caption and states and places it after
    // the nearest lower element; loading an element that exists answers it. Throws KeyError when
    // element 0 is missing.
    MenuItem& LoadArrayItem(int baseId, int index);
    // Removes element k > 0; element 0 and missing elements are left alone.
    void UnloadArrayItem(int baseId, int index);
    // The highest element loaded so far (0 when only element 0 exists).
    int ArrayUBound(int baseId) const;

    // The form's window: shows the visible top-level items as its menu bar (none: no bar).
    void Attach(HWND form);
    // The window is gone, and its bar with it.
    void Detach();
    HMENU Bar() const { return bar_; }
    // Between these the bar is redrawn once, at the end, rather than after every change: each
    // redraw of the bar lays out the window's frame again.
    void BeginBarBatch() { ++batchDepth_; }
    void EndBarBatch();
    // WM_INITMENUPOPUP: refills a popup of this model from the model. False for other popups.
    bool OnInitMenuPopup(HMENU popup);
    // The popup of an item with its whole tree realised, for TrackPopupMenu; the caller destroys it.
    // nullptr when the item is missing.
    HMENU BuildPopup(int id) const;

  private:
    MenuItem* FindIn(std::vector<MenuItem>& items, int id, MenuItem** parent);
    bool IsTopLevel(int id) const;
    void RebuildBar();
    void TopLevelChanged(int id);

    std::vector<MenuItem> items_;
    std::map<int, std::set<int>> arrays_;  // base id -> loaded elements k > 0
    HWND form_ = nullptr;
    HMENU bar_ = nullptr;  // owned by the form's window once set
    int batchDepth_ = 0;
    bool barDirty_ = false;

    void RedrawBar();
};

// One redraw of a model's bar for the changes made in this scope.
class MenuBarBatch {
  public:
    explicit MenuBarBatch(MenuModel& menus) : menus_(menus) { menus_.BeginBarBatch(); }
    ~MenuBarBatch() { menus_.EndBarBatch(); }
    MenuBarBatch(const MenuBarBatch&) = delete;
    MenuBarBatch& operator=(const MenuBarBatch&) = delete;

  private:
    MenuModel& menus_;
};

// Shows a popup menu at a screen point in pixels and answers the chosen id (0: none), with
// TPM_RETURNCMD | TPM_NONOTIFY, so nothing is posted and submenus must be realised already.
int TrackPopup(HMENU menu, int x, int y, HWND owner);
// Tests replace the modal menu: the hook receives the realised menu and answers a choice.
using PopupHook = int (*)(HMENU menu, int x, int y);
extern PopupHook gPopupHook;
