// The form's control registry refuses a second control with an id already taken, and the command
// tables run the handler their id names.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "UiTest.h"
#include "ui/Control.h"
#include "ui/Dispatch.h"

namespace {

class TwoButtons : public TestForm {
  public:
    explicit TwoButtons(int secondId) : second{*this, secondId} {}
    Button first{*this, 1001};
    Button second;
    Button third{*this, 1003};
};

TEST(FormRegister, RefusesAnIdAlreadyTaken) {
    struct Case {
        const char* name;
        int secondId;
        bool loads;
    };
    const Case cases[] = {
        {"distinct ids", 1002, true},
        {"the first control's id", 1001, false},
        {"the id of a control made after it", 1003, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoButtons form(c.secondId);
        form.build = [&] {
            form.first.Create("first", {120, 120, 1200, 375});
            form.second.Create("second", {120, 600, 1200, 375});
            form.third.Create("third", {120, 1080, 1200, 375});
        };
        if (c.loads) {
            form.Load();
            EXPECT_TRUE(form.IsLoaded());
            form.Unload();
            continue;
        }
        // Refused once more when asked directly, and the form makes no window at all.
        EXPECT_FALSE(form.Register(&form.second));
        try {
            form.Load();
            ADD_FAILURE() << "loaded a form with two controls of id " << c.secondId;
        } catch (const std::logic_error& e) {
            EXPECT_NE(std::string(e.what()).find(std::to_string(c.secondId)), std::string::npos) << e.what();
        }
        EXPECT_FALSE(form.IsLoaded());
    }
}

TEST(FormRegister, TheEarlierControlKeepsItsEvents) {
    TwoButtons form(1001);
    std::vector<std::string> clicked;
    form.first.Click = [&] { clicked.push_back("first"); };
    form.second.Click = [&] { clicked.push_back("second"); };
    // A click under the shared id, from a window neither button owns, reaches the first one only.
    form.HandleMessage(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), reinterpret_cast<LPARAM>(GetDesktopWindow()));
    EXPECT_EQ(clicked, std::vector<std::string>{"first"});
}

struct Counter {
    std::vector<std::string> ran;
    void Open() { ran.push_back("open"); }
    void Close() { ran.push_back("close"); }
    void Page(int index) { ran.push_back("page " + std::to_string(index)); }
};

constexpr Command<Counter> kCommands[] = {{10, &Counter::Open}, {11, &Counter::Close}};
constexpr CommandRange<Counter> kRanges[] = {{20, 24, &Counter::Page}};
constexpr KeyCommand<Counter> kKeys[] = {{"open", Run<&Counter::Open>}, {"close", Run<&Counter::Close>}};

TEST(CommandTable, RunsTheHandlerOfItsIdAndNothingElse) {
    struct Case {
        int id;
        bool handled;
        const char* ran;
    };
    const Case cases[] = {
        {10, true, "open"},    {11, true, "close"},   {20, true, "page 0"}, {24, true, "page 4"},
        {19, false, nullptr},  {25, false, nullptr},  {0, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        Counter counter;
        bool handled = Dispatch(counter, kCommands, c.id) || DispatchRange(counter, kRanges, c.id);
        EXPECT_EQ(handled, c.handled);
        if (c.ran)
            EXPECT_EQ(counter.ran, std::vector<std::string>{c.ran});
        else
            EXPECT_TRUE(counter.ran.empty());
    }
}

TEST(CommandTable, KeysAreComparedExactly) {
    Counter counter;
    for (const char* key : {"close", "open"})
        if (auto action = FindKeyAction(kKeys, key)) action(counter);
    EXPECT_EQ(counter.ran, (std::vector<std::string>{"close", "open"}));
    for (const char* unknown : {"", "Open", "open ", "clos"}) EXPECT_FALSE(FindKeyAction(kKeys, unknown)) << unknown;
}

}  // namespace
