// The shortcut the shortcut tests start from, written through the shell's own link object.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "changing/ShellLink.h"
#include "core/Files.h"
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
