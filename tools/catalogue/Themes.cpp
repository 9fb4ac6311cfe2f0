// The theme table and the walk through a theme's folders.
#include "Themes.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace catalogue {

namespace fs = std::filesystem;

namespace {

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

// "32", "32x32": the size; "scalable…" and "symbolic": 0; anything else: nullopt.
std::optional<int> SizeFolder(std::string_view part) {
    if (part.starts_with("scalable") || part == "symbolic") return 0;
    const std::size_t x = part.find('x');
    std::string_view first = part.substr(0, x);
    if (!AllDigits(first) || first.size() > 4) return std::nullopt;
    if (x != std::string_view::npos && !AllDigits(part.substr(x + 1))) return std::nullopt;
    return std::stoi(std::string(first));
}

int Rank(const Source& s) {
    if (s.size == 32) return s.svg ? 1 : 0;
    if (s.size == 0) return 2;
    return s.svg ? 3 : 4;
}

// Every file or link to a file below the folder, sorted, so that every run walks the same order.
std::vector<fs::path> FilesBelow(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code e2;
        if (it->is_regular_file(e2)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

fs::path RealFile(const fs::path& p) {
    std::error_code ec;
    fs::path real = fs::canonical(p, ec);
    return ec ? p : real;
}

// One job per real file: names that lead to the same file share it.
void AddJob(std::map<std::pair<int, fs::path>, std::size_t>& byFile, Scan& scan, std::size_t theme, JobKind kind,
            std::vector<Source> sources, NameRef name) {
    const auto key = std::make_pair(static_cast<int>(kind), sources.front().file);
    auto [it, fresh] = byFile.try_emplace(key, scan.jobs.size());
    if (fresh) scan.jobs.push_back(Job{theme, kind, std::move(sources), {}});
    auto& names = scan.jobs[it->second].names;
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
}

}  // namespace

const std::vector<Theme>& CatalogueThemes() {
    static const std::vector<Theme> themes = {
        {"Tango", "tango-icon-theme", ThemeKind::Icons, "Tango"},
        {"gnome", "gnome-icon-theme", ThemeKind::Icons, "GNOME"},
        {"mate", "mate-icon-theme", ThemeKind::Icons, "MATE"},
        {"oxygen", "oxygen-icon-theme", ThemeKind::Icons, "Oxygen"},
        {"Adwaita", "adwaita-icon-theme", ThemeKind::Icons, "Adwaita"},
        {"elementary-xfce", "elementary-xfce-icon-theme", ThemeKind::Icons, "elementary Xfce"},
        {"Faenza", "faenza-icon-theme", ThemeKind::Icons, "Faenza"},
        {"Faba", "faba-icon-theme", ThemeKind::Icons, "Faba"},
        {"Numix", "numix-icon-theme", ThemeKind::Icons, "Numix"},
        {"Numix-Circle", "numix-icon-theme-circle", ThemeKind::Icons, "Numix Circle"},
        {"Papirus", "papirus-icon-theme", ThemeKind::Icons, "Papirus"},
        {"breeze", "breeze-icon-theme", ThemeKind::Icons, "Breeze"},
        {"Adwaita", "adwaita-icon-theme", ThemeKind::Cursors},
        {"DMZ-White", "dmz-cursor-theme", ThemeKind::Cursors},
        {"DMZ-Black", "dmz-cursor-theme", ThemeKind::Cursors},
        {"breeze_cursors", "breeze-cursor-theme", ThemeKind::Cursors},
        {"Breeze_Snow", "breeze-cursor-theme", ThemeKind::Cursors},
        {"whiteglass", "xcursor-themes", ThemeKind::Cursors},
        {"redglass", "xcursor-themes", ThemeKind::Cursors},
        {"handhelds", "xcursor-themes", ThemeKind::Cursors},
        {"crystalblue", "crystalcursors", ThemeKind::Cursors},
        {"crystalgray", "crystalcursors", ThemeKind::Cursors},
        {"crystalgreen", "crystalcursors", ThemeKind::Cursors},
        {"crystalwhite", "crystalcursors", ThemeKind::Cursors},
        {"Chameleon-Anthracite-Regular", "chameleon-cursor-theme", ThemeKind::Cursors},
        {"Chameleon-Pearl-Regular", "chameleon-cursor-theme", ThemeKind::Cursors},
        {"Chameleon-SkyBlue-Regular", "chameleon-cursor-theme", ThemeKind::Cursors},
        {"ComixCursors-Black", "comixcursors-righthanded", ThemeKind::Cursors},
        {"ComixCursors-White", "comixcursors-righthanded", ThemeKind::Cursors},
        {"ComixCursors-Blue", "comixcursors-righthanded", ThemeKind::Cursors},
        {"ComixCursors-Red", "comixcursors-righthanded", ThemeKind::Cursors},
    };
    return themes;
}

std::optional<ThemePath> ParseThemePath(const fs::path& relative) {
    ThemePath t;
    const std::string ext = relative.extension().string();
    if (ext == ".png") t.svg = false;
    else if (ext == ".svg") t.svg = true;
    else return std::nullopt;
    t.name = relative.stem().string();
    bool sized = false;
    for (auto it = relative.begin(); it != relative.end(); ++it) {
        if (std::next(it) == relative.end()) break;  // the file itself
        const std::string part = it->string();
        if (part.find('@') != std::string::npos) return std::nullopt;  // high-density copies
        if (auto size = SizeFolder(part)) {
            t.size = *size;
            sized = true;
        } else if (part != "base") {
            t.context = part;
        }
    }
    for (char& c : t.context) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!sized || t.context.empty() || t.name.empty()) return std::nullopt;
    return t;
}

std::optional<SeriesName> ParseSeriesName(std::string_view name) {
    std::size_t end = name.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) --end;
    if (end == name.size() || end == 0 || name.size() - end > 4) return std::nullopt;
    std::string_view series = name.substr(0, end);
    while (!series.empty() && (series.back() == '-' || series.back() == '_')) series.remove_suffix(1);
    if (series.empty()) return std::nullopt;
    return SeriesName{std::string(series), std::stoi(std::string(name.substr(end)))};
}

