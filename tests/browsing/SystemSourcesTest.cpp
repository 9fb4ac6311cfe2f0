// Windows as a source of icons: the system icon rows and cursor kinds as data, and the current
// cursors, cursor schemes, file types and system icons listed from an NT 4.0 or Windows 98 registry.
#include <gtest/gtest.h>

#include "CursorFiles.h"
#include "RegistryFixture.h"
#include "TestSupport.h"

#include <string>
#include <utility>
#include <vector>

#include "common/CursorKinds.h"
#include "common/IconLocation.h"
#include "common/SystemIconRows.h"
#include "core/Folders.h"
#include "core/OSVersion.h"
#include "core/Registry.h"
#include "mainwindow/FrmMain.h"

namespace {

using Entries = std::vector<std::pair<std::string, int32_t>>;

constexpr const char* kGroups[] = {"SysDesktop", "SysStart", "SysDrives", "SysFolders", "SysFiles"};
constexpr const char* kShellIconsNT = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";
constexpr const char* kShellIcons98 = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";

std::string Names(const std::vector<std::string>& rows) {
    std::string names;
    for (const std::string& row : rows) names += row.substr(0, row.find(';')) + "|";
    return names;
}

std::string Expand(const std::string& text) {
    char out[MAX_PATH];
    ExpandEnvironmentStringsA(text.c_str(), out, MAX_PATH);
    return out;
}

// A value as the registry holds it: its type and its text (a text's bytes without the final zero).
std::pair<DWORD, std::string> Stored(HKEY hive, const std::string& key, const std::string& name) {
    HKEY k;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return {REG_NONE, "no key"};
    char data[1024] = {};
    DWORD type = REG_NONE, size = sizeof data - 1;
    const LONG rc = RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS) return {REG_NONE, "no value"};
    if (type == REG_SZ || type == REG_EXPAND_SZ) return {type, data};
    return {type, std::string(data, size)};
}

Entries Result() {
    Entries entries;
    for (int i = 0; i < frmMain.cmbResult.ListCount(); ++i)
        entries.emplace_back(frmMain.cmbResult.List(i), frmMain.cmbResult.ItemData(i));
    return entries;
}

std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (int i = 0; i < frmMain.lstChange.ListCount(); ++i) lines.push_back(frmMain.lstChange.List(i));
    return lines;
}

// ---- the tables

TEST(SystemIconRowsTest, EachGroupHasItsRowsForEachList) {
    const struct {
        const char* group;
        size_t rows98, rowsNT;
    } cases[] = {
        {"SysDesktop", 6, 5}, {"SysStart", 12, 10}, {"SysDrives", 9, 9}, {"SysFolders", 11, 8}, {"SysFiles", 8, 8}};
    size_t all98 = 0, allNT = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.group);
        EXPECT_EQ(SystemIconRowsOf(c.group, "98").size(), c.rows98);
        const auto nt = SystemIconRowsOf(c.group, "NT4");
        EXPECT_EQ(nt.size(), c.rowsNT);
        EXPECT_EQ(SystemIconRowsOf(c.group, "95"), nt);
        EXPECT_EQ(SystemIconRowsOf(c.group, "NT3"), nt);
        for (const char* other : {"", "nt4", "2000", "98 "})
            EXPECT_TRUE(SystemIconRowsOf(c.group, other).empty()) << other;
        all98 += c.rows98;
        allNT += c.rowsNT;
    }
    EXPECT_EQ(all98, 46u);
    EXPECT_EQ(allNT, 40u);
    EXPECT_TRUE(SystemIconRowsOf("SysAso", "NT4").empty());
}

