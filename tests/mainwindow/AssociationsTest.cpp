// The icon file types registered to the program and taken back, in a private file-type registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RegistryFixture.h"
#include "TestSupport.h"
#include "common/OpenPaths.h"
#include "core/Global.h"
#include "core/Instance.h"
#include "core/ScopedValue.h"
#include "mainwindow/Associations.h"
#include "ui/Unique.h"

namespace {

const char* const kApp = R"(C:\Program Files\Orna vale\)";
const char* const kCommand = R"(@="C:\Program Files\Orna vale\Ornavale.exe" "%1")";

const AssociationKey& RowOf(const std::string& extension) {
    auto it = std::find_if(AssociationKeys.begin(), AssociationKeys.end(),
                           [&](const AssociationKey& k) { return extension == k.extension; });
    if (it == AssociationKeys.end()) throw std::runtime_error("no row for " + extension);
    return *it;
}

// Every key below the root with its values, one line each, sorted: "key name=value" with "@" for
// the default value and "dword:", "expand:" before values of those types; an empty key is listed
// alone.
void DumpKey(HKEY key, const std::string& path, std::vector<std::string>& out) {
    bool hasValues = false;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        BYTE data[1024];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        hasValues = true;
        std::string text;
        if (type == REG_DWORD) {
            text = "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data));
        } else {
            text.assign(reinterpret_cast<char*>(data), dataSize);
            while (!text.empty() && text.back() == '\0') text.pop_back();
            if (type == REG_EXPAND_SZ) text = "expand:" + text;
        }
        out.push_back(path + " " + (name[0] ? name : "@") + "=" + text);
    }
    DWORD i = 0;
    for (;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        UniqueKey sub;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, sub.put()) != ERROR_SUCCESS) continue;
        DumpKey(sub.get(), path.empty() ? name : path + "\\" + name, out);
    }
    if (!hasValues && i == 0 && !path.empty()) out.push_back(path);
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

class AssociationsTest : public ::testing::Test {
  protected:
    AssociationsTest()
        : registry_(::testing::UnitTest::GetInstance()->current_test_info()->name()),
          app_(gAppPath, kApp),
          sys_(gSysDir, R"(C:\windows\system32)") {}

    void SetUp() override {
        registry_.Map(HKEY_CLASSES_ROOT);
        const std::string path = std::string("Software\\OrnavaleTest\\") +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                 "\\HKEY_CLASSES_ROOT";
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, root_.put()), ERROR_SUCCESS);
    }

    // A fresh private root of its own for one case, loaded from REGEDIT4 lines whose keys start
    // with "[ROOT\".
    HKEY CaseRoot(const std::string& name, const std::string& text = "") {
        caseRoot_.reset();
        EXPECT_EQ(RegCreateKeyExA(root_.get(), name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, caseRoot_.put(),
                                  nullptr),
                  ERROR_SUCCESS);
        std::string regedit = "REGEDIT4\n";
        for (size_t at = 0, next; at < text.size(); at = next + 1) {
            next = text.find('\n', at);
            if (next == std::string::npos) next = text.size();
            std::string line = text.substr(at, next - at);
            if (line.rfind("[ROOT\\", 0) == 0) line = "[HKEY_CLASSES_ROOT\\" + name + line.substr(5);
            regedit += line + "\n";
        }
        registry_.Load(regedit);
        return caseRoot_.get();
    }
    std::vector<std::string> Dump() {
        std::vector<std::string> out;
        DumpKey(caseRoot_.get(), "", out);
        return Sorted(out);
    }

    RegistryFixture registry_;
    ScopedValue<std::string> app_;
    ScopedValue<std::string> sys_;
    UniqueKey root_;
    UniqueKey caseRoot_;
};

// The five types as the shell should see them, registered and taken back.
struct TypeCase {
    const char* extension;
    const char* box;
    const char* fileClass;
    const char* description;  // "" when none is written
    const char* registeredIcon;
    const char* takenBackIcon;
};
const TypeCase kTypes[] = {
    {".ani", "chkAsoANI", "anifile", "Animated Cursor", "%1", "%1"},
    {".cur", "chkAsoCUR", "curfile", "Cursor File", "%1", "%1"},
    {".dll", "chkAsoDLL", "dllfile", "", R"(C:\Program Files\Orna vale\ornavale.exe,0)",
     R"(C:\windows\system32\shell32.dll,-154)"},
    {".icl", "chkAsoICL", "iclfile", "Icon Library", R"(C:\Program Files\Orna vale\ornavale.exe,0)", "%1"},
    {".ico", "chkAsoICO", "icofile", "Icon File", "%1", "%1"},
};

