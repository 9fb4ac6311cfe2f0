// The tip window: which tip opens, how Next counts, and what each way of closing stores.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "TestSupport.h"
#include "core/FrmTip.h"
#include "core/Settings.h"
#include "ui/App.h"

namespace {

std::string Title() { return frmTip.txtTitle.Text(); }
std::string TipText() { return frmTip.txtTip.Text(); }
void Click(const Control& c) { SendMessageA(c.hwnd(), BM_CLICK, 0, 0); }
void CloseBox() { SendMessageA(frmTip.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }
bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

class FrmTipTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitApp(GetModuleHandleA(nullptr));
        gEndWhenNoForms = false;
    }
    void TearDown() override { frmTip.Unload(UnloadMode::AppWindows); }
    CleanStore clean_;
};

}  // namespace

TEST_F(FrmTipTest, FirstRunShowsTipOneAndCloseMovesOn) {
    frmTip.Load();
    EXPECT_EQ(frmTip.Caption(), "Tip of the Day");
    EXPECT_EQ(Title(), "Tip 1. Change Icons");
    EXPECT_TRUE(StartsWith(TipText(), "Change almost every Windows icon you see with Ornavale."));
    EXPECT_EQ(frmTip.chkTip.Value(), 1);
    Click(frmTip.cmdOK);
    EXPECT_FALSE(frmTip.IsLoaded());
    EXPECT_EQ(ReadStoredSetting(setting::TipNr), Variant(int32_t{2}));  // REG_DWORD
    EXPECT_EQ(ReadStoredSetting(setting::Tip), Variant("1"));          // REG_SZ

    frmTip.Load();
    EXPECT_EQ(Title(), "Tip 2. Change Icons");
}

TEST_F(FrmTipTest, WhatOpensAndWhatClosingStores) {
    enum class Close { Button, Box };
    struct Case {
        const char* name;
        std::optional<int32_t> storedNr;
        std::optional<const char*> storedShow;
        int nexts;
        bool untick;
        Close how;
        const char* title;  // after the Next clicks
        int checked;        // at open
        int32_t nr;
        const char* show;
    } cases[] = {
        {"last tip", 28, "1", 0, false, Close::Button, "Tip 28. Clipboard", 1, 1, "1"},
        {"next onto the last", 27, "1", 1, false, Close::Box, "Tip 28. Clipboard", 1, 1, "1"},
        {"next past the last", 28, "1", 1, false, Close::Button, "Tip 1. Change Icons", 1, 2, "1"},
        {"hidden at start", 5, "0", 0, false, Close::Box, "Tip 5. Favorites", 0, 6, "0"},
        {"untick", 3, "1", 2, true, Close::Button, "Tip 5. Favorites", 1, 6, "0"},
        {"empty show value", 16, "", 0, false, Close::Button, "Tip 16. Double-click Action", 1, 17, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteRegTree(HKEY_CURRENT_USER, "Software\\Ornavale");
        if (c.storedNr) WriteSetting(setting::TipNr, *c.storedNr);
        if (c.storedShow) WriteSetting(setting::Tip, *c.storedShow);
        frmTip.Load();
        EXPECT_EQ(frmTip.chkTip.Value(), c.checked);
        for (int i = 0; i < c.nexts; ++i) Click(frmTip.cmdNextTip);
        EXPECT_EQ(Title(), c.title);
        if (c.untick) Click(frmTip.chkTip);
        if (c.how == Close::Button) Click(frmTip.cmdOK);
        else CloseBox();
        EXPECT_FALSE(frmTip.IsLoaded());
        EXPECT_EQ(ReadStoredSetting(setting::TipNr), Variant(c.nr));
        EXPECT_EQ(ReadStoredSetting(setting::Tip), Variant(c.show));
    }
}

TEST_F(FrmTipTest, NextWalksAllTipsAndWraps) {
    frmTip.Load();
    for (int n = 2; n <= 28; ++n) {
        Click(frmTip.cmdNextTip);
        EXPECT_TRUE(StartsWith(Title(), "Tip " + std::to_string(n) + ". ")) << Title();
        EXPECT_GT(TipText().size(), 100u) << Title();
    }
    Click(frmTip.cmdNextTip);
    EXPECT_EQ(Title(), "Tip 1. Change Icons");
}

TEST_F(FrmTipTest, StoredNumberOutOfRange) {
    struct Case {
        int32_t stored;
        const char* afterNext;  // title after one Next
        int32_t storedAfterClose;
    } cases[] = {
        {40, "Title", 42},
        {0, "Tip 1. Change Icons", 2},
        {-3, "Title", -1},
        {INT32_MAX, "Title", INT32_MIN + 1},  // counts on without overflowing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        WriteSetting(setting::TipNr, c.stored);
        frmTip.Load();
        EXPECT_EQ(Title(), "Title");
        EXPECT_EQ(TipText(), "Tip");
        Click(frmTip.cmdNextTip);
        EXPECT_EQ(Title(), c.afterNext);
        Click(frmTip.cmdOK);
        EXPECT_EQ(ReadStoredSetting(setting::TipNr), Variant(c.storedAfterClose));
    }
}

TEST_F(FrmTipTest, UnloadForAnyOtherReasonStoresNothing) {
    for (UnloadMode mode : {UnloadMode::AppWindows, UnloadMode::FormCode, UnloadMode::AppTaskManager}) {
        SCOPED_TRACE(static_cast<int>(mode));
        frmTip.Load();
        Click(frmTip.cmdNextTip);
        Click(frmTip.chkTip);
        EXPECT_TRUE(frmTip.Unload(mode));
        EXPECT_FALSE(frmTip.IsLoaded());
        EXPECT_TRUE(ReadStoredSetting(setting::TipNr).IsEmpty());
        EXPECT_TRUE(ReadStoredSetting(setting::Tip).IsEmpty());
    }
}

TEST_F(FrmTipTest, TypographicQuotesAreAnsi) {
    frmTip.Load();
    for (int n = 1; n <= 28; ++n) {
        std::string text = TipText();
        for (unsigned char ch : text) {
            bool quote = ch == 0x91 || ch == 0x92;
            if (quote) {
                EXPECT_TRUE(n >= 20 && n <= 23) << "tip " << n;
            } else {
                EXPECT_LT(ch, 0x80) << "tip " << n;
            }
        }
        if (n == 20) {
            EXPECT_NE(text.find("I.e. \x91" "rainbow\x92 will"), std::string::npos);
        }
        if (n == 23) {
            EXPECT_TRUE(StartsWith(text, "If you don\x92t want"));
        }
        Click(frmTip.cmdNextTip);
    }
}
