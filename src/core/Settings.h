// The program's own store: every value under "Software\Ornavale\Settings" and "Software\Ornavale\Pos"
// with its type and its default, in one table that the whole program reads from.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/Variant.h"
#include "ui/Win.h"

class Form;

inline constexpr const char* kSettingsKey = "Software\\Ornavale\\Settings";
inline constexpr const char* kPosKey = "Software\\Ornavale\\Pos";

enum class Store { Settings, Pos };

struct SettingDef {
    Store store;
    const char* name;      // value name (the registry matches names without regard to case)
    DWORD type;            // REG_SZ or REG_DWORD
    const char* fallback;  // default when missing, in text form; nullptr when the reader supplies
                           // one from the running program (design size, back colour, centred ...)
};

namespace setting {
// Start-up and tips
inline constexpr SettingDef Path{Store::Settings, "Path", REG_SZ, nullptr};
inline constexpr SettingDef Tip{Store::Settings, "Tip", REG_SZ, "1"};
inline constexpr SettingDef TipNr{Store::Settings, "TipNr", REG_DWORD, "1"};
// Result list and bars
inline constexpr SettingDef IconsPerPage{Store::Settings, "IconsPerPage", REG_SZ, "200"};
inline constexpr SettingDef ViewType{Store::Settings, "ViewType", REG_SZ, "0"};
inline constexpr SettingDef TextLabel{Store::Settings, "TextLabel", REG_SZ, "True"};
inline constexpr SettingDef Statusbar{Store::Settings, "Statusbar", REG_SZ, "True"};
inline constexpr SettingDef Toolbar{Store::Settings, "Toolbar", REG_SZ, "True"};
inline constexpr SettingDef YourToolbar{Store::Settings, "YourToolbar", REG_SZ, "True"};
inline constexpr SettingDef Keywordbar{Store::Settings, "Keywordbar", REG_SZ, "True"};
inline constexpr SettingDef YourPos{Store::Settings, "YourPos", REG_SZ, "True"};
inline constexpr SettingDef KeywordPos{Store::Settings, "KeywordPos", REG_SZ, "True"};
inline constexpr SettingDef StandardToolbarWidth{Store::Settings, "StandardToolbarWidth", REG_SZ, "0"};
inline constexpr SettingDef YourToolbarWidth{Store::Settings, "YourToolbarWidth", REG_SZ, "0"};
inline constexpr SettingDef KeywordbarPos{Store::Settings, "KeywordbarPos", REG_SZ, nullptr};
inline constexpr SettingDef SingleSel{Store::Settings, "SingleSel", REG_SZ, nullptr};
inline constexpr SettingDef BackColor{Store::Settings, "BackColor", REG_SZ, nullptr};
inline constexpr SettingDef Colwidth1{Store::Settings, "Colwidth1", REG_SZ, nullptr};
inline constexpr SettingDef Colwidth2{Store::Settings, "Colwidth2", REG_SZ, nullptr};
inline constexpr SettingDef Colwidth3{Store::Settings, "Colwidth3", REG_SZ, nullptr};
inline constexpr SettingDef HotTracking{Store::Settings, "HotTracking", REG_SZ, "False"};
// Options
inline constexpr SettingDef FavDir{Store::Settings, "FavDir", REG_SZ, nullptr};
inline constexpr SettingDef SearchFav{Store::Settings, "SearchFav", REG_SZ, "0"};
inline constexpr SettingDef DCPlay{Store::Settings, "DCPlay", REG_SZ, "0"};
inline constexpr SettingDef DCRef{Store::Settings, "DCRef", REG_SZ, "0"};
inline constexpr SettingDef DCRun{Store::Settings, "DCRun", REG_SZ, "0"};
inline constexpr SettingDef DCChange{Store::Settings, "DCChange", REG_SZ, "0"};
inline constexpr SettingDef DCAction{Store::Settings, "DCAction", REG_SZ, "None"};
inline constexpr SettingDef DCZoom{Store::Settings, "DCZoom", REG_DWORD, "4"};
inline constexpr SettingDef UseMask{Store::Settings, "UseMask", REG_SZ, "False"};
inline constexpr SettingDef MaskColor{Store::Settings, "MaskColor", REG_SZ, nullptr};
inline constexpr SettingDef AsoANI{Store::Settings, "AsoANI", REG_SZ, "0"};
inline constexpr SettingDef AsoCUR{Store::Settings, "AsoCUR", REG_SZ, "0"};
inline constexpr SettingDef AsoDLL{Store::Settings, "AsoDLL", REG_SZ, "0"};
inline constexpr SettingDef AsoICL{Store::Settings, "AsoICL", REG_SZ, "0"};
inline constexpr SettingDef AsoICO{Store::Settings, "AsoICO", REG_SZ, "0"};
inline constexpr SettingDef ExtEditFile{Store::Settings, "ExtEditFile", REG_SZ, ""};
inline constexpr SettingDef ExtEditFolder{Store::Settings, "ExtEditFolder", REG_SZ, ""};
// Folders and the disk scan
inline constexpr SettingDef ImportDirectory{Store::Settings, "ImportDirectory", REG_SZ, nullptr};
inline constexpr SettingDef ScanDirectory{Store::Settings, "ScanDirectory", REG_SZ, ""};
inline constexpr SettingDef ScanAll{Store::Settings, "ScanAll", REG_SZ, nullptr};
inline constexpr SettingDef ScanANI{Store::Settings, "ScanANI", REG_SZ, nullptr};
inline constexpr SettingDef ScanCUR{Store::Settings, "ScanCUR", REG_SZ, nullptr};
inline constexpr SettingDef ScanDLL{Store::Settings, "ScanDLL", REG_SZ, nullptr};
inline constexpr SettingDef ScanEXE{Store::Settings, "ScanEXE", REG_SZ, nullptr};
inline constexpr SettingDef ScanICL{Store::Settings, "ScanICL", REG_SZ, nullptr};
inline constexpr SettingDef ScanICO{Store::Settings, "ScanICO", REG_SZ, nullptr};
inline constexpr SettingDef ScanSubDir{Store::Settings, "ScanSubDir", REG_SZ, "False"};
// Reminders of the message window: "1" once the user asked not to be told again.
inline constexpr SettingDef OrganizeFav{Store::Settings, "OrganizeFav", REG_SZ, "0"};
inline constexpr SettingDef ExtEditMessage{Store::Settings, "ExtEditMessage", REG_SZ, "0"};
inline constexpr SettingDef NoCursorChange{Store::Settings, "NoCursorChange", REG_SZ, "0"};
inline constexpr SettingDef OrnavaleLight{Store::Settings, "OrnavaleLight", REG_SZ, "0"};
inline constexpr SettingDef FolderCache{Store::Settings, "FolderCache", REG_SZ, "0"};
inline constexpr SettingDef ShortcutCache{Store::Settings, "ShortcutCache", REG_SZ, "0"};
inline constexpr SettingDef SysCache{Store::Settings, "SysCache", REG_SZ, "0"};
inline constexpr SettingDef SysCursorRestart{Store::Settings, "SysCursorRestart", REG_SZ, "0"};
inline constexpr SettingDef SysFileTypeRestart{Store::Settings, "SysFileTypeRestart", REG_SZ, "0"};

// Window positions, in twips. A missing position means the window opens centred.
inline constexpr SettingDef MainTop{Store::Pos, "MainTop", REG_DWORD, nullptr};
inline constexpr SettingDef MainLeft{Store::Pos, "MainLeft", REG_DWORD, nullptr};
inline constexpr SettingDef MainWidth{Store::Pos, "MainWidth", REG_DWORD, nullptr};
inline constexpr SettingDef MainHeight{Store::Pos, "MainHeight", REG_DWORD, nullptr};
inline constexpr SettingDef MainState{Store::Pos, "MainState", REG_DWORD, nullptr};
inline constexpr SettingDef Splitter{Store::Pos, "Splitter", REG_SZ, nullptr};
inline constexpr SettingDef KeyTop{Store::Pos, "KeyTop", REG_DWORD, nullptr};
inline constexpr SettingDef KeyLeft{Store::Pos, "KeyLeft", REG_DWORD, nullptr};
inline constexpr SettingDef AddTop{Store::Pos, "AddTop", REG_DWORD, nullptr};
inline constexpr SettingDef AddLeft{Store::Pos, "AddLeft", REG_DWORD, nullptr};
inline constexpr SettingDef AniTop{Store::Pos, "AniTop", REG_DWORD, nullptr};
inline constexpr SettingDef AniLeft{Store::Pos, "AniLeft", REG_DWORD, nullptr};
inline constexpr SettingDef ZoomTop{Store::Pos, "ZoomTop", REG_DWORD, nullptr};
inline constexpr SettingDef ZoomLeft{Store::Pos, "ZoomLeft", REG_DWORD, nullptr};
inline constexpr SettingDef ImportTop{Store::Pos, "ImportTop", REG_DWORD, nullptr};
inline constexpr SettingDef ImportLeft{Store::Pos, "ImportLeft", REG_DWORD, nullptr};
inline constexpr SettingDef ScanTop{Store::Pos, "ScanTop", REG_DWORD, nullptr};
inline constexpr SettingDef ScanLeft{Store::Pos, "ScanLeft", REG_DWORD, nullptr};
inline constexpr SettingDef ChangeTop{Store::Pos, "ChangeTop", REG_DWORD, nullptr};
inline constexpr SettingDef ChangeLeft{Store::Pos, "ChangeLeft", REG_DWORD, nullptr};
inline constexpr SettingDef MessageTop{Store::Pos, "MessageTop", REG_DWORD, nullptr};
inline constexpr SettingDef MessageLeft{Store::Pos, "MessageLeft", REG_DWORD, nullptr};
}  // namespace setting

