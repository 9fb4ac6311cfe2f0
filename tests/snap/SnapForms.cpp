// Shows the program's windows one at a time and saves each as a BMP file, so that a person can
// look at them: snap_forms.exe <folder> [window name ...]
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/CursorKinds.h"
#include "browsing/FrmAdd.h"
#include "browsing/FrmKey.h"
#include "common/PageMath.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "common/ShortcutOrigin.h"
#include "changing/FrmChange.h"
#include "common/SaveShortcut.h"
#include "core/Folders.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/IconCache.h"
#include "core/SaveOnExit.h"
#include "core/ScopedValue.h"
#include "core/FrmSplash.h"
#include "core/Settings.h"
#include "core/FrmInfo.h"
#include "core/FrmTip.h"
#include "core/Instance.h"
#include "browsing/FrmScan.h"
#include "program/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/FrmOptions.h"
#include "core/FolderWalk.h"
#include "mainwindow/Options.h"
#include "output/FrmZoom.h"
#include "output/FrmProp.h"
#include "output/FrmAni.h"
#include "output/AnimationFrames.h"
#include "output/FrmImport.h"
#include "formats/Bmp.h"
#include "formats/FileBytes.h"
#include "core/Files.h"
#include "ui/CommonDialog.h"
#include "ui/App.h"
#include "ui/DragDrop.h"
#include "ui/Form.h"
#include "ui/InputBox.h"
#include "ui/Unique.h"
#include "ui/Units.h"

namespace {

std::string TestProgramFolder() {
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer);
    return path.substr(0, path.rfind('\\') + 1);
}

void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        DoEvents();
        Sleep(20);
    }
}

