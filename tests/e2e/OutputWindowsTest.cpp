// The output commands of the running program reached as a user reaches them, with the real keyboard
// and mouse: Save As through the system's save dialog (and the hotspot picker for a cursor), in the
// colours of the item clicked, the Properties window, and Copy. What they did is read back from
// outside: the written files, the other process's window texts, the clipboard.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FormatsTestSupport.h"
#include "IconMaker.h"
#include "StartedProgram.h"
#include "core/Files.h"
#include "formats/FileBytes.h"
#include "formats/IconFile.h"
#include "output/FrmProp.h"

namespace {

constexpr uint32_t kIconColour = 0x3366CC;

// The directory of the icon or cursor file once it is written and whole; nullopt when it does not
// come within the time.
std::optional<formats::IconDirectory> WrittenDirectory(const std::string& path, DWORD timeoutMs) {
    std::optional<formats::IconDirectory> directory;
    WaitUntil(timeoutMs, [&] {
        const auto bytes = formats::ReadFileBytes(WidePath(path), 1 << 20);
        if (!bytes) return false;
        const auto read = formats::ReadIconDirectory(*bytes);
        if (read) directory = *read;
        return read.ok();
    });
    return directory;
}

using IconWriter = bool (*)(const std::string& path);
bool WriteTrueColourIcon(const std::string& path) { return WriteIconFile(path, kIconColour); }

// The program started on one opened icon file, written by `write`, its item clicked with the mouse.
struct ProgramOnIcon {
    explicit ProgramOnIcon(IconWriter write = WriteTrueColourIcon) : written(write(icon)) {}
    TempDir dir;
    std::string icon = dir.path() + "opened.ico";
    bool written;
    StartedProgram program{"\"" + icon + "\""};
    HWND list = nullptr;

    // False when a step does not come: the program, its window, its one item or the click.
    bool Ready() {
        if (!written || !program.Main() || program.WaitForShownItems(1, 20000) != 1) return false;
        list = program.SelectListItem(0);
        return list != nullptr;
    }
    bool Close() { return program.Close(); }
};

// File > Save As by keys on the selected item; the save dialog, its file name box focused. With
// `filterSteps` the type box below is stepped down that many filters first.
HWND OpenSaveDialog(const ProgramOnIcon& p, int filterSteps) {
    TypeKeys({VK_MENU, 'F', 'A'});
    HWND dialog = p.program.WaitForWindow("Save As", 10000);
    if (!dialog || !WaitForFocus(dialog, "Edit", 10000)) return nullptr;
    if (filterSteps > 0) {
        TypeKeys({VK_TAB});
        if (!WaitForFocus(dialog, "ComboBox", 5000)) return nullptr;
        TypeKeys(std::vector<WORD>(static_cast<size_t>(filterSteps), VK_DOWN));
        TypeKeys({VK_TAB | 0x100});
        if (!WaitForFocus(dialog, "Edit", 5000)) return nullptr;
    }
    return dialog;
}

// Replaces whatever the focused file name box holds by `path` and presses Enter.
void TypeFileName(const std::string& path) {
    TypeKeys({VK_HOME, VK_END | 0x100});
    TypeKeys(KeysOf(path + "\r"));
}

}  // namespace

TEST(SaveAsDialog, TheNameTypedAndTheFilterChosenDecideTheFileWritten) {
    QuietStore store;
    ProgramOnIcon p;
    ASSERT_TRUE(p.Ready());

    struct Case {
        const char* name;
        int filterSteps;  // below the icon filter, which the dialog offers for an icon
        const char* typed;
        const char* written;
        formats::IconKind kind;
    };
    const Case cases[] = {
        {"an icon", 0, "saved.ico", "saved.ico", formats::IconKind::Icon},
        {"a cursor's name under the icon filter", 0, "named.cur", "named.cur.ico", formats::IconKind::Icon},
        {"the cursor filter", 1, "saved.cur", "saved.cur", formats::IconKind::Cursor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND dialog = OpenSaveDialog(p, c.filterSteps);
        ASSERT_NE(dialog, nullptr);
        TypeFileName(p.dir.path() + c.typed);
        ASSERT_TRUE(WaitUntil(10000, [&] { return !IsWindow(dialog); }));

        const bool cursor = c.kind == formats::IconKind::Cursor;
        if (cursor) {
            // A cursor save first reminds the user that the hotspot is set now, then shows the picker.
            HWND reminder = p.program.WaitForWindow("Change Cursors", 10000);
            ASSERT_NE(reminder, nullptr);
            ASSERT_TRUE(BringToFront(reminder));
            TypeKeys({VK_RETURN});

            HWND picker = p.program.WaitForWindow("Set the Cursor's Hotspot", 10000);
            ASSERT_NE(picker, nullptr);
            HWND picture = FindWindowExA(picker, nullptr, "OrnavalePicture", nullptr);
            ASSERT_NE(picture, nullptr);
            // Ten screen pixels to an icon pixel: the middle of pixel (7, 4).
            POINT at{7 * 10 + 5, 4 * 10 + 5};
            ClientToScreen(picture, &at);
            ASSERT_TRUE(BringToFront(picker));
            ClickAt(at);
            ASSERT_TRUE(WaitUntil(10000, [&] { return !IsWindow(picker) || !IsWindowVisible(picker); }));
        }

        const auto written = WrittenDirectory(p.dir.path() + c.written, 10000);
        ASSERT_TRUE(written);
        EXPECT_EQ(written->kind, c.kind);
        ASSERT_EQ(written->images.size(), 1u);
        EXPECT_EQ(written->images[0].width, 32);
        EXPECT_EQ(written->images[0].height, 32);
        if (cursor) {
            EXPECT_EQ(written->images[0].hotspotX, 7);
            EXPECT_EQ(written->images[0].hotspotY, 4);
        }
        if (std::string(c.typed) != c.written) {
            EXPECT_EQ(GetFileAttributesA((p.dir.path() + c.typed).c_str()), INVALID_FILE_ATTRIBUTES);
        }
    }
    EXPECT_TRUE(p.Close());
}

TEST(SaveAsDialog, AClickOnTheItemSelectedAtStartTakesUpItsColours) {
    QuietStore store;
    // The start selects its one item without taking it up; the click on it does.
    ProgramOnIcon p([](const std::string& path) {
        const Bytes icon = IconFileBytes(1, {{DibImage(32, 32, 4), 32, 32, 1, 4}});
        return static_cast<bool>(formats::WriteFileBytes(WidePath(path), icon));
    });
    ASSERT_TRUE(p.Ready());
    HWND dialog = OpenSaveDialog(p, 0);
    ASSERT_NE(dialog, nullptr);
    const std::string saved = p.dir.path() + "saved.ico";
    TypeFileName(saved);
    ASSERT_TRUE(WrittenDirectory(saved, 10000));
    // 16 colours: the directory, the picture's header, its palette, its colour and mask bits.
    const auto bytes = formats::ReadFileBytes(WidePath(saved), 1 << 20);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 766u);
    EXPECT_TRUE(p.Close());
}

