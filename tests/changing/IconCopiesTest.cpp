// Icon copies in a private Windows folder: which number a new copy gets, when the earlier copy
// goes, and that a failing step leaves the setting, the earlier copy and the folder as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "AniMaker.h"
#include "BoxRecorder.h"
#include "TestSupport.h"
#include "ScratchFolder.h"
#include "changing/IconCopies.h"
#include "core/Global.h"
#include "core/ScopedValue.h"
#include "ui/App.h"
#include "ui/Unique.h"

namespace {

std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;

std::vector<uint8_t> Encoded(formats::IconKind kind) {
    return *formats::EncodeIconFile(FramePicture(1, 0), 16, kind, 5, 5);
}

std::vector<uint8_t> Animation(int frames) {
    std::vector<std::vector<uint8_t>> files;
    for (int step = 0; step < frames; ++step)
        files.push_back(*formats::EncodeIconFile(FramePicture(1, step), 16, formats::IconKind::Cursor, 5, 5));
    std::vector<formats::ByteSpan> spans(files.begin(), files.end());
    return *formats::EncodeAni(spans, std::vector<uint32_t>(files.size(), 6));
}

class IconCopiesTest : public testing::Test {
  protected:
    BoxRecorder recorder;

    std::string Icons() const { return win.path() + "Icons\\"; }
    void Present(const std::vector<std::string>& names) const {
        for (const std::string& name : names) win.File("Icons\\" + name, "old " + name);
    }
    // The names in the copy folder, sorted; nothing when it is missing.
    std::optional<std::vector<std::string>> Listing() const {
        if (!std::filesystem::exists(WidePath(Icons()))) return std::nullopt;
        return NamesIn(WidePath(Icons()));
    }
    // A change that points `setting` at the copy; the setting names the earlier copy until then.
    std::optional<std::string> Change(const std::string& extension, const std::vector<uint8_t>& bytes, CopyCheck check,
                                      const std::string& current) {
        setting = current;
        pointed.clear();
        return MakeIconCopy(extension, bytes, check, current, [this](const std::string& copy) {
            pointed.push_back(copy);
            currentWhilePointing = GetFileAttributesA(setting.c_str()) != INVALID_FILE_ATTRIBUTES;
            if (refuse) return false;
            setting = copy;
            return true;
        });
    }

    TempDir win;
    const ScopedValue<std::string> winDir{gWinDir, win.path().substr(0, win.path().size() - 1)};
    std::string setting;
    std::vector<std::string> pointed;
    bool currentWhilePointing = false;
    bool refuse = false;
};

}  // namespace

TEST_F(IconCopiesTest, NumberOfTheNewCopy) {
    const CopyCheck icon{CopyKind::Icon}, cursor{CopyKind::Cursor}, animation{CopyKind::Animation, 3};
    struct Case {
        const char* what;
        std::vector<std::string> present;  // "-" alone: no Icons folder
        const char* extension;
        CopyCheck check;
        const char* current;  // in the Icons folder; "" for none
        const char* made;
    } cases[] = {
        {"no folder yet", {"-"}, ".ico", icon, "", "1.ico"},
        {"a gap", {"1.ico", "2.ico", "4.ico"}, ".ico", icon, "", "3.ico"},
        {"names that take no number and one in capitals", {"1.ico", "2.ICO", "03.ico", "x3.ico", "3.ico.bak", "5001.ico"},
         ".ico", icon, "", "3.ico"},
        {"the earlier copy is not reused", {"1.ico", "2.ico", "3.ico", "4.ico", "5.ico"}, ".ico", icon, "3.ico", "6.ico"},
        {"a cursor beside a cursor", {"1.cur"}, ".cur", cursor, "", "2.cur"},
        {"an animation beside a cursor", {"1.cur"}, ".ani", animation, "", "1.ani"},
        {"an icon beside a cursor", {"1.cur"}, ".ico", icon, "", "1.ico"},
        // Two targets shared the copy, and the other one's change removed it: the new copy takes
        // the name the target names, and stays.
        {"the earlier copy is gone and its number free", {"2.ico"}, ".ico", icon, "1.ico", "1.ico"},
        {"the gone copy named in capitals", {}, ".cur", cursor, "1.CUR", "1.cur"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(WidePath(Icons()));
        if (c.present != std::vector<std::string>{"-"}) {
            win.Folder("Icons");
            Present(c.present);
        }
        gBoxes.clear();
        const std::string extension = c.extension;
        const std::vector<uint8_t> bytes = extension == ".ani" ? Animation(3)
                                           : extension == ".cur" ? Encoded(formats::IconKind::Cursor)
                                                                 : Encoded(formats::IconKind::Icon);
        const std::string current = *c.current ? Icons() + c.current : "";
        const auto made = Change(extension, bytes, c.check, current);
        ASSERT_EQ(made, Icons() + c.made);
        EXPECT_EQ(pointed, std::vector<std::string>{*made});
        EXPECT_EQ(setting, *made);
        EXPECT_TRUE(gBoxes.empty());
        auto expected = c.present == std::vector<std::string>{"-"} ? std::vector<std::string>{} : c.present;
        if (*c.current) {
            EXPECT_TRUE(currentWhilePointing) << "the earlier copy went before the setting named the new one";
            std::erase(expected, std::string(c.current));
        }
        expected.push_back(c.made);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Listing(), expected);
        auto written = formats::ReadFileBytes(WidePath(*made), 1 << 20);
        EXPECT_EQ(written.ok() ? *written : std::vector<uint8_t>{}, bytes);
    }
}

