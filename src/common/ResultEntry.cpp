// The texts of the result set: every entry layout composed and read in one place.
#include "common/ResultEntry.h"

#include "common/ShortcutOrigin.h"
#include "formats/Catalogue.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace {

constexpr std::array<std::pair<SourceKind, std::string_view>, 8> kKinds{{
    {SourceKind::Book, "book"},
    {SourceKind::Open, "open"},
    {SourceKind::User, "user"},
    {SourceKind::Shor, "shor"},
    {SourceKind::Sycu, "sycu"},
    {SourceKind::Sytu, "sytu"},
    {SourceKind::Syas, "syas"},
    {SourceKind::Sysy, "sysy"},
}};

// Stands for a ";" of a shortcut's target in its label.
constexpr char kCutTarget = '|';

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

std::optional<int32_t> ToInt32(std::string_view s) {
    int32_t value = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

std::string FileLayout(std::string_view file, std::string_view index, std::string_view label,
                       char typeCode, SourceKind kind) {
    std::string text;
    text.reserve(file.size() + index.size() + label.size() + 8);
    text.append(file).append(";").append(index).append(";").append(label).append(";");
    text.push_back(typeCode);
    text.append(SourceKindText(kind));
    return text;
}

}  // namespace

std::string_view SourceKindText(SourceKind kind) {
    for (const auto& [k, text] : kKinds)
        if (k == kind) return text;
    return {};
}

std::optional<SourceKind> SourceKindFromText(std::string_view text) {
    for (const auto& [kind, t] : kKinds)
        if (t == text) return kind;
    return std::nullopt;
}

std::optional<CatalogueRef> ParseCatalogueRef(std::string_view token) {
    size_t first = token.find(':');
    if (first == std::string_view::npos) return std::nullopt;
    size_t second = token.find(':', first + 1);
    if (second == std::string_view::npos || token.size() - second - 1 < 2) return std::nullopt;
    std::string_view library = token.substr(0, first);
    std::string_view cell = token.substr(first + 1, second - first - 1);
    if (!formats::IsLibraryNumber(library) || !AllDigits(cell)) return std::nullopt;
    auto cellNumber = ToInt32(cell);
    if (!cellNumber) return std::nullopt;
    CatalogueRef ref;
    ref.token = std::string(token);
    ref.library = std::string(library);
    ref.cell = *cellNumber;
    ref.maskDigit = token[token.size() - 2];
    ref.typeCode = token.back();
    return ref;
}

std::optional<int32_t> ResultEntry::IndexNumber() const {
    std::string_view s = index;
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return ToInt32(s);
}

std::optional<ResultEntry> ParseEntry(std::string_view text) {
    if (text.size() < 5) return std::nullopt;
    auto kind = SourceKindFromText(text.substr(text.size() - 4));
    if (!kind) return std::nullopt;
    ResultEntry entry;
    entry.kind = *kind;
    entry.typeCode = text[text.size() - 5];
    if (*kind == SourceKind::Book) {
        auto ref = ParseCatalogueRef(text.substr(0, text.size() - 4));
        if (!ref) return std::nullopt;
        entry.ref = std::move(*ref);
        return entry;
    }
    // "<file>;<index>;<label>;": the label and the index hold no ";", the file may.
    std::string_view fields = text.substr(0, text.size() - 5);
    if (fields.empty() || fields.back() != ';') return std::nullopt;
    fields.remove_suffix(1);
    size_t labelStart = fields.rfind(';');
    if (labelStart == std::string_view::npos || labelStart == 0) return std::nullopt;
    size_t indexStart = fields.rfind(';', labelStart - 1);
    if (indexStart == std::string_view::npos || indexStart == 0) return std::nullopt;
    entry.file = std::string(fields.substr(0, indexStart));
    entry.index = std::string(fields.substr(indexStart + 1, labelStart - indexStart - 1));
    entry.label = std::string(fields.substr(labelStart + 1));
    return entry;
}

std::string ComposeEntry(const ResultEntry& entry) {
    if (entry.kind == SourceKind::Book) return BookEntry(entry.ref.token);
    return FileLayout(entry.file, entry.index, entry.label, entry.typeCode, entry.kind);
}

std::string BookEntry(std::string_view token) { return std::string(token) + "book"; }

std::string OpenEntry(std::string_view file, int32_t index, std::string_view label, char typeCode) {
    return FileLayout(file, std::to_string(index), label, typeCode, SourceKind::Open);
}

std::string LabelText(std::string_view text) {
    std::string label(text);
    std::replace(label.begin(), label.end(), ';', ',');
    return label;
}

