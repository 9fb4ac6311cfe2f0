// Shortcut files: the header's fields, and every section that could send a reader past the end.
#include <gtest/gtest.h>

#include "FormatsTestSupport.h"
#include "formats/LinkFile.h"

using namespace formats;

namespace {

void Put16(Bytes& b, std::uint32_t v) { PutU16(b, v); }
void Put32(Bytes& b, std::uint32_t v) { PutU32(b, v); }
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Header(std::uint32_t flags, std::uint32_t showCommand = 1, std::int32_t iconIndex = 0, std::uint16_t hotKey = 0) {
    Bytes b;
    Put32(b, kLinkHeaderSize);
    b.insert(b.end(), kLinkClassId.begin(), kLinkClassId.end());
    Put32(b, flags);
    Put32(b, 0x20);                  // attributes
    b.resize(52, 0);                 // three file times
    Put32(b, 1234);                  // target size
    Put32(b, static_cast<std::uint32_t>(iconIndex));
    Put32(b, showCommand);
    Put16(b, hotKey);
    b.resize(kLinkHeaderSize, 0);
    return b;
}

// An item id list of the items, each given by its body, with its end.
Bytes IdList(const std::vector<Bytes>& items) {
    Bytes list;
    for (const Bytes& item : items) {
        Put16(list, static_cast<std::uint32_t>(item.size() + 2));
        list = list + item;
    }
    Put16(list, 0);
    Bytes b;
    Put16(b, static_cast<std::uint32_t>(list.size()));
    return b + list;
}

// A link info with a volume id (label "VOL") and a local base path, ending with an empty suffix.
Bytes LinkInfo(const std::string& basePath) {
    Bytes volume;
    Put32(volume, 0x14);  // volume id size
    Put32(volume, 3);     // fixed drive
    Put32(volume, 0x1234);
    Put32(volume, 0x10);  // label offset
    volume = volume + ToBytes(std::string("VOL", 4));
    const std::uint32_t volumeAt = 0x1C;
    const std::uint32_t pathAt = volumeAt + static_cast<std::uint32_t>(volume.size());
    const std::uint32_t suffixAt = pathAt + static_cast<std::uint32_t>(basePath.size() + 1);
    Bytes b;
    Put32(b, suffixAt + 1);
    Put32(b, 0x1C);
    Put32(b, 1);  // volume id and local base path
    Put32(b, volumeAt);
    Put32(b, pathAt);
    Put32(b, 0);
    Put32(b, suffixAt);
    return b + volume + ToBytes(basePath + std::string(1, '\0')) + Bytes{0};
}

Bytes Text(const std::string& s, bool wide) {
    Bytes b;
    Put16(b, static_cast<std::uint32_t>(s.size()));
    for (char c : s) {
        b.push_back(static_cast<std::uint8_t>(c));
        if (wide) b.push_back(0);
    }
    return b;
}

Bytes Block(std::uint32_t signature, std::size_t size, std::uint8_t fill = 0) {
    Bytes b;
    Put32(b, static_cast<std::uint32_t>(size));
    Put32(b, signature);
    b.resize(size, fill);
    return b;
}

constexpr std::uint32_t kAllTexts = kLinkHasName | kLinkHasRelativePath | kLinkHasWorkingDir | kLinkHasArguments |
                                    kLinkHasIconLocation;

// A shortcut with every section: ids, link info, five wide texts, an icon environment block, an end.
Bytes FullLink() {
    const std::uint32_t flags = kLinkHasIdList | kLinkHasLinkInfo | kAllTexts | kLinkIsUnicode;
    Bytes texts;
    for (const char* s : {"Notes", ".\\notes.exe", "C:\\Tools", "-a \"b c\"", "%SystemRoot%\\notes.ico"})
        texts = texts + Text(s, true);
    Bytes end;
    Put32(end, 0);
    return Header(flags, 7, -5, 0x0641) + IdList({Bytes(18, 0x1F), Bytes(23, 0x32)}) + LinkInfo("C:\\Tools\\notes.exe") +
           texts + Block(0xA0000007, 0x314) + Block(0xA0000003, 0x60) + end;
}

}  // namespace

