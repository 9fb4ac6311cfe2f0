// The tests' temporary folder.
#include "ScratchFolder.h"

#include <algorithm>
#include <random>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::random_device seed;
    for (;;) {
        path_ = fs::temp_directory_path() / ("ornavale-test-" + std::to_string(seed()));
        if (fs::create_directory(path_)) break;
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    // Windows cannot remove the current directory or a folder above it, and the main window's start
    // makes its favorites folder the current directory.
    for (fs::path p = fs::current_path(ec); !ec && p.has_relative_path(); p = p.parent_path()) {
        if (fs::equivalent(p, path_, ec)) {
            fs::current_path(fs::temp_directory_path(ec), ec);
            break;
        }
    }
    // Nor a read-only file.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::vector<std::string> ScratchFolder::Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(path_))
        if (e.is_regular_file()) names.push_back(e.path().lexically_relative(path_).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
