// Reading user files for the result set.
#include "common/FileIconReader.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "common/ReaderThreads.h"
#include "formats/ExeIcons.h"
#include "ui/Unique.h"
#include "ui/Win.h"

void (*gUserFileOpenHook)(const std::string& path) = nullptr;
void (*gFileLookHook)(const std::string& path) = nullptr;

namespace {

// A user's file opened for reading, others still free to read and write it.
UniqueFile OpenUserFile(const std::string& path, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    if (gUserFileOpenHook) gUserFileOpenHook(path);
    return UniqueFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, flags, nullptr));
}

// Up to `size` bytes at `offset` of an open file. The file pointer is moved and the read made
// without an OVERLAPPED: Wine answers a read with one by posting its completion through the
// server, a round trip per read that a plain read does not cost.
bool ReadFileAt(HANDLE file, uint64_t offset, size_t size, std::vector<uint8_t>& out) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (at.QuadPart < 0 || !SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return false;
    out.resize(size);
    DWORD got = 0;
    if (!ReadFile(file, out.data(), static_cast<DWORD>(size), &got, nullptr)) return false;
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
    std::unordered_map<std::string, KeptFile> files;
    size_t bytes = 0;
    int generation = 0;  // how often they were forgotten
};

KeptFiles& Kept() {
    static KeptFiles kept;
    return kept;
}

void KeepFileBytes(const std::string& path, const FileBytes& bytes, const FileStamp& stamp) {
    if (bytes->size() > kMaxKeptFileBytes) return;
    KeptFiles& kept = Kept();
    std::lock_guard<std::mutex> lock(kept.mutex);
    if (kept.bytes + bytes->size() > kMaxKeptBytes) return;
    auto [at, added] = kept.files.try_emplace(path, KeptFile{bytes, stamp});
    if (added) kept.bytes += bytes->size();
}

uint64_t Whole(DWORD high, DWORD low) { return static_cast<uint64_t>(high) << 32 | low; }

}  // namespace

