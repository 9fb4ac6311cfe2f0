// The slider over the trackbar (range, value, Change from code and from the user's scroll) and the
// controls' tool tips in the form's tip window, kept across an unload.
#include <gtest/gtest.h>

#include <string>

#include "UiTest.h"
#include "ui/Control.h"
#include "ui/Slider.h"

namespace {

class SliderForm : public TestForm {
  public:
    SliderForm() {
        build = [this] {
            slider.Create({0, 0, 3000, 450});
            slider.SetRange(1, 30);
            box.Create({0, 600, 480, 480});
        };
        slider.Change = [this] { ++changes; };
    }
    Slider slider{*this, 1100};
    PictureBox box{*this, 1101};
    int changes = 0;
};

// The text the form's tip window shows for a control; empty when it has no tool for it.
std::string TipOf(Form& form, const Control& control) {
    HWND tips = form.ToolTipWindow(false);
    if (!tips) return {};
    char text[256] = {};
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = form.hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(control.hwnd());
    if (!SendMessageA(tips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool))) return {};
    tool.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

}  // namespace

TEST(Slider, ValueFromCodeAndFromTheUser) {
    SliderForm form;
    form.Load();
    HWND track = form.slider.hwnd();
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(SendMessageA(track, TBM_GETRANGEMIN, 0, 0), 1);
    EXPECT_EQ(SendMessageA(track, TBM_GETRANGEMAX, 0, 0), 30);
    EXPECT_EQ(form.slider.Value(), 1);  // the range took the value along

    struct Case {
        const char* what;
        int set;             // from code; 0: the user moves the thumb to `position`
        int position;
        int code;            // the scroll code the trackbar sends
        int value, changes;  // afterwards
    } cases[] = {
        {"code, in range", 5, 0, 0, 5, 1},
        {"code, the same value", 5, 0, 0, 5, 0},
        {"code, past the end", 40, 0, 0, 30, 1},
        {"code, below the start", -3, 0, 0, 1, 1},
        {"user, while dragging", 0, 12, TB_THUMBTRACK, 1, 0},
        {"user, thumb released", 0, 12, TB_THUMBPOSITION, 12, 1},
        {"user, end of the move", 0, 12, TB_ENDTRACK, 12, 0},
        {"user, a key", 0, 13, TB_LINEDOWN, 13, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form.changes = 0;
        if (c.set) {
            form.slider.SetValue(c.set);
        } else {
            SendMessageA(track, TBM_SETPOS, TRUE, c.position);
            SendMessageA(form.hwnd(), WM_HSCROLL, MAKEWPARAM(c.code, c.position), reinterpret_cast<LPARAM>(track));
        }
        EXPECT_EQ(form.slider.Value(), c.value);
        EXPECT_EQ(form.changes, c.changes);
        if (c.set) {
            EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), c.value);
        }
    }
    // The value outlives the window.
    form.Unload();
    form.Load();
    EXPECT_EQ(SendMessageA(form.slider.hwnd(), TBM_GETPOS, 0, 0), 13);
    form.Unload();
}

TEST(ToolTips, EachControlsTextInTheFormsTipWindow) {
    SliderForm form;
    form.box.SetToolTipText("set before the window");
    form.Load();
    EXPECT_EQ(TipOf(form, form.box), "set before the window");
    EXPECT_EQ(TipOf(form, form.slider), "");

    form.slider.SetToolTipText("animation speed: 5 frames per second");
    form.box.SetToolTipText("12 frames");
    EXPECT_EQ(TipOf(form, form.slider), "animation speed: 5 frames per second");
    EXPECT_EQ(TipOf(form, form.box), "12 frames");
    EXPECT_EQ(SendMessageA(form.ToolTipWindow(false), TTM_GETTOOLCOUNT, 0, 0), 2);

    // A window loaded again gets its tips back; an emptied tip goes.
    form.Unload();
    EXPECT_EQ(form.ToolTipWindow(true), nullptr);
    form.Load();
    EXPECT_EQ(TipOf(form, form.box), "12 frames");
    form.slider.SetToolTipText("");
    EXPECT_EQ(TipOf(form, form.slider), "");
    EXPECT_EQ(SendMessageA(form.ToolTipWindow(false), TTM_GETTOOLCOUNT, 0, 0), 1);
    form.Unload();
}