TEST(SystemIconRowsTest, RowsNameTheirIconTheRealFolderDefaultAndThePlace) {
    const std::string sys = SystemFolder(), win = WindowsFolder();
    EXPECT_EQ(
        Names(SystemIconRowsOf("SysStart", "98")),
        "Program Group|Favorites|Documents|Settings|Control Panel|Printers|Find|Help|Run|Log Off|Suspend|Shut Down|");
    EXPECT_EQ(Names(SystemIconRowsOf("SysStart", "NT4")),
              "Programs|Documents|Settings|Control Panel|Printers|Find|Help|Run|Suspend|Shut Down|");
    EXPECT_EQ(SystemIconRowsOf("SysStart", "NT4")[0],
              "Programs;" + sys + "\\shell32.dll,19;HKEY_LOCAL_MACHINE\\" + kShellIconsNT + ",19");
    EXPECT_EQ(SystemIconRowsOf("SysStart", "98")[0],
              "Program Group;" + sys + "\\shell32.dll,19;HKEY_LOCAL_MACHINE\\" + kShellIcons98 + ",19");
    const auto desktop = SystemIconRowsOf("SysDesktop", "98");
    EXPECT_EQ(desktop[0], "My Computer;" + win +
                              "\\explorer.exe,0;HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\"
                              "{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\Defaulticon");
    const std::string bin =
        "HKEY_USERS\\.DEFAULT\\Software\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon";
    EXPECT_EQ(desktop[2], "Recycle Bin (Empty);" + sys + "\\shell32.dll,31;" + bin + ",Empty");
    EXPECT_EQ(desktop[3], "Recycle Bin (Full);" + sys + "\\shell32.dll,32;" + bin + ",full");
    EXPECT_EQ(SystemIconRowsOf("SysDrives", "NT4")[1],
              "Floppy Drive [3,5];" + sys + "\\shell32.dll,6;HKEY_LOCAL_MACHINE\\" + kShellIconsNT + ",6");
    EXPECT_EQ(SystemIconRowsOf("SysFolders", "NT4")[4],
              "Control Panel;" + sys +
                  "\\shell32.dll,35;HKEY_CLASSES_ROOT\\CLSID\\{21EC2020-3AEA-1069-A2DD-08002B30309D}\\Defaulticon");
    // A row in both lists has one default.
    for (const char* group : kGroups) {
        for (const std::string& row98 : SystemIconRowsOf(group, "98")) {
            for (const std::string& rowNT : SystemIconRowsOf(group, "NT4")) {
                if (row98.substr(0, row98.find(';')) == rowNT.substr(0, rowNT.find(';'))) {
                    EXPECT_EQ(row98.substr(0, row98.rfind(';')), rowNT.substr(0, rowNT.rfind(';')));
                }
            }
        }
    }
}

TEST(CursorKindsTest, FourteenKindsWithBothLabels) {
    const struct {
        const char* valueName;
        int32_t id;
        const char* current;
        int32_t position;
        const char* scheme;
    } expected[] = {
        {"AppStarting", 32650, "Application Starting", 4, "Application Starting"},
        {"Arrow", 32512, "Arrow", 1, "Arrow"},
        {"Crosshair", 32515, "Crosshair", 5, "Crosshair"},
        {"Help", 32651, "Help Pointer", 2, "Help"},
        {"IBeam", 32513, "I Beam", 6, "I Beam"},
        {"No", 32648, "No", 8, "No"},
        {"NWPen", 32631, "Pen", 7, "Pen"},
        {"SizeAll", 32646, "Size All", 13, "Size All"},
        {"SizeNESW", 32643, "Size NESW", 9, "Size NESW"},
        {"SizeNS", 32645, "Size NS", 10, "Size NS"},
        {"SizeNWSE", 32642, "Size NWSE", 11, "Size NWSE"},
        {"SizeWE", 32644, "Size WE", 12, "Size WE"},
        {"UpArrow", 32516, "Up Arrow", 14, "Up Arrow"},
        {"Wait", 32514, "Wait", 3, "Wait"},
    };
    const auto kinds = CursorKinds();
    ASSERT_EQ(kinds.size(), std::size(expected));
    for (size_t i = 0; i < kinds.size(); ++i) {
        SCOPED_TRACE(expected[i].valueName);
        EXPECT_STREQ(kinds[i].valueName, expected[i].valueName);
        EXPECT_EQ(kinds[i].cursorId, expected[i].id);
        EXPECT_STREQ(kinds[i].currentLabel, expected[i].current);
        EXPECT_EQ(kinds[i].schemePosition, expected[i].position);
        EXPECT_STREQ(kinds[i].schemeLabel, expected[i].scheme);
        EXPECT_EQ(CursorKindById(expected[i].id), &kinds[i]);
        EXPECT_EQ(CursorKindBySchemePosition(expected[i].position), &kinds[i]);
    }
    EXPECT_EQ(CursorKindByValueName("nwpen"), &kinds[6]);
    EXPECT_EQ(CursorKindBySchemePosition(15), nullptr);
    EXPECT_EQ(CursorKindBySchemePosition(0), nullptr);
}

