// The picture import window over the loaded main window, driven through the dialog seams and the
// message-box hook: pictures opened and pasted, the 32 x 32 icon and its transparent colour, Save
// As at every filter, Close, and files that are no picture.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "PageFixture.h"
#include "SamplePictures.h"
#include "TestSupport.h"
#include "core/Files.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "formats/Bmp.h"
#include "formats/FileBytes.h"
#include "formats/IconFile.h"
#include "mainwindow/FrmMain.h"
#include "output/FrmImport.h"
#include "output/PictureImport.h"
#include "output/WorkSurfaces.h"
#include "ui/App.h"
#include "ui/CommonDialog.h"

namespace {

struct DialogPlay {
    std::string filter, initDir, offered, defaultExt;
    DWORD flags = 0;
    int offeredIndex = 0;
    bool cancel = false;
    std::string answer;
    int answerIndex = 0;  // 0: the offered one
};
DialogPlay gOpen, gSave;

bool Play(DialogPlay& play, OPENFILENAMEA& ofn) {
    play.filter.clear();
    for (const char* f = ofn.lpstrFilter; f && *f; f += strlen(f) + 1) play.filter += std::string(f) + "|";
    if (!play.filter.empty()) play.filter.pop_back();
    play.initDir = ofn.lpstrInitialDir ? ofn.lpstrInitialDir : "";
    play.offered = ofn.lpstrFile;
    play.defaultExt = ofn.lpstrDefExt ? ofn.lpstrDefExt : "";
    play.flags = ofn.Flags;
    play.offeredIndex = static_cast<int>(ofn.nFilterIndex);
    if (play.cancel) return false;
    lstrcpynA(ofn.lpstrFile, play.answer.c_str(), static_cast<int>(ofn.nMaxFile));
    if (play.answerIndex) ofn.nFilterIndex = static_cast<DWORD>(play.answerIndex);
    return true;
}

std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;

int gSystemLoads = 0;
SystemPictureLoader gRealLoader = nullptr;

constexpr formats::Pixel kWhite{255, 255, 255}, kDarkRed{0, 0, 128}, kBlue{255, 0, 0};

// A bitmap file of the picture `paint` fills in (x, y → pixel).
void WriteBitmap(const std::string& file, int width, int height,
                 const std::function<formats::Pixel(int, int)>& paint) {
    formats::Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.At(x, y) = paint(x, y);
    const auto bytes = formats::WriteBmp24(image);
    ASSERT_TRUE(bytes && formats::WriteFileBytes(WidePath(file), *bytes));
}

void WriteBytes(const std::string& file, const std::vector<std::uint8_t>& bytes) {
    ASSERT_TRUE(formats::WriteFileBytes(WidePath(file), bytes));
}

// 32 x 32: white, a dark red square at 4..11 and a blue one at 20..27.
formats::Pixel ThreeColours(int x, int y) {
    if (x >= 4 && x < 12 && y >= 4 && y < 12) return kDarkRed;
    if (x >= 20 && x < 28 && y >= 20 && y < 28) return kBlue;
    return kWhite;
}

// Whether the icon's pixel lets the background through: drawn on black and on white it differs.
bool Transparent(HICON icon, int x, int y) {
    COLORREF seen[2] = {};
    for (int i = 0; i < 2; ++i) {
        MemoryBitmap picture(32, 32);
        RECT all{0, 0, 32, 32};
        FillRect(picture.dc(), &all, static_cast<HBRUSH>(GetStockObject(i ? WHITE_BRUSH : BLACK_BRUSH)));
        DrawIconEx(picture.dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
        seen[i] = GetPixel(picture.dc(), x, y);
    }
    return seen[0] != seen[1];
}

class ImportTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        savedOpen_ = std::exchange(gOpenFileDialog, [](OPENFILENAMEA& ofn) { return Play(gOpen, ofn); });
        savedSave_ = std::exchange(gSaveFileDialog, [](OPENFILENAMEA& ofn) { return Play(gSave, ofn); });
        gRealLoader = std::exchange(gLoadSystemPicture, [](const void* bytes, size_t size) {
            ++gSystemLoads;
            return gRealLoader(bytes, size);
        });
        gOpen = {};
        gSave = {};
        gBoxes.clear();
        gSystemLoads = 0;
        for (const SettingDef* def : {&setting::ImportDirectory, &setting::ImportTop, &setting::ImportLeft,
                                      &setting::NoCursorChange})
            Forget(*def);
        frmMain.mnuToolsImport_Click();
    }
    void TearDown() override {
        frmImport.Unload();
        gLoadSystemPicture = gRealLoader;
        gOpenFileDialog = savedOpen_;
        gSaveFileDialog = savedSave_;
        for (const SettingDef* def : {&setting::ImportDirectory, &setting::ImportTop, &setting::ImportLeft,
                                      &setting::NoCursorChange})
            Forget(*def);
        PagesTest::TearDown();
    }
    static void Forget(const SettingDef& def) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, StoreKey(def.store), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        RegDeleteValueA(key, def.name);
        RegCloseKey(key);
    }
    void Open(const std::string& file) {
        gOpen.answer = file;
        frmImport.mnuFileOpen_Click();
    }
    // Save As and Copy as the menu, the pop-up and the tool bar show them.
    static std::vector<bool> Commands() {
        auto& menus = frmImport.Menus();
        return {menus.Find(FrmImport::ID_mnuFileSaveAs)->enabled,
                menus.Find(FrmImport::ID_mnuIconClickSaveAs)->enabled,
                frmImport.pnlToolbar.Buttons("save").Enabled(),
                menus.Find(FrmImport::ID_mnuEditCopy)->enabled,
                menus.Find(FrmImport::ID_mnuIconClickCopy)->enabled,
                frmImport.pnlToolbar.Buttons("copy").Enabled()};
    }
    static std::vector<bool> SaveAndCopy(bool save, bool copy) { return {save, save, save, copy, copy, copy}; }

  private:
    FileDialog savedOpen_ = nullptr, savedSave_ = nullptr;
};

