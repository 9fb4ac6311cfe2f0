// Windows as a source of icons: the current cursors, cursor schemes, file types and system icons.
#include "mainwindow/FrmMain.h"

#include <string>
#include <vector>

#include "common/FileIconReader.h"
#include "common/FileIcons.h"
#include "common/IconLocation.h"
#include "common/ResultEntry.h"
#include "common/SystemIconRows.h"
#include "core/Registry.h"
#include "ui/Unique.h"

namespace {

constexpr const char* kCursorsKey = "Control Panel\\Cursors";

// The file of a system icon whose registry value is neither text nor a number: no file has this
// name, so its item shows the placeholder.
constexpr const char* kUnreadableIcon = "?";

// The steps of an animated cursor file, from its header; 0 when it does not read as one.
int32_t AnimationSteps(const std::string& file) { return ReadFileIconCount(file).count; }

bool IsAnimatedName(const std::string& file) { return IconFileTypeOf(file) == IconFileType::Ani; }

// The default value of a key of HKEY_CLASSES_ROOT as text; "" when missing.
std::string ClassesText(const std::string& key) { return ReadRegValue(HKEY_CLASSES_ROOT, key, "").Text(); }

}  // namespace

void FrmMain::procGetCurrentCursor(int32_t cursorId, const std::string& valueName) {
    const std::string file = ReadRegValue(HKEY_CURRENT_USER, kCursorsKey, valueName).Text();
    if (file.empty()) {
        cmbResult.AddItem(DefaultCursorEntry(cursorId));
    } else if (!IsAnimatedName(file)) {
        cmbResult.AddItem(CurrentCursorEntry(file, 0, valueName, false));
    } else {
        const int32_t steps = AnimationSteps(file);
        for (int32_t step = 0; step < steps; ++step) cmbResult.AddItem(CurrentCursorEntry(file, step, valueName, true));
    }
}

void FrmMain::procGetCurrentThemeCursor(const std::string& field, const std::string& scheme, int16_t position) {
    if (field.empty() || !IsAnimatedName(field)) {
        cmbResult.AddItem(SchemeCursorEntry(field, 0, scheme, position, false));
        return;
    }
    const int32_t steps = AnimationSteps(field);
    for (int32_t step = 0; step < steps; ++step)
        cmbResult.AddItem(SchemeCursorEntry(field, step, scheme, position, true));
}

void FrmMain::procGetFileTypes(HKEY hive, const std::string& key) {
    // Pass 1: the extension keys, as the registry enumerates them.
    std::vector<std::string> extensions;
    UniqueKey root;
    if (RegOpenKeyExA(hive, key.empty() ? nullptr : key.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, root.put()) ==
        ERROR_SUCCESS) {
        char name[256];  // the longest key name the registry allows, and its terminating zero
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(root.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            if (length > 0 && name[0] == '.') extensions.emplace_back(name, length);
        }
    }
    root.reset();

    // Pass 2: the class each extension names; extensions without one go.
    struct FileType {
        std::string extension;
        std::string fileClass;
    };
    std::vector<FileType> types;
    types.reserve(extensions.size());
    for (std::string& extension : extensions) {
        std::string fileClass = ClassesText(extension);
        if (!fileClass.empty()) types.push_back({std::move(extension), std::move(fileClass)});
    }

    // Pass 3: the classes with an icon of their own, one line and one entry each, in step.
    for (const FileType& type : types) {
        const std::string defaultIcon = ClassesText(type.fileClass + "\\Defaulticon");
        if (defaultIcon.empty() || defaultIcon == "%1") continue;
        const IconLocation icon = ReadIconLocation(defaultIcon);
        const std::string description = ClassesText(type.fileClass);
        cmbResult.AddItem(
            FileTypeEntry(icon.file, std::to_string(icon.index), LabelText(description), LabelText(type.extension)));
        const std::string openCommand = ClassesText(type.fileClass + "\\Shell\\Open\\Command");
        lstChange.AddItem(type.extension + ":" + type.fileClass + ";" + defaultIcon + ";" + description + ";" +
                          openCommand);
    }
}

void FrmMain::procGetSystemIcons() {
    const int count = lstChange.ListCount();
    for (int i = 0; i < count; ++i) {
        const SystemIconPlace place = ReadSystemIconRow(lstChange.List(i));
        // ReadRegValue leaves the type alone when the key is missing.
        gRegType = REG_NONE;
        std::string value = ReadRegValue(place.hive, place.key, place.valueName).Text();
        const bool isText = gRegType == REG_SZ || gRegType == REG_EXPAND_SZ;
        if (gRegType == REG_NONE || (isText && value.empty())) {
            CreateRegKey(place.key, place.hive);
            WriteRegValue(place.key, place.valueName, place.defaultIcon, REG_SZ);
            value = place.defaultIcon;
        } else if (!isText && gRegType != REG_DWORD) {
            value = kUnreadableIcon;
        }
        const IconLocation icon = ReadIconLocation(value);
        cmbResult.AddItem(SystemIconEntry(icon.file, std::to_string(icon.index), LabelText(place.name)), i);
    }
}
