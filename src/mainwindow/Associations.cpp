// The icon file types registered to the program, and taken back without harm to other openers.
#include "mainwindow/Associations.h"

#include "core/Global.h"
#include "core/Registry.h"
#include "ui/Keys.h"
#include "ui/Unique.h"

const std::array<AssociationKey, 5> AssociationKeys = {{
    {"chkAsoANI", ".ani", "anifile", "Animated Cursor", AsoIcon::EachFile, AsoIcon::EachFile},
    {"chkAsoCUR", ".cur", "curfile", "Cursor File", AsoIcon::EachFile, AsoIcon::EachFile},
    {"chkAsoDLL", ".dll", "dllfile", nullptr, AsoIcon::Program, AsoIcon::ShellLibrary},
    {"chkAsoICL", ".icl", "iclfile", "Icon Library", AsoIcon::Program, AsoIcon::EachFile},
    {"chkAsoICO", ".ico", "icofile", "Icon File", AsoIcon::EachFile, AsoIcon::EachFile},
}};

namespace {

constexpr int kChecked = 1;

bool Write(HKEY root, const std::string& key, const std::string& name, const Variant& value, DWORD type) {
    if (CreateRegKey(key, root) != ERROR_SUCCESS) return false;
    return WriteRegValue(key, name, value, type) == ERROR_SUCCESS;
}

// True when the key holds no sub-key and no value but an empty default one.
bool IsLeftEmpty(HKEY root, const std::string& key) {
    UniqueKey k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) return false;
    DWORD subKeys = 0;
    DWORD values = 0;
    if (RegQueryInfoKeyA(k.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    if (subKeys != 0 || values > 1) return false;
    if (values == 0) return true;
    // The one value must be the default one, and empty.
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(k.get(), "", nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    return type == REG_SZ && size <= 1;
}

// Deletes the key when nothing but an empty default value is left in it; a key holding anything
// else belongs to someone else too and stays.
bool DeleteIfLeftEmpty(HKEY root, const std::string& key) {
    if (!IsLeftEmpty(root, key)) return true;
    return DeleteRegKey(root, key) == ERROR_SUCCESS;
}

bool Register(HKEY root, const AssociationKey& type) {
    const std::string cls = type.fileClass;
    bool ok = Write(root, type.extension, "", Variant(cls), REG_SZ);
    if (type.description) ok = Write(root, cls, "", Variant(type.description), REG_SZ) && ok;
    ok = Write(root, cls, "EditFlags", Variant(int32_t{0}), REG_DWORD) && ok;
    ok = Write(root, cls + "\\DefaultIcon", "", Variant(AsoIconText(type.checkedIcon)), REG_SZ) && ok;
    ok = Write(root, cls + "\\Shell", "", Variant(""), REG_SZ) && ok;
    ok = Write(root, cls + "\\Shell\\Open", "", Variant(""), REG_SZ) && ok;
    ok = Write(root, cls + "\\Shell\\Open\\command", "", Variant(AsoCommand()), REG_SZ) && ok;
    return ok;
}

bool TakeBack(HKEY root, const AssociationKey& type) {
    const std::string cls = type.fileClass;
    const std::string command = cls + "\\Shell\\Open\\command";
    // Another program's opener, or none: nothing of the class is ours to change.
    if (FoldKey(ReadRegValue(root, command, "").Text()) != FoldKey(AsoCommand())) return true;
    bool ok = Write(root, cls + "\\DefaultIcon", "", Variant(AsoIconText(type.uncheckedIcon)), REG_SZ);
    if (DeleteRegKey(root, command) != ERROR_SUCCESS) return false;
    ok = DeleteIfLeftEmpty(root, cls + "\\Shell\\Open") && ok;
    ok = DeleteIfLeftEmpty(root, cls + "\\Shell") && ok;
    return ok;
}

}  // namespace

std::string AsoCommand() { return "\"" + gAppPath + "Ornavale.exe\" \"%1\""; }

std::string AsoIconText(AsoIcon icon) {
    switch (icon) {
    case AsoIcon::EachFile:
        return "%1";
    case AsoIcon::Program:
        return gAppPath + "ornavale.exe,0";
    case AsoIcon::ShellLibrary: {
        std::string folder = gSysDir;
        if (folder.empty() || folder.back() != '\\') folder += '\\';
        return folder + "shell32.dll,-154";
    }
    }
    return "%1";
}

bool procSetAso(HKEY root, int boxValue, const AssociationKey& type) {
    return boxValue == kChecked ? Register(root, type) : TakeBack(root, type);
}
