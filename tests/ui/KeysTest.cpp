// The form's key preview and the combo box's keys, with real key input through the message loop
// and DoEvents: what the form sees, what reaches the control, Enter and Esc before the default and
// cancel buttons; and the combo box's Click for a selection made from code.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "UiTest.h"
#include "ui/Control.h"

namespace {

class KeyForm : public TestForm {
  public:
    KeyForm() {
        build = [this] {
            box.Create({120, 120, 3000, 315});
            text.Create("", {120, 720, 3000, 315});
            ok.Create("OK", {120, 1320, 1200, 375});
            cancel.Create("Cancel", {1440, 1320, 1200, 375});
        };
        ok.Click = [this] { seen.push_back("ok"); };
        cancel.Click = [this] { seen.push_back("cancel"); };
        box.KeyPress = [this](int& k) {
            seen.push_back("box " + std::to_string(k));
            if (k == boxSwallows) k = 0;
        };
    }
    ComboBox box{*this, 1001};
    TextBox text{*this, 1002};
    Button ok{*this, 1003};
    Button cancel{*this, 1004};
    std::vector<std::string> seen;
    int formSwallows = -1;  // KeyPress character the form answers with 0
    int boxSwallows = -1;
    int formReplaces = -1;  // KeyPress character the form turns into 'z'

  protected:
    FormSpec Spec() const override {
        FormSpec s = TestForm::Spec();
        s.keyPreview = true;
        return s;
    }
    int DefaultButtonId() const override { return 1003; }
    int CancelButtonId() const override { return 1004; }
    void Form_KeyDown(int& key, int) override { seen.push_back("down " + std::to_string(key)); }
    void Form_KeyUp(int& key, int) override { seen.push_back("up " + std::to_string(key)); }
    void Form_KeyPress(int& k) override {
        seen.push_back("press " + std::to_string(k));
        if (k == formSwallows) k = 0;
        if (k == formReplaces) k = 'z';
    }
};

// Lets the input arrive and run, through DoEvents or through the program's message loop.
void Deliver(bool loop) {
    Sleep(20);
    if (!loop) {
        for (int i = 0; i < 5; ++i) Pump();
        return;
    }
    // A timer comes only once nothing else is waiting, the typed keys included.
    UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    RunMessageLoop();
    KillTimer(nullptr, timer);
}

class KeyPreview : public testing::Test {
  protected:
    void SetUp() override {
        form.Show();
        ASSERT_TRUE(SetForegroundWindow(form.hwnd()));
        Pump();
    }
    void TearDown() override { form.Unload(); }
    KeyForm form;
};

TEST_F(KeyPreview, PreviewSeesDownPressUpBeforeTheControl) {
    struct Case {
        const char* what;
        int formSwallows, formReplaces;
        const char* typed;  // what the text box holds afterwards
    };
    const Case cases[] = {{"passed on", -1, -1, "a"}, {"swallowed", 'a', -1, ""}, {"changed", -1, 'a', "z"}};
    for (bool loop : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (loop ? " (message loop)" : " (DoEvents)"));
            form.text.SetText("");
            form.text.SetFocus();
            form.seen.clear();
            form.formSwallows = c.formSwallows;
            form.formReplaces = c.formReplaces;
            TypeKeys(KeysOf("a"));
            Deliver(loop);
            EXPECT_EQ(form.seen, (std::vector<std::string>{"down 65", "press 97", "up 65"}));
            EXPECT_EQ(form.text.Text(), c.typed);
        }
    }
}

TEST_F(KeyPreview, EnterAndEscReachTheComboBoxBeforeTheDefaultAndCancelButtons) {
    struct Case {
        WORD key;
        int formSwallows, boxSwallows;
        std::vector<std::string> seen;
    };
    const Case cases[] = {
        {VK_RETURN, -1, -1, {"down 13", "press 13", "box 13", "ok", "up 13"}},
        {VK_ESCAPE, -1, -1, {"down 27", "press 27", "box 27", "cancel", "up 27"}},
        {VK_RETURN, -1, 13, {"down 13", "press 13", "box 13", "up 13"}},
        {VK_ESCAPE, 27, -1, {"down 27", "press 27", "up 27"}},
        {'X', -1, -1, {"down 88", "press 120", "box 120", "up 88"}},
    };
    for (bool loop : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.key) + (loop ? " (message loop)" : " (DoEvents)"));
            form.box.SetText("");
            form.box.SetFocus();
            form.seen.clear();
            form.formSwallows = c.formSwallows;
            form.boxSwallows = c.boxSwallows;
            TypeKeys({c.key});
            Deliver(loop);
            EXPECT_EQ(form.seen, c.seen);
        }
    }
    EXPECT_EQ(form.box.Text(), "x");
}

