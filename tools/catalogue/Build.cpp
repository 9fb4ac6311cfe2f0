// The catalogue's entries from the themes' jobs.
#include "Build.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>
#include <unordered_map>

#include "Sources.h"

namespace catalogue {

namespace fs = std::filesystem;

namespace {

enum class Outcome { Made, Unreadable, Empty, FullCell };

struct Made {
    Outcome outcome = Outcome::Made;
    int shape = 0;  // 0 icon, 1 animation, 2 cursor
    Classified classified;
    char maskDigit = '0';
};

Made Failed(Outcome outcome) {
    Made m;
    m.outcome = outcome;
    return m;
}

std::optional<Rgba> ReadStill(const Source& s) {
    if (s.svg) return RenderSvg(s.file, kSide, kSide);
    return ReadPng(s.file);
}

// Leaves out frames that show nothing and frames seen before in the same animation (a loop that
// comes back), and thins an animation that is too long for the player.
std::vector<CellPicture> Frames(std::vector<CellPicture> cells, bool* capped) {
    std::vector<CellPicture> kept;
    for (auto& c : cells)
        if (OpaqueCount(c) >= kMinOpaquePixels && std::find(kept.begin(), kept.end(), c) == kept.end())
            kept.push_back(c);
    if (kept.size() > kMaxFrames) {
        *capped = true;
        const std::size_t step = (kept.size() + kMaxFrames - 1) / kMaxFrames;
        std::vector<CellPicture> thin;
        for (std::size_t i = 0; i < kept.size(); i += step) thin.push_back(kept[i]);
        kept = std::move(thin);
    }
    return kept;
}

Made MakeJob(const Job& job, bool* capped) {
    Made m;
    std::vector<Rgba> fitted;
    switch (job.kind) {
        case JobKind::Still: {
            auto p = ReadStill(job.sources.front());
            if (!p) return Failed(Outcome::Unreadable);
            fitted.push_back(FitToCell(*p, Place::Centre));
            break;
        }
        case JobKind::Strip: {
            auto p = ReadPng(job.sources.front().file);
            if (!p) return Failed(Outcome::Unreadable);
            auto frames = SplitFrames(*p, job.sources.front().size);
            if (frames.empty()) return Failed(Outcome::Unreadable);
            for (const Rgba& f : frames) fitted.push_back(FitToCell(f, Place::Centre));
            m.shape = 1;
            break;
        }
        case JobKind::Series:
            for (const Source& s : job.sources) {
                auto p = ReadStill(s);
                if (!p) return Failed(Outcome::Unreadable);
                fitted.push_back(FitToCell(*p, Place::Centre));
            }
            m.shape = 1;
            break;
        case JobKind::Cursor: {
            auto frames = CursorFrames(ReadXcursor(job.sources.front().file));
            if (frames.empty()) return Failed(Outcome::Unreadable);
            for (const Rgba& f : frames) fitted.push_back(FitToCell(f, Place::TopLeft));
            m.shape = frames.size() > 1 ? 1 : 2;
            break;
        }
    }
    const int threshold = AlphaThreshold(fitted);
    std::vector<CellPicture> cells;
    for (const Rgba& f : fitted) cells.push_back(ToCell(f, threshold));
    auto frames = Frames(std::move(cells), capped);
    if (frames.empty()) return Failed(Outcome::Empty);
    // A picture that fills its whole cell leaves no room for the mask colour around it.
    for (const auto& f : frames)
        if (!HasBackground(f)) return Failed(Outcome::FullCell);
    // An animation of one frame left is a still picture of its kind.
    if (frames.size() == 1 && m.shape == 1) m.shape = job.kind == JobKind::Cursor ? 2 : 0;
    m.classified = Classify(std::move(frames));
    m.maskDigit = ChooseMaskDigit(m.classified.frames);
    return m;
}

struct Unit {
    std::size_t theme;
    NameRef primary;
    Entry entry;
    PictureWords words;
};

// A picture's words from the names its theme gives it; and its theme's design group, also when it
// is the same picture as one stored before from another theme.
void AddWords(PictureWords& w, const Job& job, int shape) {
    if (const std::string_view design = CatalogueThemes()[job.theme].design; !design.empty())
        w.contexts.insert(DesignGroup(design));
    for (const NameRef& n : job.names) {
        for (auto& c : NameWords(n.context)) w.contexts.insert(c);
        for (auto& word : NameWords(n.name)) w.words.insert(word);
    }
    if (shape == 1) w.contexts.insert("animations");
    if (job.kind == JobKind::Cursor) w.contexts.insert("cursors");
}

}  // namespace

Built BuildEntries(const fs::path& iconsRoot, unsigned threads) {
    Built built;
    const auto& themes = CatalogueThemes();
    built.themes.resize(themes.size());

    std::vector<Job> jobs;
    for (std::size_t t = 0; t < themes.size(); ++t) {
        const fs::path folder = iconsRoot / std::string(themes[t].name);
        std::error_code ec;
        const bool cursors = themes[t].kind == ThemeKind::Cursors;
        if (!fs::is_directory(cursors ? folder / "cursors" : folder, ec)) continue;
        Scan scan = cursors ? ScanCursorTheme(folder, t) : ScanIconTheme(folder, t);
        ThemeFigures& f = built.themes[t];
        f.present = true;
        f.files = scan.files;
        f.jobs = scan.jobs.size();
        f.tooSmall = scan.tooSmall;
        for (Job& j : scan.jobs) jobs.push_back(std::move(j));
    }

    std::vector<Made> made(jobs.size());
    std::vector<char> capped(jobs.size(), 0);
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < jobs.size();) {
            bool c = false;
            made[i] = MakeJob(jobs[i], &c);
            capped[i] = c;
        }
    };
    std::vector<std::thread> pool;
    for (unsigned n = 0; n < std::max(1u, threads); ++n) pool.emplace_back(work);
    for (auto& t : pool) t.join();

    // Animations first, so that a still picture equal to one of their frames is the one left out.
    std::vector<Unit> units;
    std::unordered_multimap<std::uint64_t, std::pair<std::size_t, std::size_t>> seen;  // hash → unit, frame
    auto find = [&](const CellPicture& c) -> const std::pair<std::size_t, std::size_t>* {
        auto [lo, hi] = seen.equal_range(PictureHash(c));
        for (auto it = lo; it != hi; ++it)
            if (units[it->second.first].entry.frames[it->second.second] == c) return &it->second;
        return nullptr;
    };
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            const Made& m = made[i];
            ThemeFigures& f = built.themes[jobs[i].theme];
            if (pass == 0) {
                if (m.outcome == Outcome::Unreadable) ++f.unreadable;
                if (m.outcome == Outcome::Empty) ++f.empty;
                if (m.outcome == Outcome::FullCell) ++f.fullCell;
            }
            if (m.outcome != Outcome::Made || (m.shape == 1) != (pass == 0)) continue;
            const auto& frames = m.classified.frames;
            const std::pair<std::size_t, std::size_t>* before = nullptr;
            for (const auto& c : frames)
                if ((before = find(c))) break;
            if (before) {
                ++f.duplicates;
                // The same still picture under another name: its words name it too.
                Unit& u = units[before->first];
                if (frames.size() == 1 && u.entry.frames.size() == 1) AddWords(u.words, jobs[i], m.shape);
                continue;
            }
            if (capped[i]) ++built.cappedAnimations;
            if (m.classified.reduced)
                ++(m.classified.colourClass == ColourClass::Colours16 ? built.reduced16 : built.reduced256);
            Unit u{jobs[i].theme, jobs[i].names.front(),
                   Entry{frames, TypeCode(m.classified.colourClass, m.shape), m.maskDigit}, {}};
            AddWords(u.words, jobs[i], m.shape);
            for (std::size_t k = 0; k < frames.size(); ++k) seen.emplace(PictureHash(frames[k]), std::make_pair(units.size(), k));
            units.push_back(std::move(u));
        }

    // Catalogue order: theme, context, name; related pictures share their libraries.
    std::vector<std::size_t> order(units.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const Unit &x = units[a], &y = units[b];
        return std::tie(x.theme, x.primary.context, x.primary.name) < std::tie(y.theme, y.primary.context, y.primary.name);
    });
    for (std::size_t i : order) {
        Unit& u = units[i];
        ThemeFigures& f = built.themes[u.theme];
        ++f.stored[static_cast<std::size_t>(u.entry.typeCode - '0')];
        f.cells += u.entry.frames.size();
        built.entries.push_back(std::move(u.entry));
        built.words.push_back(std::move(u.words));
        built.theme.push_back(u.theme);
    }
    return built;
}

}  // namespace catalogue