std::optional<Source> BestSource(const std::vector<Source>& candidates) {
    std::optional<Source> best;
    for (const Source& s : candidates) {
        if (s.size != 0 && s.size < 32) continue;
        if (!best || Rank(s) < Rank(*best) || (Rank(s) == Rank(*best) && s.size < best->size)) best = s;
    }
    return best;
}

Scan ScanIconTheme(const fs::path& folder, std::size_t theme) {
    Scan scan;
    // Every file of each (context, name), then one choice per name.
    std::map<std::pair<std::string, std::string>, std::vector<Source>> byName;
    for (const fs::path& file : FilesBelow(folder)) {
        auto t = ParseThemePath(file.lexically_relative(folder));
        if (!t) continue;
        ++scan.files;
        byName[{t->context, t->name}].push_back(Source{RealFile(file), t->size, t->svg});
    }

    std::map<std::pair<int, fs::path>, std::size_t> byFile;
    // Numbered frames of the animations folders, gathered by series.
    std::map<std::string, std::map<int, std::pair<Source, std::string>>> series;
    for (const auto& [key, candidates] : byName) {
        const auto& [context, name] = key;
        if (context == "animations") {
            // A strip of frames: a bitmap in a folder of at least the cell's size.
            std::optional<Source> strip;
            for (const Source& s : candidates)
                if (!s.svg && s.size >= 32 && (!strip || s.size < strip->size)) strip = s;
            if (auto s = ParseSeriesName(name)) {
                if (auto best = BestSource(candidates)) series[s->series][s->number] = {*best, name};
                else ++scan.tooSmall;
                continue;
            }
            if (strip) {
                AddJob(byFile, scan, theme, JobKind::Strip, {*strip}, {context, name});
                continue;
            }
        }
        auto best = BestSource(candidates);
        if (!best) {
            ++scan.tooSmall;
            continue;
        }
        AddJob(byFile, scan, theme, JobKind::Still, {*best}, {context, name});
    }
    for (auto& [name, frames] : series) {
        std::vector<Source> sources;
        for (auto& [number, frame] : frames) sources.push_back(frame.first);
        if (sources.size() < 3) {
            // Too short for an animation: the frames are still icons.
            for (auto& [number, frame] : frames)
                AddJob(byFile, scan, theme, JobKind::Still, {frame.first}, {"animations", frame.second});
            continue;
        }
        AddJob(byFile, scan, theme, JobKind::Series, std::move(sources), {"animations", name});
    }
    return scan;
}

Scan ScanCursorTheme(const fs::path& folder, std::size_t theme) {
    Scan scan;
    std::map<std::pair<int, fs::path>, std::size_t> byFile;
    for (const fs::path& file : FilesBelow(folder / "cursors")) {
        ++scan.files;
        AddJob(byFile, scan, theme, JobKind::Cursor, {Source{RealFile(file), 0, false}},
               {"cursors", file.filename().string()});
    }
    return scan;
}

}  // namespace catalogue
