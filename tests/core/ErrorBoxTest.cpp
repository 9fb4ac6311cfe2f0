// The error text line by line, and which box shows it with which icon and title.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BoxRecorder.h"
#include "TestSupport.h"
#include "core/ErrorBox.h"
#include "core/FrmSplash.h"
#include "core/Global.h"
#include "ui/App.h"

namespace {

std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;
int gSplashLeftWhenShown = 0;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r') lines.emplace_back();
        else lines.back() += c;
    }
    return lines;
}

class ErrorBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitApp(GetModuleHandleA(nullptr));
        gEndWhenNoForms = false;
        gSplashLeftWhenShown = 0;
        gResult = Variant();
        BoxRecorder::onShow = [](const ShownBox&) { gSplashLeftWhenShown = frmSplash.IsLoaded() ? frmSplash.Left() : 0; };
    }
    BoxRecorder recorder;
};

}  // namespace

TEST_F(ErrorBoxTest, TextLineByLine) {
    struct Case {
        int32_t number;
        const char* source;
        const char* description;
        const char* first;
    } cases[] = {
        {53, "frmSplash", "File not found", "Error Nr. 53 in frmSplash"},
        {-2147024891, "Ornavale", "Access is denied.", "Error Nr. -2147024891 in Ornavale"},
        {0, "", "", "Error Nr. 0 in "},
    };
    for (const Case& c : cases) {
        std::string text = ErrorText(c.number, c.source, c.description);
        EXPECT_EQ(text.find('\n'), std::string::npos) << "lines are separated by a lone carriage return";
        std::vector<std::string> expected = {c.first,
                                             c.description,
                                             "",
                                             "Please notify Dyr Software of this error.",
                                             "Try to include relevant information and",
                                             "the actions you were performing."};
        EXPECT_EQ(Lines(text), expected) << c.first;
    }
}

TEST_F(ErrorBoxTest, BoxesAndTheirAnswers) {
    EXPECT_EQ(ShowErrorBox(5, "frmMain", "Invalid procedure call"), MsgBoxResult::Ok);
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0], (ShownBox{ErrorText(5, "frmMain", "Invalid procedure call"), MB_ICONHAND, "Ornavale Error"}));
    EXPECT_EQ(gResult, Variant(int32_t{IDOK}));

    BoxRecorder::answer = IDCANCEL;  // whatever the box answers is what the caller finds
    EXPECT_EQ(ShowError(76, "procLoadKeys", "Path not found"), MsgBoxResult::Cancel);
    ASSERT_EQ(gBoxes.size(), 2u);
    EXPECT_EQ(gBoxes[1].style, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(gBoxes[1].title, "Error");
    EXPECT_EQ(Lines(gBoxes[1].text).front(), "Error Nr. 76 in procLoadKeys");
    EXPECT_EQ(gResult, Variant(int32_t{IDCANCEL}));

    ShowError(53, "mnuFileEditWith_Click", "File not found", "Edit With Error");
    ASSERT_EQ(gBoxes.size(), 3u);
    EXPECT_EQ(gBoxes[2].title, "Edit With Error");
}

TEST_F(ErrorBoxTest, SplashMovesOutOfSightBeforeTheBox) {
    // Left loaded: the splash's own unload hands over to the next window, which is not under test.
    frmSplash.Load();
    ASSERT_TRUE(frmSplash.IsLoaded());
    frmSplash.Move(1500, 1200);
    int width = frmSplash.Width();
    int top = frmSplash.Top();

    ShowErrorBox(91, "frmSplash", "Object variable not set");
    EXPECT_EQ(gBoxes.size(), 1u);
    EXPECT_NEAR(gSplashLeftWhenShown, -1.1 * width, 15);
    EXPECT_NEAR(frmSplash.Left(), -1.1 * width, 15);
    EXPECT_EQ(frmSplash.Top(), top);
    EXPECT_EQ(frmSplash.Width(), width);
}

TEST(SystemErrorText, TheSystemsLineWithoutItsBreakOrAFallback) {
    struct Case {
        DWORD error;
        const char* contains;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, "not found"},
        {ERROR_ACCESS_DENIED, "ccess"},
        {0x2FFFFFFF, "System error 805306367"},  // a number the system has no text for
    };
    for (const auto& c : cases) {
        std::string text = SystemErrorText(c.error);
        EXPECT_NE(text.find(c.contains), std::string::npos) << c.error << ": " << text;
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text.back(), '\n') << c.error;
        EXPECT_NE(text.back(), '\r') << c.error;
        EXPECT_NE(text.back(), ' ') << c.error;
    }
}
