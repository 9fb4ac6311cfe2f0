// OLE drag and drop: drag data, the drop target of a control, the text drag source.
#include "ui/DragDrop.h"

#include <cstring>

#include "ui/App.h"
#include "ui/Control.h"

DragLoopHook gDragLoopHook = nullptr;

namespace {

// QueryInterface of an object with one interface besides IUnknown.
template <class I>
HRESULT QueryOne(I* self, REFIID riid, REFIID own, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, own)) {
        *out = self;
        self->AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

FORMATETC HGlobalFormat(int format) {
    return FORMATETC{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// The bytes of one format of a data object, read as global memory; empty when it has none.
std::string GlobalBytes(IDataObject* object, int format) {
    if (!object) return {};
    FORMATETC f = HGlobalFormat(format);
    STGMEDIUM medium{};
    if (FAILED(object->GetData(&f, &medium))) return {};
    std::string bytes;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        if (const void* p = GlobalLock(medium.hGlobal)) {
            bytes.assign(static_cast<const char*>(p), GlobalSize(medium.hGlobal));
            GlobalUnlock(medium.hGlobal);
        }
    }
    ReleaseStgMedium(&medium);
    return bytes;
}

// Names in a file list: zero-ended strings after the header, up to an empty one or the end.
std::vector<std::string> FileListNames(const std::string& block) {
    std::vector<std::string> names;
    if (block.size() < sizeof(DROPFILES)) return names;
    DROPFILES header;
    std::memcpy(&header, block.data(), sizeof header);
    if (header.pFiles < sizeof header || header.pFiles >= block.size()) return names;
    if (header.fWide) {
        std::wstring wide((block.size() - header.pFiles) / sizeof(wchar_t), L'\0');
        std::memcpy(wide.data(), block.data() + header.pFiles, wide.size() * sizeof(wchar_t));
        for (size_t at = 0; at < wide.size() && wide[at] != L'\0';) {
            size_t end = wide.find(L'\0', at);
            if (end == std::wstring::npos) end = wide.size();
            const std::wstring name = wide.substr(at, end - at);
            const int n = WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), nullptr, 0,
                                              nullptr, nullptr);
            std::string ansi(static_cast<size_t>(n), '\0');
            WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), ansi.data(), n, nullptr,
                                nullptr);
            names.push_back(ansi);
            at = end + 1;
        }
    } else {
        for (size_t at = header.pFiles; at < block.size() && block[at] != '\0';) {
            size_t end = block.find('\0', at);
            if (end == std::string::npos) end = block.size();
            names.push_back(block.substr(at, end - at));
            at = end + 1;
        }
    }
    return names;
}

