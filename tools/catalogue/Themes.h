// The icon and cursor themes the catalogue is made of, and what each of them offers: one job per
// picture to make (a still icon, an animation strip, a numbered frame series or a cursor).
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

enum class ThemeKind { Icons, Cursors };

struct Theme {
    std::string_view name;     // the theme's folder under the icons folder
    std::string_view package;  // the Debian package that installs it, whose copyright file we ship
    ThemeKind kind;
    std::string_view design = {};  // an icon theme's design as its users know it, the name of its design group
};

// The themes in catalogue order: a picture that two themes share is stored as the first's.
const std::vector<Theme>& CatalogueThemes();

// What a file's place inside an icon theme says: "32x32/apps/x.png", "apps/32/x.svg",
// "base/48x48/places/y.png", "scalable/status/z-symbolic.svg".
struct ThemePath {
    int size = 0;           // pixels of the size folder; 0 for scalable pictures
    std::string context;    // "apps", "places" …
    std::string name;       // the file name without its extension
    bool svg = false;
};
// nullopt for files that are no PNG or SVG, for high-density folders ("32x32@2x") and for paths
// without a size folder or a context.
std::optional<ThemePath> ParseThemePath(const std::filesystem::path& relative);

// The name of a numbered frame ("nm-stage01-connecting07") split into its series and its number.
struct SeriesName {
    std::string series;
    int number = 0;
};
std::optional<SeriesName> ParseSeriesName(std::string_view name);

struct Source {
    std::filesystem::path file;  // the real file, links followed
    int size = 0;                // as in ThemePath
    bool svg = false;
};

// Among the files of one name, the one to make a 32×32 picture of: a 32 folder's PNG, then its
// SVG, then a scalable SVG, then the smallest larger SVG, then the smallest larger PNG. nullopt
// when there are only smaller bitmaps.
std::optional<Source> BestSource(const std::vector<Source>& candidates);

enum class JobKind { Still, Strip, Series, Cursor };

struct NameRef {
    std::string context;
    std::string name;
    friend bool operator==(const NameRef&, const NameRef&) = default;
};

struct Job {
    std::size_t theme = 0;
    JobKind kind = JobKind::Still;
    std::vector<Source> sources;  // one file; for a series its frames in order
    std::vector<NameRef> names;   // every name the theme gives this picture
};

struct Scan {
    std::vector<Job> jobs;
    std::size_t files = 0;     // picture files seen
    std::size_t tooSmall = 0;  // names with only bitmaps smaller than a cell
};

// The jobs of an icon theme's folder, in a fixed order (by context and name).
Scan ScanIconTheme(const std::filesystem::path& folder, std::size_t theme);
// The jobs of a cursor theme's folder (its "cursors" folder inside).
Scan ScanCursorTheme(const std::filesystem::path& folder, std::size_t theme);

}  // namespace catalogue