TEST(CursorKindsTest, SchemeValuesSplitIntoFieldsThatKeepTheirPositions) {
    const std::string fourteen = "a,b,c,d,e,f,g,h,i,j,k,l,m,n";
    const struct {
        std::string value;
        std::vector<std::string> fields;
    } cases[] = {
        {fourteen, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n"}},
        {"C:\\a.cur,,C:\\w.ani", {"C:\\a.cur", "", "C:\\w.ani"}},
        {" C:\\one.cur ", {" C:\\one.cur "}},
        {"a,b,", {"a", "b", ""}},
        {fourteen + ",o", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o"}},
        {"", {""}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitScheme(c.value), c.fields) << c.value;
}

TEST(IconLocationTest, ReadsTheIndexAfterTheLastCommaThatHoldsANumber) {
    const struct {
        const char* value;
        const char* file;
        int32_t index;
    } cases[] = {
        {"C:\\WINNT\\system32\\shell32.dll,3", "C:\\WINNT\\system32\\shell32.dll", 3},
        {"shell32.dll,-154", "shell32.dll", -154},
        {"\"C:\\Program Files\\mplay32.exe\",2", "C:\\Program Files\\mplay32.exe", 2},
        {"\"C:\\Program Files\\mplay32.exe\"", "C:\\Program Files\\mplay32.exe", 0},
        {"C:\\Apps\\Notes, Inc\\notes.exe,2", "C:\\Apps\\Notes, Inc\\notes.exe", 2},
        {"C:\\Apps\\Notes, Inc\\notes.exe", "C:\\Apps\\Notes, Inc\\notes.exe", 0},
        {"C:\\WINNT\\System32\\msiexec.exe", "C:\\WINNT\\System32\\msiexec.exe", 0},
        {"a.dll, 4 ", "a.dll", 4},
        {"a.dll,4x", "a.dll,4x", 0},
        {"a.dll,", "a.dll,", 0},
        {"a.dll,99999999999", "a.dll,99999999999", 0},
        {"%1,0", "%1", 0},
        {"\"", "\"", 0},
        {"", "", 0},
    };
    for (const auto& c : cases) {
        const IconLocation location = ReadIconLocation(c.value);
        EXPECT_EQ(location.file, c.file) << c.value;
        EXPECT_EQ(location.index, c.index) << c.value;
    }
}

// ---- the listings, on a registry of the test's own

class SystemSourcesTest : public testing::Test {
  protected:
    void SetUp() override {
        SetEnvironmentVariableA("ORNAVALE_CURSORS", cursors.c_str());
        frmMain.cmbResult.Clear();
        frmMain.lstChange.Clear();
        savedOSCode = gOSCode;
    }
    void TearDown() override {
        frmMain.cmbResult.Clear();
        frmMain.lstChange.Clear();
        SetEnvironmentVariableA("ORNAVALE_CURSORS", nullptr);
        gOSCode = savedOSCode;
    }
    void Load(const char* file) { registry.LoadFile(TestProgramDir() + "registry\\" + file); }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        return dir.File(name, std::string(bytes.begin(), bytes.end()));
    }
    // The rows of a group for gOSCode, listed.
    void ListGroup(const char* group) {
        frmMain.cmbResult.Clear();
        frmMain.lstChange.Clear();
        for (const std::string& row : SystemIconRowsOf(group, gOSCode)) frmMain.lstChange.AddItem(row);
        frmMain.procGetSystemIcons();
    }
    // The private key that stands for a hive in this test.
    static std::string Private(const char* hive) {
        return std::string("Software\\OrnavaleTest\\") + testing::UnitTest::GetInstance()->current_test_info()->name() +
               "\\" + hive + "\\";
    }

    TempDir dir;
    const std::string cursors = dir.path().substr(0, dir.path().size() - 1);
    RegistryFixture registry{testing::UnitTest::GetInstance()->current_test_info()->name()};
    std::string savedOSCode;
    const std::string sys = SystemFolder();
    const std::string root = Expand("%SystemRoot%");
};

TEST_F(SystemSourcesTest, TheFixtureStandsInForTheHivesAndLeavesThemAsTheyWere) {
    const std::string cursorsKey = "Control Panel\\Cursors";
    HKEY k;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, cursorsKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
        ERROR_SUCCESS);
    RegSetValueExA(k, "Marker", 0, REG_SZ, reinterpret_cast<const BYTE*>("kept"), 5);
    RegCloseKey(k);
    {
        RegistryFixture nt4("FixtureOwnKeys");
        nt4.LoadFile(TestProgramDir() + "registry\\nt4.reg");
        EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, ".abc", "").second, "abcfile");
        EXPECT_EQ(
            Stored(HKEY_CURRENT_USER, "Software\\OrnavaleTest\\FixtureOwnKeys\\HKEY_CLASSES_ROOT\\.abc", "").second,
            "abcfile");
        EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, "txtfile\\DefaultIcon", ""),
                  std::make_pair(DWORD{REG_EXPAND_SZ}, std::string("%SystemRoot%\\system32\\shell32.dll,-152")));
        EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kShellIconsNT, "28"),
                  std::make_pair(DWORD{REG_DWORD}, std::string("\5\0\0\0", 4)));
        EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kShellIconsNT, "34"),
                  std::make_pair(DWORD{REG_BINARY}, std::string("\1\2\3")));
        EXPECT_EQ(Stored(HKEY_CURRENT_USER, cursorsKey, "Help"), std::make_pair(DWORD{REG_SZ}, std::string()));
        EXPECT_EQ(Stored(HKEY_CURRENT_USER, cursorsKey, "Marker").first, DWORD{REG_NONE});
        EXPECT_THROW(nt4.Load("REGEDIT4\n[HKEY_CLASSES_ROOT\\.x]\n\"a\"=dword\n"), std::runtime_error);
    }
    EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, ".abc", "").second, "no key");
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kShellIconsNT, "28").first, DWORD{REG_NONE});
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, cursorsKey, "Marker").second, "kept");
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, cursorsKey, "Help").first, DWORD{REG_NONE});
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, "Software\\OrnavaleTest", "").second, "no key");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, cursorsKey.c_str(), "Marker");
}

