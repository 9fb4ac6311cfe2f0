#include "RegistryFixture.h"

#include <shlwapi.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "TestSupport.h"
#include "ui/Unique.h"

namespace {

constexpr const char* kTestRoot = "Software\\OrnavaleTest";

struct HiveName {
    const char* name;
    HKEY hive;
};
const HiveName kHives[] = {
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", HKEY_USERS},
};

const char* NameOf(HKEY hive) {
    for (const HiveName& h : kHives)
        if (h.hive == hive) return h.name;
    return nullptr;
}

bool IsBelow(const std::string& key, const std::string& parent) {
    return key.size() >= parent.size() && _strnicmp(key.c_str(), parent.c_str(), parent.size()) == 0 &&
           (key.size() == parent.size() || key[parent.size()] == '\\');
}

[[noreturn]] void Fail(int line, const std::string& what) {
    throw std::runtime_error("registry fixture, line " + std::to_string(line) + ": " + what);
}

// A quoted text at the start of s with \\ and \" escapes; s is left after the closing quote.
std::string Quoted(std::string_view& s, int line) {
    if (s.empty() || s.front() != '"') Fail(line, "a text in double quotes expected");
    std::string out;
    size_t i = 1;
    for (; i < s.size() && s[i] != '"'; ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) ++i;
        out.push_back(s[i]);
    }
    if (i == s.size()) Fail(line, "the closing double quote is missing");
    s.remove_prefix(i + 1);
    return out;
}

std::string HexBytes(std::string_view s, int line) {
    std::string out;
    std::string digits;
    auto flush = [&] {
        if (digits.empty()) return;
        if (digits.size() > 2) Fail(line, "a byte of more than two hex digits");
        out.push_back(static_cast<char>(std::stoi(digits, nullptr, 16)));
        digits.clear();
    };
    for (char c : s) {
        if (c == ',') {
            if (digits.empty()) Fail(line, "an empty byte");
            flush();
        } else if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits.push_back(c);
        } else if (c != ' ' && c != '\t') {
            Fail(line, std::string("unexpected '") + c + "' in hex bytes");
        }
    }
    flush();
    return out;
}

}  // namespace

std::string RegHexText(std::string_view text) {
    std::string out;
    char byte[4];
    for (size_t i = 0; i <= text.size(); ++i) {
        const unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
        std::snprintf(byte, sizeof byte, "%02x", c);
        if (!out.empty()) out += ',';
        out += byte;
    }
    return out;
}

RegistryFixture::RegistryFixture(std::string testName) : root_(std::string(kTestRoot) + "\\" + testName) {
    DeleteRegTree(HKEY_CURRENT_USER, root_);
}

RegistryFixture::~RegistryFixture() {
    for (auto& [hive, key] : mapped_) {
        RegOverridePredefKey(hive, nullptr);
        RegCloseKey(key);
    }
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        DeleteRegTree(HKEY_CURRENT_USER, it->first);
        if (it->second.empty()) continue;
        UniqueKey restored;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, it->first.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            restored.put(), nullptr) == ERROR_SUCCESS)
            SHCopyKeyA(HKEY_CURRENT_USER, it->second.c_str(), restored.get(), 0);
    }
    DeleteRegTree(HKEY_CURRENT_USER, root_);
    SHDeleteEmptyKeyA(HKEY_CURRENT_USER, kTestRoot);
}

void RegistryFixture::Map(HKEY hive) {
    for (auto& m : mapped_)
        if (m.first == hive) return;
    HKEY key = nullptr;
    const std::string path = root_ + "\\" + NameOf(hive);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("registry fixture: cannot create " + path);
    if (RegOverridePredefKey(hive, key) != ERROR_SUCCESS) {
        RegCloseKey(key);
        throw std::runtime_error(std::string("registry fixture: cannot map ") + NameOf(hive));
    }
    mapped_.emplace_back(hive, key);
}

