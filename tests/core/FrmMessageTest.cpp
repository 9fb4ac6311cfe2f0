// The message window: its answers, the reminder it keeps, where it opens and the hotspot layout.
// Each case acts on the open window from a timer inside the window's modal loop.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "TestSupport.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "ui/App.h"

namespace {

constexpr const char* kReminder = "TestReminder";
const SettingDef kReminderDef{Store::Settings, kReminder, REG_SZ, nullptr};

std::function<void()> gOnOpen;
bool gLeftOpen = false;

void CALLBACK RunOnOpen(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (auto action = std::exchange(gOnOpen, nullptr)) action();
}

// Nothing a test does may leave the window waiting for a person.
void CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    gLeftOpen = frmMessage.IsLoaded();
    if (gLeftOpen) frmMessage.Unload();
}

// Shows a message and runs action once the window is open; answers ShowMessage's answer.
bool ShowAnd(std::function<void()> action, const std::string& button = "Do It Now",
             const std::string& reminder = kReminder) {
    gOnOpen = std::move(action);
    gLeftOpen = false;
    UINT_PTR run = SetTimer(nullptr, 0, 10, RunOnOpen);
    UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, Watchdog);
    bool answer = ShowMessage("Something happened that you should know about.", reminder, "Test Caption", button);
    KillTimer(nullptr, run);
    KillTimer(nullptr, watchdog);
    EXPECT_FALSE(gLeftOpen) << "the window was still open";
    return answer;
}

void Click(const Control& c) { SendMessageA(c.hwnd(), BM_CLICK, 0, 0); }
bool Shows(const Control& c) { return c.hwnd() && IsWindowVisible(c.hwnd()); }

RECT ScreenRect(const Control& c) {
    RECT r{};
    GetWindowRect(c.hwnd(), &r);
    return r;
}

int ScreenWidthTwips() { return GetSystemMetrics(SM_CXSCREEN) * 15; }
int ScreenHeightTwips() { return GetSystemMetrics(SM_CYSCREEN) * 15; }

class FrmMessageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitApp(GetModuleHandleA(nullptr));
        gEndWhenNoForms = false;
        gHotSpotMode = false;
    }
    void TearDown() override { gHotSpotMode = false; }
    CleanStore clean_;
};

}  // namespace

