// The icon-file writer on real memory drawing contexts: what it writes loads in the system and draws
// as the source, animated cursors step and point where they should, failures keep the old file, and
// the program's own listing reads each file back at its depth.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "TestSupport.h"
#include "formats/IconEncode.h"
#include "mainwindow/FrmMain.h"
#include "output/IconWriter.h"
#include "ui/Unique.h"

bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
std::ostream& operator<<(std::ostream& out, const POINT& p) { return out << '(' << p.x << ", " << p.y << ')'; }

namespace {

constexpr int kSide = 32;
using Pixels = std::vector<uint32_t>;  // 0x00RRGGBB, rows from the top

// A picture of `colours` distinct colours (0: every pixel its own) and a mask of stripes whose
// transparent pixels are black.
void Picture(int colours, Pixels& color, Pixels& mask) {
    color.assign(kSide * kSide, 0);
    mask.assign(kSide * kSide, 0);
    for (int i = 0; i < kSide * kSide; ++i) {
        const int x = i % kSide, y = i / kSide;
        if ((x + 2 * y) % 5 == 0) {
            mask[i] = 0xFFFFFF;
            continue;
        }
        const int c = colours ? 1 + i % (colours - 1) : i;
        color[i] = colours ? (c * 37 % 256) << 16 | (c * 11 % 256) << 8 | (c * 5 + 40) % 256
                           : (x * 8) << 16 | (y * 8) << 8 | (x * y) % 256;
    }
}

// The work surfaces as the program makes them: a screen-compatible colour picture and a
// monochrome mask, each in a memory DC of its own.
class Surfaces {
  public:
    Surfaces() : color_(kSide, kSide), mask_(CreateBitmap(kSide, kSide, 1, 1, nullptr)), maskDC_(CreateCompatibleDC(nullptr)),
                 maskSelection_(maskDC_.get(), mask_.get()) {}
    // The surfaces with Picture(colours) drawn in them.
    explicit Surfaces(int colours) : Surfaces() {
        Pixels color, mask;
        Picture(colours, color, mask);
        Draw(color, mask);
    }
    HDC color() const { return color_.dc(); }
    HDC mask() const { return maskDC_.get(); }

    // Draws the pixels into the colour surface and the mask (0 or 0xFFFFFF) into the mask surface.
    void Draw(const Pixels& color, const Pixels& mask) {
        Put(color_.dc(), color);
        Put(maskDC_.get(), mask);
    }
    // What a surface really holds (the screen's depth may round colours).
    static Pixels Read(HDC dc) {
        MemoryBitmap copy(kSide, kSide, MemoryBitmap::Format::Rgb32, true);
        BitBlt(copy.dc(), 0, 0, kSide, kSide, dc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* bits = static_cast<const uint32_t*>(copy.Bits());
        Pixels out(bits, bits + kSide * kSide);
        for (uint32_t& p : out) p &= 0xFFFFFF;
        return out;
    }

  private:
    static void Put(HDC dc, const Pixels& pixels) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSide, -kSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(dc, 0, 0, kSide, kSide, 0, 0, 0, kSide, pixels.data(), &info, DIB_RGB_COLORS);
    }

    MemoryBitmap color_;
    UniqueBitmap mask_;
    UniqueMemDC maskDC_;
    SelectInDC maskSelection_;
};

// The icon or cursor drawn by the system over a background colour.
Pixels Drawn(HICON icon, uint32_t background, UINT step = 0) {
    MemoryBitmap target(kSide, kSide, MemoryBitmap::Format::Rgb32, true);
    UniqueBrush brush(CreateSolidBrush(RGB(background >> 16, (background >> 8) & 0xFF, background & 0xFF)));
    RECT all{0, 0, kSide, kSide};
    FillRect(target.dc(), &all, brush.get());
    DrawIconEx(target.dc(), 0, 0, icon, kSide, kSide, step, nullptr, DI_NORMAL);
    GdiFlush();
    const auto* bits = static_cast<const uint32_t*>(target.Bits());
    Pixels out(bits, bits + kSide * kSide);
    for (uint32_t& p : out) p &= 0xFFFFFF;
    return out;
}

// A cursor's hotspot as the system loaded it; (-1, -1) when it tells none.
POINT Hotspot(HICON cursor) {
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info)) return POINT{-1, -1};
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return POINT{static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
}