TEST_F(ImportTest, LoadsEmptyWithItsButtonsAndHint) {
    EXPECT_EQ(frmImport.Caption(), "Glyphwright");
    EXPECT_TRUE(frmImport.Visible());
    EXPECT_EQ(GetWindow(frmImport.hwnd(), GW_OWNER), nullptr);
    EXPECT_EQ(frmImport.pnlStatusbar.Panels(1).Text(), "Open or paste from the Clipboard");
    EXPECT_FALSE(frmImport.picImport.Enabled());
    EXPECT_EQ(Commands(), SaveAndCopy(false, false));
    // Each tool button finds its picture in the strips the main window loads.
    ASSERT_EQ(frmImport.pnlToolbar.ButtonCount(), 5);
    for (int i = 1; i <= 5; ++i)
        EXPECT_NE(frmMain.imlToolbarGrey.IndexOf(frmImport.pnlToolbar.Buttons(i).Image()), -1) << i;
}

TEST_F(ImportTest, OpenNamesTheIconAndKeepsTheFolderOnlyWhenItChanged) {
    const std::string pics = dir.Folder("pics") + "\\";
    WriteBitmap(pics + "sun.big.bmp", 32, 32, ThreeColours);
    WriteBitmap(pics + "moon", 32, 32, ThreeColours);
    const struct {
        const char* name;
        std::optional<std::string> stored;  // ImportDirectory before
        std::string file;
        std::string tag;
        std::string storedAfter;
    } cases[] = {
        {"first open", std::nullopt, "sun.big.bmp", "sun", pics},
        {"same folder", pics, "sun.big.bmp", "sun", pics},
        {"another folder before", std::string("C:\\elsewhere\\"), "sun.big.bmp", "sun", pics},
        {"no extension", std::nullopt, "moon", "moon", pics},
    };
    for (const auto& c : cases) {
        Forget(setting::ImportDirectory);
        if (c.stored) WriteSetting(setting::ImportDirectory, Variant(*c.stored));
        Open(pics + c.file);
        EXPECT_EQ(gOpen.initDir, c.stored.value_or("")) << c.name;
        EXPECT_EQ(gOpen.flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES))
            << c.name;
        EXPECT_EQ(gOpen.offered, "") << c.name;
        EXPECT_EQ(frmImport.picIcon.Tag, c.tag) << c.name;
        EXPECT_EQ(ReadStoredSetting(setting::ImportDirectory).Text(), c.storedAfter) << c.name;
        EXPECT_TRUE(frmImport.picImport.Enabled()) << c.name;
        EXPECT_EQ(Commands(), SaveAndCopy(true, true)) << c.name;
    }
    EXPECT_EQ(gOpen.filter,
              "All picture files|*.bmp;*.dib;*.dib;*.gif;*.jpg;*.wmf;*.emf|Bitmaps (*.bmp;*.dib)|*.bmp;*.dib|"
              "Compuserve Graphics Interchange (*.gif)|*.gif|JPEG Images (*.jpg)|*.jpg|Metafiles "
              "(*.wmf;*.emf)|*.wmf;*emf");
    EXPECT_TRUE(gBoxes.empty());
}

