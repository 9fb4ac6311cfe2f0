// The tests' one temporary folder: a fresh folder under the system's temporary folder, removed with
// everything in it at the end. Built natively too, so std::filesystem only.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / std::string(name); }
    // The names of every file below the folder, relative and sorted.
    std::vector<std::string> Files() const;

  private:
    std::filesystem::path path_;
};

// The names of the entries directly in `folder`, sorted; none when it is missing.
std::vector<std::string> NamesIn(const std::filesystem::path& folder);