// One text in CF_TEXT, the data of a drag out of the program.
class TextData final : public IDataObject {
  public:
    explicit TextData(std::string text) : text_(std::move(text)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        return QueryOne<IDataObject>(this, riid, IID_IDataObject, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        const HRESULT ok = QueryGetData(format);
        if (ok != S_OK) return ok;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text_.size() + 1);
        if (!memory) return E_OUTOFMEMORY;
        auto* p = static_cast<char*>(GlobalLock(memory));
        std::memcpy(p, text_.c_str(), text_.size() + 1);
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (!format) return E_INVALIDARG;
        if (format->cfFormat != CF_TEXT) return DV_E_FORMATETC;
        if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
        if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        const FORMATETC text = HGlobalFormat(CF_TEXT);
        return SHCreateStdEnumFmtEtc(1, &text, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

  private:
    std::string text_;
    LONG refs_ = 1;
};

// The left button drags; Esc or the right button cancels.
class LeftButtonSource final : public IDropSource {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        return QueryOne<IDropSource>(this, riid, IID_IDropSource, out);
    }
    // Lives on the stack of the drag.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keyState) override {
        if (escape || (keyState & MK_RBUTTON)) return DRAGDROP_S_CANCEL;
        if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

}  // namespace

bool DragData::GetFormat(int format) const {
    if (!object_) return false;
    FORMATETC f = HGlobalFormat(format);
    return object_->QueryGetData(&f) == S_OK;
}

std::string DragData::GetText() const {
    std::string text = GlobalBytes(object_, CF_TEXT);
    if (const size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
    return text;
}

std::vector<std::string> DragData::Files() const { return FileListNames(GlobalBytes(object_, CF_HDROP)); }

int DragButton(DWORD keyState) {
    return ((keyState & MK_LBUTTON) ? 1 : 0) | ((keyState & MK_RBUTTON) ? 2 : 0) | ((keyState & MK_MBUTTON) ? 4 : 0);
}

int DragShift(DWORD keyState) {
    return ((keyState & MK_SHIFT) ? 1 : 0) | ((keyState & MK_CONTROL) ? 2 : 0) | ((keyState & MK_ALT) ? 4 : 0);
}

OleDropTarget::OleDropTarget(Control& control) : control_(control) { control_.SetDropTarget(this); }

OleDropTarget::~OleDropTarget() {
    Detach();
    control_.SetDropTarget(nullptr);
}

void OleDropTarget::Attach(HWND window) {
    Detach();
    if (window && SUCCEEDED(RegisterDragDrop(window, this))) window_ = window;
}

void OleDropTarget::Detach() {
    if (window_) RevokeDragDrop(window_);
    window_ = nullptr;
    data_.reset();
}

HRESULT OleDropTarget::QueryInterface(REFIID riid, void** out) {
    return QueryOne<IDropTarget>(this, riid, IID_IDropTarget, out);
}

ULONG OleDropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
ULONG OleDropTarget::Release() { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }

void OleDropTarget::RaiseOver(DWORD keyState, POINT pt, DWORD* effect, int state) {
    int chosen = vbDropEffectNone;
    if (OLEDragOver) {
        chosen = static_cast<int>(*effect);
        DragData data(data_.get());
        try {
            OLEDragOver(data, chosen, DragButton(keyState), DragShift(keyState), pt, state);
        } catch (const std::exception& e) {
            ReportException("OLEDragOver", e);
            chosen = vbDropEffectNone;
        } catch (...) {
            ReportUnknownException("OLEDragOver");
            chosen = vbDropEffectNone;
        }
    }
    // Never more than the source allows.
    lastEffect_ = chosen & static_cast<int>(*effect);
    *effect = static_cast<DWORD>(lastEffect_);
}

HRESULT OleDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    if (data) data->AddRef();
    data_.reset(data);
    lastKeys_ = keyState;
    lastPoint_ = {pt.x, pt.y};
    RaiseOver(keyState, lastPoint_, effect, vbEnter);
    return S_OK;
}

HRESULT OleDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    lastKeys_ = keyState;
    lastPoint_ = {pt.x, pt.y};
    RaiseOver(keyState, lastPoint_, effect, vbOver);
    return S_OK;
}

HRESULT OleDropTarget::DragLeave() {
    DWORD none = vbDropEffectNone;
    RaiseOver(lastKeys_, lastPoint_, &none, vbLeave);
    data_.reset();
    return S_OK;
}

HRESULT OleDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    if (data) data->AddRef();
    data_.reset(data);
    int chosen = lastEffect_ & static_cast<int>(*effect);
    if (OLEDragDrop) {
        DragData dropped(data_.get());
        try {
            OLEDragDrop(dropped, chosen, DragButton(keyState), DragShift(keyState), POINT{pt.x, pt.y});
        } catch (const std::exception& e) {
            ReportException("OLEDragDrop", e);
        } catch (...) {
            ReportUnknownException("OLEDragDrop");
        }
    } else {
        chosen = vbDropEffectNone;
    }
    *effect = static_cast<DWORD>(chosen) & *effect;
    data_.reset();
    lastEffect_ = vbDropEffectNone;
    return S_OK;
}

UniqueCom<IDataObject> MakeTextData(const std::string& text) { return UniqueCom<IDataObject>(new TextData(text)); }

int OLEDragText(const std::string& text, int allowedEffects) {
    UniqueCom<IDataObject> data = MakeTextData(text);
    if (gDragLoopHook) return gDragLoopHook(data.get(), allowedEffects);
    LeftButtonSource source;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = DoDragDrop(data.get(), &source, static_cast<DWORD>(allowedEffects), &effect);
    return hr == DRAGDROP_S_DROP ? static_cast<int>(effect) : vbDropEffectNone;
}