TEST_F(KeyPreview, AControlDisabledOrHiddenWithTheKeyboardPassesItOnAndTakesItBack) {
    struct Case {
        const char* what;
        bool hide;         // hidden, else disabled
        bool othersOff;    // no other control can take the keyboard
        bool frameHasIt;   // where the keyboard goes: the form's frame, else the next control, OK
    };
    const Case cases[] = {
        {"disabled", false, false, false},
        {"hidden", true, false, false},
        {"disabled, nothing else takes it", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto set = [&](bool on) {
            if (c.hide) form.text.SetVisible(on);
            else form.text.SetEnabled(on);
        };
        for (Control* other : {static_cast<Control*>(&form.box), static_cast<Control*>(&form.ok),
                               static_cast<Control*>(&form.cancel)})
            other->SetEnabled(!c.othersOff);
        form.text.SetFocus();
        set(false);
        EXPECT_EQ(GetFocus(), c.frameHasIt ? form.hwnd() : form.ok.hwnd());
        // Esc still reaches the form (and Cancel, unless it is disabled too).
        form.seen.clear();
        TypeKeys({VK_ESCAPE});
        Deliver(false);
        EXPECT_EQ(form.seen, c.othersOff ? (std::vector<std::string>{"down 27", "press 27", "up 27"})
                                         : (std::vector<std::string>{"down 27", "press 27", "cancel", "up 27"}));
        set(true);
        EXPECT_EQ(GetFocus(), form.text.hwnd());
    }
    for (Control* other : {static_cast<Control*>(&form.box), static_cast<Control*>(&form.ok),
                           static_cast<Control*>(&form.cancel)})
        other->SetEnabled(true);
    // Not when the keyboard has moved on meanwhile, nor when it was typed with where it went.
    form.text.SetEnabled(false);
    form.box.SetFocus();
    form.text.SetEnabled(true);
    EXPECT_TRUE(form.box.HasFocus());
    form.text.SetFocus();
    form.text.SetEnabled(false);
    TypeKeys(KeysOf("o"));
    Deliver(false);
    form.text.SetEnabled(true);
    EXPECT_EQ(GetFocus(), form.ok.hwnd());
}

TEST_F(KeyPreview, AFormShownGivesTheKeyboardToItsFirstControlThatTakesIt) {
    struct Case {
        const char* what;
        Control* off;  // disabled before the form is shown again
        Control* expected;
    };
    const Case cases[] = {
        {"the first", nullptr, &form.box},
        {"the first disabled", &form.box, &form.text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form.ok.SetFocus();
        form.Hide();
        if (c.off) c.off->SetEnabled(false);
        form.Show();
        // The X server's word on the hidden window may come after the show and take it back.
        Pump();
        ASSERT_TRUE(SetForegroundWindow(form.hwnd()));
        Pump();
        EXPECT_TRUE(c.expected->HasFocus());
        if (c.off) c.off->SetEnabled(true);
    }
}

TEST_F(KeyPreview, TheKeyboardComesBackWhenTheFormIsActiveAgain) {
    TestForm other;
    other.build = [&] {};
    for (Control* focus : {static_cast<Control*>(&form.text), static_cast<Control*>(&form.box)}) {
        focus->SetFocus();
        other.Show();
        Pump();
        ASSERT_EQ(GetActiveWindow(), other.hwnd());
        other.Hide();
        ASSERT_TRUE(SetForegroundWindow(form.hwnd()));
        Pump();
        EXPECT_TRUE(focus->HasFocus());
    }
    other.Unload();
}

TEST_F(KeyPreview, ComboClickFollowsAChangeOfSelectionNotTheTypedText) {
    for (const char* k : {"alpha", "beta", "gamma"}) form.box.AddItem(k);
    int clicks = 0;
    form.box.Click = [&] { ++clicks; };
    struct Step {
        const char* what;
        int index;
        const char* typedBefore;  // typed into the edit field first; nullptr: nothing
        int clicks, listIndex;
    };
    const Step steps[] = {
        {"a new selection", 1, nullptr, 1, 1},
        {"the same again", 1, nullptr, 0, 1},
        {"the same after typing", 1, "bet", 0, 1},
        {"another", 2, nullptr, 1, 2},
        {"none", -1, nullptr, 1, -1},
        {"none again", -1, nullptr, 0, -1},
        {"out of range is none", 7, nullptr, 0, -1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.typedBefore) {
            form.box.SetFocus();
            SendMessageA(form.box.hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
            TypeKeys(KeysOf(s.typedBefore));
            Deliver(false);
            EXPECT_EQ(form.box.Text(), s.typedBefore);
            EXPECT_EQ(form.box.ListIndex(), 1);
        }
        clicks = 0;
        form.box.SetListIndex(s.index);
        EXPECT_EQ(clicks, s.clicks);
        EXPECT_EQ(form.box.ListIndex(), s.listIndex);
    }
}

}  // namespace