std::vector<std::string> ClassLines(const TypeCase& t, const char* icon) {
    const std::string c = t.fileClass;
    std::vector<std::string> lines = {std::string(t.extension) + " @=" + c, c + " EditFlags=dword:0",
                                      c + "\\DefaultIcon @=" + icon};
    if (*t.description) lines.push_back(c + " @=" + t.description);
    return lines;
}

std::vector<std::string> Registered(const TypeCase& t) {
    std::vector<std::string> lines = ClassLines(t, t.registeredIcon);
    const std::string c = t.fileClass;
    lines.push_back(c + "\\Shell @=");
    lines.push_back(c + "\\Shell\\Open @=");
    lines.push_back(c + "\\Shell\\Open\\command " + kCommand);
    return Sorted(lines);
}

}  // namespace

TEST_F(AssociationsTest, TheFiveTypesAreRegisteredAndTakenBack) {
    ASSERT_EQ(AssociationKeys.size(), std::size(kTypes));
    for (const TypeCase& t : kTypes) {
        SCOPED_TRACE(t.extension);
        const AssociationKey& row = RowOf(t.extension);
        EXPECT_STREQ(row.box, t.box);
        // A grayed box (2) counts as not checked.
        for (int uncheck : {0, 2}) {
            HKEY root = CaseRoot(t.fileClass + std::to_string(uncheck));
            EXPECT_TRUE(procSetAso(root, 1, row));
            EXPECT_EQ(Dump(), Registered(t));
            // Every Apply registers again: nothing changes.
            EXPECT_TRUE(procSetAso(root, 1, row));
            EXPECT_EQ(Dump(), Registered(t));
            EXPECT_TRUE(procSetAso(root, uncheck, row));
            EXPECT_EQ(Dump(), Sorted(ClassLines(t, t.takenBackIcon)));
        }
    }
}

TEST_F(AssociationsTest, AClassWithoutTheProgramsOpenerIsNotTouched) {
    struct Case {
        const char* name;
        const char* text;
    } cases[] = {
        {"nothing", ""},
        {"foreign", R"([ROOT\.ico]
@="icofile"
[ROOT\icofile\DefaultIcon]
@="C:\\Paint\\paint.exe,1"
[ROOT\icofile\Shell\Open\command]
@="C:\\Paint\\paint.exe \"%1\""
[ROOT\dllfile\DefaultIcon]
@=hex(2):25,31,00
[ROOT\dllfile\Shell\Open\command]
@="rundll32.exe \"%1\""
[ROOT\anifile\Shell\Open]
@=""
[ROOT\curfile\Shell\Open\command]
@="\"C:\\Program Files\\Orna vale\\Other.exe\" \"%1\""
[ROOT\iclfile\Shell]
@=""
)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HKEY root = CaseRoot(c.name, c.text);
        const std::vector<std::string> before = Dump();
        for (const AssociationKey& row : AssociationKeys) {
            EXPECT_TRUE(procSetAso(root, 0, row)) << row.extension;
            EXPECT_TRUE(procSetAso(root, 2, row)) << row.extension;
        }
        EXPECT_EQ(Dump(), before);
    }
}

