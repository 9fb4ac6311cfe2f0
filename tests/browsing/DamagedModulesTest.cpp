// Programs and libraries damaged in every way a broken download or disk leaves them: copies of the
// system's shell32 and comdlg32 and of a small test library, cut short, with a byte turned over, or
// with resource tables that point past the end, back at the root or too deep. Counting them and
// drawing a page of their icons must never crash; what cannot be read shows the placeholder.
#include "PageFixture.h"

#include <climits>

#include "DamagedSources.h"
#include "common/FileIconReader.h"
#include "common/ResultEntry.h"

namespace {

using Picture = std::vector<uint32_t>;
using damaged::Expect;

// Every picture of the page, each drawn on white.
std::vector<Picture> PagePixels() {
    const int n = frmMain.imlResult32.Count();
    if (n == 0) return {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 32 * n, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP strip = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, strip);
    RECT all{0, 0, 32 * n, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (int i = 0; i < n; ++i) ImageList_Draw(frmMain.imlResult32.handle(), i, dc, 32 * i, 0, ILD_NORMAL);
    GdiFlush();
    std::vector<Picture> pictures(static_cast<size_t>(n));
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < n; ++i)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) pictures[i].push_back(pixels[y * 32 * n + 32 * i + x] & 0xFFFFFF);
    SelectObject(dc, old);
    DeleteObject(strip);
    DeleteDC(dc);
    return pictures;
}

class DamagedModulesTest : public PagesTest {
  protected:
    // The entries of a page of `path`: its first icons, those at the end and past it, and resource
    // ids, the first group's among them.
    static std::vector<int32_t> Indexes(int32_t count, std::optional<int32_t> firstId) {
        std::vector<int32_t> indexes;
        for (int32_t i = 0; i <= std::min(count, 24); ++i) indexes.push_back(i);
        for (int32_t i : {count - 1, count + 1, 0xFFFF, INT_MAX}) indexes.push_back(i);
        if (firstId) indexes.push_back(-*firstId);
        for (int32_t id : {1, 0x7FFF, 0xFFFF, 0x10000}) indexes.push_back(-id);
        indexes.push_back(INT_MIN);
        return indexes;
    }
    std::vector<Picture> Page(const std::string& path, const std::vector<int32_t>& indexes) {
        std::vector<std::string> entries;
        for (int32_t i : indexes) entries.push_back(OpenEntry(path, i, "x", 'd'));
        Fill(entries);
        EXPECT_EQ(frmMain.pnlResult.Count(), static_cast<int>(entries.size()));
        EXPECT_EQ(frmMain.imlResult32.Count(), static_cast<int>(entries.size()));
        return PagePixels();
    }
};

}  // namespace

TEST_F(DamagedModulesTest, CountedAndDrawnWithThePlaceholderForWhatCannotBeRead) {
    std::vector<std::string> modules;
    for (const auto& [name, path] : SourceModulePaths()) modules.push_back(path);
    const Picture placeholder = Page(dir.path() + "missing.dll", {0}).at(0);

    for (const std::string& module : modules) {
        const Bytes sound = ReadWhole(module);
        ASSERT_FALSE(sound.empty()) << module;
        const int32_t soundCount = ReadFileIconCount(module).count;
        ASSERT_GT(soundCount, 0) << module;
        const auto layout = damaged::ReadModule(sound);
        ASSERT_TRUE(layout) << module;
        const auto group = damaged::FirstResource(sound, *layout, 14);
        ASSERT_TRUE(group) << module;
        const uint32_t firstName = damaged::Get32(sound, group->nameEntry);
        const std::optional<int32_t> firstId =
            firstName & damaged::kDirectory ? std::nullopt : std::optional<int32_t>(static_cast<int32_t>(firstName));
        const std::vector<int32_t> indexes = Indexes(soundCount, firstId);
        const std::vector<Picture> soundPictures = Page(module, indexes);
        ASSERT_EQ(soundPictures.size(), indexes.size());
        EXPECT_NE(soundPictures[0], placeholder) << module;

        const auto damages = damaged::ModuleDamages(sound);
        ASSERT_GT(damages.size(), 20u) << module;
        for (const damaged::Damage& d : damages) {
            SCOPED_TRACE(module + ": " + d.name);
            const Bytes bytes = damaged::Apply(sound, d);
            const std::string path = dir.File("damaged.dll", std::string(bytes.begin(), bytes.end()));
            const int32_t count = ReadFileIconCount(path).count;
            EXPECT_GE(count, 0);
            const std::vector<Picture> pictures = Page(path, indexes);
            ASSERT_EQ(pictures.size(), indexes.size());
            for (size_t k = 0; k < indexes.size(); ++k) {
                const int32_t i = indexes[k];
                const bool first = i == 0 || (firstId && i == -*firstId);
                const bool sound = pictures[k] == soundPictures[k], blank = pictures[k] == placeholder;
                switch (d.expect) {
                    case Expect::Refused: EXPECT_TRUE(blank) << i; break;
                    case Expect::Whole: EXPECT_TRUE(sound) << i; break;
                    case Expect::FirstLost: EXPECT_TRUE(first ? blank : sound) << i; break;
                    case Expect::SoundOrPlaceholder: EXPECT_TRUE(sound || blank) << i; break;
                    case Expect::AllPlaceholders: EXPECT_TRUE(blank) << i; break;
                    case Expect::Anything: break;
                }
            }
            if (d.expect == Expect::Refused) {
                EXPECT_EQ(count, 0);
            } else if (d.expect != Expect::AllPlaceholders && d.expect != Expect::Anything) {
                EXPECT_EQ(count, soundCount);
            }
            DeleteFileA(path.c_str());
        }
    }
}
