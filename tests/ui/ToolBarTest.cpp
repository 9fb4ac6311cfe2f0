// Tool bar: button states before and after load, clicks, drop-down menus, tool tips, text labels,
// the Customize dialog and the saved layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "UiTest.h"
#include "ui/Menu.h"
#include "ui/ToolBar.h"

namespace {

struct ToolForm : TestForm {
    ToolBar tools{*this, 1001};
    ToolForm() {
        build = [this] {
            tools.Create({0, 0, 8000, 600});
            tools.Add("first", "First");
            tools.Add("abort", "Stop");
            tools.Add("sep", "", tbrSeparator);
            tools.Add("labels", "Labels", tbrCheck);
            ToolButton& view = tools.Add("view", "Views", tbrDropdown);
            view.AddMenu("viewlarge", "Large Icons");
            view.AddMenu("viewlist", "List");
            view.AddMenu("viewdetails", "Details");
            view.ToolTipText = "View";
        };
    }
    RECT Rect(const std::string& key) {
        RECT r{};
        SendMessageA(tools.hwnd(), TB_GETRECT, static_cast<WPARAM>(tools.Buttons(key).Id()),
                     reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void Click(const std::string& key) {
        RECT r = Rect(key);
        ClickAt(tools.hwnd(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    bool Shows(UINT msg, const std::string& key) {
        return SendMessageA(tools.hwnd(), msg, static_cast<WPARAM>(tools.Buttons(key).Id()), 0) != 0;
    }
};

// What the last drop-down menu offered, and which entry the "user" picks.
struct MenuSeen {
    int count = 0;
    std::vector<std::string> texts;
    std::vector<bool> grayed;
    int pick = 0;  // position in the menu, 1-based; 0 dismisses it
} gSeen;

int PickFromMenu(HMENU menu, int, int) {
    gSeen.count = GetMenuItemCount(menu);
    gSeen.texts.clear();
    gSeen.grayed.clear();
    for (int i = 0; i < gSeen.count; ++i) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, static_cast<int>(std::size(text)), MF_BYPOSITION);
        gSeen.texts.push_back(text);
        gSeen.grayed.push_back(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED);
    }
    return gSeen.pick ? static_cast<int>(GetMenuItemID(menu, gSeen.pick - 1)) : 0;
}

struct HookScope {
    HookScope() { gPopupHook = PickFromMenu; }
    ~HookScope() { gPopupHook = nullptr; }
};

}  // namespace

TEST(ToolBar, ButtonStatesReachTheWindow) {
    ToolForm form;
    form.build = [&form, design = form.build] {
        design();
        form.tools.Buttons("abort").SetEnabled(false);
        form.tools.Buttons("FIRST").SetVisible(false);
    };
    form.Load();
    EXPECT_THROW(form.tools.Add("Abort"), KeyError);
    EXPECT_THROW(form.tools.Buttons("missing"), KeyError);
    EXPECT_EQ(SendMessageA(form.tools.hwnd(), TB_BUTTONCOUNT, 0, 0), 5);
    EXPECT_FALSE(form.Shows(TB_ISBUTTONENABLED, "abort"));
    EXPECT_TRUE(form.Shows(TB_ISBUTTONHIDDEN, "first"));
    form.tools.Buttons("abort").SetEnabled(true);
    form.tools.Buttons("first").SetVisible(true);
    form.tools.Buttons("labels").SetValue(true);
    EXPECT_TRUE(form.Shows(TB_ISBUTTONENABLED, "abort"));
    EXPECT_FALSE(form.Shows(TB_ISBUTTONHIDDEN, "first"));
    EXPECT_TRUE(form.Shows(TB_ISBUTTONCHECKED, "labels"));
    // Loaded again, the bar starts from its design.
    form.Unload();
    form.Load();
    EXPECT_FALSE(form.Shows(TB_ISBUTTONENABLED, "abort"));
    form.Unload();
}

TEST(ToolBar, ClicksNameTheButtonAndDisabledButtonsStayQuiet) {
    ToolForm form;
    std::vector<std::string> clicked;
    form.tools.ButtonClick = [&](ToolButton& b) { clicked.push_back(b.Key()); };
    form.Load();
    form.Click("first");
    form.Click("labels");
    EXPECT_TRUE(form.tools.Buttons("labels").Value());
    form.tools.Buttons("abort").SetEnabled(false);
    form.Click("abort");
    EXPECT_EQ(clicked, (std::vector<std::string>{"first", "labels"}));
    form.Unload();
    // The pressed state the user left survives the window.
    EXPECT_TRUE(form.tools.Buttons("labels").Value());
}

TEST(ToolBar, DropDownOffersTheVisibleMenuItemsAndRaisesTheChosenOne) {
    ToolForm form;
    HookScope hook;
    std::vector<std::string> chosen;
    form.tools.ButtonMenuClick = [&](ToolButton& b, ButtonMenu& m) { chosen.push_back(b.Key() + ":" + m.key); };
    form.Load();
    ToolButton& view = form.tools.Buttons("view");
    view.Menus("viewlist").visible = false;
    view.Menus("viewlarge").enabled = false;
    gSeen = {};
    gSeen.pick = 2;
    RECT r = form.Rect("view");
    ClickAt(form.tools.hwnd(), r.right - 3, (r.top + r.bottom) / 2);  // on the arrow
    EXPECT_EQ(gSeen.texts, (std::vector<std::string>{"Large Icons", "Details"}));
    EXPECT_EQ(gSeen.grayed, (std::vector<bool>{true, false}));
    EXPECT_EQ(chosen, (std::vector<std::string>{"view:viewdetails"}));
    form.Unload();
}

TEST(ToolBar, ToolTipsComeFromTheButtons) {
    ToolForm form;
    form.Load();
    auto tip = reinterpret_cast<HWND>(SendMessageA(form.tools.hwnd(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    // The tool tip names the button by its command id, not by the tool bar's id.
    NMTTDISPINFOA di{};
    di.hdr.hwndFrom = tip;
    di.hdr.idFrom = static_cast<UINT_PTR>(form.tools.Buttons("view").Id());
    di.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(form.hwnd(), WM_NOTIFY, di.hdr.idFrom, reinterpret_cast<LPARAM>(&di));
    ASSERT_NE(di.lpszText, nullptr);
    EXPECT_STREQ(di.lpszText, "View");
    form.Unload();
}

TEST(ToolBar, TextLabelsOffHidesCaptionsAndKeepsThem) {
    ToolForm form;
    form.Load();
    auto text = [&](const std::string& key) {
        char buffer[64] = {};
        SendMessageA(form.tools.hwnd(), TB_GETBUTTONTEXTA, static_cast<WPARAM>(form.tools.Buttons(key).Id()),
                     reinterpret_cast<LPARAM>(buffer));
        return std::string(buffer);
    };
    EXPECT_EQ(text("first"), "First");
    int withLabels = form.tools.ButtonHeight();
    form.tools.SetTextLabels(false);
    form.tools.SetButtonHeight(24 * 15);
    form.tools.SetButtonWidth(24 * 15);
    EXPECT_EQ(text("first"), "");
    EXPECT_EQ(form.tools.Buttons("first").Caption(), "First");
    EXPECT_EQ(form.tools.ButtonHeight(), 24 * 15);
    EXPECT_LT(form.tools.ButtonHeight(), withLabels);
    form.tools.SetTextLabels(true);
    form.tools.Buttons("first").SetCaption("1st");
    EXPECT_EQ(text("first"), "1st");
    form.Unload();
}

TEST(ToolBar, CustomizeDialogOpensAndCloses) {
    ToolForm form;
    form.Load();
    // Close the dialog once it is up, as the user would.
    static int closed;
    closed = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM) -> BOOL {
                char cls[32] = {};
                GetClassNameA(w, cls, static_cast<int>(std::size(cls)));
                if (std::string(cls) == "#32770" && IsWindowVisible(w)) {
                    PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
                    ++closed;
                }
                return TRUE;
            },
            0);
    });
    form.tools.Customize();
    KillTimer(nullptr, timer);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(SendMessageA(form.tools.hwnd(), TB_BUTTONCOUNT, 0, 0), 5);
    form.Unload();
}

TEST(ToolBar, SaveToolbarWritesItsLayout) {
    const std::string key = "Software\\OrnavaleUiTest";
    DeleteRegTree(HKEY_CURRENT_USER, key);
    ToolForm form;
    form.Load();
    EXPECT_TRUE(form.tools.SaveToolbar(key, "Settings", "Toolbar"));
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (key + "\\Settings").c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(k, "Toolbar", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_GT(size, 0u);
    RegCloseKey(k);
    form.Unload();
    DeleteRegTree(HKEY_CURRENT_USER, key);
}
