// The icon-cache rebuild against the prefix's real "Shell Icon Size", with the broadcast recorded,
// and the restart privilege against this process's real token, with each call replaceable.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "BoxRecorder.h"
#include "TestSupport.h"
#include "core/Global.h"
#include "core/IconCache.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "ui/App.h"
#include "ui/Unique.h"

#include <sddl.h>
#include <shlwapi.h>

namespace {

const char* const kMetrics = "Control Panel\\Desktop\\WindowMetrics";
const char* const kIconSize = "Shell Icon Size";
const char* const kMissingText =
    "Ornavale could not retrieve your current Windows Icon Size setting. For safety reasons Ornavale wil not "
    "rebuild your Icon Cache. Please use the Microsoft Powertools to rebuid your Icon Cache.";

std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;

// "Shell Icon Size" as raw type and bytes; "<missing>" when it is not there.
std::string RawIconSize(DWORD* type = nullptr) {
    char buffer[64] = {};
    DWORD size = sizeof buffer;
    DWORD t = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, kMetrics, kIconSize, RRF_RT_ANY | RRF_NOEXPAND, &t, buffer, &size) !=
        ERROR_SUCCESS)
        return "<missing>";
    if (type) *type = t;
    return std::string(buffer, size);
}

void SetRawIconSize(DWORD type, const std::string& bytes) {
    UniqueKey k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kMetrics, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k.get(), kIconSize, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
}

void DeleteIconSize() {
    UniqueKey k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMetrics, 0, KEY_SET_VALUE, k.put()) == ERROR_SUCCESS)
        RegDeleteValueA(k.get(), kIconSize);
}

// What each broadcast carried, with the setting at that moment.
struct Broadcast {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string iconSize;
    PointerShape pointer;
};
std::vector<Broadcast> gBroadcasts;
bool gBroadcastAnswer = true;
void (*gOnBroadcast)() = nullptr;

bool RecordBroadcast(UINT message, WPARAM wParam, LPARAM lParam) {
    gBroadcasts.push_back({message, wParam, lParam, RawIconSize(), ScreenMousePointer()});
    if (gOnBroadcast) std::exchange(gOnBroadcast, nullptr)();
    return gBroadcastAnswer;
}

// HKEY_CURRENT_USER stands for a private key whose "Shell Icon Size" is "32" and whose metrics key
// can be made read-only, so that writing the setting fails.
class PrivateMetrics {
  public:
    PrivateMetrics() {
        DeleteRegTree(HKEY_CURRENT_USER, kRoot);
        RegCreateKeyExA(HKEY_CURRENT_USER, kRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root_.put(), nullptr);
        RegCreateKeyExA(root_.get(), kMetrics, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, metrics_.put(), nullptr);
        RegSetValueExA(metrics_.get(), kIconSize, 0, REG_SZ, reinterpret_cast<const BYTE*>("32"), 3);
        RegOverridePredefKey(HKEY_CURRENT_USER, root_.get());
        gCurrent = this;
    }
    ~PrivateMetrics() {
        gCurrent = nullptr;
        Allow("D:(A;;KA;;;WD)");
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        metrics_.reset();
        root_.reset();
        DeleteRegTree(HKEY_CURRENT_USER, kRoot);
        SHDeleteEmptyKeyA(HKEY_CURRENT_USER, "Software\\OrnavaleTest");
    }
    // Leaves the setting readable and makes every write of it fail.
    static void DenyWrites() { gCurrent->Allow("D:P(A;;KR;;;WD)"); }

    PrivateMetrics(const PrivateMetrics&) = delete;
    PrivateMetrics& operator=(const PrivateMetrics&) = delete;

  private:
    static constexpr const char* kRoot = "Software\\OrnavaleTest\\IconCache";
    void Allow(const char* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr));
        EXPECT_EQ(RegSetKeySecurity(metrics_.get(), DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
        LocalFree(sd);
    }
    static inline PrivateMetrics* gCurrent = nullptr;
    UniqueKey root_;
    UniqueKey metrics_;
};

class IconCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitApp(GetModuleHandleA(nullptr));
        savedBytes_ = RawIconSize(&savedType_);
        gBroadcasts.clear();
        gBroadcastAnswer = true;
        gOnBroadcast = nullptr;
        gCacheDirty = true;
    }
    void TearDown() override {
        if (savedBytes_ == "<missing>") DeleteIconSize();
        else SetRawIconSize(savedType_, savedBytes_);
    }

    BoxRecorder recorder_;
    ScopedValue<SettingBroadcast> broadcast_{gBroadcastSetting, &RecordBroadcast};
    DWORD savedType_ = REG_NONE;
    std::string savedBytes_;
};

std::string Sz(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

}  // namespace

TEST_F(IconCacheTest, ChangesTheSizeByOneAndPutsBackTheTextItRead) {
    struct Case {
        const char* stored;
        const char* during;
    } cases[] = {{"32", "33"}, {"16", "17"}, {"032", "33"}, {" 48 ", "49"}, {"-1", "0"}, {"32766", "32767"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        gBroadcasts.clear();
        gBoxes.clear();
        gCacheDirty = true;
        SetRawIconSize(REG_SZ, Sz(c.stored));

        RebuildIconCache();

        ASSERT_EQ(gBroadcasts.size(), 2u);
        for (const Broadcast& b : gBroadcasts) {
            EXPECT_EQ(b.message, static_cast<UINT>(WM_SETTINGCHANGE));
            EXPECT_EQ(b.wParam, static_cast<WPARAM>(0x2E));
            EXPECT_EQ(b.lParam, 0);
            EXPECT_EQ(b.pointer, PointerShape::Hourglass);
        }
        EXPECT_EQ(gBroadcasts[0].iconSize, Sz(c.during));
        EXPECT_EQ(gBroadcasts[1].iconSize, Sz(c.stored));
        DWORD type = 0;
        EXPECT_EQ(RawIconSize(&type), Sz(c.stored));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_TRUE(gBoxes.empty());
        EXPECT_FALSE(gCacheDirty);
        EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
    }
}

TEST_F(IconCacheTest, ASettingThatIsNoSizeIsLeftAlone) {
    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;  // empty: the value is missing
    } cases[] = {
        {"missing", REG_NONE, ""},
        {"empty", REG_SZ, Sz("")},
        {"letters", REG_SZ, Sz("abc")},
        {"number and letters", REG_SZ, Sz("32px")},
        {"past 16 bits", REG_SZ, Sz("32767")},
        {"far past 16 bits", REG_SZ, Sz("99999")},
        {"a number, not a text", REG_DWORD, std::string("\x20\0\0\0", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gBroadcasts.clear();
        gBoxes.clear();
        gCacheDirty = true;
        gResult = Variant();
        if (c.bytes.empty()) DeleteIconSize();
        else SetRawIconSize(c.type, c.bytes);

        RebuildIconCache();

        EXPECT_TRUE(gBroadcasts.empty());
        ASSERT_EQ(gBoxes.size(), 1u);
        EXPECT_EQ(gBoxes[0].text, kMissingText);
        EXPECT_EQ(gBoxes[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(gBoxes[0].title, "Error");
        EXPECT_EQ(gResult, Variant(int32_t{IDOK}));
        EXPECT_EQ(RawIconSize(), c.bytes.empty() ? "<missing>" : c.bytes);
        EXPECT_FALSE(gCacheDirty);
        EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
    }
}

TEST_F(IconCacheTest, AFailedBroadcastStillPutsTheSizeBack) {
    SetRawIconSize(REG_SZ, Sz("32"));
    gBroadcastAnswer = false;

    RebuildIconCache();

    ASSERT_EQ(gBroadcasts.size(), 2u);
    EXPECT_EQ(gBroadcasts[0].iconSize, Sz("33"));
    EXPECT_EQ(RawIconSize(), Sz("32"));
    EXPECT_TRUE(gBoxes.empty());
    EXPECT_FALSE(gCacheDirty);
}

TEST_F(IconCacheTest, AFailedFirstWriteStopsBeforeAnyBroadcast) {
    PrivateMetrics metrics;
    PrivateMetrics::DenyWrites();

    RebuildIconCache();

    EXPECT_TRUE(gBroadcasts.empty());
    EXPECT_EQ(RawIconSize(), Sz("32"));
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(gBoxes[0].title, "Error");
    EXPECT_FALSE(gCacheDirty);
    EXPECT_EQ(ScreenMousePointer(), PointerShape::Default);
}

TEST_F(IconCacheTest, AFailedWriteBackIsReported) {
    PrivateMetrics metrics;
    gOnBroadcast = &PrivateMetrics::DenyWrites;

    RebuildIconCache();

    ASSERT_EQ(gBroadcasts.size(), 2u);
    EXPECT_EQ(gBroadcasts[1].iconSize, Sz("33"));
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_NE(gBoxes[0].text.find("back to 32."), std::string::npos) << gBoxes[0].text;
    EXPECT_EQ(gBoxes[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(gBoxes[0].title, "Error");
    EXPECT_FALSE(gCacheDirty);
}

namespace {

// Whether this process's token holds the shutdown privilege enabled.
bool ShutdownPrivilegeEnabled() {
    UniqueHandle token;
    LUID luid{};
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put()) ||
        !LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid))
        return false;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenPrivileges, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.get(), TokenPrivileges, buffer.data(), size, &size)) return false;
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
        if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart)
            return (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    return false;
}

void SetShutdownPrivilege(DWORD attributes) {
    UniqueHandle token;
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = attributes;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, token.put()));
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &tp.Privileges[0].Luid));
    ASSERT_TRUE(AdjustTokenPrivileges(token.get(), FALSE, &tp, 0, nullptr, nullptr));
}