TEST_F(ImportTest, CancelledOpenChangesNothing) {
    gOpen.cancel = true;
    frmImport.mnuFileOpen_Click();
    EXPECT_FALSE(frmImport.picImport.Enabled());
    EXPECT_EQ(Commands(), SaveAndCopy(false, false));
    EXPECT_TRUE(ReadStoredSetting(setting::ImportDirectory).IsEmpty());
}

TEST_F(ImportTest, PictureIsSqueezedTo32By32ByEachSidesOwnFactor) {
    // 64 x 48 in four quadrants: each becomes 16 x 16.
    const formats::Pixel red{0, 0, 255}, green{0, 255, 0}, blue{255, 0, 0}, yellow{0, 255, 255};
    const std::string file = dir.path() + "quadrants.bmp";
    WriteBitmap(file, 64, 48, [&](int x, int y) { return y < 24 ? (x < 32 ? red : green) : (x < 32 ? blue : yellow); });
    Open(file);
    const struct {
        int x, y;
        COLORREF expected;
    } pixels[] = {{0, 0, RGB(255, 0, 0)},   {15, 15, RGB(255, 0, 0)},  {16, 0, RGB(0, 255, 0)},
                  {31, 15, RGB(0, 255, 0)}, {0, 16, RGB(0, 0, 255)},   {15, 31, RGB(0, 0, 255)},
                  {16, 16, RGB(255, 255, 0)}, {31, 31, RGB(255, 255, 0)}};
    for (const auto& p : pixels) EXPECT_EQ(frmImport.picOpen.Point(p.x, p.y), p.expected) << p.x << "," << p.y;
    BITMAP bm{};
    ASSERT_TRUE(GetObjectA(frmImport.picOpen.Picture(), sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 32);
}

TEST_F(ImportTest, DarkRedIsTransparentUntilAClickPicksWhite) {
    const std::string file = dir.path() + "three.bmp";
    WriteBitmap(file, 32, 32, ThreeColours);
    Open(file);
    HICON icon = frmImport.picIcon.Icon();
    EXPECT_TRUE(Transparent(icon, 6, 6));
    EXPECT_FALSE(Transparent(icon, 0, 0));
    EXPECT_FALSE(Transparent(icon, 24, 24));
    EXPECT_EQ(frmMain.imlIcon32.MaskColor(), RGB(128, 0, 0));

    // A click on a white pixel (twips).
    frmImport.picImport_MouseUp(1, 0, 1 * 15.0f, 1 * 15.0f);
    icon = frmImport.picIcon.Icon();
    EXPECT_EQ(frmMain.imlIcon32.MaskColor(), RGB(255, 255, 255));
    EXPECT_TRUE(Transparent(icon, 0, 0));
    EXPECT_TRUE(Transparent(icon, 16, 16));
    EXPECT_FALSE(Transparent(icon, 6, 6)) << "the old transparent pixels show the back colour now";
    EXPECT_FALSE(Transparent(icon, 24, 24));

    // A new open starts from dark red again.
    Open(file);
    EXPECT_TRUE(Transparent(frmImport.picIcon.Icon(), 6, 6));
    EXPECT_FALSE(Transparent(frmImport.picIcon.Icon(), 0, 0));
}

// The kind (1 icon, 2 cursor), size and hotspot of a written file.
struct Written {
    bool exists = false;
    int kind = 0;
    size_t size = 0;
    int hotX = 0, hotY = 0;
};
Written ReadWritten(const std::string& file) {
    Written w;
    const auto bytes = formats::ReadFileBytes(WidePath(file), 1 << 20);
    if (!bytes) return w;
    const auto directory = formats::ReadIconDirectory(*bytes);
    if (!directory) return w;
    w.exists = true;
    w.kind = static_cast<int>(directory->kind);
    w.size = bytes->size();
    w.hotX = directory->images[0].hotspotX;
    w.hotY = directory->images[0].hotspotY;
    return w;
}

TEST_F(ImportTest, SaveAsAtEachFilterWritesItsDepthAndKind) {
    const std::string file = dir.path() + "arrow.bmp";
    WriteBitmap(file, 32, 32, ThreeColours);
    Open(file);
    WriteSetting(setting::NoCursorChange, std::string("1"));
    HotSpotClicker clicker(35, 45);  // the pixel (3, 4)
    const struct {
        int filter;
        const char* answer;
        const char* written;
        int kind;
        size_t size;
    } cases[] = {
        {1, "i16", "i16.ico", 1, 766},     {2, "i256", "i256.ico", 1, 2238}, {3, "ihi", "ihi.ico", 1, 3262},
        {4, "c16", "c16.cur", 2, 766},     {5, "arrow", "arrow.cur", 2, 2238}, {6, "chi", "chi.cur", 2, 3262},
        {1, "icon.ICO", "icon.ICO", 1, 766}, {1, "icon.bmp", "icon.bmp.ico", 1, 766},
        {4, "point.CUR", "point.CUR", 2, 766},
    };
    int clicks = HotSpotClicker::Clicks();
    for (const auto& c : cases) {
        gSave.answer = dir.path() + c.answer;
        gSave.answerIndex = c.filter;
        frmImport.mnuFileSaveAs_Click();
        EXPECT_EQ(gSave.offered, "arrow") << c.answer;
        EXPECT_EQ(gSave.flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXTENSIONDIFFERENT |
                                                  OFN_PATHMUSTEXIST | OFN_LONGNAMES))
            << c.answer;
        EXPECT_EQ(gSave.defaultExt, "ico") << c.answer;
        const Written w = ReadWritten(dir.path() + c.written);
        ASSERT_TRUE(w.exists) << c.answer;
        EXPECT_EQ(w.kind, c.kind) << c.answer;
        EXPECT_EQ(w.size, c.size) << c.answer;
        if (c.kind == 2) {
            EXPECT_EQ(HotSpotClicker::Clicks(), ++clicks) << c.answer;
            EXPECT_EQ(w.hotX, 3) << c.answer;
            EXPECT_EQ(w.hotY, 4) << c.answer;
        }
        EXPECT_FALSE(gImportMode) << c.answer;
    }
    EXPECT_EQ(HotSpotClicker::Clicks(), clicks);
    EXPECT_FALSE(std::filesystem::exists(WidePath(dir.path() + "icon.ICO.ico")));
    EXPECT_EQ(gSave.filter,
              "16 Color Icon (*.ico)|*.ico|256 Color Icon (*.ico)|*.ico|Hi-color Icon (*.ico)|*.ico|16 Color Cursor "
              "(*.cur)|*.cur|256 Color Cursor (*.cur)|*.cur|Hi-color Icon (*.cur)|*.cur");
    // The dialog opens on the filter chosen last.
    frmImport.mnuFileSaveAs_Click();
    EXPECT_EQ(gSave.offeredIndex, 4);
    EXPECT_TRUE(gBoxes.empty());
}

