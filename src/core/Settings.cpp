// Reading and writing the program's own store through the shared registry helpers.
#include "core/Settings.h"

#include <array>

#include "core/Registry.h"
#include "ui/Form.h"

namespace {

constexpr std::array kAll = {
    &setting::Path, &setting::Tip, &setting::TipNr, &setting::IconsPerPage, &setting::ViewType,
    &setting::TextLabel, &setting::Statusbar, &setting::Toolbar, &setting::YourToolbar,
    &setting::Keywordbar, &setting::YourPos, &setting::KeywordPos, &setting::StandardToolbarWidth,
    &setting::YourToolbarWidth, &setting::KeywordbarPos, &setting::SingleSel, &setting::BackColor,
    &setting::Colwidth1, &setting::Colwidth2, &setting::Colwidth3, &setting::HotTracking,
    &setting::FavDir, &setting::SearchFav, &setting::DCPlay, &setting::DCRef, &setting::DCRun,
    &setting::DCChange, &setting::DCAction, &setting::DCZoom, &setting::UseMask, &setting::MaskColor,
    &setting::AsoANI, &setting::AsoCUR, &setting::AsoDLL, &setting::AsoICL, &setting::AsoICO,
    &setting::ExtEditFile, &setting::ExtEditFolder, &setting::ImportDirectory,
    &setting::ScanDirectory, &setting::ScanAll, &setting::ScanANI, &setting::ScanCUR,
    &setting::ScanDLL, &setting::ScanEXE, &setting::ScanICL, &setting::ScanICO,
    &setting::ScanSubDir, &setting::OrganizeFav, &setting::ExtEditMessage,
    &setting::NoCursorChange, &setting::OrnavaleLight, &setting::FolderCache,
    &setting::ShortcutCache, &setting::SysCache, &setting::SysCursorRestart,
    &setting::SysFileTypeRestart, &setting::MainTop, &setting::MainLeft, &setting::MainWidth,
    &setting::MainHeight, &setting::MainState, &setting::Splitter, &setting::KeyTop,
    &setting::KeyLeft, &setting::AddTop, &setting::AddLeft, &setting::AniTop, &setting::AniLeft,
    &setting::ZoomTop, &setting::ZoomLeft, &setting::ImportTop, &setting::ImportLeft,
    &setting::ScanTop, &setting::ScanLeft, &setting::ChangeTop, &setting::ChangeLeft,
    &setting::MessageTop, &setting::MessageLeft,
};

Variant DefaultOf(const SettingDef& def) {
    if (!def.fallback) return {};
    if (def.type == REG_DWORD) {
        if (auto n = ParseLong(def.fallback)) return *n;
        return {};
    }
    return def.fallback;
}

}  // namespace

std::span<const SettingDef* const> AllSettings() { return kAll; }

const char* StoreKey(Store store) { return store == Store::Pos ? kPosKey : kSettingsKey; }

Variant ReadStoredSetting(const SettingDef& def) {
    return ReadRegValue(HKEY_CURRENT_USER, StoreKey(def.store), def.name);
}

Variant ReadSetting(const SettingDef& def) {
    Variant v = ReadStoredSetting(def);
    return v.IsEmpty() ? DefaultOf(def) : v;
}

LONG WriteSetting(const SettingDef& def, const Variant& value) {
    CreateRegKey(StoreKey(def.store), HKEY_CURRENT_USER);
    return WriteRegValue(StoreKey(def.store), def.name, value, def.type);
}

std::optional<TwipsPoint> ReadWindowPos(const WindowPosDef& def) {
    auto top = ReadStoredSetting(def.top).Number();
    auto left = ReadStoredSetting(def.left).Number();
    if (!top || !left) return std::nullopt;
    return TwipsPoint{*top, *left};
}

void WriteWindowPos(const WindowPosDef& def, TwipsPoint pos) {
    WriteSetting(def.top, pos.top);
    WriteSetting(def.left, pos.left);
}

void MoveToStoredPosition(Form& form, const WindowPosDef& def) {
    form.MoveToStoredPlace(ReadStoredSetting(def.left).Number(), ReadStoredSetting(def.top).Number());
}

void SaveWindowPosition(const Form& form, const WindowPosDef& def) {
    if (form.IsLoaded() && form.WindowState() != FormWindowState::Minimized) WriteWindowPos(def, {form.Top(), form.Left()});
}