TEST_F(SystemSourcesTest, CurrentCursorsListFilesFramesAndWindowsDefaults) {
    Load("nt4.reg");
    Write("arrow.cur", StillFile(2, 32, 4));
    Write("appstart.ani", AniFile(8));
    Write("BUSY.ANI", AniFile(2, {0, 1, 0}));
    Write("still.ani", StillFile(2, 32, 4));
    for (const CursorKind& kind : CursorKinds()) frmMain.procGetCurrentCursor(kind.cursorId, kind.valueName);

    const std::string c = cursors + "\\";
    Entries expected;
    for (int s = 0; s < 8; ++s)
        expected.emplace_back(c + "appstart.ani;" + std::to_string(s) + ";Control Panel\\Cursors\\AppStarting;gsycu",
                              0);
    expected.emplace_back(c + "arrow.cur;0;Control Panel\\Cursors\\Arrow;csycu", 0);
    expected.emplace_back(c + "gone.cur;0;Control Panel\\Cursors\\Crosshair;csycu", 0);  // not looked at
    expected.emplace_back("default;0;32651;csycu", 0);                                   // empty
    for (int s = 0; s < 3; ++s)
        expected.emplace_back(c + "BUSY.ANI;" + std::to_string(s) + ";Control Panel\\Cursors\\IBeam;gsycu", 0);
    expected.emplace_back("default;0;32648;csycu", 0);  // No: missing; NWPen: a still cursor named .ani, nothing
    for (const char* id : {"32646", "32643", "32645", "32642", "32644", "32516", "32514"})
        expected.emplace_back(std::string("default;0;") + id + ";csycu", 0);
    EXPECT_EQ(Result(), expected);

    // An empty value is a missing one.
    frmMain.cmbResult.Clear();
    registry.Load("REGEDIT4\n[HKEY_CURRENT_USER\\Control Panel\\Cursors]\n\"Wait\"=\"\"\n");
    frmMain.procGetCurrentCursor(32514, "Wait");
    EXPECT_EQ(Result(), (Entries{{"default;0;32514;csycu", 0}}));
}