TEST_F(ImportTest, WrittenIconCarriesThePreviewsTransparency) {
    const std::string file = dir.path() + "three.bmp";
    WriteBitmap(file, 32, 32, ThreeColours);
    Open(file);
    gSave.answer = dir.path() + "three";
    gSave.answerIndex = 3;
    frmImport.mnuFileSaveAs_Click();
    UniqueIcon icon(static_cast<HICON>(
        LoadImageA(nullptr, (dir.path() + "three.ico").c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE)));
    ASSERT_TRUE(icon);
    EXPECT_TRUE(Transparent(icon.get(), 6, 6));
    EXPECT_FALSE(Transparent(icon.get(), 0, 0));
}

TEST_F(ImportTest, CancelledOrFailedSaveLeavesImportModeDown) {
    const std::string file = dir.path() + "three.bmp";
    WriteBitmap(file, 32, 32, ThreeColours);
    Open(file);
    gSave.cancel = true;
    frmImport.mnuFileSaveAs_Click();
    EXPECT_FALSE(gImportMode);
    EXPECT_TRUE(gBoxes.empty());

    gSave = {};
    gSave.answer = dir.path() + "no such folder\\x.ico";
    gSave.answerIndex = 1;
    frmImport.mnuFileSaveAs_Click();
    EXPECT_FALSE(gImportMode);
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0].text, "An error occured while saving.");
    EXPECT_EQ(gBoxes[0].title, "Error");
}

