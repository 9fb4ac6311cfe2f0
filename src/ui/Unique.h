// Move-only owners for Win32 handles: one template, one traits type per kind of handle; and the
// scopes of the drawing pairs (a window's DC, a paint, a selection into a DC, a memory bitmap).
#pragma once

#include <cstddef>
#include <utility>

#include "ui/Win.h"

template <class Traits>
class Unique {
  public:
    using Handle = typename Traits::Handle;

    Unique() noexcept = default;
    explicit Unique(Handle h) noexcept : h_(h) {}
    Unique(Unique&& o) noexcept : h_(o.release()) {}
    Unique& operator=(Unique&& o) noexcept {
        reset(o.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::Invalid(); }
    Handle release() noexcept { return std::exchange(h_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) noexcept {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }
    // Out-parameter for creating calls: RegOpenKeyExA(..., key.put()).
    Handle* put() noexcept {
        reset();
        return &h_;
    }

  private:
    Handle h_ = Traits::Invalid();
};

template <class H, auto CloseFn>
struct NullTraits {  // failure value is nullptr
    using Handle = H;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { CloseFn(h); }
};

template <auto CloseFn>
struct InvalidValueTraits {  // failure value is INVALID_HANDLE_VALUE
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { CloseFn(h); }
};

inline void CloseKey(HKEY k) noexcept { RegCloseKey(k); }
inline void FreeCoTask(LPITEMIDLIST p) noexcept { CoTaskMemFree(p); }
inline void ReleaseModule(HMODULE m) noexcept { FreeLibrary(m); }
template <class H>
inline void DeleteGdiObject(H object) noexcept {
    DeleteObject(object);
}

using UniqueKey = Unique<NullTraits<HKEY, &CloseKey>>;
using UniqueHandle = Unique<NullTraits<HANDLE, &CloseHandle>>;  // mutexes, processes, events
using UniqueFile = Unique<InvalidValueTraits<&CloseHandle>>;    // CreateFileA
using UniqueFind = Unique<InvalidValueTraits<&FindClose>>;      // FindFirstFileA needs FindClose
using UniqueIdList = Unique<NullTraits<LPITEMIDLIST, &FreeCoTask>>;
using UniqueIcon = Unique<NullTraits<HICON, &DestroyIcon>>;
using UniqueMemDC = Unique<NullTraits<HDC, &DeleteDC>>;  // CreateCompatibleDC only
using UniqueMenu = Unique<NullTraits<HMENU, &DestroyMenu>>;
using UniqueImageList = Unique<NullTraits<HIMAGELIST, &ImageList_Destroy>>;
using UniqueModule = Unique<NullTraits<HMODULE, &ReleaseModule>>;  // LoadLibrary, LoadLibraryEx
// One reference to a COM object (CoCreateInstance, QueryInterface), released at the end.
template <class I>
inline void ReleaseCom(I* object) noexcept {
    object->Release();
}
template <class I>
using UniqueCom = Unique<NullTraits<I*, &ReleaseCom<I>>>;
// A pen, brush, font or bitmap the program made. Never one that is still selected into a DC: end
// its SelectInDC first (declare the object before the selection).
template <class H>
using UniqueGdi = Unique<NullTraits<H, &DeleteGdiObject<H>>>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueFont = UniqueGdi<HFONT>;
using UniquePen = UniqueGdi<HPEN>;

// The DC of a window's client area (nullptr: the screen), from GetDC to ReleaseDC.
class WindowDC {
  public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// One WM_PAINT, from BeginPaint to EndPaint: EndPaint runs however the painting code leaves.
class PaintScope {
  public:
    explicit PaintScope(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &ps_)) {}
    ~PaintScope() { EndPaint(window_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC dc() const noexcept { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A pen, brush, font or bitmap selected into a DC until the scope ends (or Undo), when the
// object it replaced goes back. Not for regions, whose selection answers no object.
class SelectInDC {
  public:
    SelectInDC(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {
        if (old_ == HGDI_ERROR) old_ = nullptr;
    }
    ~SelectInDC() { Undo(); }
    SelectInDC(const SelectInDC&) = delete;
    SelectInDC& operator=(const SelectInDC&) = delete;

    explicit operator bool() const noexcept { return old_ != nullptr; }
    void Undo() noexcept {
        if (old_) SelectObject(dc_, std::exchange(old_, nullptr));
    }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// A picture being drawn: a bitmap of width x height pixels selected into a memory DC of its own.
// Screen: compatible with the screen. Rgb24 and Rgb32: a DIB section whose pixels Bits() points
// at, blue, green, red (and a fourth byte) per pixel, rows bottom to top unless topDown.
class MemoryBitmap {
  public:
    enum class Format { Screen, Rgb24, Rgb32 };

    MemoryBitmap(int width, int height, Format format = Format::Screen, bool topDown = false) noexcept
        : bitmap_(Make(width, height, format, topDown, bits_)),
          dc_(CreateCompatibleDC(nullptr)),
          selection_(bitmap_ ? dc_.get() : nullptr, bitmap_.get()),
          width_(width),
          bitCount_(format == Format::Rgb24 ? 24 : 32) {
        if (!bitmap_) bits_ = nullptr;
    }
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;

    // Both the bitmap and the DC were made (false for an empty size too).
    explicit operator bool() const noexcept { return static_cast<bool>(selection_); }
    HDC dc() const noexcept { return dc_.get(); }
    HBITMAP bitmap() const noexcept { return bitmap_.get(); }
    void* Bits() const noexcept { return bits_; }
    // The bytes of one row of a DIB section, which rounds rows to whole 32-bit words.
    size_t Stride() const noexcept {
        return (static_cast<size_t>(width_) * static_cast<size_t>(bitCount_) / 8 + 3) & ~size_t{3};
    }
    // Ends the drawing: the bitmap leaves the DC and the caller owns it (nullptr when none was made).
    HBITMAP Release() noexcept {
        selection_.Undo();
        bits_ = nullptr;
        return bitmap_.release();
    }

  private:
    static HBITMAP Make(int width, int height, Format format, bool topDown, void*& bits) noexcept {
        bits = nullptr;
        if (width <= 0 || height <= 0) return nullptr;
        if (format == Format::Screen) {
            WindowDC screen(nullptr);
            return screen ? CreateCompatibleBitmap(screen.get(), width, height) : nullptr;
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = topDown ? -height : height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(format == Format::Rgb24 ? 24 : 32);
        info.bmiHeader.biCompression = BI_RGB;
        return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }

    void* bits_ = nullptr;  // set by Make, before the members below
    UniqueBitmap bitmap_;
    UniqueMemDC dc_;
    SelectInDC selection_;  // ends before the DC and the bitmap go
    int width_;
    int bitCount_;
};
