// Reading user files for the result set.
#include "common/FileIconReader.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <optional>

#include "formats/ExeIcons.h"
#include "ui/Unique.h"
#include "ui/Win.h"

namespace {

// A user's file opened for reading, others still free to read and write it.
UniqueFile OpenUserFile(const std::string& path, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    return UniqueFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, flags, nullptr));
}

// Up to `size` bytes at `offset` of an open file, with one positioned read.
bool ReadFileAt(HANDLE file, uint64_t offset, size_t size, std::vector<uint8_t>& out) {
    out.resize(size);
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    if (!ReadFile(file, out.data(), static_cast<DWORD>(size), &got, &at) && GetLastError() != ERROR_HANDLE_EOF)
        return false;
    out.resize(got);
    return true;
}

}  // namespace

formats::Result<formats::ModuleIcons> OpenModuleIcons(const std::string& path, size_t window) {
    auto file = std::make_shared<UniqueFile>(OpenUserFile(path));
    if (!*file) return formats::Fail("the file could not be opened");
    return formats::ModuleIcons::Open([file](uint64_t offset, size_t size, std::vector<uint8_t>& out) {
        return ReadFileAt(file->get(), offset, size, out);
    }, window);
}

namespace {

// The icon groups of a program, library or icon library, as the shell counts them, read from the
// headers. A file the reader cannot make out gives none: the system is never asked about a file
// whose headers may lie.
int32_t LibraryIconCount(const std::string& path) {
    auto module = OpenModuleIcons(path);
    return module ? static_cast<int32_t>(module->GroupCount()) : 0;
}

// The kept bytes by path, and how much they hold.
struct KeptFiles {
    std::mutex mutex;
    std::unordered_map<std::string, FileBytes> files;
    size_t bytes = 0;
};

KeptFiles& Kept() {
    static KeptFiles kept;
    return kept;
}

void KeepFileBytes(const std::string& path, const FileBytes& bytes) {
    if (bytes->size() > kMaxKeptFileBytes) return;
    KeptFiles& kept = Kept();
    std::lock_guard<std::mutex> lock(kept.mutex);
    if (kept.bytes + bytes->size() > kMaxKeptBytes) return;
    auto [at, added] = kept.files.try_emplace(path, bytes);
    if (added) kept.bytes += bytes->size();
}

}  // namespace

FileBytes KeptFileBytes(const std::string& path) {
    KeptFiles& kept = Kept();
    std::lock_guard<std::mutex> lock(kept.mutex);
    auto found = kept.files.find(path);
    return found != kept.files.end() ? found->second : nullptr;
}

void ForgetKeptFileBytes() {
    KeptFiles& kept = Kept();
    std::lock_guard<std::mutex> lock(kept.mutex);
    kept.files.clear();
    kept.bytes = 0;
}

std::optional<std::vector<uint8_t>> ReadUserFile(const std::string& path, uint64_t maxBytes, bool whole) {
    UniqueFile file = OpenUserFile(path, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
    uint64_t wanted = static_cast<uint64_t>(size.QuadPart);
    if (wanted > maxBytes) {
        if (whole) return std::nullopt;
        wanted = maxBytes;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(wanted));
    DWORD got = 0;
    if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                           got != bytes.size()))
        return std::nullopt;
    return bytes;
}

FileIconCount ReadFileIconCount(const std::string& path) {
    const IconFileType type = IconFileTypeOf(path);
    switch (type) {
        case IconFileType::Other: return {};
        case IconFileType::Icl:
        case IconFileType::Dll:
        case IconFileType::Exe: return {LibraryIconCount(path), 0};
        case IconFileType::Ico:
        case IconFileType::Cur:
        case IconFileType::Ani: break;
    }
    auto read = ReadUserFile(path, kMaxIconFileBytes, true);
    if (!read) return {};
    auto bytes = std::make_shared<const std::vector<uint8_t>>(std::move(*read));
    const FileIconCount count = CountFileIcons(type, *bytes);
    if (count.count > 0) KeepFileBytes(path, bytes);
    return count;
}

FileIconCountsAhead::FileIconCountsAhead(std::vector<std::string> paths, unsigned workers)
    : paths_(std::move(paths)),
      counts_(std::make_unique<FileIconCount[]>(paths_.size())),
      ready_(std::make_unique<std::atomic<bool>[]>(paths_.size())) {
    for (size_t i = 0; i < paths_.size(); ++i) ready_[i].store(false, std::memory_order_relaxed);
    const size_t threads = std::min<size_t>(workers, paths_.size());
    workers_.reserve(threads);
    for (size_t t = 0; t < threads; ++t) workers_.emplace_back([this] { Work(); });
}

FileIconCountsAhead::~FileIconCountsAhead() {
    stop_ = true;
    for (std::thread& worker : workers_) worker.join();
}

void FileIconCountsAhead::Work() {
    for (size_t i = next_++; i < paths_.size() && !stop_; i = next_++) {
        FileIconCount count;
        try {
            count = ReadFileIconCount(paths_[i]);
        } catch (const std::exception&) {
            // Out of memory for one file: it gives nothing, the others go on.
        }
        counts_[i] = count;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ready_[i].store(true, std::memory_order_release);
        }
        readyChanged_.notify_all();
    }
}

bool FileIconCountsAhead::Wait(size_t i, unsigned waitMs, FileIconCount& count) {
    if (workers_.empty()) {
        count = ReadFileIconCount(paths_[i]);
        return true;
    }
    if (!ready_[i].load(std::memory_order_acquire)) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!readyChanged_.wait_for(lock, std::chrono::milliseconds(waitMs),
                                    [&] { return ready_[i].load(std::memory_order_acquire); }))
            return false;
    }
    count = counts_[i];
    return true;
}
