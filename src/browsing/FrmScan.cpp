// The disk scan window.
#include "browsing/FrmScan.h"

#include <memory>
#include <utility>

#include "browsing/ListingPace.h"
#include "common/FileIconReader.h"
#include "common/PageMath.h"
#include "common/Paging.h"
#include "core/FolderWalk.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "ui/App.h"

FrmScan frmScan;

namespace {

// Geometry of the client area in twips.
constexpr int kClientWidth = 6495;
constexpr int kClientHeight = 3705;

// Closing the window keeps the sub-folder box as a number, where Start keeps it as text.
constexpr SettingDef kScanSubDirNumber{Store::Settings, "ScanSubDir", REG_DWORD, nullptr};

// A stored box: ticked for "1" (or any other true value), not ticked when missing.
int BoxValue(const SettingDef& def) { return ReadStoredSetting(def).Truth() ? 1 : 0; }

void SaveBox(const SettingDef& def, const CheckBox& box) { WriteSetting(def, std::to_string(box.Value())); }

// For the time of a walk: lists its entries as the registered visitor does, and hands each one the
// filter keeps to the readers at once, so that the files are read while the walk goes on.
class ReadingAheadOfTheWalk final : public FolderWalkVisitor {
  public:
    ReadingAheadOfTheWalk(FileIconCountsAhead& ahead, const FileTypeFilter& filter)
        : ahead_(ahead), filter_(filter), next_(SetFolderWalkVisitor(this)) {}
    ~ReadingAheadOfTheWalk() override { SetFolderWalkVisitor(next_); }
    ReadingAheadOfTheWalk(const ReadingAheadOfTheWalk&) = delete;
    ReadingAheadOfTheWalk& operator=(const ReadingAheadOfTheWalk&) = delete;

    HWND PickerOwner(PickerMode mode) override { return next_->PickerOwner(mode); }
    void FolderChosen(PickerMode mode, const std::string& folder) override { next_->FolderChosen(mode, folder); }
    void EntryListed(const std::string& path) override {
        next_->EntryListed(path);
        if (filter_.Keeps(path)) ahead_.Add(path);
    }
    void FavoritesFolder(const FavoritesNodeKeys& keys, const std::string& name) override {
        next_->FavoritesFolder(keys, name);
    }

  private:
    FileIconCountsAhead& ahead_;
    const FileTypeFilter& filter_;
    FolderWalkVisitor* next_;
};

}  // namespace

FormSpec FrmScan::Spec() const {
    return FixedDialogSpec("Open by Folder", kClientWidth, kClientHeight);
}

void FrmScan::CreateControls() {
    lblDir.Create("Folders:", {120, 150, 1200, 255});
    txtDir.Create("", {120, 420, 5010, 315});
    cmdBrowse.Create("&Browse", {5235, 390, 1140, 375});
    chkScanSubDir.Create("Scan &Subfolders", {120, 855, 3000, 255});
    chkALL.Create("&All Libraries", {300, 1500, 3000, 255});
    chkICL.Create("Icon &Libraries (*.icl)", {300, 1890, 2880, 255});
    chkEXE.Create("&Executables (*.exe)", {300, 2220, 2880, 255});
    chkDLL.Create("&Dynamic Link Libraries (*.dll)", {300, 2550, 2880, 255});
    chkANI.Create("Animated &Icons (*.ani)", {3300, 1890, 2880, 255});
    chkCUR.Create("&Cursors (*.cur)", {3300, 2220, 2880, 255});
    chkICO.Create("Ic&ons (*.ico)", {3300, 2550, 2880, 255});
    cmdStart.Create("S&tart", {3960, 3150, 1140, 375}, ButtonOptions{.isDefault = true});
    cmdCancel.Create("Cancel", {5235, 3150, 1140, 375});
    fraFilter.Create("Filter", {120, 1230, 6255, 1710});  // last: below the boxes it holds
    cmdStart.SetEnabled(false);
}

