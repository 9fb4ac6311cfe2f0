// The navigation tree's clicks: which source a node lists.
#include "mainwindow/FrmMain.h"

#include <cstdint>
#include <exception>
#include <limits>
#include <string>
#include <string_view>

#include "common/CursorKinds.h"
#include "browsing/Favorites.h"
#include "common/FileIconReader.h"
#include "browsing/ListingPace.h"
#include "common/OpenPaths.h"
#include "common/SystemIconRows.h"
#include "core/FolderWalk.h"
#include "core/Global.h"
#include "core/OSVersion.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "mainwindow/MainShared.h"
#include "ui/App.h"
#include "ui/StatusBar.h"

namespace {

// What a node of the exact-key table lists.
enum class Source { BookClass, References, Shortcuts, CurrentCursors, FileTypes, SystemGroup };

struct KeyedSource {
    std::string_view key;  // compared whole and case-sensitively
    Source source;
    int16_t number;           // the class digit or colour class
    std::string_view folder;  // the shortcut folder
};

constexpr KeyedSource kExactKeys[] = {
    {"Icon256", Source::BookClass, 1, {}},        {"IconHi", Source::BookClass, 2, {}},
    {"Ani16", Source::BookClass, 3, {}},          {"Ani256", Source::BookClass, 4, {}},
    {"AniHi", Source::BookClass, 5, {}},          {"Cursor16", Source::BookClass, 6, {}},
    {"Cursor256", Source::BookClass, 7, {}},      {"CursorHi", Source::BookClass, 8, {}},
    {"Reference16", Source::References, 0, {}},   {"Reference256", Source::References, 1, {}},
    {"ReferenceHi", Source::References, 2, {}},   {"SysShortStart", Source::Shortcuts, 0, "Start Menu"},
    {"SysShortDesk", Source::Shortcuts, 0, "Desktop"}, {"SysCurCurrent", Source::CurrentCursors, 0, {}},
    {"SysAso", Source::FileTypes, 0, {}},         {"SysDesktop", Source::SystemGroup, 0, {}},
    {"SysStart", Source::SystemGroup, 0, {}},     {"SysDrives", Source::SystemGroup, 0, {}},
    {"SysFolders", Source::SystemGroup, 0, {}},   {"SysFiles", Source::SystemGroup, 0, {}},
};

const KeyedSource* ExactSource(const std::string& key) {
    for (const KeyedSource& s : kExactKeys)
        if (s.key == key) return &s;
    return nullptr;
}

bool IsCapitalLetter(const std::string& key) { return key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z'; }

// One statement of the handler: a failure skips it and the next one runs.
template <class Statement>
void Run(Statement&& statement) {
    try {
        statement();
    } catch (const std::exception&) {
    }
}

void ShowStatus(FrmMain& form, const char* text) {
    Run([&] {
        if (gPanelMessage) gPanelMessage->SetText(text);
        if (form.pnlStatusbar.hwnd()) UpdateWindow(form.pnlStatusbar.hwnd());
    });
}

// The hourglass and the text of a listing about to start, on screen before it starts; false when
// the window was closed meanwhile.
bool AnnounceListing(FrmMain& form, const char* text) {
    SetScreenMousePointer(PointerShape::Hourglass);
    ShowStatus(form, text);
    DoEvents();
    return form.IsLoaded();
}

// The end of the listings driven from here: page 1 of the result set and the page menus.
void ShowFirstPage(FrmMain& form) {
    Run([&] { EndFill(form); });
}

void EnableFavoriteGroupCommands(FrmMain& form, bool add, bool del) {
    Run([&] {
        form.Menus().SetEnabled(ID_mnuFavoriteGroupDel, del);
        form.pnlToolbarYour.Buttons("favgroupdel").SetEnabled(del);
    });
    Run([&] {
        form.Menus().SetEnabled(ID_mnuFavoriteGroupAdd, add);
        form.pnlToolbarYour.Buttons("favgroupadd").SetEnabled(add);
    });
}

// The position of a keyword in the box by its exact text; -1 when it is gone.
int KeywordPosition(const ComboBox& box, const std::string& keyword) {
    for (int i = 0; i < box.ListCount(); ++i)
        if (box.List(i) == keyword) return i;
    return -1;
}

void ListSystemGroup(FrmMain& form, const std::string& key) {
    Run([&] { form.cmbResult.Clear(); });
    Run([&] { form.lstChange.Clear(); });
    Run([&] {
        for (const std::string& row : SystemIconRowsOf(key, gOSCode)) form.lstChange.AddItem(row);
    });
    Run([&] { form.procGetSystemIcons(); });
    ShowFirstPage(form);
}

void ListCurrentCursors(FrmMain& form) {
    if (!AnnounceListing(form, "Searching for cursors, please wait...")) return;
    Run([&] { form.cmbResult.Clear(); });
    // The cursor files are read anew: the page shows what they hold now.
    ForgetKeptFileBytes();
    for (const CursorKind& kind : CursorKinds())
        Run([&] { form.procGetCurrentCursor(kind.cursorId, kind.valueName); });
    ShowFirstPage(form);
}

void ListFileTypes(FrmMain& form) {
    if (!AnnounceListing(form, "Searching for file type icons, please wait...")) return;
    Run([&] { form.lstChange.Clear(); });
    Run([&] { form.cmbResult.Clear(); });
    Run([&] { form.procGetFileTypes(HKEY_CLASSES_ROOT, ""); });
    ShowFirstPage(form);
}

// A design group's node names its keyword by text: the box is sorted, so the keywords the user
// adds or deletes later move the one the node was built from.
void ListKeywordGroup(FrmMain& form, const Node& node) {
    const int before = form.cmbSearch.ListIndex();
    const int found = KeywordPosition(form.cmbSearch, node.tag);
    if (found < 0) {
        Run([&] { form.cmbResult.Clear(); });
        ShowFirstPage(form);
    } else if (found == before) {
        Run([&] { form.procSearchOrnavale(); });
    } else {
        // Choosing another keyword raises the box's Click, which runs the search.
        Run([&] { form.cmbSearch.SetListIndex(found); });
    }
    SetScreenMousePointer(PointerShape::Default);
}

void ListScheme(FrmMain& form, const std::string& scheme) {
    Run([&] { form.cmbResult.Clear(); });
    Run([&] {
        const std::string value = ReadRegValue(HKEY_CURRENT_USER, "Control Panel\\Cursors\\Schemes", scheme).Text();
        if (value.empty()) return;
        ForgetKeptFileBytes();
        int16_t position = 1;
        for (const std::string& field : SplitScheme(value)) {
            Run([&] { form.procGetCurrentThemeCursor(field, scheme, position); });
            if (position == std::numeric_limits<int16_t>::max()) break;
            ++position;
        }
    });
    ShowFirstPage(form);
}

void ListFavoritesFolder(FrmMain& form, const std::string& key) {
    gFavFolderNode = key;
    EnableFavoriteGroupCommands(form, true, key.size() > 6);
    gFavNode = key;
    // An aborted walk leaves the files of the result shown as they were: shortcut entries find
    // their links in this list by position.
    const HiddenList shownFiles = form.lstFiles;
    form.lstFiles.Clear();
    Run([&] { form.procSetAbort(false); });
    ShowStatus(form, "Searching for favorites, please wait...");
    Run([&] {
        // Only the folder's own files: its sub-folders are nodes of their own.
        std::string folder = FavoritesFolderOf(gFavDir, key);
        ScopedValue<bool> ownFilesOnly(gScanSubDirs, false);
        ScanFolderTree(folder, "*.*", gFileCount, gDirCount);
    });
    if (!form.IsLoaded()) return;
    if (gAbort) {
        form.lstFiles = shownFiles;
    } else {
        for (int i = 0; i < form.lstFiles.ListCount() && !gAbort;) {
            if (IsIconFileName(form.lstFiles.List(i))) {
                ++i;
            } else {
                form.lstFiles.RemoveItem(i);
            }
        }
        SetScreenMousePointer(PointerShape::Default);
        DoEvents();
        if (!form.IsLoaded()) return;
        Run([&] { form.cmbResult.Clear(); });
    }
    {
        ScopedValue<bool> favorites(gFavoritesMode, true);
        Run([&] { form.procSearchOpen(); });
    }
    if (!form.IsLoaded()) return;
    Run([&] { form.procSetAbort(true); });
    Run([&] { form.cmbSearch.SetText(""); });
    SetScreenMousePointer(PointerShape::Default);
    ShowStatus(form, "");
}

}  // namespace

void FrmMain::pnlNav_NodeClick(Node& clicked) {
    // A click that arrives while a fill runs would start a second one inside it.
    if (IsBusy(*this)) return;
    // The node may go while events run (a favorites folder removed): it is found again by key.
    const std::string key = clicked.key;
    if (clicked.children.empty()) {
        ShowStatus(*this, "Searching for icons, please wait...");
        DoEvents();
        if (!IsLoaded()) return;
    }
    gFavFolderNode.clear();
    gFavoritesMode = false;
    EnableFavoriteGroupCommands(*this, false, false);

    if (const KeyedSource* s = ExactSource(key)) {
        switch (s->source) {
            case Source::BookClass: Run([&] { procFillBookByClass(s->number); }); break;
            case Source::References: Run([&] { procFillReferences(s->number); }); break;
            case Source::Shortcuts: Run([&] { procSearchShortcuts(std::string(s->folder)); }); break;
            case Source::CurrentCursors: ListCurrentCursors(*this); break;
            case Source::FileTypes: ListFileTypes(*this); break;
            case Source::SystemGroup: ListSystemGroup(*this, key); break;
        }
        return;
    }
    if (IsCapitalLetter(key)) {
        Run([&] { procFillBookByLetter(key); });
        return;
    }
    const std::string prefix = key.substr(0, 6);
    if (prefix == "groups") {
        if (const Node* node = pnlNav.Find(key)) ListKeywordGroup(*this, *node);
    } else if (prefix == "ctheme") {
        ListScheme(*this, key.substr(6));
    } else if (prefix == "favori") {
        ListFavoritesFolder(*this, key);
    }
}