TEST_F(SystemSourcesTest, SchemeFieldsListByPositionWithTheirFrames) {
    Load("win98.reg");
    Write("appstart.ani", AniFile(8));
    Write("BUSY.ANI", AniFile(3));
    const std::string c = cursors + "\\";
    const struct {
        const char* scheme;
        Entries expected;
    } cases[] = {
        {"Classic",
         [&] {
             Entries e;
             const char* files[] = {"arrow.cur", "help.cur", "",         "appstart.ani", "cross.cur",
                                    "beam.cur",  "pen.cur",  "no.cur",   "nesw.cur",     "ns.cur",
                                    "nwse.cur",  "we.cur",   "move.cur", "up.cur"};
             for (int n = 1; n <= 14; ++n) {
                 const std::string key = ";Control Panel\\Cursors\\Schemes\\Classic:" + std::to_string(n);
                 if (n == 3) {
                     e.emplace_back("default;0" + key + ";tsytu", 0);
                 } else if (n == 4) {
                     for (int s = 0; s < 8; ++s)
                         e.emplace_back(c + "appstart.ani;" + std::to_string(s) + key + ";asytu", 0);
                 } else {
                     e.emplace_back(c + files[n - 1] + ";0" + key + ";tsytu", 0);
                 }
             }
             return e;
         }()},
        {"Windows Animated",
         {{c + "arrow.cur;0;Control Panel\\Cursors\\Schemes\\Windows Animated:1;tsytu", 0},
          {"default;0;Control Panel\\Cursors\\Schemes\\Windows Animated:2;tsytu", 0},
          {c + "BUSY.ANI;0;Control Panel\\Cursors\\Schemes\\Windows Animated:3;asytu", 0},
          {c + "BUSY.ANI;1;Control Panel\\Cursors\\Schemes\\Windows Animated:3;asytu", 0},
          {c + "BUSY.ANI;2;Control Panel\\Cursors\\Schemes\\Windows Animated:3;asytu", 0}}},
    };
    for (const auto& scheme : cases) {
        SCOPED_TRACE(scheme.scheme);
        frmMain.cmbResult.Clear();
        const auto fields =
            SplitScheme(ReadRegValue(HKEY_CURRENT_USER, "Control Panel\\Cursors\\Schemes", scheme.scheme).Text());
        for (size_t n = 0; n < fields.size(); ++n)
            frmMain.procGetCurrentThemeCursor(fields[n], scheme.scheme, static_cast<int16_t>(n + 1));
        EXPECT_EQ(Result(), scheme.expected);
    }
}