TEST_F(ImportTest, CloseKeepsThePlaceAndGivesTheMaskColourBack) {
    const std::string file = dir.path() + "three.bmp";
    WriteBitmap(file, 32, 32, ThreeColours);
    Open(file);
    frmImport.picImport_MouseUp(1, 0, 15.0f, 15.0f);
    frmMain.picOpen.SetBackColor(RGB(1, 2, 3));
    frmImport.Move(1500, 1200);
    frmImport.mnuFileClose_Click();
    EXPECT_FALSE(frmImport.IsLoaded());
    EXPECT_EQ(frmMain.imlIcon32.MaskColor(), RGB(1, 2, 3));
    EXPECT_EQ(ReadStoredSetting(setting::ImportLeft).Number(), 1500);
    EXPECT_EQ(ReadStoredSetting(setting::ImportTop).Number(), 1200);
    frmMain.picOpen.SetBackColor(std::nullopt);

    // Loaded again: at its place, empty.
    frmMain.mnuToolsImport_Click();
    EXPECT_EQ(frmImport.Left(), 1500);
    EXPECT_EQ(frmImport.Top(), 1200);
    EXPECT_FALSE(frmImport.picIcon.HasPicture());
    EXPECT_EQ(frmImport.picIcon.Tag, "");
    EXPECT_EQ(Commands(), SaveAndCopy(false, false));
}

TEST_F(ImportTest, MinimisedCloseKeepsNoPlace) {
    frmImport.SetWindowState(FormWindowState::Minimized);
    frmImport.Unload();
    EXPECT_TRUE(ReadStoredSetting(setting::ImportTop).IsEmpty());
}

TEST_F(ImportTest, GifJpegAndMetafilesLoadThroughTheSystem) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {{"two.gif", sample::Gif()}, {"red.jpg", sample::Jpeg()}, {"box.wmf", sample::Wmf()},
                 {"frame.emf", sample::Emf()}};
    int loads = 0;
    for (const auto& c : cases) {
        const std::string file = dir.path() + c.name;
        WriteBytes(file, c.bytes);
        frmImport.Unload();
        frmMain.mnuToolsImport_Click();
        Open(file);
        EXPECT_EQ(gSystemLoads, ++loads) << c.name;
        EXPECT_TRUE(gBoxes.empty()) << c.name;
        EXPECT_TRUE(frmImport.picIcon.HasPicture()) << c.name;
        EXPECT_EQ(Commands(), SaveAndCopy(true, true)) << c.name;
    }
    // The GIF's dark red quarter is transparent.
    frmImport.Unload();
    frmMain.mnuToolsImport_Click();
    Open(dir.path() + "two.gif");
    EXPECT_TRUE(Transparent(frmImport.picIcon.Icon(), 2, 2));
    EXPECT_FALSE(Transparent(frmImport.picIcon.Icon(), 30, 30));
    EXPECT_EQ(frmImport.picOpen.Point(20, 20), RGB(255, 255, 255));
}

TEST_F(ImportTest, FilesThatAreNoPictureLeaveTheWindowAsItWas) {
    const std::string good = dir.path() + "good.bmp";
    WriteBitmap(good, 32, 32, ThreeColours);
    auto cut = [](std::vector<std::uint8_t> b) {
        b.resize(b.size() / 2);
        return b;
    };
    auto flipped = [](std::vector<std::uint8_t> b, size_t at) {
        b[at] ^= 0xFF;
        return b;
    };
    std::vector<std::uint8_t> bitmap = *formats::WriteBmp24(formats::Image(8, 8));
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"text.bmp", {'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}},
        {"cut.bmp", cut(bitmap)},
        {"wide.bmp", flipped(bitmap, 21)},  // 8 + 0xFF000000 pixels wide
        {"cut.gif", cut(sample::Gif())},
        {"wide.gif", flipped(sample::Gif(), 7)},
        {"cut.jpg", cut(sample::Jpeg())},
        {"flipped.jpg", flipped(sample::Jpeg(), 2)},
        {"cut.wmf", cut(sample::Wmf())},
        {"flipped.wmf", flipped(sample::Wmf(), 20)},
        {"cut.emf", cut(sample::Emf())},
        {"text.gif", {'G', 'I', 'F'}},
        {"empty.jpg", {}},
    };
    Open(good);
    ASSERT_TRUE(gBoxes.empty());
    frmImport.picImport_MouseUp(1, 0, 15.0f, 15.0f);  // white transparent
    const HICON before = frmImport.picIcon.Icon();
    for (const auto& c : cases) {
        const std::string file = dir.path() + c.name;
        WriteBytes(file, c.bytes);
        gBoxes.clear();
        Open(file);
        ASSERT_EQ(gBoxes.size(), 1u) << c.name;
        EXPECT_EQ(gBoxes[0].title, "Error") << c.name;
        EXPECT_NE(gBoxes[0].text.find(file), std::string::npos) << c.name;
        EXPECT_EQ(frmImport.picIcon.Icon(), before) << c.name;
        EXPECT_EQ(frmImport.picIcon.Tag, "good") << c.name;
        EXPECT_EQ(frmMain.imlIcon32.MaskColor(), RGB(255, 255, 255)) << c.name;
        EXPECT_EQ(Commands(), SaveAndCopy(true, true)) << c.name;
    }
    EXPECT_EQ(gSystemLoads, 0) << "no broken file reaches the system's loader";
}

