// The form base: window creation, Load/Show/Hide/Unload, modal loops and message routing.
#include "ui/Form.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>

#include "ui/App.h"
#include "ui/Control.h"
#include "ui/Unique.h"
#include "ui/Units.h"

namespace {

DWORD StyleFor(const FormSpec& s) {
    DWORD style = WS_CLIPCHILDREN;
    switch (s.border) {
        case BorderStyle::None:
            style |= WS_POPUP;
            break;
        case BorderStyle::FixedSingle:
            style |= WS_CAPTION | WS_BORDER;
            break;
        case BorderStyle::Sizable:
        case BorderStyle::SizableToolWindow:
            style |= WS_CAPTION | WS_THICKFRAME;
            break;
        case BorderStyle::FixedDialog:
        case BorderStyle::FixedToolWindow:
            style |= WS_CAPTION | WS_DLGFRAME;
            break;
    }
    if (s.border != BorderStyle::None && s.controlBox) style |= WS_SYSMENU;
    if (s.minButton) style |= WS_MINIMIZEBOX;
    if (s.maxButton) style |= WS_MAXIMIZEBOX;
    return style;
}

DWORD ExStyleFor(const FormSpec& s) {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (s.border == BorderStyle::FixedDialog) ex |= WS_EX_DLGMODALFRAME;
    if (s.border == BorderStyle::FixedToolWindow || s.border == BorderStyle::SizableToolWindow)
        ex |= WS_EX_TOOLWINDOW;
    if (s.showInTaskbar) ex |= WS_EX_APPWINDOW;
    if (s.topmost) ex |= WS_EX_TOPMOST;
    return ex;
}

// Whether the keyboard can go to a window of the form: it is shown and enabled, and so is every
// window between it and the form.
bool TakesKeyboard(HWND form, HWND window) {
    if (!window || window == form || !IsChild(form, window) || !IsWindowVisible(window)) return false;
    for (HWND w = window; w && w != form; w = GetParent(w))
        if (!IsWindowEnabled(w)) return false;
    return true;
}

// Gives a control the keyboard as Tab does: a text field's text selected.
void FocusAsTab(HWND window) {
    SetFocus(window);
    if (SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(window, EM_SETSEL, 0, -1);
}

}  // namespace

LRESULT CALLBACK FormWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Form* form = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        form = static_cast<Form*>(cs->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->hwnd_ = hwnd;
    } else {
        form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!form) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        form->Destroyed();
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    try {
        return form->HandleMessage(msg, wParam, lParam);
    } catch (const std::exception& e) {
        ReportException(form->Name().c_str(), e);
    } catch (...) {
        ReportUnknownException(form->Name().c_str());
    }
    return 0;
}

HFONT CreateSansFont(int points, int weight) {
    WindowDC screen(nullptr);
    int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       "MS Sans Serif");
}

void DrawEtchedLine(HDC dc, int y, int width) {
    const RECT shadow{0, y, width, y + 1}, light{0, y + 1, width, y + 2};
    FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
    FillRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

POINT PlaceOnAScreen(const RECT& window) {
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const RECT strip{window.left, window.top, window.right, window.top + caption};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromRect(&strip, MONITOR_DEFAULTTONEAREST), &info)) return {window.left, window.top};
    const RECT& work = info.rcWork;
    const long width = window.right - window.left, height = window.bottom - window.top;
    RECT shown{};
    IntersectRect(&shown, &strip, &work);
    if (shown.bottom - shown.top >= caption / 2 && shown.right - shown.left >= std::min(width / 2, 100L))
        return {window.left, window.top};
    // Centred, but never with its caption or its left edge beyond the work area's.
    return {std::max(work.left, work.left + (work.right - work.left - width) / 2),
            std::max(work.top, work.top + (work.bottom - work.top - height) / 2)};
}

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
    // Normally every form is unloaded before the program ends; make sure no message reaches a
    // half-destroyed object if one is not.
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Form::Register(Control* control) {
    if (!byId_.emplace(control->id(), control).second) {
        clashingIds_.push_back(control->id());
        return false;
    }
    controls_.push_back(control);
    return true;
}

Control* Form::ControlById(int id) const {
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
}

Control* Form::ControlByWindow(HWND window) const {
    for (Control* c : controls_)
        if (c->OwnsWindow(window)) return c;
    return nullptr;
}