bool SaveWindowBitmap(HWND hwnd, const std::string& file) {
    RECT r;
    GetWindowRect(hwnd, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    int stride = ((w * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(stride * h);
    FILE* f = std::fopen(file.c_str(), "wb");
    bool ok = f != nullptr;
    if (f) {
        std::fwrite(&fh, sizeof fh, 1, f);
        std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        std::fwrite(bits, 1, static_cast<size_t>(stride * h), f);
        std::fclose(f);
    }
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}

// A page of the system's own icons and cursors, with a catalogue entry, in one of the three views.
Form* ShowPage(void (FrmMain::*view)()) {
    frmMain.Show();
    frmMain.cmbResult.Clear();
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string shell = std::string(system) + "\\shell32.dll";
    const int icons = static_cast<int>(reinterpret_cast<INT_PTR>(ExtractIconA(nullptr, shell.c_str(), UINT(-1))));
    for (int i = 0; i < icons && i < 40; ++i)
        frmMain.cmbResult.AddItem(OpenEntry(shell, i, "#" + std::to_string(i + 1) + " of " + std::to_string(icons), 'd'));
    frmMain.cmbResult.AddItem(BookEntry("1:0:a02"), 0);
    gKeywords[0] = "star";
    gIconsPerPage = 200;
    gPageNr = 1;
    gPageCount = PageCountFor(frmMain.cmbResult.ListCount(), gIconsPerPage);
    (frmMain.*view)();
    frmMain.procGetPage();
    return &frmMain;
}

// The fourteen current cursors as Windows' own, in the details view.
Form* ShowCursorPage() {
    frmMain.Show();
    frmMain.cmbResult.Clear();
    for (const CursorKind& kind : CursorKinds()) frmMain.cmbResult.AddItem(DefaultCursorEntry(kind.cursorId));
    gIconsPerPage = 200;
    gPageNr = 1;
    gPageCount = 1;
    frmMain.mnuViewDetails_Click();
    frmMain.procGetPage();
    return &frmMain;
}

// The built program's folder, beside the test programs' one, with the shipped catalogue.
std::string BuiltProgramFolder() {
    const std::string tests = TestProgramFolder();
    return tests.substr(0, tests.rfind('\\', tests.size() - 2) + 1) + "Ornavale\\";
}

// The shipped catalogue loaded from the built program folder and a keyword searched, as a click
// in the keyword box does it.
Form* ShowKeyword(const char* keyword) {
    gAppPath = BuiltProgramFolder();
    frmMain.Show();
    for (int i = 0; i < frmMain.cmbSearch.ListCount(); ++i)
        if (frmMain.cmbSearch.List(i) == keyword) frmMain.cmbSearch.SetListIndex(i);
    frmMain.mnuViewLargeIcons_Click();
    frmMain.procSearchOrnavale();
    return &frmMain;
}

// The shipped catalogue loaded and a tree node clicked, its branch opened and the node selected.
Form* ShowNode(const char* key) {
    gAppPath = BuiltProgramFolder();
    gCatalogName = "Ornavale";  // as the splash sets it
    frmMain.Show();
    frmMain.mnuViewLargeIcons_Click();
    frmMain.procBuildNavTree();  // with what the shot put into the registry
    Node& node = frmMain.pnlNav.Item(key);
    for (Node* up = node.parent; up; up = up->parent) frmMain.pnlNav.SetExpanded(up->key, true);
    frmMain.pnlNav.SetSelectedItem(key);
    frmMain.pnlNav_NodeClick(node);
    return &frmMain;
}

// A catalogue folder icon selected on its page, for the zoom window to enlarge.
void ShowZoomedIcon() {
    ShowKeyword("folder");
    if (frmMain.pnlResult.Count() > 0) frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(1));
}

// The player on the first catalogue folder icons of a page as its frames, a few of them played.
Form* ShowPlayer() {
    ShowKeyword("folder");
    const int frames = std::min(frmMain.pnlResult.Count(), 6);
    for (int i = 1; i <= frames; ++i) {
        UniqueIcon icon = frmMain.imlResult32.GetIcon(frmMain.pnlResult.Item(i).Icon());
        frmMain.FilmElement(static_cast<size_t>(i)).SetIcon(icon.release());
    }
    gFrameCount = frames;
    gFrameNr = 1;
    gShowAnimationPlayer();
    Pump(1000);
    return &frmAni;
}

// A tree node listed, the item with this text selected (else the first), and File > Change.
Form* ShowChange(const char* node, const char* text) {
    ShowNode(node);
    ListView& list = frmMain.pnlResult;
    if (list.Count() == 0) return &frmChange;
    ListItem* chosen = &list.Item(1);
    for (int i = 1; i <= list.Count(); ++i)
        if (list.Item(i).Text() == text) chosen = &list.Item(i);
    list.SetSelectedItem(chosen);
    frmMain.mnuFileChange_Click();
    return &frmChange;
}

struct Shot {
    const char* name;
    std::function<Form*()> show;  // shows the window; answers the form to capture
    std::function<void()> modal = nullptr;  // or: shows a modal box, captured and closed while it is open
};

// The capture of a modal box: taken by a timer while the box's own loop runs.
std::string modalFile;
bool modalSaved = false;
void CALLBACK CaptureModal(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    // A popup menu is drawn over the main window: the window is taken with it, then the menu closed.
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
        modalSaved = SaveWindowBitmap(frmMain.hwnd(), modalFile);
        EndMenu();
        return;
    }
    HWND box = GetActiveWindow();
    modalSaved = box && SaveWindowBitmap(box, modalFile);
    // A question with Yes and No but no Cancel does not close: it is answered No.
    if (box && GetDlgItem(box, IDNO) && !GetDlgItem(box, IDCANCEL)) PostMessageA(box, WM_COMMAND, IDNO, 0);
    else if (box) PostMessageA(box, WM_CLOSE, 0, 0);
}

// A file from another program dropped on the first item of a page: the "Create Shortcut" dialog.
void DropFileOnPage() {
    ShowPage(&FrmMain::mnuViewDetails_Click);
    const std::string file = gWinDir + "\\notepad.exe";
    // The file list as the shell puts it on the clipboard, read back as a drag's data object.
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + file.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), file.c_str(), file.size());
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    SetClipboardData(CF_HDROP, memory);
    CloseClipboard();
    UniqueCom<IDataObject> object;
    if (FAILED(OleGetClipboard(object.put()))) return;
    RECT r{};
    ListView_GetItemRect(frmMain.pnlResult.hwnd(), 0, &r, LVIR_LABEL);
    POINT screen{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(frmMain.pnlResult.hwnd(), &screen);
    DragData data(object.get());
    int effect = vbDropEffectCopy;
    frmMain.pnlResult_OLEDragDrop(data, effect, 1, 0, screen);
}