std::string ShortcutEntry(std::string_view iconFile, int32_t iconIndex, std::string_view target) {
    std::string label(target);
    std::replace(label.begin(), label.end(), ';', kCutTarget);
    return FileLayout(iconFile, std::to_string(iconIndex), label, 's', SourceKind::Shor);
}

bool IsWholeTarget(std::string_view label) { return label.find(kCutTarget) == std::string_view::npos; }

std::string CurrentCursorEntry(std::string_view file, int32_t frame, std::string_view valueName,
                               bool animated) {
    std::string key = "Control Panel\\Cursors\\" + std::string(valueName);
    return FileLayout(file, std::to_string(frame), key, animated ? 'g' : 'c', SourceKind::Sycu);
}

std::string DefaultCursorEntry(int32_t cursorId) {
    return FileLayout("default", "0", std::to_string(cursorId), 'c', SourceKind::Sycu);
}

std::string SchemeCursorEntry(std::string_view file, int32_t frame, std::string_view scheme,
                              int32_t position, bool animated) {
    std::string key = "Control Panel\\Cursors\\Schemes\\" + LabelText(scheme) + ":" + std::to_string(position);
    if (file.empty()) return FileLayout("default", "0", key, 't', SourceKind::Sytu);
    return FileLayout(file, std::to_string(frame), key, animated ? 'a' : 't', SourceKind::Sytu);
}

std::string FileTypeEntry(std::string_view iconFile, std::string_view index,
                          std::string_view description, std::string_view extension) {
    std::string label = std::string(description) + " (*" + std::string(extension) + ")";
    return FileLayout(iconFile, index, label, 'f', SourceKind::Syas);
}

std::string SystemIconEntry(std::string_view iconFile, std::string_view index,
                            std::string_view rowName) {
    return FileLayout(iconFile, index, rowName, 'w', SourceKind::Sysy);
}

std::optional<std::string> UserEntry(std::string_view fileEntry, int typeDigit) {
    auto entry = ParseEntry(fileEntry);
    if (!entry || entry->kind == SourceKind::Book || typeDigit < 0 || typeDigit > 8)
        return std::nullopt;
    std::string text(fileEntry.substr(0, fileEntry.size() - 5));
    text.push_back(static_cast<char>('0' + typeDigit));
    text.append("user");
    return text;
}

std::optional<int32_t> CurrentCursorId(std::string_view key) {
    return AllDigits(key) ? ToInt32(key) : std::nullopt;
}

std::optional<int32_t> SchemeCursorPosition(std::string_view key) {
    size_t colon = key.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    std::string_view digits = key.substr(colon + 1);
    if (!AllDigits(digits)) return std::nullopt;
    return ToInt32(digits);
}

std::string_view procSetTypeName(char typeCode) {
    switch (typeCode) {
        case '0': return "16 Color Icon";
        case '1': return "256 Color Icon";
        case '2': return "Hi-Color Icon";
        case '3': return "16 Color Animation";
        case '4': return "256 Color Animation";
        case '5': return "Hi-Color Animation";
        case '6': return "16 Color Cursor";
        case '7': return "256 Color Cursor";
        case '8': return "Hi-Color Cursor";
        case 'a': return "Animated Icon";
        case 'g': return "Animated Cursor";
        case 'd':
        case 'e':
        case 'i': return "Icon Library";
        case 's': return "Shortcut Icon";
        case 'c': return "Current Cursor";
        case 't': return "Theme Cursor";
        case 'f': return "File Type Icon";
        case 'w': return "System Icon";
        default: return {};
    }
}

std::optional<uint32_t> MaskColorFor(char maskDigit) { return formats::MaskColor(maskDigit); }

bool IsFavoritePath(std::string_view path, std::string_view favDir) {
    if (favDir.empty() || favDir.size() > path.size()) return false;
    for (size_t i = 0; i + favDir.size() <= path.size(); ++i)
        if (SameText(path.substr(i, favDir.size()), favDir)) return true;
    return false;
}

std::string OriginText(const ResultEntry& entry, const OriginContext& context) {
    switch (entry.kind) {
        case SourceKind::Book: return "Ornavale";
        case SourceKind::Open:
            return context.favoritesMode || IsFavoritePath(entry.file, context.favDir)
                       ? "File Favorite"
                       : "File";
        case SourceKind::User: return "Reference";
        case SourceKind::Shor: return ShortcutOrigin(context.shortcutLink, {}, context.shortcutBase);
        case SourceKind::Sycu:
        case SourceKind::Sytu: return entry.file == "default" ? "Windows Default" : "File";
        case SourceKind::Syas:
        case SourceKind::Sysy: return "File";
    }
    return {};
}