TEST_F(ImportTest, FirstFileThatIsNoPictureEnablesNothing) {
    const std::string file = dir.File("text.bmp", "hello");
    Open(file);
    EXPECT_EQ(gBoxes.size(), 1u);
    EXPECT_FALSE(frmImport.picImport.Enabled());
    EXPECT_EQ(Commands(), SaveAndCopy(false, false));
}

class ImportClipboardTest : public ImportTest {};

// Puts a bitmap of one colour, width x height, on the clipboard; none when width is 0.
void PutOnClipboard(int width, int height, COLORREF color) {
    ASSERT_TRUE(OpenClipboard(frmImport.hwnd()));
    EmptyClipboard();
    if (width > 0) {
        MemoryBitmap picture(width, height);
        RECT all{0, 0, width, height};
        UniqueBrush brush(CreateSolidBrush(color));
        FillRect(picture.dc(), &all, brush.get());
        SetClipboardData(CF_BITMAP, picture.Release());
    }
    CloseClipboard();
}

TEST_F(ImportClipboardTest, PasteLeavesTheNameEmptyAndCopyOff) {
    const std::string file = dir.path() + "named.bmp";
    WriteBitmap(file, 32, 32, ThreeColours);
    PutOnClipboard(64, 10, RGB(0, 128, 255));
    frmImport.mnuEditPaste_Click();
    EXPECT_TRUE(gBoxes.empty());
    EXPECT_EQ(frmImport.picIcon.Tag, "");
    EXPECT_TRUE(frmImport.picImport.Enabled());
    EXPECT_EQ(Commands(), SaveAndCopy(true, false));
    EXPECT_EQ(frmImport.picOpen.Point(31, 31), RGB(0, 128, 255));

    // After an open Copy stays on through a paste.
    Open(file);
    frmImport.mnuEditPaste_Click();
    EXPECT_EQ(frmImport.picIcon.Tag, "");
    EXPECT_EQ(Commands(), SaveAndCopy(true, true));
}

TEST_F(ImportClipboardTest, EmptyClipboardLeavesTheWindowAsItWas) {
    PutOnClipboard(0, 0, 0);
    frmImport.mnuEditPaste_Click();
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0].title, "Error");
    EXPECT_FALSE(frmImport.picImport.Enabled());
    EXPECT_FALSE(frmImport.picIcon.HasPicture());
    EXPECT_EQ(Commands(), SaveAndCopy(false, false));
}

TEST_F(ImportClipboardTest, CopyPutsThe32By32PictureOnTheClipboard) {
    const std::string file = dir.path() + "quad.bmp";
    WriteBitmap(file, 64, 64, [](int x, int) { return x < 32 ? kBlue : kWhite; });
    Open(file);
    PutOnClipboard(0, 0, 0);
    frmImport.mnuEditCopy_Click();
    ASSERT_TRUE(OpenClipboard(frmImport.hwnd()));
    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP bm{};
    COLORREF left = CLR_INVALID, right = CLR_INVALID;
    if (bitmap && GetObjectA(bitmap, sizeof bm, &bm)) {
        UniqueMemDC dc(CreateCompatibleDC(nullptr));
        SelectInDC in(dc.get(), bitmap);
        left = GetPixel(dc.get(), 5, 5);
        right = GetPixel(dc.get(), 25, 5);
    }
    CloseClipboard();
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 32);
    EXPECT_EQ(left, RGB(0, 0, 255));
    EXPECT_EQ(right, RGB(255, 255, 255));
}

}  // namespace
