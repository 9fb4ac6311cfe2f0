#include "SystemSnapshot.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "TestSupport.h"
#include "core/Files.h"
#include "formats/FileBytes.h"
#include "formats/LinkFile.h"
#include "ui/Unique.h"

struct KeptKeys::Tree {
    bool exists = false;
    struct Value {
        std::string name;
        DWORD type;
        std::string bytes;
    };
    std::vector<Value> values;
    std::vector<std::pair<std::string, Tree>> keys;
};

namespace {

using Tree = KeptKeys::Tree;

const char* HiveName(HKEY hive) {
    if (hive == HKEY_CLASSES_ROOT) return "HKCR";
    if (hive == HKEY_CURRENT_USER) return "HKCU";
    if (hive == HKEY_LOCAL_MACHINE) return "HKLM";
    if (hive == HKEY_USERS) return "HKU";
    return "?";
}

Tree ReadTree(HKEY parent, const std::string& key) {
    Tree tree;
    UniqueKey open;
    if (RegOpenKeyExA(parent, key.c_str(), 0, KEY_READ, open.put()) != ERROR_SUCCESS) return tree;
    tree.exists = true;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameLength = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(open.get(), i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::string bytes(size, '\0');
        nameLength = sizeof name;
        RegEnumValueA(open.get(), i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
        bytes.resize(size);
        tree.values.push_back({std::string(name, nameLength), type, std::move(bytes)});
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(open.get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        tree.keys.emplace_back(std::string(name, nameLength), ReadTree(open.get(), std::string(name, nameLength)));
    }
    return tree;
}

void WriteTree(HKEY parent, const std::string& key, const Tree& tree) {
    UniqueKey open;
    if (RegCreateKeyExA(parent, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, open.put(), nullptr) !=
        ERROR_SUCCESS)
        return;
    for (const Tree::Value& v : tree.values)
        RegSetValueExA(open.get(), v.name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.bytes.data()),
                       static_cast<DWORD>(v.bytes.size()));
    for (const auto& [name, sub] : tree.keys) WriteTree(open.get(), name, sub);
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char byte[4];
    for (unsigned char c : bytes) {
        std::snprintf(byte, sizeof byte, "%02x", c);
        out += out.empty() ? "" : ",";
        out += byte;
    }
    return out;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\0') out += "\\0";
        else out += c;
    }
    return out + "\"";
}

std::string ValueText(DWORD type, const std::string& bytes) {
    const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
    // A text is shown as text only when it is one, with its one terminating zero.
    if (text && !bytes.empty() && bytes.back() == '\0' && bytes.find('\0') == bytes.size() - 1)
        return TextValue(type, bytes.substr(0, bytes.size() - 1));
    if (type == REG_DWORD && bytes.size() == 4) {
        char number[16];
        std::snprintf(number, sizeof number, "dword:%08lx", static_cast<unsigned long>(*reinterpret_cast<const DWORD*>(bytes.data())));
        return number;
    }
    return "hex(" + std::to_string(type) + "):" + Hex(bytes);
}

void AddTree(SystemSnapshot& shot, const std::string& place, const Tree& tree) {
    if (!tree.exists) return;
    shot[place] = "key";
    for (const Tree::Value& v : tree.values) shot[place + ": " + (v.name.empty() ? "@" : v.name)] = ValueText(v.type, v.bytes);
    for (const auto& [name, sub] : tree.keys) AddTree(shot, place + "\\" + name, sub);
}

// FNV-1a of the bytes: enough to tell two pictures apart.
std::string Contents(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 1469598103934665603ULL;
    for (uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ULL;
    char text[64];
    std::snprintf(text, sizeof text, "%zu bytes, hash %016llx", bytes.size(), static_cast<unsigned long long>(hash));
    return text;
}

std::string Attributes(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return "";
    std::string out;
    if (a & FILE_ATTRIBUTE_DIRECTORY) out += "folder ";
    if (a & FILE_ATTRIBUTE_HIDDEN) out += "hidden ";
    if (a & FILE_ATTRIBUTE_SYSTEM) out += "system ";
    if (a & FILE_ATTRIBUTE_READONLY) out += "read-only ";
    return out.empty() ? "plain" : out.substr(0, out.size() - 1);
}

void AddFile(SystemSnapshot& shot, const std::string& path) {
    const std::string attributes = Attributes(path);
    if (attributes.empty()) return;
    shot[FilePlace(path) + " attributes"] = attributes;
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) return;
    const auto bytes = formats::ReadFileBytes(WidePath(path), 1 << 24);
    // A settings file is shown as its text, other files by size and hash.
    const bool text = path.size() > 4 && _stricmp(path.c_str() + path.size() - 4, ".ini") == 0;
    shot[FilePlace(path)] = !bytes ? "unreadable" : text ? Quoted(std::string(bytes->begin(), bytes->end())) : Contents(*bytes);
}

void AddFolder(SystemSnapshot& shot, const std::string& folder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(WidePath(folder), ec)) return;
    shot[FilePlace(folder)] = "folder";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(WidePath(folder), ec)) {
        const std::string path = entry.path().string();
        if (entry.is_directory()) shot[FilePlace(path)] = "folder";
        else if (const auto bytes = formats::ReadFileBytes(entry.path(), 1 << 24)) shot[FilePlace(path)] = Contents(*bytes);
        else shot[FilePlace(path)] = "unreadable";
    }
}

