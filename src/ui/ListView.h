// A list view whose items are records with a key and a text Tag; the window shows them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/Control.h"
#include "ui/Keys.h"

class ImageList;
class ListView;

enum ListViewCode { lvwIcon = 0, lvwSmallIcon = 1, lvwList = 2, lvwReport = 3 };
enum ListSortOrder { lvwAscending = 0, lvwDescending = 1 };

// The window style (LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT) for a view code; an unknown
// code gives large icons.
DWORD ListViewStyleForView(int view);

class ListItem {
  public:
    ListItem(const ListItem&) = delete;
    ListItem& operator=(const ListItem&) = delete;

    const std::string& Key() const { return key_; }
    // An empty key frees the old one; a key another item holds throws KeyError.
    void SetKey(const std::string& key);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    // Sub-items count from 1, as the columns after the first; a sub-item never set is "".
    std::string SubItem(int index) const;
    void SetSubItem(int index, const std::string& text);
    // 1-based indexes into the large and the small image list; 0 shows no picture.
    int Icon() const { return icon_; }
    void SetIcon(int index);
    int SmallIcon() const { return smallIcon_; }
    void SetSmallIcon(int index);
    // 1-based position in the list as shown.
    int Index() const;
    bool Selected() const;

    std::string Tag;

  private:
    friend class ListView;
    ListItem(ListView& owner, int id) : owner_(owner), id_(id) {}

    ListView& owner_;
    int id_;  // the window item's lParam; never reused by this list
    std::string key_;
    std::string text_;
    std::vector<std::string> subItems_;
    int icon_ = 0;
    int smallIcon_ = 0;
};

// Works without a window: the records are the list, and when the window is created it shows them
// all in order. Create() keeps the items and starts the column headers afresh. Keys are compared
// without regard to case. An item's address stays valid until Clear().
class ListView : public Control {
  public:
    using Control::Control;
    // Geometry in twips.
    void Create(Bounds bounds);

    // index: 1-based position to insert at, -1 (or past the end) appends. While Sorted, the item
    // goes to its sorted place instead. key may be empty; a key in use throws KeyError.
    ListItem& Add(int index, const std::string& key, const std::string& text, int icon = 0, int smallIcon = 0);
    int Count() const { return static_cast<int>(order_.size()); }
    // Removes the item at a 1-based position (its address goes invalid); throws std::out_of_range.
    void Remove(int index);
    void Clear();
    ListItem& Item(int index);  // 1-based; throws std::out_of_range
    ListItem& Item(const std::string& key);  // throws KeyError
    ListItem* Find(const std::string& key);
    // nullptr when nothing is selected.
    ListItem* SelectedItem();
    // Selects from code (nullptr: nothing); raises no ItemClick.
    void SetSelectedItem(ListItem* item);
    // The item at a point of the list's client area in twips, nullptr for none.
    ListItem* HitTest(int x, int y);

    // Column headers, 1-based; widths in twips (read back from the window, where the user may drag them).
    int AddColumn(const std::string& text, int width);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    int View() const { return view_; }
    void SetView(int view);
    // SortKey 0 sorts by the item text, k by sub-item k; without regard to case. While Sorted,
    // changing the key or the order sorts again. Sorting moves whole records, Tag included.
    int SortKey() const { return sortKey_; }
    void SetSortKey(int key);
    int SortOrder() const { return sortOrder_; }
    void SetSortOrder(int order);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);  // True sorts now
    void SetBackColor(std::optional<uint32_t> color);
    // The colour the list shows, as the program stores colours: its back colour, or the system's
    // window colour when it has none of its own.
    uint32_t ShownBackColor() const { return BackColor().value_or(0x80000000u | COLOR_WINDOW); }
    bool HotTracking() const { return hotTracking_; }
    void SetHotTracking(bool on);
    // Image lists (not owned: LVS_SHAREIMAGELISTS; nullptr unbinds). They must outlive the window.
    void SetIcons(ImageList* list);
    void SetSmallIcons(ImageList* list);

    // Bulk fills: redraw off and on (nested calls count), and room for count items in advance.
    void BeginUpdate();
    void EndUpdate();
    void Reserve(int count);

    std::function<void(ListItem&)> ItemClick;  // the user selected an item, or clicked the selected one
    std::function<void()> DblClick;
    std::function<void(int column)> ColumnClick;  // 1-based column
    // A click released: button 1 left, 2 right; x and y in twips in the list's client area.
    std::function<void(int button, int x, int y)> MouseUp;
    // The right button pressed on the list: shift 1 Shift, 2 Ctrl, 4 Alt; x and y in twips in the
    // list's client area. The list itself does nothing with that press: the handler decides what
    // is selected.
    std::function<void(int button, int shift, int x, int y)> MouseDown;
    // A key released while the list has the focus: a virtual key, shift as for MouseDown.
    std::function<void(int keyCode, int shift)> KeyUp;

    // ---- OLE drag and drop (ui/DragDrop.h)
    // The item at a point of the screen in pixels; nullptr for none.
    ListItem* HitTestScreen(POINT screen);
    // Dragging an item drags its text to drop targets, to be copied or moved.
    bool OLEDragItems = false;

    std::optional<LRESULT> OnNotify(NMHDR* header) override;
    void Destroyed() override;
    // The right button to MouseDown, released keys to KeyUp; a press of the left button starts a click.
    bool OnInput(const MSG& msg) override;

  protected:
    void AfterCreate() override;
    void BeforeDestroy() override;

  private:
    friend class ListItem;
    struct Column {
        std::string text;
        int width = 0;  // twips
    };

    int WindowIndexOf(int id) const;
    ListItem* RecordAt(int windowIndex) const;
    void InsertWindowItem(const ListItem& item, int position);
    void ShowSubItem(const ListItem& item, int index);
    static int WindowImage(const ListItem& item);
    void Redraw(const ListItem& item);
    void Sort();
    bool SortsBefore(const ListItem& a, const ListItem& b) const;
    void ApplyColors();
    void ApplyExtendedStyle();
    void FixIconSpacing(int iconWidth, int iconHeight);
    void InsertColumn(int index);
    void SelectInWindow(const ListItem* item);

    std::vector<std::unique_ptr<ListItem>> order_;  // display order
    std::unordered_map<int, ListItem*> byId_;
    std::unordered_map<std::string, ListItem*> byKey_;  // folded key
    std::vector<Column> columns_;
    int nextId_ = 0;
    int selectedId_ = 0;
    int view_ = lvwIcon;
    int sortKey_ = 0;
    int sortOrder_ = lvwAscending;
    bool sorted_ = false;
    bool hotTracking_ = false;
    ImageList* icons_ = nullptr;
    ImageList* smallIcons_ = nullptr;
    int updateDepth_ = 0;
    bool quiet_ = false;          // changes made from code: no events
    bool closing_ = false;        // the window is being destroyed
    bool pressSelected_ = false;  // the left button's last press selected an item (ItemClick raised)
};
