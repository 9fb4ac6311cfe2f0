// The catalogue tool's reading of theme folders, its keywords and where its entries go.
#include <gtest/gtest.h>

#include "Keywords.h"
#include "Layout.h"
#include "Themes.h"

using namespace catalogue;

TEST(Themes, PathsOfTheThemeLayouts) {
    struct Case {
        const char* path;
        bool ok;
        int size;
        const char* context;
        const char* name;
        bool svg;
    } cases[] = {
        {"32x32/apps/firefox.png", true, 32, "apps", "firefox", false},
        {"apps/32/firefox.svg", true, 32, "apps", "firefox", true},
        {"base/48x48/places/folder.png", true, 48, "places", "folder", false},
        {"scalable/status/dialog-error-symbolic.svg", true, 0, "status", "dialog-error-symbolic", true},
        {"scalable-up-to-32/status/process-working.svg", true, 0, "status", "process-working", true},
        {"places/symbolic/user-home-symbolic.svg", true, 0, "places", "user-home-symbolic", true},
        {"32/MimeTypes/text.svg", true, 32, "mimetypes", "text", true},
        {"32x32@2x/apps/firefox.png", false, 0, "", "", false},  // high-density copy
        {"apps/22@3x/firefox.svg", false, 0, "", "", false},
        {"32x32/apps/firefox.xpm", false, 0, "", "", false},
        {"apps/firefox.png", false, 0, "", "", false},  // no size folder
        {"32x32/firefox.png", false, 0, "", "", false},  // no context
    };
    for (const auto& c : cases) {
        auto t = ParseThemePath(c.path);
        ASSERT_EQ(t.has_value(), c.ok) << c.path;
        if (!t) continue;
        EXPECT_EQ(t->size, c.size) << c.path;
        EXPECT_EQ(t->context, c.context) << c.path;
        EXPECT_EQ(t->name, c.name) << c.path;
        EXPECT_EQ(t->svg, c.svg) << c.path;
    }
}

TEST(Themes, NumberedFrames) {
    struct Case {
        const char* name;
        const char* series;  // nullptr: none
        int number;
    } cases[] = {
        {"nm-stage01-connecting07", "nm-stage01-connecting", 7},
        {"brasero-disc-100", "brasero-disc", 100},
        {"frame_05", "frame", 5},
        {"process-working", nullptr, 0},
        {"12", nullptr, 0},
        {"spinner-123456", nullptr, 0},  // a number too long for a frame
    };
    for (const auto& c : cases) {
        auto s = ParseSeriesName(c.name);
        ASSERT_EQ(s.has_value(), c.series != nullptr) << c.name;
        if (!s) continue;
        EXPECT_EQ(s->series, c.series);
        EXPECT_EQ(s->number, c.number);
    }
}

TEST(Themes, BestSourceForACell) {
    auto pick = [](std::vector<Source> s) {
        auto b = BestSource(s);
        return b ? b->file.string() : std::string("none");
    };
    EXPECT_EQ(pick({{"16.png", 16, false}, {"32.svg", 32, true}, {"32.png", 32, false}, {"s.svg", 0, true}}), "32.png");
    EXPECT_EQ(pick({{"48.png", 48, false}, {"32.svg", 32, true}, {"s.svg", 0, true}}), "32.svg");
    EXPECT_EQ(pick({{"48.png", 48, false}, {"64.svg", 64, true}, {"s.svg", 0, true}}), "s.svg");
    EXPECT_EQ(pick({{"64.svg", 64, true}, {"48.svg", 48, true}, {"48.png", 48, false}}), "48.svg");
    EXPECT_EQ(pick({{"96.png", 96, false}, {"48.png", 48, false}}), "48.png");
    EXPECT_EQ(pick({{"16.png", 16, false}, {"24.svg", 24, true}}), "none");
}

