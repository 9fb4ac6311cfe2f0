// Save As: the selected result icon written as an icon, cursor, bitmap, animated cursor or one icon
// per frame; also adding it to a favorites folder (by the dialog or by a drop) and writing it for
// an external editor.
#include "mainwindow/FrmMain.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "browsing/Favorites.h"
#include "common/OpenPaths.h"
#include "core/Files.h"
#include "core/FolderWalk.h"
#include "core/Global.h"
#include "core/ScopedValue.h"
#include "formats/FileBytes.h"
#include "mainwindow/Selection.h"
#include "output/AnimationFrames.h"
#include "output/IconWriter.h"
#include "output/SaveAs.h"
#include "output/WorkSurfaces.h"
#include "ui/App.h"

bool gEditWithMode = false;

namespace {

constexpr const char* kAnimationFilter =
    "Icon (*.ico)|*.ico|Cursor (*.cur)|*.cur|Bitmap (*.bmp)|*.bmp|Animated icon (*.ani)|*.ani|Seperate icons "
    "(*.ico)|*.ico";
constexpr const char* kStillFilter = "Icon (*.ico)|*.ico|Cursor (*.cur)|*.cur|Bitmap (*.bmp)|*.bmp";
constexpr FileDialogFlags kSaveFlags = FileDialogFlags::LongNames | FileDialogFlags::PathMustExist |
                                       FileDialogFlags::ExtensionDifferent | FileDialogFlags::HideReadOnly |
                                       FileDialogFlags::OverwritePrompt;
constexpr int kSeparateIconsFilter = 5;
constexpr const char* kFavoritesTitle = "Add to Favorites";
constexpr const char* kSaveFailed = "An error occured while saving.";
// "\x94" is the right double quotation mark in the ANSI code page; the ASCII one is allowed.
constexpr std::string_view kRefusedInDrag = "?\x94/\\<>*|:";
constexpr const char* kRefusedText =
    "The Favorite Name contains illegal characters, do not use ?\x94/\\<>*|: characters. Please specify the "
    "Favorite Name";
constexpr const char* kExistsText =
    "A Favorite with this Name already excists in this Favorites Folder.\rPlease specify a new Favorite Name.";
constexpr int32_t kFrameRate = 20;

constexpr std::array<std::string_view, 5> kDialogAnimations = {
    "16 Color Animation", "256 Color Animation", "Hi-Color Animation", "Animated Icon", "Animated Cursor"};
constexpr std::array<std::string_view, 3> kDragAnimations = {"16 Color Animation", "256 Color Animation",
                                                              "Hi-Color Animation"};
constexpr std::array<std::string_view, 5> kCursorTypes = {"16 Color Cursor", "256 Color Cursor", "Hi-Color Cursor",
                                                          "Current Cursor", "Theme Cursor"};

template <size_t N>
bool IsOneOf(const std::string& text, const std::array<std::string_view, N>& set) {
    return std::find(set.begin(), set.end(), text) != set.end();
}

// The extension the dialog's filter index forces on the chosen name; "" for none.
std::string_view ForcedExtension(int filterIndex) {
    switch (filterIndex) {
        case 1:
        case kSeparateIconsFilter: return ".ico";
        case 2: return ".cur";
        case 3: return ".bmp";
        case 4: return ".ani";
        default: return {};
    }
}

// Whether the last characters of the name are `tail`, without regard to case.
bool EndsWith(const std::string& name, std::string_view tail) {
    return name.size() >= tail.size() && LowerAnsi(name.substr(name.size() - tail.size())) == tail;
}

// A dropped item's name as a file name: the text before its first "." and the extension of its type.
std::string DragFileName(const std::string& name, const std::string& type) {
    const char* extension = IsOneOf(type, kDragAnimations) ? ".ani" : IsOneOf(type, kCursorTypes) ? ".cur" : ".ico";
    return name.substr(0, name.find('.')) + extension;
}

// Every failed save is told by this one box, whatever was written.
void SaySaveFailed() { MsgBox(kSaveFailed, MsgBoxStyle::Exclamation, "Error"); }

// The item's picture over picOpen's back colour, as a 24-bit bitmap file.
bool SaveListPicture(FrmMain& form, UniqueIcon icon, const std::string& file) {
    form.picOpen.SetIcon(icon.release());
    bool saved = false;
    if (auto pixels = ReadSurface(form.picOpen.hDC())) {
        formats::Image image(32, 32);
        image.pixels = std::move(*pixels);
        const auto bytes = formats::WriteBmp24(image);
        saved = bytes && formats::WriteFileBytes(WidePath(file), *bytes);
    }
    if (!saved) SaySaveFailed();
    return saved;
}

// The frames of the selected animation written one icon each into the program's own frame folder,
// then joined into the animated cursor `file` or copied beside it as its numbered icons. A frame
// that cannot be written, or no frame at all, writes neither. Answers whether the file was written.
bool SaveFrames(FrmMain& form, const std::string& file, bool separateIcons) {
    // Left on, it would make every later Save As write a frame instead of the selected icon.
    const ScopedValue filmMode(gFilmMode, true);
    form.mnuFilePlay_Click();
    const int32_t frames = gFrameCount;
    if (frames > 0) --gFrameCount;  // from now on the highest frame number, counted from 0

    const std::string folder = FrameFolder();
    std::vector<std::string> names;
    std::vector<int32_t> rates;
    bool framesWritten = frames > 0 && (CreateDirectoryA(folder.c_str(), nullptr) ||
                                        GetLastError() == ERROR_ALREADY_EXISTS);
    const SaveLibrary writer;
    if (framesWritten) {
        form.procGetBitCount();
        for (gLoopIndex = 0; gLoopIndex < frames; ++gLoopIndex) {
            form.procMask();
            const std::string name = folder + std::to_string(gLoopIndex) + ".ico";
            gResult = framesWritten = writer.SaveAsIcon(form.pctColor.hDC(), form.pctMask.hDC(), 32, 32,
                                                        gBitCount, name) != 0;
            if (!framesWritten) break;
            names.push_back(name);
            rates.push_back(kFrameRate);
        }
    }

    bool written = false;
    if (!framesWritten) {
        SaySaveFailed();
    } else if (!separateIcons) {
        gResult = written = writer.SaveAsANI(names, rates, file, 0) != 0;
        if (!written) SaySaveFailed();
    } else {
        // Frame i is copied to the chosen name without its ".ico", followed by i + 1; the first
        // copy that fails ends them.
        const std::string base = file.substr(0, file.size() - 4);
        written = true;
        for (size_t i = 0; written && i < names.size(); ++i)
            written = CopyFileA(names[i].c_str(), (base + std::to_string(i + 1) + ".ico").c_str(), FALSE) != 0;
        if (!written) SaySaveFailed();
    }
    for (const std::string& name : names) DeleteFileA(name.c_str());
    return written;
}

}  // namespace