TEST_F(SystemSourcesTest, FileTypesOfAnNT4RegistryListInStepWithTheirLines) {
    Load("nt4.reg");
    frmMain.procGetFileTypes(HKEY_CLASSES_ROOT, "");
    // .bmp and .ico "%1", .dib no class, .emp an empty icon, .htm no icon, .xyz a class that is not there.
    const struct {
        std::string line, entry;
    } expected[] = {
        {".abc:abcfile;C:\\Apps\\Notes, Inc\\notes.exe,2;Notes; drafts;",
         "C:\\Apps\\Notes, Inc\\notes.exe;2;Notes, drafts (*.abc);fsyas"},
        {".cpl:cplfile;shell32.dll,-154;;", "shell32.dll;-154; (*.cpl);fsyas"},
        {".doc:Word.Document.8;C:\\Program Files\\Microsoft Office\\Office\\WINWORD.EXE,1;Microsoft Word Document;"
         "\"C:\\Program Files\\Microsoft Office\\Office\\WINWORD.EXE\" /n",
         "C:\\Program Files\\Microsoft Office\\Office\\WINWORD.EXE;1;Microsoft Word Document (*.doc);fsyas"},
        {".mid:midfile;\"C:\\Program Files\\Windows NT\\Accessories\\mplay32.exe\",2;MIDI Sequence;",
         "C:\\Program Files\\Windows NT\\Accessories\\mplay32.exe;2;MIDI Sequence (*.mid);fsyas"},
        {".msi:Msi.Package;" + root + "\\System32\\msiexec.exe;Windows Installer Package;",
         root + "\\System32\\msiexec.exe;0;Windows Installer Package (*.msi);fsyas"},
        {".pif:piffile;%1,0;Shortcut to MS-DOS Program;", "%1;0;Shortcut to MS-DOS Program (*.pif);fsyas"},
        {".txt:txtfile;" + root + "\\system32\\shell32.dll,-152;Text Document;" + root + "\\system32\\NOTEPAD.EXE %1",
         root + "\\system32\\shell32.dll;-152;Text Document (*.txt);fsyas"},
    };
    const auto lines = Lines();
    const auto entries = Result();
    ASSERT_EQ(lines.size(), std::size(expected));
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], expected[i].line);
        EXPECT_EQ(entries[i], std::make_pair(expected[i].entry, 0));
    }
}

TEST_F(SystemSourcesTest, SystemIconsOfNT4WriteOnlyMissingAndEmptyValues) {
    Load("nt4.reg");
    gOSCode = "NT4";
    const std::string shell = "HKEY_CLASSES_ROOT\\CLSID\\";
    ListGroup("SysDesktop");
    EXPECT_EQ(Result(), (Entries{{root + "\\explorer.exe;0;My Computer;wsysy", 0},
                                 {sys + "\\shell32.dll;17;Network Neighborhood;wsysy", 1},
                                 {root + "\\System32\\shell32.dll;31;Recycle Bin (Empty);wsysy", 2},
                                 {root + "\\System32\\shell32.dll;32;Recycle Bin (Full);wsysy", 3},
                                 {sys + "\\syncui.dll;0;My Briefcase;wsysy", 4}}));
    // Written as REG_SZ into the key's unnamed value, in the test's own hive; a value there stays as it was.
    EXPECT_EQ(Stored(HKEY_CURRENT_USER,
                     Private("HKEY_CLASSES_ROOT") + "CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\Defaulticon", ""),
              std::make_pair(DWORD{REG_SZ}, sys + "\\shell32.dll,17"));
    EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, "CLSID\\{85BBD920-42A0-1069-A2E4-08002B30309D}\\Defaulticon", ""),
              std::make_pair(DWORD{REG_SZ}, sys + "\\syncui.dll,0"));
    EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon", "").first,
              DWORD{REG_EXPAND_SZ});

    ListGroup("SysFolders");
    EXPECT_EQ(Result(), (Entries{{"C:\\Icons\\folder.ico;0;Closed Folder;wsysy", 0},
                                 {"C:\\Icons\\open.ico;0;Open Folder;wsysy", 1},
                                 {"5;0;Sharing Overlay;wsysy", 2},
                                 {"?;0;Desktop;wsysy", 3},
                                 {sys + "\\shell32.dll;35;Control Panel;wsysy", 4},
                                 {sys + "\\shell32.dll;37;Printers;wsysy", 5},
                                 {sys + "\\rnaui.dll;0;Dial-Up Networking;wsysy", 6},
                                 {sys + "\\shell32.dll;36;Program Group;wsysy", 7}}));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kShellIconsNT, "28").first, DWORD{REG_DWORD});
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kShellIconsNT, "34"),
              std::make_pair(DWORD{REG_BINARY}, std::string("\1\2\3")));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kShellIconsNT, "36"), std::make_pair(DWORD{REG_SZ}, sys + "\\shell32.dll,36"));

    // The next fill finds what the first wrote and writes nothing.
    registry.Load(std::string("REGEDIT4\n[HKEY_LOCAL_MACHINE\\") + kShellIconsNT +
                  "]\n\"36\"=\"C:\\\\Mine\\\\group.ico,4\"\n");
    ListGroup("SysFolders");
    EXPECT_EQ(Result()[7], std::make_pair(std::string("C:\\Mine\\group.ico;4;Program Group;wsysy"), 7));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kShellIconsNT, "36").second, "C:\\Mine\\group.ico,4");

    // An empty text is written over; a name holding "," stays whole and the value name is the place's.
    ListGroup("SysStart");
    EXPECT_EQ(Result()[0], std::make_pair(sys + "\\shell32.dll;19;Programs;wsysy", 0));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kShellIconsNT, "20"), std::make_pair(DWORD{REG_SZ}, sys + "\\shell32.dll,20"));
    ListGroup("SysDrives");
    EXPECT_EQ(Result()[1], std::make_pair(sys + "\\shell32.dll;6;Floppy Drive [3,5];wsysy", 1));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kShellIconsNT, "6").second, sys + "\\shell32.dll,6");

    // Two rows of one icon are told apart by their position.
    frmMain.cmbResult.Clear();
    frmMain.lstChange.Clear();
    frmMain.lstChange.AddItem("One;x.dll,1;HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon");
    frmMain.lstChange.AddItem("Two;x.dll,1;HKEY_CLASSES_ROOT\\txtfile\\DefaultIcon");
    frmMain.procGetSystemIcons();
    const std::string txt = root + "\\system32\\shell32.dll;-152;";
    EXPECT_EQ(Result(), (Entries{{txt + "One;wsysy", 0}, {txt + "Two;wsysy", 1}}));
}

