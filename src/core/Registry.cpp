// Registry reads and writes through the shared state gRegResult / gRegStatus.
#include "core/Registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ui/Unique.h"

Variant gRegResult;
LONG gRegStatus = 0;
DWORD gRegType = REG_NONE;

namespace {

constexpr REGSAM kWriteAccess = 0x3F;
// The buffer of a value's first read.
constexpr DWORD kFirstReadBytes = 512;

// The key CreateRegKey opened, waiting for its WriteRegValue.
UniqueKey gRegKey;

std::string DropTrailingZeros(const std::vector<char>& data, DWORD size) {
    std::string s(data.data(), data.data() + size);
    while (!s.empty() && s.back() == '\0') s.pop_back();
    return s;
}

}  // namespace

std::string ExpandEnvironment(const std::string& s) {
    DWORD need = ExpandEnvironmentStringsA(s.c_str(), nullptr, 0);
    if (need == 0) return s;
    std::string out(need, '\0');
    DWORD got = ExpandEnvironmentStringsA(s.c_str(), out.data(), need);
    if (got == 0 || got > need) return s;
    out.resize(got - 1);
    return out;
}

LONG QueryRegValueEx(HKEY key, const std::string& valueName, Variant& value) {
    value = Variant();
    gRegType = REG_NONE;
    // Most values fit the first buffer, so one query brings the type and the data; a longer value is
    // read again at the size the query reported. The value may grow between two reads: a few tries.
    DWORD size = kFirstReadBytes;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<char> data(size + 1, '\0');
        DWORD type = REG_NONE;
        DWORD got = size;
        LONG rc = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
        if (rc == ERROR_MORE_DATA) {
            gRegType = type;
            size = std::max(got, size + 1);
            continue;
        }
        if (rc != ERROR_SUCCESS) return 0;
        gRegType = type;
        if (type == REG_SZ) {
            value = DropTrailingZeros(data, got);
        } else if (type == REG_EXPAND_SZ) {
            value = ExpandEnvironment(DropTrailingZeros(data, got));
        } else if (type == REG_DWORD && got == sizeof(DWORD)) {
            DWORD n = 0;
            memcpy(&n, data.data(), sizeof n);
            value = static_cast<int32_t>(n);
        }
        return 0;
    }
    return 0;
}

Variant ReadRegValue(HKEY hive, const std::string& key, const std::string& valueName) {
    gRegResult = Variant();
    // A key of its own: a read never disturbs the key a CreateRegKey left open for its write.
    UniqueKey k;
    gRegStatus = RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, k.put());
    if (gRegStatus == ERROR_SUCCESS) gRegStatus = QueryRegValueEx(k.get(), valueName, gRegResult);
    gRegStatus = 0;
    return gRegResult;
}

LONG CreateRegKey(const std::string& key, HKEY hive) {
    gRegStatus = RegCreateKeyExA(hive, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 kWriteAccess, nullptr, gRegKey.put(), nullptr);
    return gRegStatus;
}

LONG SetRegValueEx(HKEY key, const std::string& valueName, DWORD type, const Variant& value) {
    if (type == REG_SZ) {
        std::string text = value.Text();
        return RegSetValueExA(key, valueName.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1));
    }
    if (type == REG_DWORD) {
        auto n = value.Number();
        if (!n) return ERROR_INVALID_DATA;
        DWORD d = static_cast<DWORD>(*n);
        return RegSetValueExA(key, valueName.c_str(), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&d), sizeof d);
    }
    return 0;
}

LONG WriteRegValue([[maybe_unused]] const std::string& key, const std::string& valueName,
                   const Variant& value, DWORD type) {
    if (!gRegKey) {
        gRegStatus = ERROR_INVALID_HANDLE;
        return gRegStatus;
    }
    gRegStatus = SetRegValueEx(gRegKey.get(), valueName, type, value);
    gRegKey.reset();
    return gRegStatus;
}

LONG DeleteRegKey(HKEY hive, const std::string& key) {
    gRegStatus = RegDeleteKeyA(hive, key.c_str());
    return gRegStatus;
}