// The picture over a background as a mask and colour draw: (background AND mask) XOR colour.
Pixels Expected(const Pixels& color, const Pixels& mask, uint32_t background) {
    Pixels out(color.size());
    for (size_t i = 0; i < color.size(); ++i) out[i] = ((mask[i] ? background : 0) ^ color[i]) & 0xFFFFFF;
    return out;
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

size_t FilesIn(const std::string& folder) {
    WIN32_FIND_DATAA found;
    UniqueFind find(FindFirstFileA((folder + "*").c_str(), &found));
    size_t n = 0;
    if (find)
        do n += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        while (FindNextFileA(find.get(), &found));
    return n;
}

struct Depth {
    int bitCount;
    int colours;  // kept exactly at this depth
    size_t size;
    char iconType, cursorType;  // the listing's type codes
};
const Depth kDepths[] = {{4, 16, 766, '0', '6'}, {8, 256, 2238, '1', '7'}, {16, 0, 3262, '2', '8'}};

}  // namespace

TEST(IconWriter, WrittenFilesLoadAndDrawAsTheSourceAndListAtTheirDepth) {
    TempDir dir;
    Surfaces surfaces;
    const SaveLibrary writer;
    for (const Depth& d : kDepths) {
        for (bool cursor : {false, true}) {
            const std::string name = dir.path() + std::to_string(d.bitCount) + (cursor ? ".cur" : ".ico");
            SCOPED_TRACE(name);
            Pixels color, mask;
            Picture(d.colours, color, mask);
            surfaces.Draw(color, mask);
            color = Surfaces::Read(surfaces.color());
            const int16_t result = cursor ? writer.SaveAsCursor(surfaces.color(), surfaces.mask(), 32, 32, d.bitCount, 9, 30, name)
                                          : writer.SaveAsIcon(surfaces.color(), surfaces.mask(), 32, 32, d.bitCount, name);
            ASSERT_NE(result, 0);
            EXPECT_EQ(Contents(name).size(), d.size);

            UniqueIcon icon(static_cast<HICON>(LoadImageA(nullptr, name.c_str(), cursor ? IMAGE_CURSOR : IMAGE_ICON, 32, 32, LR_LOADFROMFILE)));
            ASSERT_TRUE(icon);
            for (uint32_t background : {0x000000u, 0xFFFFFFu, 0x3C7A19u})
                EXPECT_EQ(Drawn(icon.get(), background), Expected(color, mask, background)) << std::hex << background;
            if (cursor) {
                EXPECT_EQ(Hotspot(icon.get()), (POINT{9, 30}));
            }

            frmMain.cmbResult.Clear();
            frmMain.procAddFileIcons(name);
            ASSERT_EQ(frmMain.cmbResult.ListCount(), 1);
            EXPECT_EQ(frmMain.cmbResult.List(0), name + ";0;x;" + (cursor ? d.cursorType : d.iconType) + "open");
        }
    }
    frmMain.cmbResult.Clear();
}

TEST(IconWriter, AnimatedCursorLoadsWithItsStepsAndMiddleHotspot) {
    TempDir dir;
    Surfaces surfaces;
    const SaveLibrary writer;
    for (int n : {1, 3}) {
        SCOPED_TRACE(n);
        std::vector<std::string> frames;
        std::vector<Pixels> colors, masks;
        for (int i = 0; i < n; ++i) {
            Pixels color, mask;
            Picture(0, color, mask);
            for (uint32_t& p : color) p ^= static_cast<uint32_t>(i) * 0x405060;
            for (size_t k = 0; k < mask.size(); ++k)
                if (mask[k]) color[k] = 0;
            surfaces.Draw(color, mask);
            colors.push_back(Surfaces::Read(surfaces.color()));
            masks.push_back(mask);
            frames.push_back(dir.path() + std::to_string(i) + ".ico");
            ASSERT_NE(writer.SaveAsIcon(surfaces.color(), surfaces.mask(), 32, 32, 16, frames.back()), 0);
        }
        const std::string ani = dir.path() + "run" + std::to_string(n) + ".ani";
        ASSERT_NE(writer.SaveAsANI(frames, std::vector<int32_t>(n, 20), ani, 0), 0);
        EXPECT_EQ(Contents(ani).size(), 76u + n * (12u + 3262u));

        UniqueIcon cursor(static_cast<HICON>(LoadImageA(nullptr, ani.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE)));
        ASSERT_TRUE(cursor);
        UniqueIcon fromFile(static_cast<HICON>(LoadCursorFromFileA(ani.c_str())));
        EXPECT_TRUE(fromFile);
        EXPECT_EQ(Hotspot(cursor.get()), (POINT{16, 16}));

        // user32's own count of the steps and their rate, then each step drawn.
        using FrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
        auto frameInfo = reinterpret_cast<FrameInfo>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
        ASSERT_NE(frameInfo, nullptr);
        DWORD rate = 0, steps = 0;
        EXPECT_TRUE(frameInfo(cursor.get(), 0, 0, &rate, &steps));
        EXPECT_EQ(steps, static_cast<DWORD>(n));
        EXPECT_EQ(rate, n > 1 ? 20u : 0u) << "one step does not animate";
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(Drawn(cursor.get(), 0xFFFFFF, static_cast<UINT>(i)), Expected(colors[i], masks[i], 0xFFFFFF)) << "step " << i;

        frmMain.cmbResult.Clear();
        frmMain.procAddFileIcons(ani);
        EXPECT_EQ(frmMain.cmbResult.ListCount(), n);
    }
    frmMain.cmbResult.Clear();
}

