// The shortcut the shortcut tests start from, written through the shell's own link object.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "common/ShellLink.h"
#include "core/Files.h"
#include "mainwindow/FrmMain.h"
#include "ui/Unique.h"

inline std::string SystemFile(const char* name) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\" + name;
}

// The shell's link object with the shortcut loaded.
inline UniqueCom<IShellLinkA> ShellLoad(const std::string& lnk) {
    UniqueCom<IShellLinkA> link;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void**>(link.put())), S_OK);
    UniqueCom<IPersistFile> file;
    link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()));
    EXPECT_EQ(file.get()->Load(WidePath(lnk).wstring().c_str(), STGM_READ), S_OK);
    return link;
}

// Notepad with arguments, folder, description, hot key, an item list, minimised (7) and
// shell32.dll's fourth icon.
inline void WriteFixtureLink(const std::string& lnk, const std::string& icon = SystemFile("shell32.dll"), int index = 3) {
    ShellLinkObject().WriteLink(lnk, SystemFile("notepad.exe"), "C:\\work", "-n notes.txt", icon, index, 7);
    UniqueCom<IShellLinkA> link = ShellLoad(lnk);
    link.get()->SetDescription("My notes");
    link.get()->SetHotkey(0x0641);
    link.get()->SetShowCmd(7);
    UniqueCom<IPersistFile> file;
    link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()));
    ASSERT_EQ(file.get()->Save(WidePath(lnk).wstring().c_str(), FALSE), S_OK);
}

// The centre of a result item on the screen, or a point beside the items for 0.
inline POINT ItemPoint(int index) {
    HWND list = frmMain.pnlResult.hwnd();
    RECT r{};
    if (index) {
        r.left = LVIR_LABEL;
        SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
    } else {
        GetClientRect(list, &r);
        r.left = r.right - 10, r.top = r.bottom - 10;
    }
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    return p;
}

// Drags the data over the result list to the point and drops it there.
inline void DropOnList(const ClipboardData& data, POINT at) {
    IDropTarget& list = frmMain.pnlResultDrop;
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    list.DragEnter(data.object(), MK_LBUTTON, POINTL{at.x, at.y}, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    list.DragOver(MK_LBUTTON, POINTL{at.x, at.y}, &effect);
    list.Drop(data.object(), 0, POINTL{at.x, at.y}, &effect);
}