void FrmScan::BindEvents() {
    chkALL.Click = [this] { chkALL_Click(); };
    cmdBrowse.Click = [this] { cmdBrowse_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdStart.Click = [this] { cmdStart_Click(); };
}

void FrmScan::Form_Load() {
    // The frame fits exactly around the designed client area, whatever the system's borders.
    Move(Left(), Top(), Width() + kClientWidth - ScaleWidth(), Height() + kClientHeight - ScaleHeight());
    DoEvents();

    // Stored as text by Start and as a number on closing; either reads.
    gScanSubDirs = ReadStoredSetting(setting::ScanSubDir).Truth();
    chkScanSubDir.SetValue(gScanSubDirs ? 1 : 0);

    const Variant folder = ReadStoredSetting(setting::ScanDirectory);
    txtDir.SetText(folder.IsBlank() ? std::string() : folder.Text());
    cmdStart.SetEnabled(!folder.IsBlank());

    chkALL.SetValue(BoxValue(setting::ScanAll));
    chkANI.SetValue(BoxValue(setting::ScanANI));
    chkDLL.SetValue(BoxValue(setting::ScanDLL));
    chkCUR.SetValue(BoxValue(setting::ScanCUR));
    chkEXE.SetValue(BoxValue(setting::ScanEXE));
    chkICL.SetValue(BoxValue(setting::ScanICL));
    chkICO.SetValue(BoxValue(setting::ScanICO));
    chkALL_Click();

    MoveToStoredPosition(*this, windowpos::Scan);
}

void FrmScan::chkALL_Click() {
    const bool each = chkALL.Value() != 1;
    for (CheckBox* box : {&chkICL, &chkEXE, &chkDLL, &chkANI, &chkCUR, &chkICO}) box->SetEnabled(each);
}

void FrmScan::cmdBrowse_Click() {
    // The picker writes the folder into txtDir and enables Start itself.
    gResult = BrowseForFolder(txtDir.Text());
}

void FrmScan::cmdCancel_Click() { Unload(); }

FileTypeFilter FrmScan::Filter() const {
    FileTypeFilter f;
    f.all = chkALL.Value() == 1;
    f.ani = chkANI.Value() == 1;
    f.cur = chkCUR.Value() == 1;
    f.dll = chkDLL.Value() == 1;
    f.exe = chkEXE.Value() == 1;
    f.icl = chkICL.Value() == 1;
    f.ico = chkICO.Value() == 1;
    return f;
}

void FrmScan::cmdStart_Click() {
    DoEvents();
    if (!IsLoaded()) return;

    WriteSetting(setting::ScanDirectory, txtDir.Text());
    SaveBox(setting::ScanAll, chkALL);
    SaveBox(setting::ScanANI, chkANI);
    SaveBox(setting::ScanCUR, chkCUR);
    SaveBox(setting::ScanDLL, chkDLL);
    SaveBox(setting::ScanEXE, chkEXE);
    SaveBox(setting::ScanICL, chkICL);
    SaveBox(setting::ScanICO, chkICO);
    gScanSubDirs = chkScanSubDir.Value() == 1;
    WriteSetting(setting::ScanSubDir, gScanSubDirs ? "1" : "0");

    if (txtDir.Text().empty()) {
        cmdStart.SetEnabled(false);
        gResult = MsgBox("Select a valid path!", MsgBoxStyle::Exclamation, Caption(), hwnd());
        return;
    }

    Hide();
    FrmMain& main = frmMain;
    // The result on show reads its shortcuts' paths from lstFiles: an aborted walk puts them back.
    HiddenList shownFiles = std::move(main.lstFiles);
    main.lstFiles.Clear();
    main.procSetAbort(false);
    if (gPanelMessage) gPanelMessage->SetText("Searching for icon libraries, please wait...");

    // Counted from nought for this walk: the status text gives this folder's numbers.
    gFileCount = 0;
    gDirCount = 0;
    std::string folder = txtDir.Text();
    const FileTypeFilter filter = Filter();
    auto ahead = std::make_unique<FileIconCountsAhead>(kListingReaders);
    {
        ReadingAheadOfTheWalk reading(*ahead, filter);
        ScanFolderTree(folder, "*.*", gFileCount, gDirCount);
    }

    if (gAbort) {
        ahead->Stop([] {
            if (EventsDue()) DoEvents();
        });
        ahead.reset();
        if (!main.IsLoaded()) return;  // closed during the walk: the program ends
        main.lstFiles = std::move(shownFiles);
        // The previous result comes back from its first page. Its menus first: the page then
        // stops the page light, which is for a new result.
        gAbort = false;
        gPageNr = 1;
        gPageCount = PageCountFor(main.cmbResult.ListCount(), gIconsPerPage);
        main.procSetPageNr();
        main.procGetPage();
        main.procSetAbort(true);
        SetScreenMousePointer(PointerShape::Default);
        Unload();
        return;
    }

    KeepFiles(main.lstFiles, [&filter](const std::string& path) { return filter.Keeps(path); });
    if (gPanelMessage)
        gPanelMessage->SetText(std::to_string(gFileCount) + " files checked, " +
                               std::to_string(main.lstFiles.ListCount()) + " files matched your filter.");
    SetScreenMousePointer(PointerShape::Default);
    DoEvents();

    main.cmbResult.Clear();
    main.procSearchOpen(ahead.get());
    main.procSetAbort(true);
    main.cmbSearch.SetText({});
    SetScreenMousePointer(PointerShape::Default);
}

void FrmScan::Form_Unload(bool&) {
    SaveWindowPosition(*this, windowpos::Scan);
    WriteSetting(kScanSubDirNumber, chkScanSubDir.Value() == 1 ? 1 : 0);
}
