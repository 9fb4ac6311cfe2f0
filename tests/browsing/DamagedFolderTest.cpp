// A folder of damaged programs, libraries, icons, cursors and animated files opened with Open
// Folder (the picker answering) and with the disk scan: what can be read is listed, the sound files
// beside the damaged ones give all their entries, and every page of the result draws.
#include "MainFixture.h"

#include <algorithm>

#include "DamagedSources.h"
#include "common/FileIconReader.h"
#include "browsing/FrmScan.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "core/Global.h"

namespace {

std::string gPicked;
PIDLIST_ABSOLUTE PickFolder(BROWSEINFOA*) { return ILCreateFromPathA(gPicked.c_str()); }

class DamagedFolderTest : public MainFixture {
  protected:
    void SetUp() override {
        MainFixture::SetUp();
        gIconsPerPage = 5000;
        savedPicker = gFolderPicker;
        gFolderPicker = &PickFolder;
    }
    void TearDown() override {
        gFolderPicker = savedPicker;
        MainFixture::TearDown();
    }
    FolderPicker savedPicker = nullptr;
};

}  // namespace

TEST_F(DamagedFolderTest, OpenFolderAndTheScanListWhatReadsAndDrawEveryPage) {
    std::vector<std::pair<std::string, Bytes>> modules = SourceModules();
    for (const auto& [name, bytes] : modules) ASSERT_FALSE(bytes.empty()) << name;
    const std::string root = dir.Folder("Downloads") + "\\";
    int topEntries = 0;
    damaged::ForEachDamagedFile(modules, 3u << 20, [&](const std::string& name, const Bytes& bytes) {
        topEntries += ReadFileIconCount(dir.File("Downloads\\" + name, std::string(bytes.begin(), bytes.end()))).count;
    });
    modules.clear();
    // The sound files lie in a sub-folder, and one sound library beside the damaged ones.
    std::vector<std::pair<std::string, int>> sound;
    for (const damaged::SoundFile& s : damaged::SoundFiles())
        sound.push_back({dir.File("Downloads\\sub\\" + s.file.name, std::string(s.file.bytes.begin(), s.file.bytes.end())),
                         s.entries});
    const Bytes library = ReadWhole(TestProgramDir() + "modicons.dll");
    sound.push_back({dir.File("Downloads\\sub\\sound.dll", std::string(library.begin(), library.end())), 4});
    int subEntries = 0;
    for (const auto& [path, entries] : sound) subEntries += entries;

    struct Case {
        const char* name;
        bool picked, sub;
        int entries;
    } cases[] = {
        {"Open Folder, sub-folders", true, true, topEntries + subEntries},
        {"disk scan, this folder", false, false, topEntries},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmScan.Load();
        frmScan.chkALL.SetValue(1);
        frmScan.chkScanSubDir.SetValue(c.sub ? 1 : 0);
        if (c.picked) {
            gPicked = root;
            frmScan.cmdBrowse_Click();
            EXPECT_EQ(frmScan.txtDir.Text() + "\\", root);
        } else {
            frmScan.txtDir.SetText(root);
        }
        frmScan.cmdStart_Click();
        ASSERT_EQ(frmMain.cmbResult.ListCount(), c.entries);

        // Every entry of each sound file, and none of a file that was not listed.
        for (const auto& [path, entries] : sound) {
            int found = 0;
            for (int i = 0; i < frmMain.cmbResult.ListCount(); ++i) {
                auto e = ParseEntry(frmMain.cmbResult.List(i));
                if (e && _stricmp(e->file.c_str(), path.c_str()) == 0) ++found;
            }
            EXPECT_EQ(found, c.sub ? entries : 0) << path;
        }

        // Every page draws an item and a picture for each of its entries.
        const int pages = (c.entries + gIconsPerPage - 1) / gIconsPerPage;
        ASSERT_EQ(gPageCount, pages);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1) frmMain.mnuGoNextPage_Click();
            ASSERT_EQ(gPageNr, page);
            const int shown = std::min(gIconsPerPage, c.entries - (page - 1) * gIconsPerPage);
            EXPECT_EQ(frmMain.pnlResult.Count(), shown) << page;
            EXPECT_EQ(frmMain.imlResult32.Count(), shown) << page;
            EXPECT_EQ(Panel("area"), "Page " + std::to_string(page) + " of " + std::to_string(pages));
        }
        EXPECT_TRUE(MenuEnabled(ID_mnuFile));
        EXPECT_TRUE(boxes.empty()) << boxes.front().text;
    }
}