TEST(LinkFile, ReadsTheHeadersFields) {
    const Bytes file = FullLink();
    auto header = CheckLinkFile(file);
    ASSERT_TRUE(header) << header.error();
    EXPECT_EQ(header->showCommand, 7u);
    EXPECT_EQ(header->iconIndex, -5);
    EXPECT_EQ(header->hotKey, 0x0641);
    EXPECT_EQ(header->fileSize, 1234u);
    EXPECT_EQ(header->fileAttributes, 0x20u);
    EXPECT_TRUE(header->flags & kLinkIsUnicode);
}

TEST(LinkFile, AcceptsSoundVariants) {
    Bytes endless = FullLink();
    endless.resize(endless.size() - 4);  // the extra data ends with the file
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"header alone", Header(0, 3)},
        {"ANSI texts", Header(kLinkHasArguments | kLinkHasIconLocation) + Text("/x", false) + Text("a.ico", false)},
        {"empty item id list", Header(kLinkHasIdList) + IdList({})},
        {"no end block", endless},
        {"an unknown block", Header(0) + Block(0x12345678, 8)},
    };
    for (const auto& c : cases) {
        auto header = CheckLinkFile(c.file);
        EXPECT_TRUE(header) << c.name << ": " << header.error();
    }
    EXPECT_EQ(ReadLinkHeader(Header(0, 3))->showCommand, 3u);
}

TEST(LinkFile, RefusesWhatCouldMisleadAReader) {
    const Bytes full = FullLink();
    Bytes wrongSize = full;
    wrongSize[0] = 0x4D;
    Bytes wrongClass = full;
    wrongClass[19] = 0x47;
    const std::size_t linkInfoAt = kLinkHeaderSize + IdList({Bytes(18, 0x1F), Bytes(23, 0x32)}).size();
    Bytes infoUnended = full;
    infoUnended[linkInfoAt + LinkInfo("C:\\Tools\\notes.exe").size() - 1] = 'x';
    Bytes infoOffsetOutside = full;
    infoOffsetOutside[linkInfoAt + 16] = 0xF0;  // local base path offset
    Bytes infoTooSmall = Header(kLinkHasLinkInfo);
    Put32(infoTooSmall, 0x10);
    infoTooSmall.resize(infoTooSmall.size() + 12, 0);
    Bytes itemPastList = Header(kLinkHasIdList);
    Put16(itemPastList, 4);
    Put16(itemPastList, 6);  // an item of six bytes in a list of four
    Put16(itemPastList, 0);
    Bytes itemTooSmall = Header(kLinkHasIdList);
    Put16(itemTooSmall, 4);
    Put16(itemTooSmall, 1);
    Put16(itemTooSmall, 0);
    Bytes listUnended = Header(kLinkHasIdList);
    Put16(listUnended, 4);
    Put16(listUnended, 4);
    Put16(listUnended, 0xAAAA);
    Bytes iconBlockUnended = Header(0) + Block(0xA0000007, 0x314, 'A');
    Bytes short75 = Header(0);
    short75.pop_back();

    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"75 bytes", short75},
        {"header size 0x4D", wrongSize},
        {"another class id", wrongClass},
        {"id list past the end", Header(kLinkHasIdList) + Bytes{0x40, 0x00, 0x00, 0x00}},
        {"item past its list", itemPastList},
        {"item of one byte", itemTooSmall},
        {"id list without its end", listUnended},
        {"link info past the end", Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(linkInfoAt) + 20)},
        {"link info too small", infoTooSmall},
        {"link info text unended", infoUnended},
        {"link info offset outside", infoOffsetOutside},
        {"ANSI text past the end", Header(kLinkHasArguments) + Bytes{0x10, 0x00, 'a', 'b'}},
        {"wide text past the end", Header(kLinkHasArguments | kLinkIsUnicode) + Bytes{0x02, 0x00, 'a', 0, 'b'}},
        {"block past the end", Header(0) + Block(0xA0000003, 0x60) + Bytes{0x60, 0, 0, 0, 3, 0, 0, 0xA0}},
        {"block of five bytes", Header(0) + Bytes{5, 0, 0, 0, 0, 0, 0, 0}},
        {"tracker block too small", Header(0) + Block(0xA0000003, 0x20)},
        {"icon block text unended", iconBlockUnended},
        {"cut inside the texts", Bytes(full.begin(), full.end() - 0x314 - 0x60 - 4 - 3)},
    };
    for (const auto& c : cases) EXPECT_FALSE(CheckLinkFile(c.file)) << c.name;
    EXPECT_FALSE(ReadLinkHeader(wrongClass));
    EXPECT_TRUE(ReadLinkHeader(infoUnended)) << "the header alone reads";
}