void Form::RunMenuCommand(int id) {
    if (menu_.CanRun(id)) OnMenuCommand(id);
}

void Form::PopupMenu(int menuId, int x, int y, int defaultId) {
    if (!hwnd_) return;
    const MenuItem* item = menu_.Find(menuId);
    if (!item || !item->enabled) return;
    UniqueMenu popup(menu_.BuildPopup(menuId));
    if (!popup) return;
    if (defaultId) SetMenuDefaultItem(popup.get(), static_cast<UINT>(defaultId), FALSE);
    POINT pt{};
    if (x == kAtPointer || y == kAtPointer) {
        GetCursorPos(&pt);
    } else {
        pt = {TwipsToPxX(x), TwipsToPxY(y)};
        ClientToScreen(hwnd_, &pt);
    }
    int chosen = TrackPopup(popup.get(), pt.x, pt.y, hwnd_);
    popup.reset();
    // The menu runs its own loop; the form may have been unloaded meanwhile.
    if (chosen && hwnd_) RunMenuCommand(chosen);
}

void Form::Load() {
    if (hwnd_) return;
    // Messages of the refused control would reach the other one.
    if (!clashingIds_.empty())
        throw std::logic_error(name_ + ": control id " + std::to_string(clashingIds_.front()) + " is used twice");
    FormSpec spec = Spec();
    int w = TwipsToPxX(spec.width);
    int h = TwipsToPxY(spec.height);
    int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (!font_) font_ = CreateSansFont(8, FW_NORMAL);
    CreateWindowExA(ExStyleFor(spec), kFormClass, spec.caption.c_str(), StyleFor(spec), x, y, w, h, nullptr,
                    nullptr, AppInstance(), this);
    if (!hwnd_) return;
    RegisterLoadedForm(this);
    menu_.Attach(hwnd_);
    CreateControls();
    BindEvents();
    Form_Load();
}

void Form::Show() {
    Load();
    if (!hwnd_) return;
    if (!IsWindowVisible(hwnd_)) {
        focusFirst_ = true;
        FormWindowState state = std::exchange(pendingState_, FormWindowState::Normal);
        ShowWindow(hwnd_, state == FormWindowState::Maximized   ? SW_SHOWMAXIMIZED
                          : state == FormWindowState::Minimized ? SW_SHOWMINIMIZED
                                                                : SW_SHOW);
        UpdateWindow(hwnd_);
    }
    SetForegroundWindow(hwnd_);
    // A window already active while it was hidden hears of no activation when it shows.
    HWND focus = GetFocus();
    if (focusFirst_ && GetActiveWindow() == hwnd_ && !(focus && IsChild(hwnd_, focus))) FocusFirstControl();
}

void Form::FocusFirstControl() {
    focusFirst_ = false;
    HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (TakesKeyboard(hwnd_, first)) FocusAsTab(first);
}

void Form::ShowModal() {
    Load();
    if (!hwnd_ || modal_) return;
    // Every other window of the program waits while this one is open.
    disabledByModal_.clear();
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            auto* self = reinterpret_cast<Form*>(lp);
            try {
                if (w != self->hwnd_ && IsWindowEnabled(w) && IsWindowVisible(w)) {
                    self->disabledByModal_.push_back(w);
                }
                return TRUE;
            } catch (...) {
                return FALSE;  // out of memory: the windows listed so far wait
            }
        },
        reinterpret_cast<LPARAM>(this));
    for (HWND w : disabledByModal_) EnableWindow(w, FALSE);
    modal_ = true;
    Show();

    MSG msg;
    while (hwnd_ && IsWindowVisible(hwnd_)) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (::PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ReleaseModal();
}

void Form::ReleaseModal() {
    if (!modal_) return;
    modal_ = false;
    // Enabled again before the modal window goes, or Windows activates another program.
    for (HWND w : disabledByModal_)
        if (IsWindow(w)) EnableWindow(w, TRUE);
    disabledByModal_.clear();
}

void Form::Hide() {
    if (!hwnd_) return;
    ReleaseModal();
    ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Unload(UnloadMode mode) {
    if (!hwnd_) return true;
    ++unloadDepth_;
    bool cancel = false;
    Form_QueryUnload(cancel, mode);
    // The handler may have unloaded the form itself.
    if (!cancel && hwnd_) Form_Unload(cancel);
    --unloadDepth_;
    if (cancel || !hwnd_) return !hwnd_;
    ReleaseModal();
    DestroyWindow(hwnd_);
    return true;
}

HWND Form::ToolTipWindow(bool create) {
    if (!hwnd_) return nullptr;
    if (!toolTips_ && create) {
        // Owned by the form, so that it is destroyed with it; shown over inactive windows too.
        toolTips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                    AppInstance(), nullptr);
    }
    return toolTips_;
}