TEST(Keywords, WordsOfNames) {
    struct Case {
        const char* name;
        std::vector<std::string> words;
    } cases[] = {
        {"folder-open", {"folder", "open"}},
        {"Document_Save.As", {"document", "save", "as"}},
        {"gnome-mime-application-x-python", {"gnome", "mime", "application", "python"}},
        {"nm-signal-00", {"nm", "signal"}},
        {"3d-view mp3", {"view", "mp3"}},
        {"e29285e634086352946a0e7090d73106", {}},  // an X cursor's hash
        {"left_ptr_watch", {"left", "ptr", "watch"}},
        {"org.gnome.Maps", {"gnome", "maps"}},
        {"go-up-go", {"go", "up"}},
        {"caf\xe9-menu", {"caf", "menu"}},
        {"network-workgroup-group", {"network", "workgroup"}},  // a word that begins with "group"
        {"groupware", {}},                                      // would name a design group
    };
    for (const auto& c : cases) EXPECT_EQ(NameWords(c.name), c.words) << c.name;
}

TEST(Keywords, ContextsAlwaysThenTheMostUsedWords) {
    std::vector<PictureWords> pictures = {
        {{"places"}, {"folder", "open"}},
        {{"places"}, {"folder", "home"}},
        {{"apps"}, {"zebra", "folder"}},
        {{"apps"}, {"rare"}},
    };
    // Room for the two contexts and one word: "folder", the word of three pictures.
    KeywordPlan plan = ChooseKeywords(pictures, 3);
    EXPECT_EQ(plan.keywords, (std::vector<std::string>{"apps", "folder", "places"}));
    ASSERT_EQ(plan.pictures.size(), 4u);
    EXPECT_EQ(plan.pictures[0], (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(plan.pictures[3], (std::vector<std::size_t>{0}));  // its context keeps it listed

    // With room for all, ties go in alphabetical order and every word comes in.
    plan = ChooseKeywords(pictures, 100);
    EXPECT_EQ(plan.keywords.size(), 7u);
    EXPECT_TRUE(std::is_sorted(plan.keywords.begin(), plan.keywords.end()));
    plan = ChooseKeywords(pictures, 4);
    EXPECT_EQ(plan.keywords, (std::vector<std::string>{"apps", "folder", "home", "places"}));

    EXPECT_THROW(ChooseKeywords(pictures, 1), std::runtime_error);

    // Design names keep their capitals, and the order ignores letter case.
    EXPECT_EQ(ChooseKeywords({{{"group GNOME", "group elementary Xfce"}, {}}}).keywords,
              (std::vector<std::string>{"group elementary Xfce", "group GNOME"}));
}

TEST(Layout, AnimationsStayInOneLibrary) {
    auto entry = [](std::size_t frames) {
        Entry e;
        e.frames.resize(frames);
        return e;
    };
    std::vector<Entry> entries{entry(1), entry(95), entry(1), entry(10), entry(3)};
    auto placed = Place(entries, 324);
    ASSERT_TRUE(placed);
    const auto& p = placed.value();
    EXPECT_EQ(p[0].library, 1);
    EXPECT_EQ(p[1].firstCell, 1);
    EXPECT_EQ(p[1].animation, 1);
    EXPECT_EQ(p[2].library, 1);  // a still fills the gap
    EXPECT_EQ(p[2].firstCell, 96);
    EXPECT_EQ(p[3].library, 2);  // 10 frames do not fit into the last 3 cells
    EXPECT_EQ(p[3].firstCell, 0);
    EXPECT_EQ(p[3].animation, 1);  // numbered anew in each library
    EXPECT_EQ(p[4].animation, 2);

    EXPECT_FALSE(Place(std::vector<Entry>(101, entry(1)), 1));
    EXPECT_FALSE(Place({entry(101)}, 324));
}

TEST(Layout, TokensAndTheirOrderInTheIndex) {
    Entry still;
    still.frames.resize(1);
    still.maskDigit = '4';
    still.typeCode = '1';
    Entry anim;
    anim.frames.resize(3);
    anim.maskDigit = '2';
    anim.typeCode = '5';
    EXPECT_EQ(Token(still, {12, 7, 0}, 0), "12:7:41");
    EXPECT_EQ(IndexTokens(anim, {3, 10, 2}), (std::vector<std::string>{"3:12:a225", "3:11:a225", "3:10:a225"}));

    const std::string text = IndexText({"arrow", "spin"}, {{1, 0}, {1}}, {still, anim}, {{3, 13, 0}, {3, 10, 2}});
    EXPECT_EQ(text, "arrow;3:12:a225;3:11:a225;3:10:a225;3:13:41\r\nspin;3:12:a225;3:11:a225;3:10:a225\r\n");
}