TEST_F(FrmMessageTest, AnswersAndReminder) {
    enum class Close { ActionButton, CloseButton, CloseBox, Escape };
    struct Case {
        const char* name;
        const char* button;
        bool tick;
        Close how;
        bool answer;
        const char* stored;
    } cases[] = {
        {"action", "Do It Now", false, Close::ActionButton, true, "0"},
        {"action, ticked", "Do It Now", true, Close::ActionButton, true, "1"},
        {"close, ticked", "Do It Now", true, Close::CloseButton, false, "1"},
        {"close only", "", false, Close::CloseButton, false, "0"},
        {"close box, ticked", "Do It Now", true, Close::CloseBox, false, "1"},
        {"escape", "Do It Now", false, Close::Escape, false, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gResult = true;  // an earlier answer must not leak into this one
        bool answer = ShowAnd(
            [&] {
                // Each message starts afresh, whatever the one before it left.
                EXPECT_EQ(Shows(frmMessage.cmdRestart), *c.button != '\0');
                EXPECT_TRUE(Shows(frmMessage.cmdOK));
                EXPECT_EQ(frmMessage.chkNoShow.Value(), 0);
                if (c.tick) Click(frmMessage.chkNoShow);
                switch (c.how) {
                    case Close::ActionButton:
                        Click(frmMessage.cmdRestart);
                        break;
                    case Close::CloseButton:
                        Click(frmMessage.cmdOK);
                        break;
                    case Close::CloseBox:
                        SendMessageA(frmMessage.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
                        break;
                    case Close::Escape:
                        PostMessageA(frmMessage.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
                        break;
                }
            },
            c.button);
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(gResult, Variant(c.answer));
        EXPECT_FALSE(frmMessage.IsLoaded());
        EXPECT_EQ(ReadStoredSetting(kReminderDef), Variant(c.stored));  // REG_SZ text
    }
}

TEST_F(FrmMessageTest, WithoutAReminderNameNothingIsWritten) {
    ShowAnd([] {
        Click(frmMessage.chkNoShow);
        Click(frmMessage.cmdOK);
    }, "", "");
    DWORD values = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(key);
    }
    EXPECT_EQ(values, 0u);
}

TEST_F(FrmMessageTest, FirstMessageOpensCentredThenWhereItWasLeft) {
    int left = 0, top = 0;
    ShowAnd([&] {
        left = frmMessage.Left();
        top = frmMessage.Top();
        EXPECT_NEAR(left, (ScreenWidthTwips() - frmMessage.Width()) / 2, 15);
        EXPECT_NEAR(top, (ScreenHeightTwips() - frmMessage.Height()) / 2, 15);
        Click(frmMessage.cmdOK);
    });
    EXPECT_EQ(ReadStoredSetting(setting::MessageLeft), Variant(int32_t{left}));  // REG_DWORD
    EXPECT_EQ(ReadStoredSetting(setting::MessageTop), Variant(int32_t{top}));

    ShowAnd([] {
        frmMessage.Move(1500, 900);
        Click(frmMessage.cmdRestart);
    });
    EXPECT_EQ(ReadStoredSetting(setting::MessageLeft), Variant(int32_t{1500}));
    EXPECT_EQ(ReadStoredSetting(setting::MessageTop), Variant(int32_t{900}));
    ShowAnd([] {
        EXPECT_EQ(frmMessage.Left(), 1500);
        EXPECT_EQ(frmMessage.Top(), 900);
        Click(frmMessage.cmdOK);
    });
}

TEST_F(FrmMessageTest, PlaceOffEveryScreenOpensCentred) {
    struct Case {
        int32_t top, left;
    } cases[] = {{900, 400000}, {-200000, 1500}, {ScreenHeightTwips() + 300, 1500},
                 {900, ScreenWidthTwips() - 10 * 15},  // a sliver of its caption on the screen
                 {2147483647, -100000}};
    for (const Case& c : cases) {
        WriteWindowPos(windowpos::Message, {c.top, c.left});
        ShowAnd([] {
            EXPECT_NEAR(frmMessage.Left(), (ScreenWidthTwips() - frmMessage.Width()) / 2, 15);
            EXPECT_NEAR(frmMessage.Top(), (ScreenHeightTwips() - frmMessage.Height()) / 2, 15);
            Click(frmMessage.cmdOK);
        });
    }
}

TEST_F(FrmMessageTest, HotspotModeShowsOnlyTheActionButtonWhereCloseWas) {
    gHotSpotMode = true;
    bool answer = ShowAnd([] {
        EXPECT_FALSE(Shows(frmMessage.cmdOK));
        EXPECT_TRUE(Shows(frmMessage.cmdRestart));
        RECT action = ScreenRect(frmMessage.cmdRestart);
        RECT close = ScreenRect(frmMessage.cmdOK);
        EXPECT_EQ(action.right, close.right);
        EXPECT_EQ(action.top, close.top);
        Click(frmMessage.cmdRestart);
    }, "Define Hotspot Now");
    EXPECT_TRUE(answer);
}

TEST_F(FrmMessageTest, NothingCutOffForALongMessage) {
    const std::string text =
        "This Ornavale Light version is a fully functional Ornavale version but does not contain the 17.500 "
        "icons. When searching for icons on Keywords, Ornavale will show the amount of found icons but not the "
        "icons themselves. The free full Ornavale version is available at the Ornavale Homepage accessable "
        "through Help, About, Contact tab. You may need to Restart Windows before File Type changes take effect.";
    ShowAnd([&] {
        frmMessage.txtMessage.SetText(text);
        HWND label = frmMessage.txtMessage.hwnd();
        HDC dc = GetDC(label);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        RECT room{};
        GetClientRect(label, &room);
        RECT need = room;
        DrawTextA(dc, text.c_str(), -1, &need, DT_WORDBREAK | DT_CALCRECT);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        EXPECT_GE(need.bottom / tm.tmHeight, 6) << "the text should be long enough to matter";
        EXPECT_LE(need.bottom, room.bottom);
        EXPECT_LT(ScreenRect(frmMessage.txtMessage).bottom, ScreenRect(frmMessage.cmdOK).top);
        Click(frmMessage.cmdOK);
    });
}
