// Loading and shrinking the import window's pictures.
#include "output/PictureImport.h"

#include <olectl.h>

#include <cstring>

#include "common/OpenPaths.h"
#include "core/Files.h"
#include "formats/Bmp.h"
#include "formats/FileBytes.h"
#include "formats/PictureCheck.h"

namespace {

IPicture* SystemLoadPicture(const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    if (void* at = GlobalLock(memory)) {
        std::memcpy(at, bytes, size);
        GlobalUnlock(memory);
    }
    IStream* stream = nullptr;
    // The stream frees the memory when it goes.
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    IPicture* picture = nullptr;
    if (FAILED(OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture))))
        picture = nullptr;
    stream->Release();
    return picture;
}

// A 32 x 32 bitmap filled with `back`, drawn into by `draw` with the stretch mode that keeps
// whole source pixels. It has no alpha channel: an image list would take an opaque alpha over the
// mask colour and leave nothing transparent.
template <class Draw>
UniqueBitmap DrawIcon(COLORREF back, Draw&& draw) {
    MemoryBitmap target(kImportSide, kImportSide, MemoryBitmap::Format::Rgb24);
    if (!target) return UniqueBitmap();
    RECT all{0, 0, kImportSide, kImportSide};
    UniqueBrush brush(CreateSolidBrush(back));
    FillRect(target.dc(), &all, brush.get());
    SetStretchBltMode(target.dc(), COLORONCOLOR);
    if (!draw(target.dc())) return UniqueBitmap();
    return UniqueBitmap(target.Release());
}

UniqueBitmap FromImage(const formats::Image& image, COLORREF back) {
    return DrawIcon(back, [&](HDC dc) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = image.width;
        info.bmiHeader.biHeight = -image.height;  // rows from the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        // The reader's pixels are blue, green, red, alpha: a 32-bit DIB's own order.
        return StretchDIBits(dc, 0, 0, kImportSide, kImportSide, 0, 0, image.width, image.height,
                             image.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY) != 0;
    });
}

UniqueBitmap FromBitmap(HBITMAP bitmap, COLORREF back) {
    BITMAP bm{};
    if (!GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return UniqueBitmap();
    return DrawIcon(back, [&](HDC dc) {
        UniqueMemDC source(CreateCompatibleDC(dc));
        SelectInDC in(source.get(), bitmap);
        return StretchBlt(dc, 0, 0, kImportSide, kImportSide, source.get(), 0, 0, bm.bmWidth, bm.bmHeight,
                          SRCCOPY) != FALSE;
    });
}

UniqueBitmap FromPicture(IPicture* picture, COLORREF back) {
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (FAILED(picture->get_Width(&width)) || FAILED(picture->get_Height(&height)) || width <= 0 || height <= 0)
        return UniqueBitmap();
    return DrawIcon(back, [&](HDC dc) {
        // The picture's extent runs upwards from its bottom edge.
        return SUCCEEDED(picture->Render(dc, 0, 0, kImportSide, kImportSide, 0, height, width, -height, nullptr));
    });
}

UniqueBitmap FromCheckedBytes(const std::vector<std::uint8_t>& bytes, COLORREF back) {
    if (!formats::CheckPicture(bytes)) return UniqueBitmap();
    IPicture* picture = gLoadSystemPicture(bytes.data(), bytes.size());
    if (!picture) return UniqueBitmap();
    UniqueBitmap made = FromPicture(picture, back);
    picture->Release();
    return made;
}

bool IsBitmapName(const std::string& path) {
    const std::string extension = ExtensionOf(path);
    return extension == ".bmp" || extension == ".dib";
}

}  // namespace

SystemPictureLoader gLoadSystemPicture = SystemLoadPicture;

UniqueBitmap LoadImportFile(const std::string& path, COLORREF back) {
    if (IsBitmapName(path)) {
        auto image = formats::ReadBmpFile(WidePath(path));
        return image ? FromImage(*image, back) : UniqueBitmap();
    }
    auto bytes = formats::ReadFileBytes(WidePath(path), formats::kMaxPictureFileBytes);
    if (!bytes) return UniqueBitmap();
    // A bitmap under another name is still read by the program itself.
    if (bytes->size() >= 2 && (*bytes)[0] == 'B' && (*bytes)[1] == 'M') {
        auto image = formats::ReadBmp(*bytes);
        return image ? FromImage(*image, back) : UniqueBitmap();
    }
    return FromCheckedBytes(*bytes, back);
}

UniqueBitmap LoadImportClipboard(HWND owner, COLORREF back) {
    if (!OpenClipboard(owner)) return UniqueBitmap();
    UniqueBitmap made;
    // The clipboard keeps its handles: they are only read here.
    if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        made = FromBitmap(bitmap, back);
    } else if (auto metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) {
        made = DrawIcon(back, [&](HDC dc) {
            RECT all{0, 0, kImportSide, kImportSide};
            return PlayEnhMetaFile(dc, metafile, &all) != FALSE;
        });
    }
    CloseClipboard();
    return made;
}