TEST_F(SystemSourcesTest, SystemIconsOfWindows98ReadEveryHive) {
    Load("win98.reg");
    gOSCode = "98";
    ListGroup("SysDesktop");
    EXPECT_EQ(Result(), (Entries{{"C:\\WINDOWS\\EXPLORER.EXE;0;My Computer;wsysy", 0},
                                 {sys + "\\shell32.dll;17;Network Neighborhood;wsysy", 1},
                                 {"C:\\WINDOWS\\SYSTEM\\shell32.dll;31;Recycle Bin (Empty);wsysy", 2},
                                 {"C:\\WINDOWS\\SYSTEM\\shell32.dll;32;Recycle Bin (Full);wsysy", 3},
                                 {sys + "\\mydocs.dll;0;My Documents;wsysy", 4},
                                 {sys + "\\syncui.dll;0;My Briefcase;wsysy", 5}}));
    EXPECT_EQ(Stored(HKEY_USERS,
                     ".DEFAULT\\Software\\Classes\\CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\Defaulticon", "")
                  .second,
              sys + "\\shell32.dll,17");
    EXPECT_EQ(
        Stored(HKEY_CURRENT_USER, "Software\\Classes\\CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}\\Defaulticon", ""),
        std::make_pair(DWORD{REG_SZ}, sys + "\\mydocs.dll,0"));
    EXPECT_EQ(Stored(HKEY_CURRENT_USER,
                     Private("HKEY_LOCAL_MACHINE") +
                         "Software\\CLASSES\\CLSID\\{85BBD920-42A0-1069-A2E4-08002B30309D}\\Defaulticon",
                     "")
                  .second,
              sys + "\\syncui.dll,0");

    ListGroup("SysStart");
    ASSERT_EQ(frmMain.cmbResult.ListCount(), 12);
    EXPECT_EQ(Result()[0], std::make_pair(std::string("C:\\WINDOWS\\Icons\\programs.ico;0;Program Group;wsysy"), 0));
    EXPECT_EQ(Result()[1], std::make_pair(sys + "\\shell32.dll;43;Favorites;wsysy", 1));
    EXPECT_EQ(Result()[9], std::make_pair(sys + "\\shell32.dll;44;Log Off;wsysy", 9));
}

}  // namespace
