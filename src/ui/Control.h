// The control wrappers of the form runtime: one small class per kind of control over its window.
// A wrapper keeps what the window shows while the form is unloaded and applies it when the
// window is created again, so a form's controls keep their state across Unload.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/App.h"
#include "ui/Unique.h"
#include "ui/Win.h"

class Form;
class OleDropTarget;

// Where a control lies on its form, in twips: its left and top edges in the form's client area,
// its width and its height.
struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class Control {
  public:
    Control(Form& owner, int id);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& owner() const { return owner_; }
    int id() const { return id_; }
    HWND hwnd() const { return hwnd_; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Shows the control above its siblings in one move, so that a sibling it covers can go without
    // uncovering anything.
    void ShowOnTop();
    // Caption or text.
    std::string Text() const;
    void SetText(const std::string& text);
    // Geometry in twips, relative to the form's client area.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Move(int left, int top, int width = -1, int height = -1);
    void SetFocus();
    // Whether the focus is in the control or a window of its own (a combo box's edit field).
    bool HasFocus() const;
    // Back colour as the program stores colours (see ToColorRef); nothing = the system's.
    void SetBackColor(std::optional<uint32_t> color);
    std::optional<uint32_t> BackColor() const { return backColor_; }
    // The tip shown while the mouse rests on the control; empty: none.
    const std::string& ToolTipText() const { return toolTip_; }
    void SetToolTipText(const std::string& text);

    std::string Tag;

    // Routing from the form. Answer a value to consume the message.
    virtual std::optional<LRESULT> OnCommand(int /*code*/) { return std::nullopt; }
    virtual std::optional<LRESULT> OnNotify(NMHDR* /*header*/) { return std::nullopt; }
    // WM_HSCROLL or WM_VSCROLL from the control's window, with its scroll code.
    virtual std::optional<LRESULT> OnScroll(int /*code*/) { return std::nullopt; }
    virtual std::optional<LRESULT> OnCtlColor(HDC dc);
    // A command from one of the control's own items (a tool button), whose id is not the control's.
    virtual std::optional<LRESULT> OnItemCommand(int /*id*/, int /*code*/) { return std::nullopt; }
    // Whether notifications from this window belong to the control: its own window, or a helper
    // window of it such as its tool tip.
    virtual bool OwnsWindow(HWND window) const { return window && window == hwnd_; }
    // The form's client area changed size; bars aligned to an edge follow it.
    virtual void OnParentResize() {}
    // An event posted with PostEvent arrives from the form's message queue.
    virtual void OnPostedEvent(LPARAM /*data*/) {}
    // A character typed into the control, after the form's key preview; 0 swallows it.
    virtual void OnKeyPress(int& /*keyAscii*/) {}
    // Input posted to the control's window (a button pressed, a key released), after the
    // form's key preview and before the window gets it; true consumes it.
    virtual bool OnInput(const MSG& /*msg*/) { return false; }
    // Creates the window from the wrapper's state; the form calls it from CreateControls order.
    void Create();
    // The form's window is about to go: keep what the control's window shows.
    void SaveState();
    // The window is gone (the form unloads).
    virtual void Destroyed();

    // The control's OLE drop target (ui/DragDrop.h), which makes itself known here; it is
    // registered with the window whenever the window exists. nullptr: the control takes no drops.
    void SetDropTarget(OleDropTarget* target);
    OleDropTarget* DropTarget() const { return dropTarget_; }

  protected:
    // Defines the control: window class, styles and design geometry in twips.
    void Define(const char* windowClass, DWORD style, DWORD exStyle, Bounds bounds, const std::string& text = {});
    // After the window exists: apply what only messages can set.
    virtual void AfterCreate() {}
    // Reads the window's text into the cache before it is destroyed.
    virtual void BeforeDestroy();
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // The height the window is made with, in twips; a combo box adds its drop-down list.
    virtual int WindowHeight() const { return height_; }
    // Raises an event later, once the window has finished handling the input that caused it, so
    // that the handler may change or destroy what the window is still working on.
    void PostEvent(LPARAM data);

    std::string text_;

  private:
    // Gives the form's tip window the control's tip (or takes it away).
    void ApplyToolTip();

    Form& owner_;
    int id_;
    HWND hwnd_ = nullptr;
    const char* class_ = nullptr;  // nullptr: a control without a window (a timer)
    DWORD style_ = 0;
    DWORD exStyle_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::optional<uint32_t> backColor_;
    UniqueBrush backBrush_;
    std::string toolTip_;
    OleDropTarget* dropTarget_ = nullptr;
};

// From now on the common control `window` paints its client area in a bitmap of memory and copies
// it to the screen in one piece: no flicker, and under Wine, where a list or tree view draws each
// picture through a bitmap made like its target, no round trips to the server per picture (six
// each when the target is the screen).
void PaintOffScreen(HWND window);
// Makes the bitmap a control paints in off the screen (a failed one when the system gives none);
// tests replace it to make the making fail.
using OffScreenBitmapMaker = std::unique_ptr<MemoryBitmap> (*)(int width, int height);
extern OffScreenBitmapMaker gMakeOffScreenBitmap;

// How a label lines up its text, with the numbers VB gives its Alignment values.
enum class Alignment { LeftJustify = 0, RightJustify = 1, Center = 2 };

struct LabelOptions {
    bool ellipsis = false;  // one line, cut with "..." where the text is wider than the label
};

class Label : public Control {
  public:
    using Control::Control;
    void Create(const std::string& caption, Bounds bounds, Alignment alignment = Alignment::LeftJustify,
                LabelOptions options = {});
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    std::optional<LRESULT> OnCtlColor(HDC dc) override;

  private:
    bool transparent_ = false;
};

// A group box around other controls of the form; it paints its own inside, which the form
// (clipping its children) leaves alone. Create it after the controls it holds: a child window made
// later lies below those made before, and the controls must lie above the box to show.
class Frame : public Control {
  public:
    using Control::Control;
    void Create(const std::string& caption, Bounds bounds);

  protected:
    void AfterCreate() override;
};

struct ButtonOptions {
    bool isDefault = false;  // the form's default button, which Enter presses
};

class Button : public Control {
  public:
    using Control::Control;
    void Create(const std::string& caption, Bounds bounds, ButtonOptions options = {});
    std::function<void()> Click;
    std::optional<LRESULT> OnCommand(int code) override;
};

class CheckBox : public Control {
  public:
    using Control::Control;
    void Create(const std::string& caption, Bounds bounds);
    // 0 unchecked, 1 checked, 2 grey. Setting it raises Click, as the user's click does.
    int Value() const;
    void SetValue(int value);
    std::function<void()> Click;
    std::optional<LRESULT> OnCommand(int code) override;

  protected:
    void AfterCreate() override;
    void BeforeDestroy() override;

  private:
    int value_ = 0;
};

struct OptionButtonOptions {
    bool group = false;  // the first button of a group of options
};

class OptionButton : public Control {
  public:
    using Control::Control;
    void Create(const std::string& caption, Bounds bounds, OptionButtonOptions options = {});
    bool Value() const;
    // Setting True raises Click and clears the other options of the same group.
    void SetValue(bool value);
    std::function<void()> Click;
    std::optional<LRESULT> OnCommand(int code) override;

  protected:
    void AfterCreate() override;
    void BeforeDestroy() override;

  private:
    bool value_ = false;
};

struct TextBoxOptions {
    bool multiLine = false;
    bool readOnly = false;
};

class TextBox : public Control {
  public:
    using Control::Control;
    void Create(const std::string& text, Bounds bounds, TextBoxOptions options = {});
    std::function<void()> Change;
    std::function<void()> GotFocus, LostFocus;
    std::optional<LRESULT> OnCommand(int code) override;
    std::optional<LRESULT> OnCtlColor(HDC dc) override;
};

// A list box or a combo box: items with their item data, the selected position.
class ListControl : public Control {
  public:
    using Control::Control;
    void AddItem(const std::string& item, int index = -1);
    // Appends many items at once, item i with data[i] as its item data (0 past the end of data).
    // The window reserves room for all of them first and is redrawn once, which keeps a list of
    // thousands of items quick to fill.
    void AddItems(std::span<const std::string_view> texts, std::span<const int32_t> data = {});
    void RemoveItem(int index);
    // Inserts the item before the first one that sorts after it (letter case ignored, as
    // CompareTextNoCase orders) and answers its position.
    int AddSorted(const std::string& item, int32_t data = 0);
    void Clear();
    int ListCount() const { return static_cast<int>(items_.size()); }
    std::string List(int index) const;
    int32_t ItemData(int index) const;
    void SetItemData(int index, int32_t data);
    // -1 when nothing is selected. Setting it raises Click, as VB did.
    virtual int ListIndex() const;
    virtual void SetListIndex(int index);
    std::function<void()> Click;
    std::function<void()> DblClick;

  protected:
    void AfterCreate() override;
    void BeforeDestroy() override;
    virtual UINT AddMsg() const = 0;
    virtual UINT InsertMsg() const = 0;
    virtual UINT DeleteMsg() const = 0;
    virtual UINT ResetMsg() const = 0;
    virtual UINT SetSelMsg() const = 0;
    virtual UINT GetSelMsg() const = 0;
    virtual UINT InitStorageMsg() const = 0;
    // Sends the window the items from position `first` on, with room reserved for them.
    void AddToWindow(size_t first);

    struct Item {
        std::string text;
        int32_t data = 0;
    };
    std::vector<Item> items_;
    int listIndex_ = -1;
};

struct ListBoxOptions {
    bool sorted = false;
};

class ListBox : public ListControl {
  public:
    using ListControl::ListControl;
    void Create(Bounds bounds, ListBoxOptions options = {});
    std::function<void()> GotFocus, LostFocus;
    std::optional<LRESULT> OnCommand(int code) override;

  protected:
    UINT AddMsg() const override { return LB_ADDSTRING; }
    UINT InsertMsg() const override { return LB_INSERTSTRING; }
    UINT DeleteMsg() const override { return LB_DELETESTRING; }
    UINT ResetMsg() const override { return LB_RESETCONTENT; }
    UINT SetSelMsg() const override { return LB_SETCURSEL; }
    UINT GetSelMsg() const override { return LB_GETCURSEL; }
    UINT InitStorageMsg() const override { return LB_INITSTORAGE; }
};

struct ComboBoxOptions {
    bool dropDownList = false;  // the text can only be one of the items
};

class ComboBox : public ListControl {
  public:
    using ListControl::ListControl;
    void Create(Bounds bounds, ComboBoxOptions options = {});
    // The item last chosen in the list or set from code; typing into the edit field leaves it.
    int ListIndex() const override;
    // Raises Click only when the index changes.
    void SetListIndex(int index) override;
    std::function<void()> Change;
    std::function<void()> GotFocus;
    // A character typed into the edit field (Enter and Esc too); 0 swallows it.
    std::function<void(int& keyAscii)> KeyPress;
    std::optional<LRESULT> OnCommand(int code) override;
    void OnKeyPress(int& keyAscii) override;

  protected:
    // The height given is the closed box's; the drop-down gets room for about ten items.
    int WindowHeight() const override { return Height() + 10 * 195; }
    UINT AddMsg() const override { return CB_ADDSTRING; }
    UINT InsertMsg() const override { return CB_INSERTSTRING; }
    UINT DeleteMsg() const override { return CB_DELETESTRING; }
    UINT ResetMsg() const override { return CB_RESETCONTENT; }
    UINT SetSelMsg() const override { return CB_SETCURSEL; }
    UINT GetSelMsg() const override { return CB_GETCURSEL; }
    UINT InitStorageMsg() const override { return CB_INITSTORAGE; }
};

struct PictureBoxOptions {
    bool border = false;  // a sunken edge around the box
};

// A picture box: shows a bitmap or an icon it owns over its back colour; Click, DblClick and the
// mouse. It can also keep an image of its own (AutoRedraw): a bitmap of the box's size in a memory
// drawing context, which holds the picture over the back colour and whatever is drawn into it, is
// what the box shows, and lives while the form is unloaded.
class PictureBox : public Control {
  public:
    using Control::Control;
    void Create(Bounds bounds, PictureBoxOptions options = {});
    // Takes ownership of the bitmap (nullptr clears the picture) and repaints. A kept image starts
    // again from the back colour and the new picture.
    void SetPicture(HBITMAP bitmap);
    HBITMAP Picture() const { return picture_.get(); }
    // An icon picture: takes ownership of the icon (nullptr clears the picture), drawn at its own
    // size from the top left, as SetPicture otherwise.
    void SetIcon(HICON icon);
    HICON Icon() const { return icon_.get(); }
    // Whether the box holds a picture of either kind.
    bool HasPicture() const { return picture_ || icon_; }
    // The box takes a copy of the other box's picture, bitmap or icon (none when it has none).
    void SetPictureFrom(const PictureBox& source);
    // A copy of the picture the caller owns.
    HBITMAP CopyPicture() const;
    void Refresh();

    // ---- the kept image (AutoRedraw)
    // The drawing context of the kept image, made on first use at the box's size in pixels with the
    // screen's colour depth, holding the back colour and the picture. Drawing into it shows after
    // Refresh. The box owns it.
    HDC hDC();
    // The kept image's bitmap, selected into hDC(); nullptr until hDC() made it.
    HBITMAP Image() const { return image_.get(); }
    // Clears the kept image to the back colour and the picture.
    void Cls();
    // The colour of a pixel of the kept image (x, y in pixels), CLR_INVALID outside it.
    COLORREF Point(int x, int y);
    // Paints a picture into the kept image, stretched into the box (x, y, width, height in pixels):
    // every source pixel becomes a block. An icon draws through its mask; a bitmap is copied.
    void PaintPicture(HICON icon, int x, int y, int width, int height);
    void PaintPicture(HBITMAP bitmap, int x, int y, int width, int height);

    std::function<void()> Click;
    std::function<void()> DblClick;
    // Button 1 left, 2 right, 4 middle (on a move: the buttons held); shift 1 Shift, 2 Ctrl, 4 Alt;
    // x and y in twips in the box. A button pressed on the box holds the mouse until it is released.
    std::function<void(int button, int shift, float x, float y)> MouseDown, MouseMove, MouseUp;
    // The pointer over the box: Default, SizeWE or Custom (MouseIcon()). The screen pointer goes
    // first.
    PointerShape MousePointer() const { return mousePointer_; }
    void SetMousePointer(PointerShape pointer) { mousePointer_ = pointer; }
    // The custom pointer of PointerShape::Custom; not owned (a shared cursor, LoadCursor or LR_SHARED).
    HCURSOR MouseIcon() const { return mouseIcon_; }
    void SetMouseIcon(HCURSOR cursor) { mouseIcon_ = cursor; }
    // The cursor the box shows over its inside, nullptr for the window class's own.
    HCURSOR PointerCursor() const;
    // Paints the picture box (its window class calls it).
    void Paint(HDC dc, const RECT& client);
    // Mouse input from the window class: raises DblClick; the release that follows is no Click.
    void RaiseDblClick();
    bool TakeClickAfterDoubleClick() { return std::exchange(afterDoubleClick_, false); }

  private:
    // Fills `dc` (width x height pixels) with the back colour and draws the picture on it.
    void DrawBackground(HDC dc, int width, int height) const;
    void PictureChanged();

    UniqueBitmap picture_;
    UniqueIcon icon_;
    PointerShape mousePointer_ = PointerShape::Default;
    HCURSOR mouseIcon_ = nullptr;
    bool afterDoubleClick_ = false;
    // The kept image, selected into its context; the context goes first.
    UniqueBitmap image_;
    UniqueMemDC imageDC_;
    int imageWidth_ = 0, imageHeight_ = 0;
};

// A timer of the form: Interval in milliseconds, 0 means off.
class Timer : public Control {
  public:
    using Control::Control;
    int Interval() const { return interval_; }
    void SetInterval(int ms);
    bool TimerEnabled() const { return on_; }
    void SetTimerEnabled(bool on);
    std::function<void()> Tick;
    // The form's WM_TIMER for this id.
    void Fire();
    void Destroyed() override;
    // Starts the system timer once the form's window exists.
    void Apply();

  private:
    int interval_ = 0;
    bool on_ = false;
    bool running_ = false;
};

// The window class of picture boxes.
inline constexpr const char* kPictureClass = "OrnavalePicture";
