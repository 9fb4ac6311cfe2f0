// Every fixed tool tip of the program's windows, read back from the tip control that shows it: the
// controls' tips from their window's tip control, the tool buttons' from their tool bar's. (Wine's tab
// control makes a tip control but gives it no tools, so the tabs' tips cannot be read back there.)
#include "MainWindowFixture.h"

#include <functional>
#include <iterator>
#include <string>

#include "changing/FrmChange.h"
#include "core/FrmInfo.h"
#include "mainwindow/FrmOptions.h"
#include "output/FrmAni.h"
#include "output/FrmImport.h"
#include "ui/App.h"

namespace {

// The text the tip control `tips` shows for its tool (window, id); "" when it has no such tool.
std::string TipText(HWND tips, HWND window, UINT_PTR id) {
    if (!tips || !window) return {};
    char text[256] = {};
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = id;
    if (!SendMessageA(tips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool))) return {};
    tool.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

std::string ControlTip(Form& form, const Control& control) {
    return TipText(form.ToolTipWindow(false), form.hwnd(), reinterpret_cast<UINT_PTR>(control.hwnd()));
}

std::string ButtonTip(ToolBar& bar, const char* key) {
    auto tips = reinterpret_cast<HWND>(SendMessageA(bar.hwnd(), TB_GETTOOLTIPS, 0, 0));
    return TipText(tips, bar.hwnd(), static_cast<UINT_PTR>(bar.Buttons(key).Id()));
}

class ToolTipsTest : public MainWindowTest {
  protected:
    void TearDown() override {
        for (Form* form : std::initializer_list<Form*>{&frmInfo, &frmOptions, &frmAni, &frmChange, &frmImport})
            form->Unload();
        MainWindowTest::TearDown();
    }
};

}  // namespace

TEST_F(ToolTipsTest, EachWindowsTipsComeFromItsTipControls) {
    for (Form* form : std::initializer_list<Form*>{&frmInfo, &frmOptions, &frmAni, &frmChange, &frmImport})
        form->Load();
    using Read = std::function<std::string()>;
    auto control = [](Form& form, const Control& c) -> Read { return [&form, &c] { return ControlTip(form, c); }; };
    auto button = [](ToolBar& bar, const char* key) -> Read { return [&bar, key] { return ButtonTip(bar, key); }; };
    struct Case {
        const char* what;
        Read read;
        const char* tip;
    };
    ToolBar& standard = frmMain.pnlToolbar;
    ToolBar& your = frmMain.pnlToolbarYour;
    const Case cases[] = {
        {"main: firstpage", button(standard, "firstpage"), "First Page"},
        {"main: prevpage", button(standard, "prevpage"), "Previous Page"},
        {"main: nextpage", button(standard, "nextpage"), "Next Page"},
        {"main: lastpage", button(standard, "lastpage"), "Last Page"},
        {"main: abort", button(standard, "abort"), "Stop"},
        {"main: open", button(standard, "open"), "Open"},
        {"main: save", button(standard, "save"), "Save"},
        {"main: copy", button(standard, "copy"), "Copy"},
        {"main: play", button(standard, "play"), "Play Animated Icon"},
        {"main: prop", button(standard, "prop"), "Properties"},
        {"main: view", button(standard, "view"), "View"},
        {"main: zoom", button(standard, "zoom"), "Zoom"},
        {"main: create", button(standard, "create"), "Glyphwright"},
        {"main: help", button(standard, "help"), "Help"},
        {"main: close", button(standard, "close"), "Close"},
        {"main: change", button(your, "change"), "Change Icon"},
        {"main: changefolder", button(your, "changefolder"), "Change Any Folder Icon"},
        {"main: favadd", button(your, "favadd"), "Add to Favorites"},
        {"main: favdel", button(your, "favdel"), "Delete Favorite"},
        {"main: favgroupadd", button(your, "favgroupadd"), "Create Favorite Folder"},
        {"main: favgroupdel", button(your, "favgroupdel"), "Remove Favorite Folder"},
        {"main: favedit", button(your, "favedit"), "Edit Favorites with Explorer"},
        {"main: favrefresh", button(your, "favrefresh"), "Refresh Favorite Groups"},
        {"main: refadd", button(your, "refadd"), "Add Reference"},
        {"main: refdel", button(your, "refdel"), "Delete Reference"},
        {"main: refedit", button(your, "refedit"), "Edit Reference Keywords"},
        {"about: txtURL", control(frmInfo, frmInfo.txtURL), "Click to go to the Ornavale Homepage"},
        {"about: txtMail", control(frmInfo, frmInfo.txtMail), "Click to E-mail"},
        {"options: cmbMaskSystemColor", control(frmOptions, frmOptions.cmbMaskSystemColor), "System Colors"},
        {"options: cmdMaskCustom", control(frmOptions, frmOptions.cmdMaskCustom), "Custom Colors"},
        {"options: cmdBrowseEdit", control(frmOptions, frmOptions.cmdBrowseEdit), "Browse for External Editor"},
        {"options: cmdBrowse", control(frmOptions, frmOptions.cmdBrowse), "Browse to set the Favorites Home Folder"},
        {"animation: imgRechts", control(frmAni, frmAni.imgRechts), "Sequential"},
        {"animation: imgTegen", control(frmAni, frmAni.imgTegen), "Back And Forth"},
        {"animation: imgTop", control(frmAni, frmAni.imgTop), "Always On Top"},
        {"change: apply", button(frmChange.pnlToolbar, "apply"), "Apply"},
        {"change: lookalike", button(frmChange.pnlToolbar, "lookalike"), "View Look-a-Likes"},
        {"change: default", button(frmChange.pnlToolbar, "default"), "Windows Default"},
        {"change: group", button(frmChange.pnlToolbar, "group"), "Back to Group"},
        {"change: build", button(frmChange.pnlToolbar, "build"), "Rebuild Windows Icon Cache"},
        {"change: applyexit", button(frmChange.pnlToolbar, "applyexit"), "Apply and Close"},
        {"import: open", button(frmImport.pnlToolbar, "open"), "Open Graphic File"},
        {"import: save", button(frmImport.pnlToolbar, "save"), "Save As..."},
        {"import: copy", button(frmImport.pnlToolbar, "copy"), "Copy"},
        {"import: paste", button(frmImport.pnlToolbar, "paste"), "Paste"},
        {"import: close", button(frmImport.pnlToolbar, "close"), "Close Glyphwright"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.read(), c.tip) << c.what;
}