void Form::Destroyed() {
    toolTips_ = nullptr;
    for (Control* c : controls_) c->Destroyed();
    menu_.Detach();
    hwnd_ = nullptr;
    focusKept_ = focusBeforeInput_ = focusLentTo_ = nullptr;
    focusLender_ = nullptr;
    focusFirst_ = false;
    UnregisterLoadedForm(this);
}

bool Form::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

namespace {
RECT WindowRectOf(HWND hwnd) {
    RECT r{};
    if (hwnd) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        if (IsIconic(hwnd) || IsZoomed(hwnd)) {
            GetWindowPlacement(hwnd, &wp);
            r = wp.rcNormalPosition;
        } else {
            GetWindowRect(hwnd, &r);
        }
    }
    return r;
}
}  // namespace

int Form::Left() const { return PxToTwipsX(WindowRectOf(hwnd_).left); }
int Form::Top() const { return PxToTwipsY(WindowRectOf(hwnd_).top); }
int Form::Width() const {
    RECT r = WindowRectOf(hwnd_);
    return hwnd_ ? PxToTwipsX(r.right - r.left) : Spec().width;
}
int Form::Height() const {
    RECT r = WindowRectOf(hwnd_);
    return hwnd_ ? PxToTwipsY(r.bottom - r.top) : Spec().height;
}

void Form::Move(int left, int top, int width, int height) {
    if (!hwnd_) return;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (width < 0 || height < 0) flags |= SWP_NOSIZE;
    SetWindowPos(hwnd_, nullptr, TwipsToPxX(left), TwipsToPxY(top), TwipsToPxX(std::max(width, 0)),
                 TwipsToPxY(std::max(height, 0)), flags);
}