void AddLink(SystemSnapshot& shot, const std::string& path) {
    UniqueCom<IShellLinkA> link;
    UniqueCom<IPersistFile> file;
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                         reinterpret_cast<void**>(link.put())) != S_OK ||
        link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())) != S_OK ||
        file.get()->Load(WidePath(path).wstring().c_str(), STGM_READ) != S_OK) {
        shot[LinkPlace(path, "")] = "unreadable";
        return;
    }
    IShellLinkA* l = link.get();
    char text[1024] = {};
    int index = 0;
    WORD hotKey = 0;
    l->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH), shot[LinkPlace(path, "target")] = text;
    l->GetWorkingDirectory(text, sizeof text), shot[LinkPlace(path, "folder")] = text;
    l->GetArguments(text, sizeof text), shot[LinkPlace(path, "arguments")] = text;
    l->GetDescription(text, sizeof text), shot[LinkPlace(path, "description")] = text;
    l->GetIconLocation(text, sizeof text, &index), shot[LinkPlace(path, "icon")] = text;
    shot[LinkPlace(path, "icon index")] = std::to_string(index);
    l->GetHotkey(&hotKey), shot[LinkPlace(path, "hot key")] = std::to_string(hotKey);
    LPITEMIDLIST ids = nullptr;
    std::string idList;
    if (SUCCEEDED(l->GetIDList(&ids)) && ids) {
        idList = Hex(std::string(reinterpret_cast<const char*>(ids), ILGetSize(ids)));
        CoTaskMemFree(ids);
    }
    shot[LinkPlace(path, "item ids")] = idList;
    // The shell's reader of Wine does not give the show command back: the header holds it.
    const auto bytes = formats::ReadFileBytes(WidePath(path), 1 << 20);
    const auto header = bytes ? formats::CheckLinkFile(*bytes) : formats::Result<formats::LinkHeader>(formats::Fail(""));
    shot[LinkPlace(path, "show")] = header ? std::to_string(header->showCommand) : "unreadable";
}

}  // namespace

std::string KeyPlace(HKEY hive, const std::string& key) { return std::string(HiveName(hive)) + "\\" + key; }

std::string KeyPlace(HKEY hive, const std::string& key, const std::string& valueName) {
    return KeyPlace(hive, key) + ": " + (valueName.empty() ? "@" : valueName);
}

std::string FilePlace(const std::string& path) { return path; }

std::string FileText(const std::string& text) { return Quoted(text); }

std::string LinkPlace(const std::string& link, const char* field) { return "link " + link + " " + field; }

std::string TextValue(DWORD type, const std::string& text) {
    return (type == REG_EXPAND_SZ ? "REG_EXPAND_SZ " : type == REG_SZ ? "REG_SZ " : "type " + std::to_string(type) + " ") +
           Quoted(text);
}

SystemSnapshot TakeSnapshot(const SnapshotPlaces& places) {
    SystemSnapshot shot;
    for (const auto& [hive, key] : places.keys)
        AddTree(shot, KeyPlace(hive, key), ReadTree(hive, key));
    for (const std::string& folder : places.folders) AddFolder(shot, folder);
    for (const std::string& file : places.files) AddFile(shot, file);
    for (const std::string& link : places.links) AddLink(shot, link);
    return shot;
}

std::string SnapshotDifferences(const SystemSnapshot& expected, const SystemSnapshot& actual) {
    std::ostringstream out;
    auto e = expected.begin();
    auto a = actual.begin();
    while (e != expected.end() || a != actual.end()) {
        if (a == actual.end() || (e != expected.end() && e->first < a->first)) {
            out << "  missing  " << e->first << " = " << e->second << "\n";
            ++e;
        } else if (e == expected.end() || a->first < e->first) {
            out << "  added    " << a->first << " = " << a->second << "\n";
            ++a;
        } else {
            if (e->second != a->second)
                out << "  changed  " << e->first << ": " << e->second << "  ->  " << a->second << "\n";
            ++e, ++a;
        }
    }
    return out.str();
}

KeptKeys::KeptKeys(std::vector<std::pair<HKEY, std::string>> keys) : keys_(std::move(keys)) {
    for (const auto& [hive, key] : keys_) kept_.push_back(ReadTree(hive, key));
}

KeptKeys::~KeptKeys() {
    for (size_t i = 0; i < keys_.size(); ++i) {
        DeleteRegTree(keys_[i].first, keys_[i].second);
        if (kept_[i].exists) WriteTree(keys_[i].first, keys_[i].second, kept_[i]);
    }
}
