// A form: one program-wide window with its controls, loaded on demand, hidden or unloaded,
// whose members (and so its state) survive Unload.
//
// How to make a window (src/browsing/FrmScan.h and .cpp are the model; copy them into the folder
// of the subsystem the window belongs to):
//   1. The header: class FrmName : public Form; its ids as one enum `ControlId` from `kIdBase`, a
//      hundred of its own (no other form's, never below 1000): controls from kIdBase + 1, menu
//      items from kIdBase + kMenuIdOffset (ui/Menu.h); the controls as members made with those ids;
//      the handlers named after their control and event (cmdStart_Click); what other windows hand
//      it as a typed request to a public procedure (FrmChange's ChangeRequest), never as Tag
//      strings, and its working state private with read-only accessors; `extern FrmName frmName;`.
//   2. Spec(): FixedDialogSpec(caption, client width, client height[, border]), then whatever
//      else differs (topmost, a minimise button); a FormSpec filled in only for a sizable or
//      borderless window.
//   3. CreateControls(): the menus first, Menus().Define() with the helpers of namespace `menus`
//      (ui/Menu.h); then each control's Create with its design geometry in twips.
//   4. BindEvents(): every control event of the form bound to its handler, in one block.
//   5. Form_Load(): reset what starts fresh, fit the client area, and end with
//      MoveToStoredPosition(*this, windowpos::Name); Form_Unload() stores it with
//      SaveWindowPosition(*this, windowpos::Name) (core/Settings.h). Form_QueryUnload only asks
//      whether the window may close.
//   6. The handlers, and OnMenuCommand over a command table (ui/Dispatch.h) if the form has menus.
//      A command that keeps the user waiting holds an Hourglass (ui/App.h) for its scope; tab
//      pages are shown with ShowTabPage and switched with SwitchTabPage (ui/TabStrip.h); the
//      etched line under a window's bars is DrawEtchedLine.
//   7. The global `FrmName frmName;` in the .cpp, and the .cpp added to its subsystem's library
//      in CMakeLists.txt.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ui/Menu.h"
#include "ui/Win.h"

class Control;

enum class UnloadMode { FormControlMenu = 0, FormCode = 1, AppWindows = 2, AppTaskManager = 3 };

// The state of a form's window, with the numbers VB gives them (a stored setting keeps the number).
enum class FormWindowState { Normal = 0, Minimized = 1, Maximized = 2 };

enum class BorderStyle { None, FixedSingle, Sizable, FixedDialog, FixedToolWindow, SizableToolWindow };

// What a form looks like before its Form_Load runs. Sizes are the outer window in twips.
struct FormSpec {
    std::string caption;
    BorderStyle border = BorderStyle::FixedDialog;
    int width = 4800;
    int height = 3600;
    bool controlBox = true;
    bool minButton = false;
    bool maxButton = false;
    bool showInTaskbar = false;
    bool topmost = false;
    bool keyPreview = false;  // Form_KeyDown, Form_KeyPress and Form_KeyUp see keys before the focused control
};

// A window of fixed size with a client area of clientWidth x clientHeight twips and room for a usual
// frame: a fixed dialog, or a fixed single frame for a tool window with a menu bar. The caller sets
// what else differs (topmost, a minimise button, a task bar button).
// The room FixedDialogSpec gives the frame, in twips: a window designed by its outer size passes
// that size less this room.
inline constexpr int kFrameRoomWidth = 120;
inline constexpr int kFrameRoomHeight = 480;
inline FormSpec FixedDialogSpec(std::string caption, int clientWidth, int clientHeight,
                                BorderStyle border = BorderStyle::FixedDialog) {
    FormSpec s;
    s.caption = std::move(caption);
    s.border = border;
    s.width = clientWidth + kFrameRoomWidth;
    s.height = clientHeight + kFrameRoomHeight;
    return s;
}

class Form {
  public:
    explicit Form(std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }
    HWND hwnd() const { return hwnd_; }
    bool IsLoaded() const { return hwnd_ != nullptr; }

    // Creates the window and its controls (hidden), then raises Form_Load. No-op when loaded.
    // Throws std::logic_error, before any window is made, when two controls share an id.
    void Load();
    // Loads if needed and shows the window modeless.
    void Show();
    // Loads if needed, shows the window and returns only when it is hidden or unloaded; every
    // other window of the program is disabled meanwhile.
    void ShowModal();
    void Hide();
    // Raises Form_QueryUnload and Form_Unload (either may cancel), then destroys the window.
    // Answers false when cancelled. Unloading a form that is not loaded does nothing.
    bool Unload(UnloadMode mode = UnloadMode::FormCode);
    bool Visible() const;
    bool IsModal() const { return modal_; }

    // Outer geometry in twips, in screen coordinates.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top, int width = -1, int height = -1);
    // Moves the window to a stored place in twips, at the given size or, without one, at its own. A
    // missing coordinate centres the window on the screen that way; a place that leaves too little
    // of its caption on a screen brings it onto the nearest one (PlaceOnAScreen).
    void MoveToStoredPlace(std::optional<int> left, std::optional<int> top, int width = -1, int height = -1);
    // Client area in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;
    FormWindowState WindowState() const;
    void SetWindowState(FormWindowState state);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    void ZOrderTop();
    HFONT Font() const { return font_; }
    // The window that shows the controls' tool tips, made on first need (create) while the form is
    // loaded; it goes with the form's window. nullptr when there is none.
    HWND ToolTipWindow(bool create);

