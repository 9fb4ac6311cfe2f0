// OLE drag and drop: drop targets registered with their controls' windows through Unload, the data
// of the clipboard's data object as a drag hands it over, the events a drop target raises, and the
// drag that a list item starts. Hit tests and the drop highlight are used over real nodes and items
// by the main window's tests (tests/browsing/DragDropTest.cpp).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "UiTest.h"
#include "ui/DragDrop.h"
#include "ui/ListView.h"
#include "ui/TreeView.h"

namespace {

struct DropForm : TestForm {
    TreeView tree{*this, 1001};
    ListView list{*this, 1002};
    Button button{*this, 1003};
    OleDropTarget treeDrop{tree};
    OleDropTarget buttonDrop{button};
    DropForm() {
        build = [this] {
            tree.Create({0, 0, 3000, 5000});
            list.Create({3200, 0, 5000, 5000});
            list.AddColumn("Name", 2000);
            button.Create("Drop", {0, 5200, 1200, 400});
        };
    }
};

struct Raised {
    int effect, button, shift, state;
    std::string text;
};

}  // namespace

TEST(DragDrop, TheTargetFollowsTheWindowThroughUnload) {
    DropForm form;
    EXPECT_EQ(form.treeDrop.RegisteredWindow(), nullptr);
    form.Load();
    for (OleDropTarget* t : {&form.treeDrop, &form.buttonDrop}) {
        HWND window = t == &form.treeDrop ? form.tree.hwnd() : form.button.hwnd();
        EXPECT_EQ(t->RegisteredWindow(), window);
        // OLE knows the window as a drop target.
        EXPECT_EQ(RegisterDragDrop(window, t), DRAGDROP_E_ALREADYREGISTERED);
    }
    // The list has no target.
    EXPECT_EQ(RegisterDragDrop(form.list.hwnd(), &form.treeDrop), S_OK);
    RevokeDragDrop(form.list.hwnd());

    form.Unload();
    EXPECT_EQ(form.treeDrop.RegisteredWindow(), nullptr);
    form.Load();
    EXPECT_EQ(form.treeDrop.RegisteredWindow(), form.tree.hwnd());
    EXPECT_EQ(RegisterDragDrop(form.tree.hwnd(), &form.treeDrop), DRAGDROP_E_ALREADYREGISTERED);
    form.Unload();
}

TEST(DragDrop, DataIsReadFromTheClipboardsDataObject) {
    EnsureApp();
    struct Case {
        const char* name;
        std::function<ClipboardData()> put;  // one at a time: each replaces the clipboard's content
        bool text, files;
        std::string textRead;
        std::vector<std::string> filesRead;
    };
    Case cases[] = {
        {"text", [] { return ClipboardData::Text("star.ico"); }, true, false, "star.ico", {}},
        {"empty text", [] { return ClipboardData::Text(""); }, true, false, "", {}},
        {"ANSI file list", [] { return ClipboardData::Files({"c:\\a\\one.ico", "c:\\b c\\two.cur"}); }, false,
         true, "", {"c:\\a\\one.ico", "c:\\b c\\two.cur"}},
        {"wide file list", [] { return ClipboardData::Files({"c:\\w\\three.ani"}, true); }, false, true, "",
         {"c:\\w\\three.ani"}},
    };
    for (Case& c : cases) {
        ClipboardData held = c.put();
        ASSERT_NE(held.object(), nullptr) << c.name;
        DragData data(held.object());
        EXPECT_EQ(data.GetFormat(vbCFText), c.text) << c.name;
        EXPECT_EQ(data.GetFormat(vbCFFiles), c.files) << c.name;
        EXPECT_EQ(data.GetText(), c.textRead) << c.name;
        EXPECT_EQ(data.Files(), c.filesRead) << c.name;
    }
    DragData none(nullptr);
    EXPECT_FALSE(none.GetFormat(vbCFText));
    EXPECT_EQ(none.GetText(), "");
}