// A page in the details view right-clicked on its third item or below the middle of the list.
void RightClickPage(bool onItem) {
    ShowPage(&FrmMain::mnuViewDetails_Click);
    gDCAction = "Prop";  // shown in bold
    RECT r{};
    if (onItem) {
        ListView_GetItemRect(frmMain.pnlResult.hwnd(), 2, &r, LVIR_LABEL);
    } else {
        GetClientRect(frmMain.pnlResult.hwnd(), &r);
        r.left = r.right = r.right / 2;
        r.top = r.bottom = r.bottom - 40;
    }
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    POINT screen = pt;
    ClientToScreen(frmMain.pnlResult.hwnd(), &screen);
    SetCursorPos(screen.x, screen.y);
    frmMain.pnlResult_MouseDown(2, 0, PxToTwipsX(pt.x), PxToTwipsY(pt.y));
}

// The options dialog on one of its pages, with an editor and a mask colour of its own; shown modal by
// View > Options, here modeless so that the picture can be taken.
// Shown modal by Help > About; here modeless so that the picture can be taken.
Form* ShowInfo(int tab) {
    gAppPath = BuiltProgramFolder();
    frmInfo.Load();
    frmInfo.tabStrip.SetSelectedIndex(tab);
    frmInfo.Show();
    return &frmInfo;
}

Form* ShowOptions(int page) {
    gDCAction = "Zoom";
    gUseMask = true;
    gMaskColor = 0x80000018;
    gFavDir = "C:\\Program Files\\Ornavale\\Favorites\\";
    frmOptions.Load();
    frmOptions.txtEdit.SetText("IconEdit.exe");
    frmOptions.optEditWith.SetEnabled(true);
    frmOptions.chkRebuild.SetValue(2);
    frmOptions.chkAsoICO.SetValue(1);
    frmOptions.cmbMaskSystemColor.SetListIndex(7);
    frmOptions.tbsOptions.SetSelectedIndex(page);
    frmOptions.Show();
    return &frmOptions;
}

