// Registry reads and writes against the real registry of the test prefix.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "core/Registry.h"

namespace {

const std::string kKey = "Software\\OrnavaleTest\\Registry";

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { DeleteRegTree(HKEY_CURRENT_USER, "Software\\OrnavaleTest"); }
    void TearDown() override { DeleteRegTree(HKEY_CURRENT_USER, "Software\\OrnavaleTest"); }

    static LONG Write(const std::string& name, const Variant& value, DWORD type) {
        CreateRegKey(kKey, HKEY_CURRENT_USER);
        return WriteRegValue(kKey, name, value, type);
    }
    // Writes raw bytes of any type, bypassing the helpers.
    static void WriteRaw(const std::string& name, DWORD type, const void* data, DWORD size) {
        HKEY k;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &k, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(k, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(k);
    }
    static std::string RawBytes(const std::string& name, DWORD* type = nullptr) {
        char buffer[256] = {};
        DWORD size = sizeof buffer;
        DWORD t = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, kKey.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &t,
                         buffer, &size) != ERROR_SUCCESS)
            return "<missing>";
        if (type) *type = t;
        return std::string(buffer, size);
    }
};

}  // namespace

TEST_F(RegistryTest, RoundTripsTextAndNumbers) {
    struct Case {
        const char* name;
        Variant written;
        DWORD type;
        Variant read;
    } cases[] = {
        {"True", Variant(true), REG_SZ, Variant("True")},
        {"Text", Variant("Icons of the desktop"), REG_SZ, Variant("Icons of the desktop")},
        {"Empty", Variant(""), REG_SZ, Variant("")},
        {"Zero", Variant("0"), REG_SZ, Variant("0")},
        {"NumberAsText", Variant(int32_t{200}), REG_SZ, Variant("200")},
        {"Accents", Variant("\xC4pfel und Birnen \xE9t\xE9"), REG_SZ, Variant("\xC4pfel und Birnen \xE9t\xE9")},
        {"DwordZero", Variant(int32_t{0}), REG_DWORD, Variant(int32_t{0})},
        {"DwordMinus", Variant(int32_t{-1}), REG_DWORD, Variant(int32_t{-1})},
        {"DwordMax", Variant(int32_t{2147483647}), REG_DWORD, Variant(int32_t{2147483647})},
        {"DwordFromText", Variant("4"), REG_DWORD, Variant(int32_t{4})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Write(c.name, c.written, c.type), ERROR_SUCCESS) << c.name;
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, c.name), c.read) << c.name;
        EXPECT_EQ(gRegResult, c.read) << c.name;
        EXPECT_EQ(gRegStatus, 0) << c.name;
    }
}

TEST_F(RegistryTest, TextIsStoredWithItsTerminatingZero) {
    Write("Tip", Variant("True"), REG_SZ);
    DWORD type = 0;
    EXPECT_EQ(RawBytes("Tip", &type), std::string("True\0", 5));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryTest, MissingValuesReadAsEmpty) {
    Write("There", Variant("value"), REG_SZ);
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "There"), Variant("value"));
    // A missing value after an existing one never keeps the earlier value.
    EXPECT_TRUE(ReadRegValue(HKEY_CURRENT_USER, kKey, "NotThere").IsEmpty());
    EXPECT_TRUE(gRegResult.IsEmpty());
    ReadRegValue(HKEY_CURRENT_USER, kKey, "There");
    EXPECT_TRUE(ReadRegValue(HKEY_CURRENT_USER, kKey + "\\NoSuchKey", "There").IsEmpty());
    EXPECT_EQ(gRegStatus, 0);
}

TEST_F(RegistryTest, OtherTypesAndOddSizes) {
    const unsigned char binary[] = {1, 2, 3, 4};
    WriteRaw("Binary", REG_BINARY, binary, sizeof binary);
    const char multi[] = "a\0b\0";
    WriteRaw("Multi", REG_MULTI_SZ, multi, sizeof multi);
    const char unterminated[] = {'a', 'b', 'c'};
    WriteRaw("Unterminated", REG_SZ, unterminated, sizeof unterminated);
    const char zeros[] = "abc\0\0\0";
    WriteRaw("TrailingZeros", REG_SZ, zeros, sizeof zeros);
    WriteRaw("NoBytes", REG_SZ, "", 0);
    const unsigned short shortDword = 7;
    WriteRaw("ShortDword", REG_DWORD, &shortDword, sizeof shortDword);

    struct Case {
        const char* name;
        Variant expected;
    } cases[] = {
        {"Binary", Variant()},         {"Multi", Variant()},        {"Unterminated", Variant("abc")},
        {"TrailingZeros", Variant("abc")}, {"NoBytes", Variant("")}, {"ShortDword", Variant()},
    };
    for (const auto& c : cases) {
        ReadRegValue(HKEY_CURRENT_USER, kKey, "There");
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, c.name), c.expected) << c.name;
    }
}

