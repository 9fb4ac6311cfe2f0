// Entry texts of every kind: read, composed, and what they stand for.
#include <gtest/gtest.h>

#include <cstring>

#include "browsing/Library.h"
#include "common/ResultEntry.h"

TEST(ResultEntry, ReadsEveryLayoutAndComposesTheSameBytes) {
    struct Case {
        const char *text, *file, *index, *label;
        SourceKind kind;
    } cases[] = {
        {"C:\\x\\y.dll;2;#3 of 12;dopen", "C:\\x\\y.dll", "2", "#3 of 12", SourceKind::Open},
        {"C:\\my;icons\\a;b.ico;0;x;2open", "C:\\my;icons\\a;b.ico", "0", "x", SourceKind::Open},
        {"C:\\a\\b.ico;0;x;4user", "C:\\a\\b.ico", "0", "x", SourceKind::User},
        {"C:\\n.exe;-3;C:\\n.exe;sshor", "C:\\n.exe", "-3", "C:\\n.exe", SourceKind::Shor},
        {"default;0;32512;csycu", "default", "0", "32512", SourceKind::Sycu},
        {"C:\\w.ANI;7;Control Panel\\Cursors\\Wait;gsycu", "C:\\w.ANI", "7", "Control Panel\\Cursors\\Wait",
         SourceKind::Sycu},
        {"default;0;Control Panel\\Cursors\\Schemes\\Classic:3;tsytu", "default", "0",
         "Control Panel\\Cursors\\Schemes\\Classic:3", SourceKind::Sytu},
        {"C:\\x.dll; -2;Text Document (*.txt);fsyas", "C:\\x.dll", " -2", "Text Document (*.txt)", SourceKind::Syas},
        {"c:\\s.dll;0;Default Icon;wsysy", "c:\\s.dll", "0", "Default Icon", SourceKind::Sysy},
    };
    for (const auto& c : cases) {
        auto e = ParseEntry(c.text);
        ASSERT_TRUE(e) << c.text;
        EXPECT_EQ(e->kind, c.kind) << c.text;
        EXPECT_EQ(e->typeCode, c.text[std::strlen(c.text) - 5]) << c.text;
        EXPECT_EQ(e->file, c.file);
        EXPECT_EQ(e->index, c.index) << c.text;
        EXPECT_EQ(e->label, c.label) << c.text;
        EXPECT_EQ(ComposeEntry(*e), c.text);
    }
    auto book = ParseEntry("12:345:abc07book");
    ASSERT_TRUE(book);
    EXPECT_EQ(book->ref.library, "12");
    EXPECT_EQ(book->ref.cell, 345);
    EXPECT_EQ(book->ref.maskDigit, '0');  // the first of the last six characters
    EXPECT_EQ(book->typeCode, '7');
    EXPECT_EQ(ComposeEntry(*book), "12:345:abc07book");
}

TEST(ResultEntry, BrokenTextsAreNoEntry) {
    for (const char* text : {"", "pen", "open", "2open", "12:345:abc00BOOK", "a;0;x;2opem", "0;x;2open",
                             ";0;x;2open", "a;0;x2open", "a;;2open", "12:x:00book", "12:3:0book", "..\\1:3:00book"})
        EXPECT_FALSE(ParseEntry(text)) << text;
}

TEST(ResultEntry, TheLibraryOfATokenReadsAlikeOnThePageAndForItsPicture) {
    struct Case {
        const char* token;
        const char* library;  // nullptr: no token
    } cases[] = {
        {"17:3:x02", "17"},    {"324.9:0:x22", "324.9"}, {"0:0:00", "0"},   {"007:1:00", "007"},
        {"325:1:00", "325"},   {"1.:0:00", nullptr},     {".5:0:00", nullptr}, {"1.2.3:0:00", nullptr},
        {"1e3:0:00", nullptr}, {"-1:0:00", nullptr},     {"+1:0:00", nullptr}, {" 1:0:00", nullptr},
        {":0:00", nullptr},    {"..\\1:0:00", nullptr},  {"1\\..:0:00", nullptr},
    };
    for (const Case& c : cases) {
        const auto ref = ParseCatalogueRef(c.token);
        const std::string token = c.token, library = token.substr(0, token.find(':'));
        EXPECT_EQ(ref.has_value(), c.library != nullptr) << c.token;
        if (ref) {
            EXPECT_EQ(ref->library, c.library) << c.token;
        }
        // The extraction names a picture for exactly the libraries the page reads.
        EXPECT_EQ(!LibraryPicturePath(library).empty(), c.library != nullptr) << c.token;
    }
}

