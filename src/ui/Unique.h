// Move-only owners for Win32 handles: one template, one traits type per kind of handle.
#pragma once

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

using UniqueKey = Unique<NullTraits<HKEY, &CloseKey>>;
using UniqueHandle = Unique<NullTraits<HANDLE, &CloseHandle>>;  // mutexes, processes, events
using UniqueFile = Unique<InvalidValueTraits<&CloseHandle>>;    // CreateFileA
using UniqueFind = Unique<InvalidValueTraits<&FindClose>>;      // FindFirstFileA needs FindClose
using UniqueIdList = Unique<NullTraits<LPITEMIDLIST, &FreeCoTask>>;
using UniqueIcon = Unique<NullTraits<HICON, &DestroyIcon>>;
using UniqueMemDC = Unique<NullTraits<HDC, &DeleteDC>>;  // CreateCompatibleDC only
using UniqueMenu = Unique<NullTraits<HMENU, &DestroyMenu>>;
using UniqueImageList = Unique<NullTraits<HIMAGELIST, &ImageList_Destroy>>;