TEST(IconWriter, FailuresWriteNothingAndKeepTheOldFile) {
    TempDir dir;
    Surfaces surfaces(16);
    const SaveLibrary writer;
    const std::string frame = dir.path() + "frame.ico";
    ASSERT_NE(writer.SaveAsIcon(surfaces.color(), surfaces.mask(), 32, 32, 4, frame), 0);
    const std::string text = dir.File("notes.txt", "no icon");
    const std::string old = dir.File("old.ico", "old content");
    const std::string locked = dir.File("locked.ico", "locked content");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    HDC c = surfaces.color(), m = surfaces.mask();

    struct Case {
        const char* label;
        std::function<int16_t()> save;
        std::string target, before;
    } cases[] = {
        {"48 x 48", [&] { return writer.SaveAsIcon(c, m, 48, 48, 8, old); }, old, "old content"},
        {"24 bits", [&] { return writer.SaveAsIcon(c, m, 32, 32, 24, old); }, old, "old content"},
        {"cursor 1 bit", [&] { return writer.SaveAsCursor(c, m, 32, 32, 1, 0, 0, old); }, old, "old content"},
        {"hotspot outside", [&] { return writer.SaveAsCursor(c, m, 32, 32, 8, 32, 0, old); }, old, "old content"},
        {"no drawing context", [&] { return writer.SaveAsIcon(nullptr, m, 32, 32, 8, old); }, old, "old content"},
        {"read-only target", [&] { return writer.SaveAsIcon(c, m, 32, 32, 8, locked); }, locked, "locked content"},
        {"missing folder", [&] { return writer.SaveAsIcon(c, m, 32, 32, 8, dir.path() + "none\\a.ico"); }, dir.path() + "none\\a.ico", ""},
        {"ani without frames", [&] { return writer.SaveAsANI({}, {}, old, 0); }, old, "old content"},
        {"ani unequal bounds", [&] { return writer.SaveAsANI({frame, frame}, {20}, old, 0); }, old, "old content"},
        {"ani negative rate", [&] { return writer.SaveAsANI({frame}, {-1}, old, 0); }, old, "old content"},
        {"ani frame missing", [&] { return writer.SaveAsANI({frame, dir.path() + "gone.ico"}, {20, 20}, old, 0); }, old, "old content"},
        {"ani frame no icon", [&] { return writer.SaveAsANI({text}, {20}, old, 0); }, old, "old content"},
        {"ani read-only target", [&] { return writer.SaveAsANI({frame}, {20}, locked, 0); }, locked, "locked content"},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(k.save(), 0) << k.label;
        EXPECT_TRUE(Contents(k.target) == k.before) << k.label << ": the old file changed";
        EXPECT_EQ(FilesIn(dir.path()), 4u) << k.label << ": no file left behind";
    }
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(IconWriter, ReplacesAnExistingFileAndTakesAnAnsiName) {
    TempDir dir;
    Surfaces surfaces(200);
    const SaveLibrary writer;
    const std::string name = dir.File("Gr\xFC\xDF" "e.ico", std::string(5000, 'x'));
    ASSERT_NE(writer.SaveAsIcon(surfaces.color(), surfaces.mask(), 32, 32, 8, name), 0);
    EXPECT_EQ(Contents(name).size(), formats::kIconFileBytes256);
    EXPECT_EQ(FilesIn(dir.path()), 1u);

    // Writing leaves no drawing object behind.
    const size_t before = GdiObjectCount();
    for (int i = 0; i < 200; ++i) writer.SaveAsCursor(surfaces.color(), surfaces.mask(), 32, 32, 16, 1, 1, name);
    EXPECT_LE(GdiObjectCount(), before + 2);
}
