// The new icon's bytes from the work surfaces, and registry values read and written as stored.
#include "changing/NewIcon.h"

#include "core/ScopedValue.h"
#include "formats/IconEncode.h"
#include "mainwindow/FrmMain.h"
#include "output/IconWriter.h"
#include "output/WorkSurfaces.h"
#include "ui/App.h"
#include "ui/Unique.h"

namespace {

// The depth every icon copy of a registry change is written at, whatever the dropped icon's own.
constexpr int kCopyBitCount = 16;

}  // namespace

std::optional<std::vector<uint8_t>> NewIconBytes() {
    {
        ScopedValue changeMode(gChangeMode, true);
        frmMain.procMask();
    }
    auto bytes = EncodeWorkSurfaces(frmMain.pctColor.hDC(), frmMain.pctMask.hDC(), kCopyBitCount, formats::IconKind::Icon);
    if (bytes) return std::move(bytes).value();
    MsgBox("Ornavale could not read the new icon, so nothing was changed.", MsgBoxStyle::Exclamation, "Error");
    return std::nullopt;
}

std::string StoredRegValue::Text() const {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
    std::string text(bytes.begin(), bytes.end());
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

std::optional<StoredRegValue> ReadStoredRegValue(HKEY hive, const std::string& key, const std::string& valueName) {
    UniqueKey k;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) return std::nullopt;
    // The value may grow between the size query and the read: a few tries.
    for (int attempt = 0; attempt < 4; ++attempt) {
        StoredRegValue value;
        DWORD size = 0;
        if (RegQueryValueExA(k.get(), valueName.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        value.bytes.resize(size);
        const LONG rc = RegQueryValueExA(k.get(), valueName.c_str(), nullptr, &value.type, value.bytes.data(), &size);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS) return std::nullopt;
        value.bytes.resize(size);
        return value;
    }
    return std::nullopt;
}

LONG WriteStoredRegValue(HKEY hive, const std::string& key, const std::string& valueName, const StoredRegValue& value) {
    UniqueKey k;
    LONG rc = RegCreateKeyExA(hive, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, k.put(),
                              nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    return RegSetValueExA(k.get(), valueName.c_str(), 0, value.type, value.bytes.data(),
                          static_cast<DWORD>(value.bytes.size()));
}

StoredRegValue NoIconRecord() { return StoredRegValue{REG_NONE, {}}; }

bool IsNoIconRecord(const std::optional<StoredRegValue>& kept) {
    return kept && kept->type == REG_NONE && kept->bytes.empty();
}
