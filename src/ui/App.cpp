// Message loop, DoEvents, the screen pointer, message boxes and the registry of loaded forms.
#include "ui/App.h"

#include <algorithm>
#include <vector>

#include "ui/Control.h"
#include "ui/Form.h"

LRESULT CALLBACK FormWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PictureWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {

HINSTANCE gInstance = nullptr;
PointerShape gPointer = PointerShape::Default;
int gDoEventsDepth = 0;
ExceptionHandler gExceptionHandler = nullptr;
std::vector<Form*> gLoadedForms;

int SystemMsgBox(const std::string& text, UINT style, const std::string& title) {
    return MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), style | MB_TASKMODAL);
}

}  // namespace

MsgBoxHook gMsgBoxHook = nullptr;
bool gEndWhenNoForms = true;

void InitApp(HINSTANCE instance) {
    gInstance = instance;
    // Drag and drop needs OLE on the thread that owns the windows.
    static const HRESULT ole = OleInitialize(nullptr);
    (void)ole;
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES;
    InitCommonControlsEx(&icc);

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FormWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    wc.lpszClassName = kFormClass;
    RegisterClassExA(&wc);

    WNDCLASSEXA pc{};
    pc.cbSize = sizeof pc;
    pc.style = CS_DBLCLKS;
    pc.lpfnWndProc = PictureWndProc;
    pc.hInstance = instance;
    pc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    pc.hbrBackground = nullptr;
    pc.lpszClassName = kPictureClass;
    RegisterClassExA(&pc);
}

void EndApp() { OleUninitialize(); }

HINSTANCE AppInstance() { return gInstance ? gInstance : GetModuleHandleA(nullptr); }

bool PreTranslate(MSG& msg) {
    Form* form = FormFromWindow(msg.hwnd);
    if (!form) form = FormFromWindow(GetActiveWindow());
    return form && form->PreTranslate(msg);
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void (*gDoEventsHook)() = nullptr;

bool DoEvents(bool paint) {
    if (gDoEventsHook) gDoEventsHook();
    ++gDoEventsDepth;
    MSG msg;
    bool running = true;
    // PM_NOYIELD: a fill peeks once an entry, and gains nothing by giving up the processor each
    // time the queue is empty.
    const UINT flags = PM_REMOVE | PM_NOYIELD | (paint ? 0 : PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE);
    while (PeekMessageA(&msg, nullptr, 0, 0, flags)) {
        if (msg.message == WM_QUIT) {  // leave it for the real loop to see
            PostQuitMessage(static_cast<int>(msg.wParam));
            running = false;
            break;
        }
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    --gDoEventsDepth;
    return running;
}

int DoEventsDepth() { return gDoEventsDepth; }

HCURSOR ScreenCursor() {
    switch (gPointer) {
        case PointerShape::Arrow:
            return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        case PointerShape::Hourglass:
            return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
        case PointerShape::ArrowHourglass:
            return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_APPSTARTING));
        default:
            return nullptr;
    }
}

void SetScreenMousePointer(PointerShape pointer) {
    gPointer = pointer;
    HCURSOR cursor = ScreenCursor();
    SetCursor(cursor ? cursor : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

PointerShape ScreenMousePointer() { return gPointer; }

MsgBoxResult MsgBox(const std::string& text, MsgBoxStyle style, const std::string& title, HWND) {
    const UINT number = static_cast<UINT>(style);
    const int answer = gMsgBoxHook ? gMsgBoxHook(text, number, title) : SystemMsgBox(text, number, title);
    return static_cast<MsgBoxResult>(answer);
}

void SetExceptionHandler(ExceptionHandler handler) { gExceptionHandler = handler; }

void ReportException(const char* where, const std::exception& e) {
    if (gExceptionHandler) {
        try {
            gExceptionHandler(where, e);
        } catch (...) {
        }
    }
}

void ReportUnknownException(const char* where) {
    struct Unknown : std::exception {
        const char* what() const noexcept override { return "Unknown error"; }
    } unknown;
    ReportException(where, unknown);
}

void RegisterLoadedForm(Form* form) {
    if (std::find(gLoadedForms.begin(), gLoadedForms.end(), form) == gLoadedForms.end())
        gLoadedForms.push_back(form);
}

void UnregisterLoadedForm(Form* form) {
    auto before = gLoadedForms.size();
    gLoadedForms.erase(std::remove(gLoadedForms.begin(), gLoadedForms.end(), form), gLoadedForms.end());
    if (before != gLoadedForms.size() && gLoadedForms.empty() && gEndWhenNoForms) PostQuitMessage(0);
}

void UnloadAllFormsExcept(Form* keep) {
    std::vector<Form*> forms = gLoadedForms;
    for (Form* f : forms)
        if (f != keep) f->Unload(UnloadMode::FormCode);
}

int LoadedFormCount() { return static_cast<int>(gLoadedForms.size()); }

Form* FormFromWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    for (Form* f : gLoadedForms)
        if (f->hwnd() == root) return f;
    return nullptr;
}