TEST_F(AssociationsTest, OtherProgramsValuesAndVerbsAreKept) {
    const std::string foreign = R"([ROOT\.ico]
@="Viewer.ico"
"Content Type"="image/x-icon"
[ROOT\.ico\OpenWithProgids]
"Viewer.ico"=""
[ROOT\icofile]
@="Old description"
"FriendlyTypeName"="Icon"
[ROOT\icofile\Shell]
@="edit"
[ROOT\icofile\Shell\edit\command]
@="C:\\Paint\\paint.exe \"%1\""
)";
    const std::vector<std::string> kept = {
        R"(.ico Content Type=image/x-icon)",
        R"(.ico\OpenWithProgids Viewer.ico=)",
        R"(icofile EditFlags=dword:0)",
        R"(icofile FriendlyTypeName=Icon)",
        R"(icofile @=Icon File)",
        R"(.ico @=icofile)",
        R"(icofile\DefaultIcon @=%1)",
        R"(icofile\Shell\edit\command @=C:\Paint\paint.exe "%1")",
    };
    auto with = [&](std::vector<std::string> extra) {
        extra.insert(extra.end(), kept.begin(), kept.end());
        return Sorted(extra);
    };
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> registered;
        std::vector<std::string> takenBack;
    } cases[] = {
        // "Shell" keeps the other verb; "Shell\Open" goes with the command.
        {"verb", foreign,
         with({R"(icofile\Shell @=)", R"(icofile\Shell\Open @=)",
               std::string(R"(icofile\Shell\Open\command )") + kCommand}),
         with({R"(icofile\Shell @=)"})},
        // Something else in "Shell\Open" keeps it too.
        {"open", foreign + "[ROOT\\icofile\\Shell\\Open\\ddeexec]\n@=\"[open(\\\"%1\\\")]\"\n",
         with({R"(icofile\Shell @=)", R"(icofile\Shell\Open @=)", R"(icofile\Shell\Open\ddeexec @=[open("%1")])",
               std::string(R"(icofile\Shell\Open\command )") + kCommand}),
         with({R"(icofile\Shell @=)", R"(icofile\Shell\Open @=)", R"(icofile\Shell\Open\ddeexec @=[open("%1")])"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HKEY root = CaseRoot(c.name, c.text);
        EXPECT_TRUE(procSetAso(root, 1, RowOf(".ico")));
        EXPECT_EQ(Dump(), c.registered);
        EXPECT_TRUE(procSetAso(root, 0, RowOf(".ico")));
        EXPECT_EQ(Dump(), c.takenBack);
    }
}

TEST_F(AssociationsTest, DllTakenBackAfterRegisteredGetsTheShellIconAgain) {
    HKEY root = CaseRoot("dll", R"([ROOT\.dll]
@="dllfile"
"Content Type"="application/x-msdownload"
[ROOT\dllfile]
@="Application Extension"
[ROOT\dllfile\DefaultIcon]
@=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,5c,73,68,65,6c,6c,33,32,2e,64,6c,6c,2c,2d,31,35,34,00
)");
    const AssociationKey& dll = RowOf(".dll");
    EXPECT_TRUE(procSetAso(root, 1, dll));
    const std::vector<std::string> common = {
        ".dll @=dllfile", ".dll Content Type=application/x-msdownload", "dllfile @=Application Extension",
        "dllfile EditFlags=dword:0"};
    std::vector<std::string> registered = common;
    registered.insert(registered.end(), {R"(dllfile\DefaultIcon @=C:\Program Files\Orna vale\ornavale.exe,0)",
                                         R"(dllfile\Shell @=)", R"(dllfile\Shell\Open @=)",
                                         std::string(R"(dllfile\Shell\Open\command )") + kCommand});
    EXPECT_EQ(Dump(), Sorted(registered));
    EXPECT_TRUE(procSetAso(root, 0, dll));
    std::vector<std::string> takenBack = common;
    takenBack.push_back(R"(dllfile\DefaultIcon @=C:\windows\system32\shell32.dll,-154)");
    EXPECT_EQ(Dump(), Sorted(takenBack));
}

TEST_F(AssociationsTest, TheOpenerIsRecognisedWhateverTheCaseOfItsPath) {
    HKEY root = CaseRoot("case", R"([ROOT\curfile\Shell\Open\command]
@="\"c:\\program files\\orna vale\\ORNAVALE.EXE\" \"%1\""
)");
    EXPECT_TRUE(procSetAso(root, 0, RowOf(".cur")));
    EXPECT_EQ(Dump(), std::vector<std::string>{R"(curfile\DefaultIcon @=%1)"});
}

TEST_F(AssociationsTest, AFailedWriteIsReported) {
    // Below a volatile key no lasting key can be made.
    UniqueKey locked;
    ASSERT_EQ(RegCreateKeyExA(root_.get(), "locked\\icofile\\Shell\\Open\\command", 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, locked.put(), nullptr),
              ERROR_SUCCESS);
    const std::string command = AsoCommand();
    RegSetValueExA(locked.get(), "", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    ASSERT_EQ(RegOpenKeyExA(root_.get(), "locked", 0, KEY_ALL_ACCESS, locked.put()), ERROR_SUCCESS);
    EXPECT_FALSE(procSetAso(locked.get(), 1, RowOf(".ani")));
    EXPECT_FALSE(procSetAso(locked.get(), 0, RowOf(".ico")));
}

TEST_F(AssociationsTest, AProgramPathWithBlanksReachesTheOpenerWhole) {
    std::string command = AsoCommand();
    command.replace(command.find("%1"), 2, R"(C:\My Icons\a b.ico)");
    EXPECT_EQ(command, R"("C:\Program Files\Orna vale\Ornavale.exe" "C:\My Icons\a b.ico")");
    EXPECT_EQ(SplitPathList(ArgumentsOf(command), ' '), std::vector<std::string>{R"(C:\My Icons\a b.ico)"});
}
