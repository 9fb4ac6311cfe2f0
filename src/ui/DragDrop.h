// OLE drag and drop of the form runtime: the data a drag carries, a drop target for any control,
// and dragging text out of a control. OLE is started on the UI thread by InitApp.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Unique.h"
#include "ui/Win.h"

class Control;

// Drop effects as OLE numbers them.
enum DropEffect : int { vbDropEffectNone = 0, vbDropEffectCopy = 1, vbDropEffectMove = 2 };
// The data formats the program reads from a drag: text, and a file list from the shell.
enum DragFormat : int { vbCFText = 1, vbCFFiles = 15 };
// The state argument of OLEDragOver.
enum DragOverState : int { vbEnter = 0, vbLeave = 1, vbOver = 2 };

// The data of a drag, read from its data object when asked.
class DragData {
  public:
    explicit DragData(IDataObject* object) : object_(object) {}
    // Whether the data can be had in that clipboard format (as global memory).
    bool GetFormat(int format) const;
    // The text (format 1) up to its first zero; "" when there is none.
    std::string GetText() const;
    // The file names of a file list (format 15), in order; empty when there is none.
    std::vector<std::string> Files() const;

  private:
    IDataObject* object_;
};

// Mouse buttons (1 left, 2 right, 4 middle) and shift state (1 Shift, 2 Ctrl, 4 Alt) of an OLE
// key state.
int DragButton(DWORD keyState);
int DragShift(DWORD keyState);

// Lets a control take drops. The target is registered with the control's window (RegisterDragDrop)
// whenever that window exists and revoked before it goes, so it follows the form through Unload.
// It must outlive the control's window; OLE's references do not end its life.
class OleDropTarget final : public IDropTarget {
  public:
    explicit OleDropTarget(Control& control);
    ~OleDropTarget();
    OleDropTarget(const OleDropTarget&) = delete;
    OleDropTarget& operator=(const OleDropTarget&) = delete;

    // Raised on entering (vbEnter), moving over (vbOver) and leaving (vbLeave, at the last point).
    // effect comes in as the effects the source allows and goes out as the one to show; without a
    // handler it is none. screen: the pointer in screen pixels.
    std::function<void(DragData& data, int& effect, int button, int shift, POINT screen, int state)> OLEDragOver;
    // Raised on the drop; effect comes in as the one the last OLEDragOver chose.
    std::function<void(DragData& data, int& effect, int button, int shift, POINT screen)> OLEDragDrop;

    // The window it is registered with; nullptr while none.
    HWND RegisteredWindow() const { return window_; }
    // Called by the control as its window comes and goes.
    void Attach(HWND window);
    void Detach();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

  private:
    void RaiseOver(DWORD keyState, POINT pt, DWORD* effect, int state);

    Control& control_;
    HWND window_ = nullptr;
    UniqueCom<IDataObject> data_;  // the data of the drag in progress, from DragEnter on
    DWORD lastKeys_ = 0;
    POINT lastPoint_{};
    int lastEffect_ = vbDropEffectNone;
    LONG refs_ = 0;
};

// A data object that holds one text (CF_TEXT) for a drag out of the program.
UniqueCom<IDataObject> MakeTextData(const std::string& text);

// Drags text from the program with the left button held (DoDragDrop); answers the effect the drop
// took, 0 when none or cancelled.
int OLEDragText(const std::string& text, int allowedEffects);
// Tests take the drag loop's place: they receive the data object and the allowed effects and answer
// the effect.
using DragLoopHook = int (*)(IDataObject* data, int allowedEffects);
extern DragLoopHook gDragLoopHook;