TEST_F(IconCopiesTest, TakenNamesAreNeverReplaced) {
    const std::vector<uint8_t> bytes = Encoded(formats::IconKind::Icon);
    win.Folder("Icons");
    Present({"1.ico", "2.ico"});

    // A copy that another program holds open exclusively cannot be read, and is still taken.
    {
        UniqueFile held(CreateFileA((Icons() + "3.ico").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(Change(".ico", bytes, {}, ""), Icons() + "4.ico");
    }
    // A folder of a copy's name takes it too.
    win.Folder("Icons\\5.ico");
    EXPECT_EQ(Change(".ico", bytes, {}, ""), Icons() + "6.ico");

    // Another program makes 7.ico after the listing: the copy becomes 8.ico, and 7.ico keeps its bytes.
    const ScopedValue<std::function<bool(CopyStep)>> race(gIconCopyFault, [this](CopyStep step) {
        if (step == CopyStep::Move) Present({"7.ico"});
        return false;
    });
    EXPECT_EQ(Change(".ico", bytes, {}, ""), Icons() + "8.ico");
    auto other = formats::ReadFileBytes(WidePath(Icons() + "7.ico"), 100);
    ASSERT_TRUE(other.ok());
    EXPECT_EQ(std::string(other->begin(), other->end()), "old 7.ico");
    EXPECT_TRUE(gBoxes.empty());
}

TEST_F(IconCopiesTest, AllNumbersTakenWritesNothing) {
    win.Folder("Icons");
    for (int n = 1; n <= kMaxIconCopyNumber; ++n) {
        UniqueFile f(CreateFileA((Icons() + std::to_string(n) + ".ico").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(f) << n;
    }
    Present({"5001.ico"});
    EXPECT_EQ(FirstFreeCopyNumber(Icons(), ".ico"), 0);
    EXPECT_EQ(FirstFreeCopyNumber(Icons(), ".cur"), 1);
    const std::string current = Icons() + "12.ico";
    EXPECT_EQ(Change(".ico", Encoded(formats::IconKind::Icon), {}, current), std::nullopt);
    EXPECT_TRUE(pointed.empty());
    EXPECT_EQ(setting, current);
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_NE(gBoxes[0].text.find("5000"), std::string::npos) << gBoxes[0];
    EXPECT_EQ(Listing()->size(), static_cast<size_t>(kMaxIconCopyNumber) + 1);
}

TEST_F(IconCopiesTest, AFailingStepChangesNothing) {
    struct Case {
        const char* what;
        std::optional<CopyStep> fault;
        bool refuse;
        std::vector<uint8_t> bytes;
        CopyCheck check;
        bool pointed;  // the change's own setting step ran
    } cases[] = {
        {"write", CopyStep::Write, false, Encoded(formats::IconKind::Icon), {}, false},
        {"check of truncated bytes", CopyStep::Check, false, Encoded(formats::IconKind::Icon), {}, false},
        {"check of an animation cut short", CopyStep::Check, false, Animation(3), {CopyKind::Animation, 3}, false},
        {"a cursor where an icon is asked for", std::nullopt, false, Encoded(formats::IconKind::Cursor), {}, false},
        {"an icon where a cursor is asked for", std::nullopt, false, Encoded(formats::IconKind::Icon),
         {CopyKind::Cursor}, false},
        {"another frame count", std::nullopt, false, Animation(3), {CopyKind::Animation, 4}, false},
        {"move", CopyStep::Move, false, Encoded(formats::IconKind::Icon), {}, false},
        {"setting", CopyStep::Setting, false, Encoded(formats::IconKind::Icon), {}, false},
        {"the change's setting refused", std::nullopt, true, Encoded(formats::IconKind::Icon), {}, true},
    };
    win.Folder("Icons");
    Present({"1.ico", "2.ico"});
    const std::string current = Icons() + "2.ico";
    const auto before = Listing();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gBoxes.clear();
        refuse = c.refuse;
        const ScopedValue<std::function<bool(CopyStep)>> fault(
            gIconCopyFault, [&c](CopyStep step) { return c.fault && step == *c.fault; });
        EXPECT_EQ(Change(".ico", c.bytes, c.check, current), std::nullopt);
        EXPECT_EQ(pointed.size(), c.pointed ? 1u : 0u);
        EXPECT_EQ(setting, current);
        EXPECT_EQ(Listing(), before);
        EXPECT_EQ(gBoxes.size(), 1u);
    }
}
