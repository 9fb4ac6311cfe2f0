// The unzip library's call sequence over the ZIP reader and the safe extractor.
#include "formats/Unzip.h"

#include "formats/ZipExtract.h"
#include "formats/ZipReader.h"

namespace formats {

std::int16_t UnzipSession::addUNZIP_ArchiveName(const std::filesystem::path& archive) {
    archive_ = archive;
    return 0;
}

std::int16_t UnzipSession::addUNZIP_Decrypt(const std::string& password) {
    password_ = password;
    return 0;
}

std::int16_t UnzipSession::addUNZIP_Include(const std::string& entryName) {
    includes_.push_back(entryName);
    return 0;
}

std::int16_t UnzipSession::addUNZIP_ExtractTo(const std::filesystem::path& folder) {
    folder_ = folder;
    return 0;
}

std::int16_t UnzipSession::addUNZIP_Overwrite(std::int32_t mode) {
    overwrite_ = mode != 0;
    return 0;
}

std::int32_t UnzipSession::addUNZIP() {
    std::vector<std::string> includes = std::move(includes_);
    includes_.clear();
    lastError_.clear();
    if (folder_.empty()) {
        lastError_ = "no target folder";
        return -1;
    }
    auto archive = ZipArchive::OpenFile(archive_);
    if (!archive) {
        lastError_ = archive.error();
        return -1;
    }

    std::vector<std::size_t> chosen;
    if (includes.empty()) {
        for (std::size_t i = 0; i < archive->Entries().size(); ++i)
            if (!archive->Entries()[i].IsFolder()) chosen.push_back(i);
    } else {
        for (const auto& name : includes) {
            if (auto i = archive->Find(name)) chosen.push_back(*i);
            else lastError_ = "no entry named " + name;
        }
    }

    std::int32_t written = 0;
    for (std::size_t i : chosen) {
        auto done = ExtractEntry(*archive, i, folder_, password_, overwrite_);
        if (!done) {
            lastError_ = done.error();
            return -1;
        }
        if (done->written) ++written;
    }
    return written;
}

}  // namespace formats