std::vector<Shot> Shots() {
    return {
        {"splash",
         [] {
             frmSplash.Show();
             frmSplash.tmrSplash.SetTimerEnabled(false);
             return &frmSplash;
         }},
        {"message",
         [] {
             // Shown modal by ShowMessage; here modeless so that the picture can be taken.
             frmMessage.Load();
             frmMessage.txtMessage.SetText(
                 "This Ornavale Light version is a fully functional Ornavale version but does not contain "
                 "the 17.500 icons. When searching for icons on Keywords, Ornavale will show the amount of "
                 "found icons but not the icons themselves.");
             frmMessage.SetCaption("Ornavale Light");
             frmMessage.cmdRestart.SetText("Rebuild Icon Cache Now!");
             frmMessage.Show();
             return &frmMessage;
         }},
        {"about", [] { return ShowInfo(1); }},
        {"about-disclaimer", [] { return ShowInfo(2); }},
        {"about-resources", [] { return ShowInfo(3); }},
        {"about-contact", [] { return ShowInfo(4); }},
        {"options-general", [] { return ShowOptions(1); }},
        {"options-shell", [] { return ShowOptions(2); }},
        {"options-doubleclick", [] { return ShowOptions(3); }},
        {"options-favorites", [] { return ShowOptions(4); }},
        {"tip",
         [] {
             frmTip.Show();
             return &frmTip;
         }},
        {"scan",
         [] {
             frmScan.Load();
             frmScan.txtDir.SetText("C:\\Icons\\Collection");
             frmScan.cmdStart.SetEnabled(true);
             frmScan.chkScanSubDir.SetValue(1);
             frmScan.chkICO.SetValue(1);
             frmScan.chkCUR.SetValue(1);
             frmScan.Show();
             return &frmScan;
         }},
        {"scan-all",
         [] {
             frmScan.Load();
             frmScan.chkICO.SetValue(1);
             frmScan.chkALL.SetValue(1);
             frmScan.Show();
             return &frmScan;
         }},
        {"keyword-editor",
         [] {
             frmKey.Load();
             for (const char* k : {"Weather", "Birthday", "Project X", "Moon", "Holiday", "Office", "Travel"})
                 frmKey.lstKey.AddSorted(k);
             frmKey.txtKey.SetText("moon");
             frmKey.Show();
             return &frmKey;
         }},
        {"inputbox", nullptr,
         [] { InputBox("Give the Name of the Favorite Folder.", "Create Favorite Folder", "New Folder"); }},
        {"main",
         [] {
             frmMain.Show();
             return &frmMain;
         }},
        {"main-nolabels",
         [] {
             frmMain.Show();
             frmMain.mnuViewToolbarTextLabels_Click();
             return &frmMain;
         }},
        {"page-large", [] { return ShowPage(&FrmMain::mnuViewLargeIcons_Click); }},
        {"page-list", [] { return ShowPage(&FrmMain::mnuViewList_Click); }},
        {"page-details", [] { return ShowPage(&FrmMain::mnuViewDetails_Click); }},
        {"page-cursors", ShowCursorPage},
        {"menu-item", nullptr, [] { RightClickPage(true); }},
        {"menu-white", nullptr, [] { RightClickPage(false); }},
        // Favorites > Add to Favorites on a selected icon: the save dialog in the favorites folder.
        {"save-favorites", nullptr, [] {
             ShowPage(&FrmMain::mnuViewDetails_Click);
             if (frmMain.pnlNav.Exists("favori")) frmMain.pnlNav.SetSelectedItem("favori");
             frmMain.mnuFavoriteAdd_Click();
         }},
        {"create-shortcut", nullptr, DropFileOnPage},
        {"add-reference",
         [] {
             frmMain.Show();
             std::array<bool, 9> library{true, true, true, false, false, false, true, true, true};
             frmAdd.PresetTypes(library, 2);
             frmAdd.Show();
             return &frmAdd;
         }},
        {"keyword-folder", [] { return ShowKeyword("folder"); }},
        {"keyword-cursor", [] { return ShowKeyword("cursor"); }},
        {"properties",
         [] {
             // Shown modal by File > Properties; here modeless so that the picture can be taken.
             ShowKeyword("folder");
             if (frmMain.pnlResult.Count() > 0) frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(1));
             frmProp.Show();
             return &frmProp;
         }},
        {"tree-class", [] { return ShowNode("Icon256"); }},
        {"tree-letter", [] { return ShowNode("B"); }},
        {"tree-startmenu", [] { return ShowNode("SysShortStart"); }},
        {"tree-cursors", [] { return ShowNode("SysCurCurrent"); }},
        {"tree-filetypes", [] { return ShowNode("SysAso"); }},
        {"tree-system", [] { return ShowNode("SysDesktop"); }},
        {"tree-scheme",
         [] {
             // A scheme of fourteen empty fields: the Windows default of every kind.
             HKEY schemes = nullptr;
             RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors\\Schemes", 0, nullptr, 0, KEY_ALL_ACCESS,
                             nullptr, &schemes, nullptr);
             const char value[] = ",,,,,,,,,,,,,";
             RegSetValueExA(schemes, "Snapshot Scheme", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
             Form* form = ShowNode("cthemeSnapshot Scheme");
             RegDeleteValueA(schemes, "Snapshot Scheme");
             RegCloseKey(schemes);
             return form;
         }},
        {"zoom-5",
         [] {
             ShowZoomedIcon();
             frmMain.mnuToolsZoom5_Click();
             return &frmZoom;
         }},
        {"animation", ShowPlayer},
        {"folder-reminder", nullptr,
         [] {
             // Tools > Change Any Folder Icon on a folder of our own, the picker answered with it; the
             // reminder is captured and closed. Default Folder Icon then takes the icon away again.
             static std::string folder;
             folder = TempFolder() + "Ornavale snapshot folder";
             CreateDirectoryA(folder.c_str(), nullptr);
             const ScopedValue picker(gFolderPicker, FolderPicker{[](BROWSEINFOA*) -> PIDLIST_ABSOLUTE {
                                          return ILCreateFromPathA(folder.c_str());
                                      }});
             ShowZoomedIcon();
             WriteSetting(setting::FolderCache, "0");
             frmMain.mnuToolsChangeFolder_Click();
             WriteSetting(setting::FolderCache, "1");
             frmMain.mnuToolsDefaultFolder_Click();
             DeleteFileA((folder + "\\desktop.ini").c_str());
             RemoveDirectoryA(folder.c_str());
             gCacheDirty = false;
         }},
        {"zoom-hotspot", nullptr,
         [] {
             ShowZoomedIcon();
             WriteSetting(setting::NoCursorChange, "1");
             frmMain.procSetHotSpot();
         }},
        {"change-system", [] { return ShowChange("SysStart", "Find"); }},
        {"change-filetype", [] { return ShowChange("SysAso", ""); }},
        {"change-cursor", [] { return ShowChange("SysCurCurrent", "Wait"); }},
        {"change-shortcut",
         [] {
             // One shortcut of the user's Start Menu to list: Notepad's.
             const std::string link = ShortcutFolder("Start Menu") + "Notepad.lnk";
             const std::string notepad = gWinDir + "\\notepad.exe";
             procSaveShortcut(link, notepad, gWinDir, "", notepad, 0, 1);
             Form* form = ShowChange("SysShortStart", "Notepad");
             DeleteFileA(link.c_str());
             return form;
         }},
        {"change-drop",
         [] {
             // Another icon of the list dragged onto "New".
             ShowChange("SysStart", "Find");
             ListView& list = frmMain.pnlResult;
             if (list.Count() > 1) list.SetSelectedItem(&list.Item(list.Count()));
             if (const ListItem* item = list.SelectedItem()) {
                 UniqueCom<IDataObject> data = MakeTextData(item->Text());
                 DWORD effect = DROPEFFECT_COPY;
                 frmChange.picIconDrop.DragEnter(data.get(), MK_LBUTTON, POINTL{0, 0}, &effect);
                 frmChange.picIconDrop.Drop(data.get(), 0, POINTL{0, 0}, &effect);
             }
             return &frmChange;
         }},
        {"change-default",
         [] {
             ShowChange("SysCurCurrent", "Wait");
             frmChange.mnuViewDefault_Click();
             return &frmChange;
         }},
        {"import-empty",
         [] {
             frmMain.Show();
             frmMain.mnuToolsImport_Click();
             return &frmImport;
         }},
        {"import-picture",
         [] {
             // A sun on a sky of 96 x 64 pixels, its dark red ring transparent.
             formats::Image image(96, 64, {230, 170, 90, 255});
             for (int y = 0; y < 64; ++y)
                 for (int x = 0; x < 96; ++x) {
                     const int dx = x - 48, dy = y - 32, r = dx * dx + dy * dy;
                     if (r < 400) image.At(x, y) = {40, 210, 255, 255};
                     else if (r < 700) image.At(x, y) = {0, 0, 128, 255};
                 }
             static std::string file;
             file = gTempDir + "sun.big.bmp";
             if (auto bytes = formats::WriteBmp24(image)) (void)formats::WriteFileBytes(WidePath(file), *bytes);
             const ScopedValue dialog(gOpenFileDialog, FileDialog{[](OPENFILENAMEA& ofn) {
                                          lstrcpynA(ofn.lpstrFile, file.c_str(), static_cast<int>(ofn.nMaxFile));
                                          return true;
                                      }});
             frmMain.Show();
             frmMain.mnuToolsImport_Click();
             frmImport.mnuFileOpen_Click();
             return &frmImport;
         }},
        {"change-cursor-reminder", nullptr,
         [] {
             // Wait put back to the Windows default shows the restart reminder (Apply's own one
             // switched off); the value comes back as it was.
             ShowChange("SysCurCurrent", "Wait");
             frmChange.mnuViewDefault_Click();
             WriteSetting(setting::SysCursorRestart, "0");
             WriteSetting(setting::SysCache, "1");
             HKEY key = nullptr;
             RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                             nullptr, &key, nullptr);
             std::vector<BYTE> value(4096);
             DWORD type = 0, size = static_cast<DWORD>(value.size());
             const bool had = RegQueryValueExA(key, "Wait", nullptr, &type, value.data(), &size) == ERROR_SUCCESS;
             frmChange.mnuFileApply_Click();
             if (had) RegSetValueExA(key, "Wait", 0, type, value.data(), size);
             else RegDeleteValueA(key, "Wait");
             RegCloseKey(key);
         }},
        // The reminders of a change, after Apply of the Windows default (which puts back what the
        // listing shows).
        {"change-filetype-reminder", nullptr,
         [] {
             ShowChange("SysAso", "");
             WriteSetting(setting::SysFileTypeRestart, "0");
             WriteSetting(setting::SysCache, "1");
             frmChange.mnuViewDefault_Click();
             frmChange.mnuFileApply_Click();
         }},
        {"change-system-reminder", nullptr,
         [] {
             ShowChange("SysStart", "Find");
             WriteSetting(setting::SysCache, "0");
             frmChange.mnuViewDefault_Click();
             frmChange.mnuFileApply_Click();
         }},
        // Last: the exit it shows unloads every window and deletes the extracted library pictures.
        {"rebuild-question", nullptr,
         [] {
             frmMain.Show();
             Pump(300);
             gCacheDirty = true;
             const ScopedValue realBox(gMsgBoxHook, MsgBoxHook{});
             SaveSettingsAndUnload();
         }},
    };
}

}  // namespace

