// The program's message loop, DoEvents, the screen-wide mouse pointer and message boxes.
#pragma once

#include <exception>
#include <string>

#include "ui/Win.h"

class Form;

// Registers the window classes and the common controls and starts OLE (drag and drop) on this
// thread, the UI thread; call once before any form loads.
void InitApp(HINSTANCE instance);
// Ends OLE on the UI thread; call once the message loop has ended.
void EndApp();
HINSTANCE AppInstance();

// Runs the main message loop until WM_QUIT; answers the quit code.
int RunMessageLoop();

// Lets pending window events run, as a long fill does after each item. Answers false when the
// program is quitting (WM_QUIT is left for the main loop). Never call it from WM_PAINT or from a
// notification that must return a value. Without `paint`, input, posted and sent messages and timers
// run but the repainting waits for a later call or the message loop: a fill that ends quickly then
// paints its windows once, as they end up, not also as they were while it ran.
bool DoEvents(bool paint = true);
// How many DoEvents calls are running (0 outside any); handlers that must not start new work
// while a fill pumps can test it.
int DoEventsDepth();
// Called at the start of every DoEvents; tests use it to act at a chosen point of a long fill.
extern void (*gDoEventsHook)();

// The shared message filter of every loop: accelerators, key preview, dialog keys.
bool PreTranslate(MSG& msg);

// The shapes of the mouse pointer, with the numbers VB gives its MousePointer values. The screen
// pointer knows the default, the arrow and the two hourglasses; a picture box also the east-west
// sizing arrow and a cursor of its own (Custom).
enum class PointerShape { Default = 0, Arrow = 1, SizeWE = 9, Hourglass = 11, ArrowHourglass = 13, Custom = 99 };

// The mouse pointer over every window of the program.
void SetScreenMousePointer(PointerShape pointer);
PointerShape ScreenMousePointer();
// The cursor a form shows for the current screen pointer; nullptr for the default.
HCURSOR ScreenCursor();

// The busy pointer for a scope: the hourglass over the whole program from here on, and the default
// pointer again when the scope ends, however it ends, or earlier at Done (before a message box).
// Made with Later it shows nothing until Start (or a callee shows the hourglass) and still puts the
// default back at the end. A pointer that stays busy from one event to another (a listing the
// page fill ends, the splash until the main window is up) is set and put back by those events.
class Hourglass {
  public:
    struct Later {};
    Hourglass() { Start(); }
    explicit Hourglass(Later) {}
    ~Hourglass() { Done(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
    void Start() {
        done_ = false;
        SetScreenMousePointer(PointerShape::Hourglass);
    }
    void Done() {
        if (done_) return;
        done_ = true;
        SetScreenMousePointer(PointerShape::Default);
    }

  private:
    bool done_ = false;
};

// The buttons and the icon of a message box, combined with |. The numbers are VB's, which are the
// system's own (MB_YESNO, MB_ICONEXCLAMATION...).
enum class MsgBoxStyle : UINT {
    OkOnly = 0,
    OkCancel = 1,
    YesNo = 4,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
};
constexpr MsgBoxStyle operator|(MsgBoxStyle a, MsgBoxStyle b) {
    return static_cast<MsgBoxStyle>(static_cast<UINT>(a) | static_cast<UINT>(b));
}
// The button that closed a message box, numbered as VB and the system number it (IDOK...IDNO).
enum class MsgBoxResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// A message box; answers the button. Tests replace the box through gMsgBoxHook, which gets the
// style and answers the button by number.
MsgBoxResult MsgBox(const std::string& text, MsgBoxStyle style, const std::string& title, HWND owner = nullptr);
using MsgBoxHook = int (*)(const std::string& text, UINT style, const std::string& title);
extern MsgBoxHook gMsgBoxHook;

// Called when an exception reaches a window procedure or a callback; the program sets it to
// show its error text. `where` names the handler.
using ExceptionHandler = void (*)(const char* where, const std::exception& e);
void SetExceptionHandler(ExceptionHandler handler);
void ReportException(const char* where, const std::exception& e);
void ReportUnknownException(const char* where);

// Every form that is loaded, in load order (for "unload every window" and the active form).
void RegisterLoadedForm(Form* form);
void UnregisterLoadedForm(Form* form);
int LoadedFormCount();
// Unloads every loaded form but the one given, in load order.
void UnloadAllFormsExcept(Form* keep);
// When the last loaded form unloads the program ends (WM_QUIT), as a VB program does. Tests that
// load and unload forms one after another switch this off.
extern bool gEndWhenNoForms;
// The form whose window (or a child of it) is hwnd; nullptr for other windows.
Form* FormFromWindow(HWND hwnd);