void FrmMain::mnuFileSaveAs_Click() {
    Hourglass hourglass{Hourglass::Later{}};
    ListItem* item = pnlResult.SelectedItem();
    if (!item) return;
    const std::string type = item->SubItem(1);

    // The dialog's settings, whatever the use.
    if (IsOneOf(gPanelType ? gPanelType->Text() : std::string(), kDialogAnimations)) {
        dlgIcon.Filter = kAnimationFilter;
        dlgIcon.DefaultExt = "ani";
        dlgIcon.FilterIndex = 4;
    } else {
        const bool cursor = IsOneOf(type, kCursorTypes);
        dlgIcon.Filter = kStillFilter;
        dlgIcon.FilterIndex = cursor ? 2 : 1;
        dlgIcon.DefaultExt = cursor ? "cur" : "ico";
    }
    dlgIcon.Flags = kSaveFlags;
    dlgIcon.FileName = pnlResult.Tag;
    std::string favoritesFolder;
    if (gFavoritesMode) {
        favoritesFolder = FavoritesAddFolder(gFavDir, pnlNav.SelectedItem());
        dlgIcon.InitDir = favoritesFolder;
        dlgIcon.DialogTitle = kFavoritesTitle;
    } else {
        // The dialog's own title; the folder stays where the shared dialog was last.
        dlgIcon.DialogTitle.clear();
    }
    if (gEditWithMode) dlgIcon.FileName = gTempDir + "ORTemp.ico";

    // A drop names the file after the item, checked first; a refused or taken name goes to the dialog.
    const bool dropped = gAddByDrag;
    bool showDialog = !gAddByDrag && !gEditWithMode;
    if (gAddByDrag) {
        gAddByDrag = false;
        const std::string& name = dlgIcon.FileName;
        if (name.find_first_of(kRefusedInDrag) != std::string::npos) {
            gResult = MsgBox(kRefusedText, MsgBoxStyle::OkCancel | MsgBoxStyle::Information, kFavoritesTitle);
            if (gResult != MsgBoxResult::Ok) return;
            showDialog = true;
        } else {
            const std::string path = favoritesFolder + "\\" + DragFileName(name, type);
            if (FileExists(path)) {
                gResult = MsgBox(kExistsText, MsgBoxStyle::OkCancel | MsgBoxStyle::Exclamation, kFavoritesTitle);
                if (gResult != MsgBoxResult::Ok) return;
                showDialog = true;
            } else {
                dlgIcon.FileName = path;
            }
        }
    }

    bool separateIcons = false;
    if (showDialog) {
        if (!dlgIcon.ShowSave(hwnd())) return;
        hourglass.Start();
        const std::string_view extension = ForcedExtension(dlgIcon.FilterIndex);
        if (!EndsWith(dlgIcon.FileName, extension)) dlgIcon.FileName += extension;
        separateIcons = dlgIcon.FilterIndex == kSeparateIconsFilter;
    }
    // A picture that no longer reads from the item's source is not written as the placeholder the
    // page shows for it.
    UniqueIcon icon = HandedOnIcon(*item);
    if (!icon) {
        gResult = false;
        SaySaveFailed();
        return;
    }
    if (showDialog && EndsWith(dlgIcon.FileName, "bmp")) {
        if (!SaveListPicture(*this, std::move(icon), dlgIcon.FileName)) return;
        if (dropped) gAddByDragFile = dlgIcon.FileName;
    }

    const std::string file = dlgIcon.FileName;
    const SaveLibrary writer;
    bool written = false;
    if (EndsWith(file, "ico")) {
        procMask();
        procGetBitCount();
        gResult = written = writer.SaveAsIcon(pctColor.hDC(), pctMask.hDC(), 32, 32, gBitCount, file) != 0;
        if (!written) {
            SaySaveFailed();
            return;
        }
    }
    if (EndsWith(file, "cur")) {
        procMask();
        procGetBitCount();
        procSetHotSpot();
        gResult = written = writer.SaveAsCursor(pctColor.hDC(), pctMask.hDC(), 32, 32, gBitCount, gHotSpotX,
                                                gHotSpotY, file) != 0;
        if (!written) {
            SaySaveFailed();
            return;
        }
    }
    if (EndsWith(file, "ani") || separateIcons) written = SaveFrames(*this, file, separateIcons) || written;
    if (dropped && written) gAddByDragFile = file;
}