int main(int argc, char** argv) {
    RegisterCoreHooks();
    if (argc < 2) {
        std::fprintf(stderr, "usage: snap_forms <folder> [name ...]\n");
        return 2;
    }
    InitApp(GetModuleHandleA(nullptr));
    gEndWhenNoForms = false;
    // As the splash does: the catalogue pictures go below the temporary folder.
    gTempDir = TempFolder();
    // The catalogue notice would stop the main window's start until someone closes it, and this
    // program's own arguments are no paths to open.
    WriteSetting(setting::OrnavaleLight, "1");
    gStartArguments = [] { return std::string(); };
    // A message box would wait for a person: print it instead.
    gMsgBoxHook = [](const std::string& text, UINT, const std::string& title) {
        std::fprintf(stderr, "message box \"%s\": %s\n", title.c_str(), text.c_str());
        return IDOK;
    };
    std::string folder = argv[1];
    int failures = 0;
    for (const Shot& shot : Shots()) {
        bool wanted = argc == 2;
        for (int i = 2; i < argc; ++i) wanted = wanted || shot.name == std::string(argv[i]);
        if (!wanted) continue;
        std::string file = folder + "\\" + shot.name + ".bmp";
        bool saved = false;
        if (shot.modal) {
            modalFile = file;
            modalSaved = false;
            SetTimer(nullptr, 0, 700, CaptureModal);
            shot.modal();
            saved = modalSaved;
        } else {
            Form* form = shot.show();
            Pump(700);
            saved = form && form->hwnd() && SaveWindowBitmap(form->hwnd(), file);
        }
        if (!saved) {
            std::fprintf(stderr, "could not capture %s\n", shot.name);
            ++failures;
        } else {
            std::printf("%s\n", shot.name);
        }
        UnloadAllFormsExcept(nullptr);
        Pump(100);
    }
    return failures == 0 ? 0 : 1;
}