TEST(DragDrop, EventsCarryKeysPointAndTheEffectWithinWhatTheSourceAllows) {
    DropForm form;
    form.Load();
    std::vector<Raised> over, dropped;
    POINT seen{};
    int answer = vbDropEffectCopy | vbDropEffectMove;
    form.buttonDrop.OLEDragOver = [&](DragData& d, int& effect, int button, int shift, POINT p, int state) {
        over.push_back({effect, button, shift, state, d.GetText()});
        seen = p;
        effect = answer;
    };
    form.buttonDrop.OLEDragDrop = [&](DragData& d, int& effect, int button, int shift, POINT) {
        dropped.push_back({effect, button, shift, -1, d.GetText()});
    };
    ClipboardData text = ClipboardData::Text("moon");
    IDropTarget* target = &form.buttonDrop;
    const POINTL at{12, 34};

    struct Case {
        const char* name;
        DWORD keys;
        DWORD allowed;
        int wanted;
        int button, shift;
        DWORD shown;
    } cases[] = {
        {"nothing held", MK_LBUTTON, DROPEFFECT_COPY | DROPEFFECT_MOVE, 3, 1, 0, DROPEFFECT_COPY | DROPEFFECT_MOVE},
        {"Shift alone", MK_LBUTTON | MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_MOVE, 2, 1, 1, DROPEFFECT_MOVE},
        {"Shift and Ctrl", MK_LBUTTON | MK_SHIFT | MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE, 3, 1, 3,
         DROPEFFECT_COPY | DROPEFFECT_MOVE},
        {"right button with Alt", MK_RBUTTON | MK_ALT, DROPEFFECT_COPY, 3, 2, 4, DROPEFFECT_COPY},
        {"middle button, move not allowed", MK_MBUTTON, DROPEFFECT_COPY, 2, 4, 0, DROPEFFECT_NONE},
    };
    for (const Case& c : cases) {
        over.clear();
        answer = c.wanted;
        DWORD effect = c.allowed;
        ASSERT_EQ(target->DragEnter(text.object(), c.keys, at, &effect), S_OK);
        EXPECT_EQ(effect, c.shown) << c.name;
        effect = c.allowed;
        target->DragOver(c.keys, POINTL{56, 78}, &effect);
        EXPECT_EQ(effect, c.shown) << c.name;
        ASSERT_EQ(over.size(), 2u) << c.name;
        EXPECT_EQ(over[0].state, vbEnter) << c.name;
        EXPECT_EQ(over[1].state, vbOver) << c.name;
        EXPECT_EQ(over[1].effect, static_cast<int>(c.allowed)) << c.name;
        EXPECT_EQ(over[1].button, c.button) << c.name;
        EXPECT_EQ(over[1].shift, c.shift) << c.name;
        EXPECT_EQ(over[1].text, "moon") << c.name;
        EXPECT_EQ(seen.x, 56) << c.name;
        target->DragLeave();
        ASSERT_EQ(over.size(), 3u) << c.name;
        EXPECT_EQ(over[2].state, vbLeave) << c.name;
        EXPECT_EQ(seen.y, 78) << c.name;  // the last point
    }

    // The drop gets the effect the last drag over chose.
    answer = vbDropEffectMove;
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(text.object(), MK_LBUTTON | MK_SHIFT, at, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->Drop(text.object(), MK_SHIFT, at, &effect), S_OK);
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0].effect, vbDropEffectMove);
    EXPECT_EQ(dropped[0].shift, 1);
    EXPECT_EQ(dropped[0].text, "moon");
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));

    // Without handlers nothing is taken.
    form.buttonDrop.OLEDragOver = nullptr;
    form.buttonDrop.OLEDragDrop = nullptr;
    effect = DROPEFFECT_COPY;
    target->DragEnter(text.object(), MK_LBUTTON, at, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    target->Drop(text.object(), MK_LBUTTON, at, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    form.Unload();
}

TEST(DragDrop, AListItemDragsItsTextToCopyOrMove) {
    DropForm form;
    form.list.Add(-1, "", "first");
    form.list.Add(-1, "", "sun.ico");
    form.Show();
    static std::vector<std::string> texts;
    static std::vector<int> allowed;
    texts.clear();
    allowed.clear();
    gDragLoopHook = [](IDataObject* data, int effects) {
        texts.push_back(DragData(data).GetText());
        allowed.push_back(effects);
        return static_cast<int>(vbDropEffectCopy);
    };
    auto beginDrag = [&](int index) {
        NMLISTVIEW nm{};
        nm.hdr.hwndFrom = form.list.hwnd();
        nm.hdr.idFrom = 1002;
        nm.hdr.code = LVN_BEGINDRAG;
        nm.iItem = index;
        SendMessageA(form.hwnd(), WM_NOTIFY, 1002, reinterpret_cast<LPARAM>(&nm));
    };
    beginDrag(1);
    EXPECT_TRUE(texts.empty());  // not switched on
    form.list.OLEDragItems = true;
    beginDrag(1);
    beginDrag(7);  // no such item
    EXPECT_EQ(texts, std::vector<std::string>{"sun.ico"});
    EXPECT_EQ(allowed, std::vector<int>{vbDropEffectCopy | vbDropEffectMove});
    gDragLoopHook = nullptr;

    // The data object itself offers text only.
    UniqueCom<IDataObject> made = MakeTextData("x");
    DragData data(made.get());
    EXPECT_TRUE(data.GetFormat(vbCFText));
    EXPECT_FALSE(data.GetFormat(vbCFFiles));
    form.Unload();
}