    std::string Tag;

    // The menu bar and the popup-only menus (hidden top-level items). An empty model: no bar.
    MenuModel& Menus() { return menu_; }
    // Shows the submenu of a menu item as a popup at a point of the client area in twips (at the
    // mouse pointer by default) and runs the chosen command before it returns. defaultId is shown
    // in bold. A missing or disabled menu shows nothing.
    static constexpr int kAtPointer = -0x7FFFFFFF;
    void PopupMenu(int menuId, int x = kAtPointer, int y = kAtPointer, int defaultId = 0);

    // Used by Control: controls register themselves with the form that holds them. A second
    // control with an id already taken is refused (false) and the earlier one kept; the form then
    // refuses to load (see Load).
    bool Register(Control* control);
    // The window procedure's work, also reachable from tests.
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Keyboard hook of the message loops; answers true when the key was handled.
    bool PreTranslate(MSG& msg);
    // Used by Control: the control, which has the keyboard, is about to be disabled or hidden. The
    // keyboard goes to the control that had it before the last key or click, else to the next one
    // in tab order, else to the frame; the control takes it back when it is enabled or shown again
    // while the keyboard is still there and nothing but Esc was typed or clicked meanwhile.
    void PassFocusOn(Control& from);
    void TakeFocusBack(Control& to);

  protected:
    virtual FormSpec Spec() const = 0;
    virtual void CreateControls() = 0;
    virtual void BindEvents() {}
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(bool& /*cancel*/, UnloadMode /*mode*/) {}
    virtual void Form_Unload(bool& /*cancel*/) {}
    // keyCode is a virtual key; set it to 0 to swallow the key (with FormSpec::keyPreview).
    virtual void Form_KeyDown(int& /*keyCode*/, int /*shift*/) {}
    // A character typed (Enter 13, Esc 27 too); set keyAscii to 0 to swallow it, or change it.
    virtual void Form_KeyPress(int& /*keyAscii*/) {}
    virtual void Form_KeyUp(int& /*keyCode*/, int /*shift*/) {}
    virtual bool OnMenuCommand(int /*id*/) { return false; }
    virtual int DefaultButtonId() const { return 0; }
    virtual int CancelButtonId() const { return 0; }
    virtual HACCEL Accelerators() const { return nullptr; }
    // Any other message, before the form's own handling; answer a value to consume it.
    virtual std::optional<LRESULT> OnMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
        return std::nullopt;
    }
    // Paints the form's own background picture, if any.
    virtual void OnPaint(HDC /*dc*/) {}

  private:
    friend LRESULT CALLBACK FormWndProc(HWND, UINT, WPARAM, LPARAM);
    void Destroyed();
    void ReleaseModal();
    Control* ControlById(int id) const;
    Control* ControlByWindow(HWND window) const;
    // A menu, accelerator or popup command: runs unless the menu model hides or disables it.
    void RunMenuCommand(int id);
    // The key preview and the controls' KeyPress; answers true when the key is swallowed.
    bool PreviewKey(MSG& msg);
    // Raises KeyPress on the form (with key preview) and then on the control typed into.
    bool RaiseKeyPress(HWND target, int& keyAscii);
    // Notes the control that has the keyboard, to give it back when the window is active again.
    void KeepFocus();
    // The window is shown: the first control in tab order that takes the keyboard gets it.
    void FocusFirstControl();

    std::string name_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    HWND toolTips_ = nullptr;
    std::vector<Control*> controls_;
    std::unordered_map<int, Control*> byId_;
    std::vector<int> clashingIds_;  // ids that a second control asked for
    bool modal_ = false;
    std::vector<HWND> disabledByModal_;
    int unloadDepth_ = 0;
    FormWindowState pendingState_ = FormWindowState::Normal;
    MenuModel menu_;
    // The keyboard: the window that had it when the form was left (given back when it is active
    // again); the first control takes it at the activation after Show; the window that had it
    // before the last key or click; the control that passed it on and where it went.
    HWND focusKept_ = nullptr;
    bool focusFirst_ = false;
    HWND focusBeforeInput_ = nullptr;
    Control* focusLender_ = nullptr;
    HWND focusLentTo_ = nullptr;
};

// What a window hears of the end of a Windows session: the question whether it may end, its end,
// or that it goes on after all (the question was answered but another program refused).
enum class SessionEvent { Query, End, Cancelled };
// Called by any window that hears of the end of a Windows session.
extern void (*gSessionEndHook)(SessionEvent event);

// "MS Sans Serif" at the given size in points, the forms' font; the caller owns it.
HFONT CreateSansFont(int points, int weight);

// The etched line under a window's bars: a shadow line at y (pixels of the client area) and a light
// one below it, across the width.
void DrawEtchedLine(HDC dc, int y, int width);

// Where a window with this outer rectangle in pixels can be seen and dragged: its own place when
// half its caption's height and half its width (100 px of a wider one) lie in a screen's work area,
// else centred on the work area of the screen nearest to it. A place stored while another screen
// layout was in use may show nothing of the window, and a modal window nobody can see holds the
// program.
POINT PlaceOnAScreen(const RECT& window);

// The window class every form uses.
inline constexpr const char* kFormClass = "OrnavaleForm";
// The message that carries a control's posted event: wParam the control id, lParam its data.
inline constexpr UINT kControlEventMessage = WM_APP + 0x3FF0;
