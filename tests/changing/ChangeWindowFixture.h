// The change window's tests: the loaded main window with an empty result list, a result item
// selected and handed over by File > Change, a drop on "New" through a real data object, and the
// message window answered from a timer.
#pragma once

#include "../browsing/MainFixture.h"

#include <string>

#include "changing/FrmChange.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/Settings.h"

class ChangeWindowFixture : public MainFixture {
  protected:
    void SetUp() override {
        MainFixture::SetUp();
        savedCatalog = gCatalogName;
        ListView& list = frmMain.pnlResult;
        list.Clear();
        frmMain.imlResult32.Clear();
        frmMain.imlResult32.Add("", LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
        list.SetIcons(&frmMain.imlResult32);
        frmMain.lstChange.Clear();
        WriteSetting(setting::SysCache, "1");
    }
    void TearDown() override {
        frmChange.Unload();
        gChangeProcedureHook = nullptr;
        gCatalogName = savedCatalog;
        frmMain.pnlResult.Clear();
        frmMain.pnlResult.SetIcons(nullptr);
        frmMain.imlResult32.Clear();
        frmMain.lstChange.Clear();
        MainFixture::TearDown();
    }
    // One selected result item.
    static ListItem& Select(const std::string& text, const std::string& type, const std::string& origin,
                            const std::string& entry, int icon = 1) {
        ListItem& item = frmMain.pnlResult.Add(-1, "", text, icon);
        item.SetSubItem(1, type);
        item.SetSubItem(2, origin);
        item.Tag = entry;
        frmMain.pnlResult.SetSelectedItem(&item);
        return item;
    }
    static void Change(const std::string& text, const std::string& type, const std::string& origin,
                       const std::string& entry) {
        Select(text, type, origin, entry);
        frmMain.mnuFileChange_Click();
    }
    // Drags text from the clipboard over "New" and drops it there: answers the effect DragOver chose.
    static DWORD Drop(const std::string& text) {
        ClipboardData data = ClipboardData::Text(text);
        IDropTarget& target = frmChange.picIconDrop;
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target.DragEnter(data.object(), MK_LBUTTON, POINTL{0, 0}, &effect);
        DWORD over = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target.DragOver(MK_LBUTTON, POINTL{0, 0}, &over);
        DWORD dropped = over;
        target.Drop(data.object(), 0, POINTL{0, 0}, &dropped);
        return over;
    }

    std::string savedCatalog;
};
