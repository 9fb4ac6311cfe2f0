// The unzip library's call sequence (archive, password, entries, folder, overwrite, run) over our reader.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace formats {

// One extraction set up step by step, then run by addUNZIP. The set-up calls answer 0; the
// names and their order are those of the library the program was written against.
class UnzipSession {
  public:
    std::int16_t addUNZIP_ArchiveName(const std::filesystem::path& archive);
    // The password of encrypted entries; empty for none.
    std::int16_t addUNZIP_Decrypt(const std::string& password);
    // Adds an entry name to extract (ASCII letters compared without regard to case). With none
    // added, addUNZIP extracts every file entry.
    std::int16_t addUNZIP_Include(const std::string& entryName);
    std::int16_t addUNZIP_ExtractTo(const std::filesystem::path& folder);
    // 0 keeps files that already exist in the target folder; any other value (the program
    // passes 11) replaces them.
    std::int16_t addUNZIP_Overwrite(std::int32_t mode);

    // Runs the extraction: the number of files written, or -1 when it failed (LastError says
    // why; files written before the failure stay). The included names are used up by the run.
    std::int32_t addUNZIP();

    // Why the last run failed or found nothing; empty after a clean run.
    const std::string& LastError() const { return lastError_; }

  private:
    std::filesystem::path archive_;
    std::filesystem::path folder_;
    std::string password_;
    std::vector<std::string> includes_;
    bool overwrite_ = false;
    std::string lastError_;
};

}  // namespace formats