void RegistryFixture::Replace(const std::string& key) {
    for (auto& s : saved_)
        if (IsBelow(key, s.first)) return;
    std::string copy;
    UniqueKey existing;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, existing.put()) == ERROR_SUCCESS) {
        copy = root_ + "\\saved\\" + std::to_string(saved_.size());
        UniqueKey target;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, copy.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, target.put(),
                            nullptr) != ERROR_SUCCESS ||
            SHCopyKeyA(HKEY_CURRENT_USER, key.c_str(), target.get(), 0) != ERROR_SUCCESS)
            throw std::runtime_error("registry fixture: cannot keep HKEY_CURRENT_USER\\" + key);
    }
    saved_.emplace_back(key, copy);
    DeleteRegTree(HKEY_CURRENT_USER, key);
}

void RegistryFixture::Load(std::string_view text) {
    std::vector<std::string> lines;
    std::vector<int> numbers;
    {
        std::istringstream in{std::string(text)};
        std::string raw;
        int number = 0;
        bool continued = false;
        while (std::getline(in, raw)) {
            ++number;
            if (!raw.empty() && raw.back() == '\r') raw.pop_back();
            if (continued) {
                const size_t start = raw.find_first_not_of(" \t");
                if (start != std::string::npos) lines.back() += raw.substr(start);
            } else {
                lines.push_back(raw);
                numbers.push_back(number);
            }
            continued =
                !lines.back().empty() && lines.back().back() == '\\' && lines.back().find("=hex") != std::string::npos;
            if (continued) lines.back().pop_back();
        }
    }
    if (lines.empty() || lines.front() != "REGEDIT4") Fail(1, "\"REGEDIT4\" expected");

    UniqueKey key;
    for (size_t i = 1; i < lines.size(); ++i) {
        const int line = numbers[i];
        std::string_view s = lines[i];
        if (s.empty() || s.front() == ';') continue;
        if (s.front() == '[') {
            if (s.back() != ']') Fail(line, "a key line ends in ]");
            const std::string full(s.substr(1, s.size() - 2));
            const size_t slash = full.find('\\');
            const std::string hiveName = full.substr(0, slash);
            const std::string path = slash == std::string::npos ? std::string() : full.substr(slash + 1);
            HKEY hive = nullptr;
            for (const HiveName& h : kHives)
                if (hiveName == h.name) hive = h.hive;
            if (!hive) Fail(line, "unknown hive " + hiveName);
            if (hive == HKEY_CURRENT_USER) {
                if (path.empty()) Fail(line, "HKEY_CURRENT_USER is written only below a key");
                Replace(path);
            } else {
                Map(hive);
            }
            if (RegCreateKeyExA(hive, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
                ERROR_SUCCESS)
                Fail(line, "cannot create " + full);
            continue;
        }
        if (!key) Fail(line, "a value before any key");
        std::string name;
        if (s.front() == '@') {
            s.remove_prefix(1);
        } else {
            name = Quoted(s, line);
        }
        if (s.empty() || s.front() != '=') Fail(line, "= expected");
        s.remove_prefix(1);
        DWORD type = REG_SZ;
        std::string data;
        if (!s.empty() && s.front() == '"') {
            data = Quoted(s, line);
            data.push_back('\0');
        } else if (s.substr(0, 6) == "dword:") {
            const DWORD n = std::stoul(std::string(s.substr(6)), nullptr, 16);
            type = REG_DWORD;
            data.assign(reinterpret_cast<const char*>(&n), sizeof n);
        } else if (s.substr(0, 4) == "hex:") {
            type = REG_BINARY;
            data = HexBytes(s.substr(4), line);
        } else if (s.substr(0, 4) == "hex(") {
            const size_t close = s.find("):");
            if (close == std::string_view::npos) Fail(line, "hex(n): expected");
            type = static_cast<DWORD>(std::stoul(std::string(s.substr(4, close - 4)), nullptr, 16));
            data = HexBytes(s.substr(close + 2), line);
        } else {
            Fail(line, "a value of an unknown form");
        }
        if (RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())) != ERROR_SUCCESS)
            Fail(line, "cannot write the value " + name);
    }
}

void RegistryFixture::LoadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("registry fixture: cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    Load(text.str());
}