void Form::MoveToStoredPlace(std::optional<int> left, std::optional<int> top, int width, int height) {
    if (!hwnd_) return;
    const int w = TwipsToPxX(width < 0 ? Width() : width), h = TwipsToPxY(height < 0 ? Height() : height);
    const int x = left ? TwipsToPxX(*left) : (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = top ? TwipsToPxY(*top) : (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    const POINT place = PlaceOnAScreen({x, y, x + w, y + h});
    SetWindowPos(hwnd_, nullptr, place.x, place.y, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE | (width < 0 || height < 0 ? SWP_NOSIZE : 0));
}

int Form::ScaleWidth() const {
    RECT r{};
    if (hwnd_) GetClientRect(hwnd_, &r);
    return PxToTwipsX(r.right);
}
int Form::ScaleHeight() const {
    RECT r{};
    if (hwnd_) GetClientRect(hwnd_, &r);
    return PxToTwipsY(r.bottom);
}

FormWindowState Form::WindowState() const {
    if (!hwnd_) return FormWindowState::Normal;
    if (!IsWindowVisible(hwnd_)) return pendingState_;
    if (IsIconic(hwnd_)) return FormWindowState::Minimized;
    if (IsZoomed(hwnd_)) return FormWindowState::Maximized;
    return FormWindowState::Normal;
}

void Form::SetWindowState(FormWindowState state) {
    if (!hwnd_) return;
    if (!IsWindowVisible(hwnd_)) {  // applies when the window is shown
        pendingState_ = state;
        return;
    }
    ShowWindow(hwnd_, state == FormWindowState::Minimized   ? SW_MINIMIZE
                      : state == FormWindowState::Maximized ? SW_MAXIMIZE
                                                            : SW_RESTORE);
}

std::string Form::Caption() const {
    if (!hwnd_) return Spec().caption;
    char buffer[512] = {};
    GetWindowTextA(hwnd_, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

void Form::SetCaption(const std::string& caption) {
    if (hwnd_) SetWindowTextA(hwnd_, caption.c_str());
}

void Form::ZOrderTop() {
    if (hwnd_) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

namespace {

int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace

bool Form::RaiseKeyPress(HWND target, int& keyAscii) {
    if (Spec().keyPreview) {
        Form_KeyPress(keyAscii);
        if (keyAscii == 0) return true;
    }
    // A combo box's edit field is a child of the box.
    Control* c = ControlByWindow(target);
    if (!c && target && target != hwnd_) c = ControlByWindow(GetParent(target));
    if (c) c->OnKeyPress(keyAscii);
    return keyAscii == 0;
}

bool Form::PreviewKey(MSG& msg) {
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    const bool preview = Spec().keyPreview;
    if (msg.message == WM_KEYDOWN) {
        int key = static_cast<int>(msg.wParam);
        if (preview) {
            Form_KeyDown(key, ShiftState());
            if (key == 0) return true;
        }
        // The dialog manager turns Enter and Esc into the default and cancel buttons, and no
        // character follows, unless the control asks for them itself: they are typed here.
        if ((key == VK_RETURN || key == VK_ESCAPE) && (ShiftState() & 6) == 0) {
            auto wants = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
            if (!(wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))) {
                int ascii = key == VK_RETURN ? 13 : 27;
                if (RaiseKeyPress(msg.hwnd, ascii)) return true;
            }
        }
        return false;
    }
    if (msg.message == WM_CHAR) {
        int ascii = static_cast<int>(msg.wParam);
        if (RaiseKeyPress(msg.hwnd, ascii)) return true;
        msg.wParam = static_cast<WPARAM>(ascii);
        return false;
    }
    if (msg.message == WM_KEYUP && preview) {
        int key = static_cast<int>(msg.wParam);
        Form_KeyUp(key, ShiftState());
        return key == 0;
    }
    return false;
}

void Form::PassFocusOn(Control& from) {
    HWND self = from.hwnd();
    auto isOther = [&](HWND w) { return TakesKeyboard(hwnd_, w) && w != self && !IsChild(self, w); };
    HWND to = focusBeforeInput_;
    if (!isOther(to)) to = GetNextDlgTabItem(hwnd_, self, FALSE);
    if (isOther(to)) {
        FocusAsTab(to);
    } else {
        // A disabled window loses the keyboard to nobody, and keys would reach no form: the frame
        // holds it meanwhile, so that the key preview still sees Esc.
        SetFocus(hwnd_);
    }
    focusLender_ = &from;
    focusLentTo_ = GetFocus();
}

void Form::KeepFocus() {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) focusKept_ = focus;
}

void Form::TakeFocusBack(Control& to) {
    if (focusLender_ != &to) return;
    focusLender_ = nullptr;
    if (focusLentTo_ && GetFocus() == focusLentTo_ && TakesKeyboard(hwnd_, to.hwnd())) ::SetFocus(to.hwnd());
}

bool Form::PreTranslate(MSG& msg) {
    if (!hwnd_) return false;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN || msg.message == WM_LBUTTONDOWN ||
        msg.message == WM_RBUTTONDOWN) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focusBeforeInput_ = focus;
        // The keyboard is the user's where it is now; Esc only stops the work that holds it there.
        if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE) focusLender_ = nullptr;
    }
    if (HACCEL acc = Accelerators()) {
        if (TranslateAcceleratorA(hwnd_, acc, &msg)) return true;
    }
    if (PreviewKey(msg)) return true;
    if (hwnd_ && (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_KEYUP)) {
        Control* c = ControlByWindow(msg.hwnd);
        if (c && c->OnInput(msg)) return true;
    }
    // The handlers may have unloaded the form.
    return hwnd_ && IsDialogMessageA(hwnd_, &msg) != FALSE;
}

void (*gSessionEndHook)(SessionEvent) = nullptr;

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (auto handled = OnMessage(msg, wParam, lParam)) return *handled;
    switch (msg) {
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            if (lParam) {
                HWND from = reinterpret_cast<HWND>(lParam);
                Control* c = ControlById(id);
                if (c && c->OwnsWindow(from)) {
                    if (auto r = c->OnCommand(HIWORD(wParam))) return *r;
                } else if (Control* owner = ControlByWindow(from)) {
                    // A tool button's command carries the button's id, not the tool bar's.
                    if (auto r = owner->OnItemCommand(id, HIWORD(wParam))) return *r;
                } else if (c) {
                    if (auto r = c->OnCommand(HIWORD(wParam))) return *r;
                }
                return 0;
            }
            // Enter and Esc through IsDialogMessage reach the default and cancel buttons.
            if (id == IDOK || id == IDCANCEL) {
                int target = id == IDOK ? DefaultButtonId() : CancelButtonId();
                if (Control* c = target ? ControlById(target) : nullptr) {
                    if (c->Enabled() && c->Visible()) c->OnCommand(BN_CLICKED);
                }
                return 0;
            }
            // Menus and accelerators: accelerators reach hidden and disabled items too.
            RunMenuCommand(id);
            return 0;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            Control* c = ControlById(static_cast<int>(header->idFrom));
            // Tool tips notify with the tool's id (a tool button's command id), not the control's.
            if (!c || !c->OwnsWindow(header->hwndFrom)) c = ControlByWindow(header->hwndFrom);
            if (c)
                if (auto r = c->OnNotify(header)) return *r;
            break;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            // A control's scroll (a slider) comes with its window; the form's own bars have none.
            if (Control* c = lParam ? ControlByWindow(reinterpret_cast<HWND>(lParam)) : nullptr)
                if (auto r = c->OnScroll(LOWORD(wParam))) return *r;
            break;
        case kControlEventMessage:
            if (Control* c = ControlById(static_cast<int>(wParam))) c->OnPostedEvent(lParam);
            return 0;
        case WM_INITMENUPOPUP:
            if (!HIWORD(lParam) && menu_.OnInitMenuPopup(reinterpret_cast<HMENU>(wParam))) return 0;
            break;
        case WM_TIMER:
            if (auto* t = dynamic_cast<Timer*>(ControlById(static_cast<int>(wParam)))) {
                t->Fire();
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX: {
            HWND child = reinterpret_cast<HWND>(lParam);
            if (Control* c = ControlById(GetDlgCtrlID(child)))
                if (auto r = c->OnCtlColor(reinterpret_cast<HDC>(wParam))) return *r;
            break;
        }
        case DM_GETDEFID:
            if (int id = DefaultButtonId()) return MAKELRESULT(id, DC_HASDEFID);
            return 0;
        case WM_SETCURSOR:
            if (HCURSOR cursor = ScreenCursor()) {
                SetCursor(cursor);
                return TRUE;
            }
            break;
        case WM_SIZE:
            // Bars aligned to an edge first, so that Form_Resize sees their new sizes.
            for (Control* c : controls_) c->OnParentResize();
            Form_Resize();
            return 0;
        case WM_CANCELMODE:
            // Disabling the window (a modal window, a message box or a common dialog opens) takes the
            // keyboard from its control before the window is left.
            KeepFocus();
            break;
        case WM_ACTIVATE: {
            if (LOWORD(wParam) == WA_INACTIVE) {
                KeepFocus();
                break;
            }
            // The default gives the keyboard to the frame itself. Then the control that had it when
            // the window was left takes it back, or, once shown, the first control in tab order;
            // the form's handler comes last, so that a control it gives the focus keeps it.
            // An activation that comes after a press on one of its controls (under Wine the X
            // server's word can come late) leaves the keyboard to that control: moved away while the
            // button is down, the control would lose the click.
            HWND focus = GetFocus();
            const bool pressed = (GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0) && focus &&
                                 IsChild(hwnd_, focus);
            if (pressed) focusFirst_ = false;
            if (!pressed) DefWindowProcA(hwnd_, msg, wParam, lParam);
            HWND kept = std::exchange(focusKept_, nullptr);
            if (!HIWORD(wParam) && !pressed) {
                if (focusFirst_) {
                    FocusFirstControl();
                } else if (TakesKeyboard(hwnd_, kept)) {
                    SetFocus(kept);
                }
            }
            Form_Activate();
            return 0;
        }
        case WM_PAINT: {
            PaintScope paint(hwnd_);
            OnPaint(paint.dc());
            return 0;
        }
        case WM_CLOSE:
            Unload(UnloadMode::FormControlMenu);
            return 0;
        case WM_DESTROY:
            for (Control* c : controls_) c->SaveState();
            break;
        case WM_QUERYENDSESSION:
            // The session may still go on: nothing unloads before it really ends.
            if (gSessionEndHook) gSessionEndHook(SessionEvent::Query);
            return TRUE;
        case WM_ENDSESSION:
            // Also when Windows ends the session without asking first.
            if (gSessionEndHook) gSessionEndHook(wParam ? SessionEvent::End : SessionEvent::Cancelled);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}