TEST(PropertiesWindow, FilePropertiesShowsTheClickedItemAndOkClosesIt) {
    QuietStore store;
    StartedProgram program;
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    HWND combo = FindChildOfClass(window, "ComboBox");
    ASSERT_NE(combo, nullptr);
    const bool catalogue = CatalogueInstalled() && SendMessageA(combo, CB_GETCOUNT, 0, 0) > 0;

    struct Case {
        const char* name;
        bool (*list)(const StartedProgram&);
        const char* origin;
        const char* file;
        bool keywords;  // the chosen keyword is among those shown
    };
    const Case cases[] = {
        {"a catalogue icon of a typed keyword",
         [](const StartedProgram& p) {
             return p.TypeIntoKeywordBox("FOLD\r") && WaitUntil(20000, [&] { return p.ShownItems() > 0; });
         },
         "Ornavale", "", true},
        {"a Windows default cursor",
         [](const StartedProgram& p) { return p.ShowCurrentCursors(); }, "Windows Default",
         "Windows Default", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.keywords && !catalogue) continue;  // no catalogue keywords in the program folder
        ASSERT_TRUE(c.list(program));
        HWND list = program.SelectListItem(0);
        ASSERT_NE(list, nullptr);

        TypeKeys({VK_MENU, 'F', 'P'});
        HWND prop = program.WaitForWindow("Properties", 10000);
        ASSERT_NE(prop, nullptr);
        auto field = [prop](int id) { return WindowText(GetDlgItem(prop, id)); };
        EXPECT_EQ(field(FrmProp::ID_txtName), ListItemText(program.process(), list, 0, 0));
        EXPECT_EQ(field(FrmProp::ID_txtType), ListItemText(program.process(), list, 0, 1));
        EXPECT_FALSE(field(FrmProp::ID_txtType).empty());
        EXPECT_EQ(field(FrmProp::ID_txtOrigin), c.origin);
        EXPECT_EQ(field(FrmProp::ID_txtFile), c.file);
        const std::string keywords = ", " + field(FrmProp::ID_txtKeywords) + ",";
        const std::string chosen = WindowText(FindChildOfClass(combo, "Edit"));
        EXPECT_EQ(keywords.find(", " + chosen + ",") != std::string::npos, c.keywords) << keywords;

        ASSERT_TRUE(BringToFront(prop));
        TypeKeys({VK_RETURN});
        EXPECT_TRUE(WaitUntil(5000, [&] { return !IsWindow(prop) || !IsWindowVisible(prop); }));
    }

    EXPECT_TRUE(program.Close());
}

TEST(CopyCommand, TheClickedIconGoesToTheClipboardOverTheListOrMaskColour) {
    struct Case {
        const char* name;
        std::vector<WORD> keys;
        bool useMask;
    };
    const Case cases[] = {
        {"Edit > Copy", {VK_MENU, 'E', 'C'}, false},
        {"Ctrl+C with the mask colour red", {'C' | 0x200}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuietStore store;
        if (c.useMask) {
            StoreSetting("UseMask", "True");
            StoreSetting("MaskColor", std::to_string(RGB(255, 0, 0)));
        }
        ProgramOnIcon p;
        ASSERT_TRUE(p.Ready());
        const auto listColour = static_cast<COLORREF>(SendMessageA(p.list, LVM_GETBKCOLOR, 0, 0));

        const ClipboardPicture copied = PictureCopiedBy([&] { TypeKeys(c.keys); }, 5000);
        ASSERT_EQ(copied.width, 32);
        EXPECT_EQ(copied.height, 32);
        // The middle is the icon's; its frame of two pixels is transparent.
        EXPECT_EQ(copied.At(16, 16), kIconColour);
        const COLORREF back = c.useMask ? RGB(255, 0, 0) : listColour;
        EXPECT_EQ(copied.At(0, 0), static_cast<uint32_t>(GetRValue(back) << 16 | GetGValue(back) << 8 | GetBValue(back)));
        EXPECT_TRUE(p.Close());
    }
}