HANDLE gOpenedToken = nullptr;

HANDLE WINAPI NoProcess() {
    SetLastError(6);
    return nullptr;
}
BOOL WINAPI OpenTokenRefused(HANDLE, DWORD, PHANDLE) {
    SetLastError(5);
    return FALSE;
}
BOOL WINAPI OpenTokenRecorded(HANDLE process, DWORD access, PHANDLE token) {
    const BOOL ok = OpenProcessToken(process, access, token);
    gOpenedToken = *token;
    SetLastError(122);  // a success that leaves an old code behind
    return ok;
}
BOOL WINAPI NoSuchPrivilege(LPCSTR, LPCSTR, PLUID) {
    SetLastError(1313);
    return FALSE;
}
BOOL WINAPI AdjustFailed(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD) {
    SetLastError(87);
    return FALSE;
}
BOOL WINAPI NotAllAssigned(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD) {
    SetLastError(ERROR_NOT_ALL_ASSIGNED);
    return TRUE;
}

class PrivilegeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gOpenedToken = nullptr;
        SetShutdownPrivilege(0);
    }
    void TearDown() override { gTokenCalls = kSystem; }

    const TokenCalls kSystem = gTokenCalls;
    BoxRecorder recorder_;
};

}  // namespace

TEST_F(PrivilegeTest, EnablesTheShutdownPrivilegeSilentlyAndClosesTheToken) {
    ASSERT_FALSE(ShutdownPrivilegeEnabled());
    gTokenCalls.openProcessToken = &OpenTokenRecorded;

    EnableShutdownPrivilege();

    EXPECT_TRUE(gBoxes.empty()) << gBoxes[0].text;
    EXPECT_TRUE(ShutdownPrivilegeEnabled());
    ASSERT_NE(gOpenedToken, nullptr);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(gOpenedToken, &flags));
}

TEST_F(PrivilegeTest, EachFailingStepIsReportedOnceWithItsOwnCode) {
    struct Case {
        const char* expected;
        void (*replace)(TokenCalls&);
    } cases[] = {
        {"GetCurrentProcess error==6", [](TokenCalls& t) { t.getCurrentProcess = &NoProcess; }},
        {"OpenProcessToken error==5", [](TokenCalls& t) { t.openProcessToken = &OpenTokenRefused; }},
        {"LookupPrivilegeValue error==1313", [](TokenCalls& t) { t.lookupPrivilegeValue = &NoSuchPrivilege; }},
        {"AdjustTokenPrivileges error==87", [](TokenCalls& t) { t.adjustTokenPrivileges = &AdjustFailed; }},
        {"AdjustTokenPrivileges error==1300", [](TokenCalls& t) { t.adjustTokenPrivileges = &NotAllAssigned; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        gBoxes.clear();
        gTokenCalls = kSystem;
        c.replace(gTokenCalls);

        EnableShutdownPrivilege();

        ASSERT_EQ(gBoxes.size(), 1u);
        EXPECT_EQ(gBoxes[0].text, c.expected);
        EXPECT_EQ(gBoxes[0].style, static_cast<UINT>(MB_OK));
        EXPECT_EQ(gBoxes[0].title, "Ornavale");
    }
}