// A window's stored top-left corner.
struct WindowPosDef {
    const SettingDef& top;
    const SettingDef& left;
};
namespace windowpos {
inline constexpr WindowPosDef Main{setting::MainTop, setting::MainLeft};
inline constexpr WindowPosDef Key{setting::KeyTop, setting::KeyLeft};
inline constexpr WindowPosDef Add{setting::AddTop, setting::AddLeft};
inline constexpr WindowPosDef Ani{setting::AniTop, setting::AniLeft};
inline constexpr WindowPosDef Zoom{setting::ZoomTop, setting::ZoomLeft};
inline constexpr WindowPosDef Import{setting::ImportTop, setting::ImportLeft};
inline constexpr WindowPosDef Scan{setting::ScanTop, setting::ScanLeft};
inline constexpr WindowPosDef Change{setting::ChangeTop, setting::ChangeLeft};
inline constexpr WindowPosDef Message{setting::MessageTop, setting::MessageLeft};
}  // namespace windowpos

// Every value of the store, for the tests and for anything that walks the table.
std::span<const SettingDef* const> AllSettings();

// The registry key path of a store.
const char* StoreKey(Store store);

// The stored value, empty when missing. A stored empty text or "0" is a value, not a missing one.
Variant ReadStoredSetting(const SettingDef& def);
// The stored value, or the table's default when missing (empty when the table has none).
Variant ReadSetting(const SettingDef& def);
// Writes the value in the table's type (CreateRegKey + WriteRegValue); answers the status.
LONG WriteSetting(const SettingDef& def, const Variant& value);

// A window's stored position in twips; nothing unless both values are stored as numbers.
struct TwipsPoint {
    int32_t top;
    int32_t left;
};
std::optional<TwipsPoint> ReadWindowPos(const WindowPosDef& def);
void WriteWindowPos(const WindowPosDef& def, TwipsPoint pos);

// Every window keeps its place this one way: Form_Load ends by moving it to its stored place, and
// Form_Unload stores the place for the next time (a window that is only hidden stores it with the
// save on exit). A minimised window keeps the place stored before; a window that is not loaded
// stores nothing.
void MoveToStoredPosition(Form& form, const WindowPosDef& def);
void SaveWindowPosition(const Form& form, const WindowPosDef& def);