TEST(ResultEntry, ComposersWriteTheirLayouts) {
    struct Case {
        std::optional<std::string> made;
        const char* text;  // nullptr: none
    } cases[] = {
        {BookEntry("12:345:abc00"), "12:345:abc00book"},
        {OpenEntry("C:\\x\\y.dll", 2, "#3 of 12", 'd'), "C:\\x\\y.dll;2;#3 of 12;dopen"},
        {DefaultCursorEntry(32512), "default;0;32512;csycu"},
        {CurrentCursorEntry("C:\\b.ani", 5, "Wait", true), "C:\\b.ani;5;Control Panel\\Cursors\\Wait;gsycu"},
        {SchemeCursorEntry("", 4, "Classic", 3, true), "default;0;Control Panel\\Cursors\\Schemes\\Classic:3;tsytu"},
        {SchemeCursorEntry("C:\\b.ani", 2, "M", 14, true), "C:\\b.ani;2;Control Panel\\Cursors\\Schemes\\M:14;asytu"},
        // A ";" of the scheme's name would end the label early.
        {SchemeCursorEntry("C:\\c.cur", 0, "My;Own", 2, false),
         "C:\\c.cur;0;Control Panel\\Cursors\\Schemes\\My,Own:2;tsytu"},
        {FileTypeEntry("C:\\x.dll", "-2", "", ".txt"), "C:\\x.dll;-2; (*.txt);fsyas"},
        {UserEntry("C:\\a\\b.ico;0;x;1open", 4), "C:\\a\\b.ico;0;x;4user"},
        {UserEntry("C:\\a;b.ani;3;frame 4;aopen", 5), "C:\\a;b.ani;3;frame 4;5user"},
        {UserEntry("12:345:abc00book", 1), nullptr},
        {UserEntry("C:\\a\\b.ico;0;x;1open", 9), nullptr},
    };
    for (const auto& c : cases) EXPECT_EQ(c.made, c.text ? std::optional<std::string>(c.text) : std::nullopt);
    ResultEntry e;
    e.index = " 3 ";
    EXPECT_EQ(e.IndexNumber(), 3);
    e.index = "1,2";
    EXPECT_EQ(e.IndexNumber(), std::nullopt);
    EXPECT_EQ(SchemeCursorPosition("Control Panel\\Cursors\\Schemes\\A:b:12"), 12);
}

TEST(ResultEntry, TypeTextsAndMaskColours) {
    const std::string codes = "012345678agdeisctfwxA";
    const char* texts[] = {"16 Color Icon", "256 Color Icon", "Hi-Color Icon", "16 Color Animation",
                           "256 Color Animation", "Hi-Color Animation", "16 Color Cursor", "256 Color Cursor",
                           "Hi-Color Cursor", "Animated Icon", "Animated Cursor", "Icon Library", "Icon Library",
                           "Icon Library", "Shortcut Icon", "Current Cursor", "Theme Cursor", "File Type Icon",
                           "System Icon", "", ""};
    for (size_t i = 0; i < codes.size(); ++i) EXPECT_EQ(procSetTypeName(codes[i]), texts[i]) << codes[i];

    const uint32_t colours[] = {0xFFFFFF, 0x808000, 0x00FF00, 0x008000, 0xFF00FF,
                                0x800080, 0x0000FF, 0x000080, 0x00FFFF, 0x008080};  // 0x00BBGGRR
    for (char d = '0'; d <= '9'; ++d) EXPECT_EQ(MaskColorFor(d), colours[d - '0']) << d;
    EXPECT_EQ(MaskColorFor('a'), std::nullopt);
}

TEST(ResultEntry, Origins) {
    const OriginContext favDir{false, "C:\\Orn\\Favorites\\", "", ""};
    struct Case {
        const char* text;
        OriginContext context;
        const char* origin;
    } cases[] = {
        {"1:2:00book", {}, "Ornavale"},
        {"C:\\Icons\\star.ico;0;x;2open", favDir, "File"},
        {"C:\\Icons\\star.ico;0;x;2open", {true, "", "", ""}, "File Favorite"},
        {"C:\\a.ico;0;x;2open", {}, "File"},  // no favorites folder set: nothing is a favorite
        {"c:\\orn\\FAVORITES\\a\\star.ico;0;x;2open", favDir, "File Favorite"},
        {"C:\\a\\b.ico;0;x;4user", {}, "Reference"},
        {"C:\\a.exe;0;C:\\a.exe;sshor", {false, "", "C:\\WINDOWS\\Desktop\\Notes.lnk", "C:\\Windows"}, "Desktop"},
        {"C:\\a.exe;0;C:\\a.exe;sshor", {false, "", "D:\\Users\\Desktop\\N.lnk", "C:\\WINDOWS"}, "D:\\Users\\Desktop"},
        {"default;0;Control Panel\\Cursors\\Schemes\\S:1;tsytu", {}, "Windows Default"},
    };
    for (const auto& c : cases) EXPECT_EQ(OriginText(*ParseEntry(c.text), c.context), c.origin) << c.text;
}
