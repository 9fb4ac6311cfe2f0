// catalogue: builds the program's icon catalogue ("Icondata.dat", "Iconlib.res" …) from the icon and
// cursor themes installed from Debian's packages, with their licences beside it.
//
//   catalogue OUTDIR [--icons FOLDER] [--threads N]
//
// The same installed packages give the same bytes. It prints what it read, left out and wrote.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "Build.h"
#include "formats/Catalogue.h"
#include "formats/FileBytes.h"

namespace fs = std::filesystem;
using namespace catalogue;

namespace {

constexpr const char* kTypeNames[9] = {"16-colour icons",      "256-colour icons",      "hi-colour icons",
                                       "16-colour animations", "256-colour animations", "hi-colour animations",
                                       "16-colour cursors",    "256-colour cursors",    "hi-colour cursors"};

std::string PackageVersion(std::string_view package) {
    const std::string command = "dpkg-query -W -f='${Version}' " + std::string(package) + " 2>/dev/null";
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    return out.empty() ? "(version unknown)" : out;
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Each used theme's Debian copyright file (its authors and licence) and the common licence texts
// it refers to, in OUTDIR/licences; and a list of the themes with what each gave.
bool WriteLicences(const fs::path& out, const Built& built, std::size_t* licenceFiles) {
    const fs::path folder = out / "licences";
    std::error_code ec;
    fs::create_directories(folder / "common", ec);
    const auto& themes = CatalogueThemes();
    std::set<std::string> packages, common;
    std::ostringstream list;
    list << "The catalogue's pictures come from these icon and cursor themes, as Debian packages them.\r\n"
            "Each package's authors and licence are in the file named after it in this folder.\r\n\r\n";
    for (std::size_t t = 0; t < themes.size(); ++t) {
        const ThemeFigures& f = built.themes[t];
        std::size_t stored = 0;
        for (std::size_t n : f.stored) stored += n;
        if (stored == 0) continue;
        const std::string package(themes[t].package);
        list << themes[t].name << (themes[t].kind == ThemeKind::Cursors ? " (cursors)" : "") << ": " << stored
             << " icons, animations or cursors in " << f.cells << " pictures, package " << package << " " << PackageVersion(package) << ", licences/" << package
             << ".txt\r\n";
        if (!packages.insert(package).second) continue;
        const fs::path copyright = fs::path("/usr/share/doc") / package / "copyright";
        const std::string text = ReadText(copyright);
        if (text.empty()) {
            std::cerr << "catalogue: no copyright file " << copyright << "\n";
            return false;
        }
        if (!formats::WriteFileBytes(folder / (package + ".txt"),
                                     {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}))
            return false;
        static const std::regex kCommon("/usr/share/common-licenses/([A-Za-z0-9.+-]+)");
        for (std::sregex_iterator it(text.begin(), text.end(), kCommon), end; it != end; ++it) common.insert((*it)[1]);
    }
    for (const std::string& name : common) {
        const std::string text = ReadText(fs::path("/usr/share/common-licenses") / name);
        if (text.empty()) continue;
        if (!formats::WriteFileBytes(folder / "common" / (name + ".txt"),
                                     {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}))
            return false;
    }
    const std::string listText = list.str();
    *licenceFiles = packages.size() + common.size();
    return formats::WriteFileBytes(folder / "catalogue-themes.txt",
                                   {reinterpret_cast<const std::uint8_t*>(listText.data()), listText.size()})
        .ok();
}

}  // namespace

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    fs::path out, icons = "/usr/share/icons";
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--icons" && i + 1 < argc) icons = argv[++i];
        else if (a == "--threads" && i + 1 < argc) threads = static_cast<unsigned>(std::stoul(argv[++i]));
        else if (out.empty() && !a.starts_with("-")) out = a;
        else {
            std::cerr << "usage: catalogue OUTDIR [--icons FOLDER] [--threads N]\n";
            return 2;
        }
    }
    if (out.empty()) {
        std::cerr << "usage: catalogue OUTDIR [--icons FOLDER] [--threads N]\n";
        return 2;
    }
    std::error_code ec;
    fs::create_directories(out, ec);
    // The index is written last: a run that fails half-way leaves no index, and the next run starts again.
    fs::remove(out / "Icondata.dat", ec);

    Built built = BuildEntries(icons, threads);
    const auto read = std::chrono::steady_clock::now();

    KeywordPlan plan = ChooseKeywords(built.words);
    std::vector<std::vector<std::size_t>> byKeyword(plan.keywords.size());
    std::size_t unfiled = 0;
    for (std::size_t e = 0; e < plan.pictures.size(); ++e) {
        if (plan.pictures[e].empty()) ++unfiled;
        for (std::size_t k : plan.pictures[e]) byKeyword[k].push_back(e);
    }
    if (unfiled > 0) {
        std::cerr << "catalogue: " << unfiled << " pictures without a keyword\n";
        return 1;
    }
    auto placements = Place(built.entries, formats::kLastLibrary);
    if (!placements) {
        std::cerr << "catalogue: " << placements.error() << "\n";
        return 1;
    }
    const auto libraries = LibraryPictures(built.entries, placements.value());
    auto archives = WriteArchives(out, libraries);
    if (!archives) {
        std::cerr << "catalogue: " << archives.error() << "\n";
        return 1;
    }
    std::size_t licenceFiles = 0;
    if (!WriteLicences(out, built, &licenceFiles)) {
        std::cerr << "catalogue: cannot write the licences\n";
        return 1;
    }
    const std::string index = IndexText(plan.keywords, byKeyword, built.entries, placements.value());
    if (auto ok = formats::WriteFileBytes(out / "Icondata.dat",
                                          {reinterpret_cast<const std::uint8_t*>(index.data()), index.size()});
        !ok) {
        std::cerr << "catalogue: Icondata.dat: " << ok.error() << "\n";
        return 1;
    }

    // The report.
    const auto& themes = CatalogueThemes();
    std::array<std::size_t, 9> perType{};
    std::size_t cells = 0, tokens = 0;
    std::printf("files: picture files seen; tried: pictures made of them; small: names with bitmaps under 32 pixels only;\n"
                "unread: files that could not be read; empty: nothing left at 32x32; full: no room for the mask colour;\n"
                "dupl: the same picture stored before; stored: entries kept, then by type code 0-8\n\n");
    std::printf("%-30s %6s %6s %6s %6s %6s %6s %6s %6s | %5s %5s %5s %5s %5s %5s %5s %5s %5s\n", "theme", "files",
                "tried", "small", "unread", "empty", "full", "dupl", "stored", "0", "1", "2", "3", "4", "5", "6", "7", "8");
    for (std::size_t t = 0; t < themes.size(); ++t) {
        const ThemeFigures& f = built.themes[t];
        std::string name = std::string(themes[t].name) + (themes[t].kind == ThemeKind::Cursors ? " (cursors)" : "");
        if (!f.present) {
            std::printf("%-30s not installed (package %s): skipped\n", name.c_str(), std::string(themes[t].package).c_str());
            continue;
        }
        std::size_t stored = 0;
        for (std::size_t n : f.stored) stored += n;
        std::printf("%-30s %6zu %6zu %6zu %6zu %6zu %6zu %6zu %6zu |", name.c_str(), f.files, f.jobs, f.tooSmall,
                    f.unreadable, f.empty, f.fullCell, f.duplicates, stored);
        for (std::size_t n : f.stored) std::printf(" %5zu", n);
        std::printf("\n");
    }
    for (const Entry& e : built.entries) {
        ++perType[static_cast<std::size_t>(e.typeCode - '0')];
        cells += e.frames.size();
        (void)e;
    }
    for (const auto& list : byKeyword) tokens += list.size();
    std::printf("\nentries by class:\n");
    for (int c = 0; c < 9; ++c) std::printf("  %d %-22s %6zu\n", c, kTypeNames[c], perType[static_cast<std::size_t>(c)]);
    std::printf("entries %zu, pictures (cells) %zu, animations thinned to %zu frames: %zu\n", built.entries.size(), cells,
                kMaxFrames, built.cappedAnimations);
    std::printf("reduced to 16 colours: %zu, to 256 colours: %zu\n", built.reduced16, built.reduced256);
    std::printf("keywords %zu, filings of entries under keywords %zu, Icondata.dat %zu bytes\n", plan.keywords.size(),
                tokens, index.size());
    std::printf("libraries %zu in", libraries.size());
    for (const auto& a : archives.value()) std::printf(" %s", a.c_str());
    std::printf("; licence files %zu\n", licenceFiles);
    const auto end = std::chrono::steady_clock::now();
    auto secs = [](auto d) { return std::chrono::duration<double>(d).count(); };
    std::printf("time: %.1f s (reading and making the pictures %.1f s, writing %.1f s, %u threads)\n", secs(end - start),
                secs(read - start), secs(end - read), threads);
    return 0;
}