std::optional<FileStamp> FileStampOf(const std::string& path) {
    if (gFileLookHook) gFileLookHook(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return FileStamp{Whole(data.nFileSizeHigh, data.nFileSizeLow),
                     Whole(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime),
                     Whole(data.ftCreationTime.dwHighDateTime, data.ftCreationTime.dwLowDateTime)};
}

FileBytes KeptFileBytes(const std::string& path) {
    const std::optional<KeptFile> kept = KeptFileRecord(path);
    return kept ? StillKept(path, *kept) : nullptr;
}

std::optional<KeptFile> KeptFileRecord(const std::string& path) {
    KeptFiles& kept = Kept();
    std::lock_guard<std::mutex> lock(kept.mutex);
    auto found = kept.files.find(path);
    if (found == kept.files.end()) return std::nullopt;
    return found->second;
}

FileBytes StillKept(const std::string& path, const KeptFile& file) {
    // The file is looked at outside the lock, so that the other readers of a page go on meanwhile.
    if (FileStampOf(path) == file.stamp) return file.bytes;
    KeptFiles& kept = Kept();
    std::lock_guard<std::mutex> lock(kept.mutex);
    auto found = kept.files.find(path);
    if (found != kept.files.end() && found->second.bytes == file.bytes) {
        kept.bytes -= file.bytes->size();
        kept.files.erase(found);
    }
    return nullptr;
}

void ForgetKeptFileBytes() {
    KeptFiles& kept = Kept();
    std::lock_guard<std::mutex> lock(kept.mutex);
    kept.files.clear();
    kept.bytes = 0;
    ++kept.generation;
}

int KeptFilesGeneration() {
    KeptFiles& kept = Kept();
    std::lock_guard<std::mutex> lock(kept.mutex);
    return kept.generation;
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

namespace {

// A file's count, and the bytes it was read from when they are worth keeping for the pages.
struct CountedFile {
    FileIconCount count;
    FileBytes bytes;
    FileStamp stamp;
};

CountedFile CountFile(const std::string& path) {
    const IconFileType type = IconFileTypeOf(path);
    switch (type) {
        case IconFileType::Other: return {};
        case IconFileType::Icl:
        case IconFileType::Dll:
        case IconFileType::Exe: return {{LibraryIconCount(path), 0}, nullptr, {}};
        case IconFileType::Ico:
        case IconFileType::Cur:
        case IconFileType::Ani: break;
    }
    // Looked at before it is read: bytes kept under this stamp are at least as new as it.
    const std::optional<FileStamp> stamp = FileStampOf(path);
    auto read = ReadUserFile(path, kMaxIconFileBytes, true);
    if (!read) return {};
    auto bytes = std::make_shared<const std::vector<uint8_t>>(std::move(*read));
    const FileIconCount count = CountFileIcons(type, *bytes);
    if (count.count <= 0 || bytes->size() > kMaxKeptFileBytes || !stamp) return {count, nullptr, {}};
    return {count, std::move(bytes), *stamp};
}

// A short sleep between two looks at what the other side has done. Under Wine every wait on a
// kernel object and every signal of one (so every condition variable that blocks or wakes) is a
// round trip to the one server process that also opens every file; a plain sleep is not.
void Pause() { Sleep(1); }

}  // namespace

FileIconCount ReadFileIconCount(const std::string& path) {
    CountedFile file = CountFile(path);
    if (file.bytes) KeepFileBytes(path, file.bytes, file.stamp);
    return file.count;
}

FileIconCountsAhead::FileIconCountsAhead(unsigned workers) { Start(workers); }

FileIconCountsAhead::FileIconCountsAhead(std::vector<std::string> paths, unsigned workers) {
    for (std::string& path : paths) slots_.emplace_back(std::move(path));
    closed_ = true;
    Start(static_cast<unsigned>(std::min<size_t>(workers, slots_.size())));
}

void FileIconCountsAhead::Start(unsigned workers) { workers_.Start(workers, [this] { Work(); }); }

FileIconCountsAhead::~FileIconCountsAhead() {
    stop_ = true;
    workers_.Join();
}

void FileIconCountsAhead::Stop(const std::function<void()>& waiting) {
    stop_ = true;
    workers_.Join(waiting);
}

void FileIconCountsAhead::Add(std::string path) {
    std::lock_guard<std::mutex> lock(mutex_);
    slots_.emplace_back(std::move(path));
}

void FileIconCountsAhead::Close() { closed_.store(true, std::memory_order_release); }

void FileIconCountsAhead::Work() {
    while (!stop_) {
        // Closed before the look: a slot added before the closing is then seen.
        const bool closed = closed_.load(std::memory_order_acquire);
        Slot* slot = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (next_ < slots_.size()) slot = &slots_[next_++];
        }
        if (!slot) {
            if (closed) return;
            Pause();
            continue;
        }
        CountedFile file;
        try {
            file = CountFile(slot->path);
        } catch (...) {
            // Out of memory for one file: it gives nothing, the others go on.
        }
        if (file.bytes) {
            const size_t size = file.bytes->size();
            if (heldBytes_.fetch_add(size) + size > kMaxKeptBytes) {
                heldBytes_ -= size;
                file.bytes.reset();
            }
        }
        slot->count = file.count;
        slot->bytes = std::move(file.bytes);
        slot->stamp = file.stamp;
        slot->ready.store(true, std::memory_order_release);
    }
}

bool FileIconCountsAhead::Wait(size_t i, unsigned waitMs, FileIconCount& count) {
    // Only this thread changes the deque's shape, so it reads it without the lock.
    Slot& slot = slots_[i];
    if (workers_.empty()) {
        count = ReadFileIconCount(slot.path);
        return true;
    }
    if (!slot.ready.load(std::memory_order_acquire)) {
        const DWORD start = GetTickCount();
        do {
            if (GetTickCount() - start >= waitMs) return false;
            Pause();
        } while (!slot.ready.load(std::memory_order_acquire));
    }
    count = slot.count;
    if (slot.bytes) {
        KeepFileBytes(slot.path, slot.bytes, slot.stamp);
        heldBytes_ -= slot.bytes->size();
        slot.bytes.reset();
    }
    return true;
}
