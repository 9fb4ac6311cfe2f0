// Reads what a user's file gives to the result set, and reads a list of files ahead of the window
// thread on a few threads of its own: under Wine and on network shares the time of a listing is
// spent opening files, and opening several at once overlaps the waits.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "common/FileIcons.h"
#include "common/ReaderThreads.h"
#include "formats/ExeIcons.h"

// How often window events run between the files of a listing, in milliseconds: a message check per
// file would cost about as much as reading the file. 0 runs them after every file.
extern unsigned long gListingEventsMs;

// Called on the reading thread before each user file is opened; tests hold a read with it.
extern void (*gUserFileOpenHook)(const std::string& path);
// Called on the looking thread before each look at a user file's attributes (FileStampOf); tests
// hold a look with it.
extern void (*gFileLookHook)(const std::string& path);

// Threads reading a listing's files ahead of the window thread. More do not help: under Wine the
// opening of files goes through one server process.
inline constexpr unsigned kListingReaders = 2;

// Larger icon, cursor and animated files are not read: no real one comes near it.
inline constexpr uint64_t kMaxIconFileBytes = 64ull << 20;

// Up to maxBytes from the start of a file named by an ANSI path (the C++ file streams would convert
// the path in another code page); with `whole`, nothing unless the whole file fits. nullopt when
// the file does not read.
std::optional<std::vector<uint8_t>> ReadUserFile(const std::string& path, uint64_t maxBytes, bool whole);

// The icon resources of a program, library or icon library, read from its bytes through a handle
// the reader keeps open; an error when the file does not open or its headers do not hold. `window`
// as formats::ModuleIcons::Open takes it.
formats::Result<formats::ModuleIcons> OpenModuleIcons(const std::string& path,
                                                      size_t window = formats::kSmallReadWindow);

// How a file looks from outside: its size, last write time and creation time, all from one look at
// its attributes, without opening it. What is kept of a file (its bytes, its pictures) stands for it
// only while it still looks as it did before it was read.
struct FileStamp {
    uint64_t size = 0;
    uint64_t written = 0;
    uint64_t created = 0;
    bool operator==(const FileStamp&) const = default;
};
// nullopt when the file cannot be looked at (it is gone).
std::optional<FileStamp> FileStampOf(const std::string& path);

// The bytes of the icon, cursor and animated files that were read for their count, kept for the
// pages that show them, so that each file is opened once: a file of at most kMaxKeptFileBytes while
// all kept come to at most kMaxKeptBytes. A listing forgets those of the one before. Safe on any thread.
inline constexpr size_t kMaxKeptFileBytes = 64u << 10;
inline constexpr size_t kMaxKeptBytes = 32u << 20;
using FileBytes = std::shared_ptr<const std::vector<uint8_t>>;
// nullptr when none are kept or the file no longer looks as it did when they were read: a file
// replaced or gone is read again by whoever shows it, and its kept bytes are forgotten.
FileBytes KeptFileBytes(const std::string& path);
// The two halves of KeptFileBytes, so that a page decides on the window thread which files it has
// kept and its readers look at the files: the kept bytes of a file and how it looked before they
// were read, without a look at it (nullopt when none are kept); and those bytes while it still
// looks so, else nullptr, and they are forgotten.
struct KeptFile {
    FileBytes bytes;
    FileStamp stamp;
};
std::optional<KeptFile> KeptFileRecord(const std::string& path);
FileBytes StillKept(const std::string& path, const KeptFile& kept);
void ForgetKeptFileBytes();
// Grows each time the kept bytes are forgotten: what is kept beside them goes with them.
int KeptFilesGeneration();

// How many result entries the file at `path` gives, by its extension and bytes: icons, cursors and
// animated files are parsed, programs and libraries counted from their headers as the shell counts them. Nothing for
// other files and for files that do not read. Keeps the bytes it read of small icon, cursor and
// animated files. Safe on any thread.
FileIconCount ReadFileIconCount(const std::string& path);

// The counts of a list of files, read in order by worker threads while the caller takes them one by
// one. The list may still grow while they read (a folder walk hands over each file it finds) until
// Close; one made from a whole list is closed already. The bytes worth keeping for the pages are
// kept as the caller takes each count, so that a list read ahead of a walk that is then given up
// leaves the kept bytes of the listing before untouched. Destroying it stops the workers after the
// file each one is reading. Add, Close, size, Path, Wait and Stop belong to the thread that made it.
// Workers that the system does not give are done without: with none, Wait reads each file itself.
class FileIconCountsAhead {
  public:
    explicit FileIconCountsAhead(unsigned workers);
    FileIconCountsAhead(std::vector<std::string> paths, unsigned workers);
    ~FileIconCountsAhead();
    FileIconCountsAhead(const FileIconCountsAhead&) = delete;
    FileIconCountsAhead& operator=(const FileIconCountsAhead&) = delete;

    void Add(std::string path);
    void Close();
    size_t size() const { return slots_.size(); }
    const std::string& Path(size_t i) const { return slots_[i].path; }
    // The count of file i once it is read: false when it is not read within `waitMs`. Without
    // workers the file is read here.
    bool Wait(size_t i, unsigned waitMs, FileIconCount& count);
    // Gives the list up: the workers stop after the file each one is reading, and `waiting` runs
    // between short sleeps until they have. Nothing is waited for after it.
    void Stop(const std::function<void()>& waiting);

  private:
    struct Slot {
        explicit Slot(std::string p) : path(std::move(p)) {}
        const std::string path;
        FileIconCount count;
        FileBytes bytes;  // to keep once the count is taken
        FileStamp stamp;  // of the file before bytes were read
        std::atomic<bool> ready{false};
    };
    void Start(unsigned workers);
    void Work();

    // Grows only on the owning thread, under mutex_; a worker finds its next slot under mutex_ and
    // then has it to itself until it marks it ready. A deque, so that a slot stays where it is.
    std::deque<Slot> slots_;
    size_t next_ = 0;  // under mutex_
    std::mutex mutex_;
    std::atomic<bool> closed_{false};
    std::atomic<bool> stop_{false};
    std::atomic<size_t> heldBytes_{0};  // of the slots' bytes, at most kMaxKeptBytes
    ReaderThreads workers_;  // last: they end before the rest goes
};