TEST_F(RegistryTest, ExpandableTextIsExpanded) {
    const char text[] = "%SystemRoot%\\Icons";
    WriteRaw("Expand", REG_EXPAND_SZ, text, sizeof text);
    char expected[MAX_PATH] = {};
    ExpandEnvironmentStringsA(text, expected, MAX_PATH);
    Variant v = ReadRegValue(HKEY_CURRENT_USER, kKey, "Expand");
    ASSERT_TRUE(v.IsText());
    EXPECT_EQ(v.Text(), expected);
    EXPECT_EQ(v.Text().find('%'), std::string::npos);
}

TEST_F(RegistryTest, NamesIgnoreCaseAndTheDefaultValueHasNoName) {
    Write("DCPlay", Variant("1"), REG_SZ);
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "DCPLay"), Variant("1"));
    Write("", Variant("C:\\shell.dll,3"), REG_SZ);
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, ""), Variant("C:\\shell.dll,3"));
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "dcplay"), Variant("1"));
}

TEST_F(RegistryTest, LargeValuesAndLongNames) {
    std::string big(64 * 1024, 'x');
    big[100] = 'y';
    EXPECT_EQ(Write("Big", Variant(big), REG_SZ), ERROR_SUCCESS);
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "Big"), Variant(big));
    // Around the size of a first read.
    for (size_t n : {511u, 512u, 513u}) {
        const std::string text(n, 'b');
        Write("Edge", Variant(text), REG_SZ);
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "Edge"), Variant(text)) << n;
    }

    std::string longName(300, 'n');
    Write(longName, Variant("long"), REG_SZ);
    Variant v = ReadRegValue(HKEY_CURRENT_USER, kKey, longName);
    EXPECT_TRUE(v.IsEmpty() || v == Variant("long"));
}

TEST_F(RegistryTest, WritesThatCannotHappen) {
    // A write with no key left open by CreateRegKey.
    EXPECT_NE(WriteRegValue(kKey, "Orphan", Variant("x"), REG_SZ), ERROR_SUCCESS);
    // Each write closes its key: a second write needs its own CreateRegKey.
    Write("First", Variant("1"), REG_SZ);
    EXPECT_NE(WriteRegValue(kKey, "Second", Variant("2"), REG_SZ), ERROR_SUCCESS);
    EXPECT_TRUE(ReadRegValue(HKEY_CURRENT_USER, kKey, "Second").IsEmpty());
    // A number value that is no number is not written.
    EXPECT_NE(Write("BadNumber", Variant("abc"), REG_DWORD), ERROR_SUCCESS);
    EXPECT_EQ(RawBytes("BadNumber"), "<missing>");
    // Types other than text and number write nothing and report no failure.
    EXPECT_EQ(Write("Binary", Variant("abc"), REG_BINARY), 0);
    EXPECT_EQ(RawBytes("Binary"), "<missing>");
}

TEST_F(RegistryTest, ReadBetweenCreateAndWriteKeepsThePair) {
    CreateRegKey(kKey, HKEY_CURRENT_USER);
    ReadRegValue(HKEY_CURRENT_USER, kKey, "Anything");
    EXPECT_EQ(WriteRegValue(kKey, "After", Variant("ok"), REG_SZ), ERROR_SUCCESS);
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kKey, "After"), Variant("ok"));
}

TEST_F(RegistryTest, DeleteKey) {
    Write("v", Variant("1"), REG_SZ);
    EXPECT_EQ(DeleteRegKey(HKEY_CURRENT_USER, kKey), ERROR_SUCCESS);
    EXPECT_TRUE(ReadRegValue(HKEY_CURRENT_USER, kKey, "v").IsEmpty());
    EXPECT_NE(DeleteRegKey(HKEY_CURRENT_USER, kKey), ERROR_SUCCESS);
    EXPECT_EQ(gRegStatus, ERROR_FILE_NOT_FOUND);
}
