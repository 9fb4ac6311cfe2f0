// Reading and drawing the icons of a result page.
#include "common/PagePictures.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "common/FileIconReader.h"
#include "common/FileIcons.h"
#include "common/PageProfile.h"
#include "common/ReaderThreads.h"
#include "formats/AniFile.h"
#include "formats/ExeIcons.h"
#include "formats/IconFile.h"
#include "formats/IconPicture.h"
#include "resources/resource.h"
#include "ui/ImageList.h"
#include "ui/Unique.h"

std::string gAniFile;
PageProfile gPageProfile;

namespace {

constexpr int kSize = 32;
constexpr size_t kPageReaders = 3;  // threads of the pool that open files, while the window thread waits

// The animated file read last, kept for its further frames on the next page.
FileBytes gAniBytes;

// The frames of gAniBytes as read, for the frames asked for one at a time.
FileBytes gAniParsedBytes;
std::optional<formats::AniFile> gAniParsed;

// Files the pages read from disk (PageFileReads).
std::atomic<int> gFileReads{0};

// One picture of a file on the page, as a worker thread leaves it: its pixels when the program
// draws it itself (a 32 x 32 image in one of the bitmap formats, the common case), else checked
// image bytes that the system draws; `icon` is made from those on the window thread.
struct FilePicture {
    std::vector<uint8_t> pixels;  // 32 x 32, rows top to bottom, blue, green, red
    std::vector<uint8_t> clear;   // beside pixels: 1 where the image lets the background through
    std::vector<uint8_t> systemImage;
    UniqueIcon icon;
};

// The picture of one image's bytes: drawn over the background by the program, else left to the
// system once the reader has checked everything it will read.
FilePicture PictureOfImage(formats::ByteSpan image, COLORREF back) {
    FilePicture picture;
    auto decoded = formats::DecodeIconImage(image);
    if (decoded && decoded->width == kSize && decoded->height == kSize) {
        picture.pixels = formats::ComposeIcon(*decoded, GetBValue(back), GetGValue(back), GetRValue(back));
        picture.clear = decoded->mask;
        if (decoded->hasAlpha)
            for (size_t i = 0; i < picture.clear.size() && i < decoded->color.size(); ++i)
                picture.clear[i] = decoded->color[i].a == 0;
        if (picture.clear.size() != static_cast<size_t>(kSize * kSize)) picture.pixels.clear();
    }
    if (picture.pixels.empty()) {
        auto checked = formats::IconImageForSystem(image);
        if (checked) picture.systemImage = std::move(*checked);
    }
    return picture;
}

// The image of a group the system would show at 32 x 32: the group laid out as an icon group
// resource for its own choice. -1 when it makes none.
int ChosenImage(const std::vector<formats::GroupImage>& images) {
    if (images.empty() || images.size() > 0xFFFF) return -1;
    std::vector<BYTE> group(6 + 14 * images.size());
    group[2] = 1;  // an icon group
    group[4] = static_cast<BYTE>(images.size());
    group[5] = static_cast<BYTE>(images.size() >> 8);
    for (size_t i = 0; i < images.size(); ++i) {
        const formats::GroupImage& image = images[i];
        BYTE* entry = group.data() + 6 + 14 * i;
        entry[0] = image.width;
        entry[1] = image.height;
        entry[2] = image.colorCount;
        std::memcpy(entry + 4, &image.planes, 2);
        std::memcpy(entry + 6, &image.bitCount, 2);
        std::memcpy(entry + 8, &image.bytes, 4);
        const uint16_t id = static_cast<uint16_t>(i + 1);  // the place, whatever ids the group names
        std::memcpy(entry + 12, &id, 2);
    }
    // The system's choice depends on the group and the screen's colours alone; asking it costs a
    // look at the screen, round trips to the server under Wine, and most groups are laid out alike.
    static std::mutex guard;
    static std::map<std::vector<BYTE>, int> choices;
    {
        std::lock_guard lock(guard);
        if (auto known = choices.find(group); known != choices.end()) return known->second;
    }
    int chosen = LookupIconIdFromDirectoryEx(group.data(), TRUE, kSize, kSize, LR_DEFAULTCOLOR) - 1;
    if (chosen < 0 || static_cast<size_t>(chosen) >= images.size()) chosen = -1;
    std::lock_guard lock(guard);
    if (choices.size() >= 4096) choices.clear();
    choices.emplace(std::move(group), chosen);
    return chosen;
}

// The images of an icon or cursor file described as a group's are: old files leave planes and bit
// count at 0, where the bitmap header knows them.
std::vector<formats::GroupImage> GroupOf(const formats::IconDirectory& directory) {
    std::vector<formats::GroupImage> images;
    for (const formats::IconImage& image : directory.images) {
        formats::GroupImage g;
        g.width = static_cast<uint8_t>(image.width >= 256 ? 0 : image.width);
        g.height = static_cast<uint8_t>(image.height >= 256 ? 0 : image.height);
        g.colorCount = static_cast<uint8_t>(image.colorCount);
        g.planes = static_cast<uint16_t>(image.planes > 0 ? image.planes : 1);
        g.bitCount = static_cast<uint16_t>(image.dibBitCount > 0 ? image.dibBitCount
                                           : image.bitCount > 0  ? image.bitCount
                                                                 : 32);
        g.bytes = image.bytes;
        images.push_back(g);
    }
    return images;
}

// The picture the system would show for an icon or cursor file held in `file`.
FilePicture PictureOfIconFile(formats::ByteSpan file, COLORREF back) {
    auto directory = formats::ReadIconDirectory(file);
    if (!directory) return {};
    const int chosen = ChosenImage(GroupOf(*directory));
    if (chosen < 0) return {};
    auto image = formats::IconImageBytes(file, *directory, static_cast<size_t>(chosen));
    return image ? PictureOfImage(*image, back) : FilePicture{};
}

// The AND masks of a strip: a one-bit picture in a memory context, set to 1 (the background
// shows through) until drawn or written.
class MaskStrip {
  public:
    MaskStrip(int width, int height) : height_(height), stride_(static_cast<size_t>((width + 31) / 32 * 4)) {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[2];
        } info{};
        info.header = {sizeof(BITMAPINFOHEADER), width, height, 1, 1, BI_RGB, 0, 0, 0, 2, 2};
        info.colors[1] = {255, 255, 255, 0};
        bitmap_.reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                       reinterpret_cast<void**>(&bits_), nullptr, 0));
        dc_.reset(CreateCompatibleDC(nullptr));
        if (bitmap_ && dc_) {
            selection_.emplace(dc_.get(), bitmap_.get());
            std::memset(bits_, 0xFF, stride_ * static_cast<size_t>(height));
        }
    }
    explicit operator bool() const { return selection_ && *selection_; }
    HDC dc() const { return dc_.get(); }
    // Ends the drawing: the bitmap leaves the context, so that another context can take it.
    HBITMAP Finish() {
        selection_.reset();
        return bitmap_.get();
    }
    // x, y from the top left.
    bool Get(int x, int y) const { return (*At(x, y) & Bit(x)) != 0; }
    void Set(int x, int y, bool clear) {
        uint8_t* at = At(x, y);
        *at = static_cast<uint8_t>(clear ? *at | Bit(x) : *at & ~Bit(x));
    }

  private:
    uint8_t* At(int x, int y) const { return bits_ + stride_ * static_cast<size_t>(height_ - 1 - y) + x / 8; }
    static uint8_t Bit(int x) { return static_cast<uint8_t>(0x80 >> (x % 8)); }

    int height_;
    size_t stride_;
    uint8_t* bits_ = nullptr;
    UniqueBitmap bitmap_;
    UniqueMemDC dc_;
    std::optional<SelectInDC> selection_;  // goes before the context and the bitmap
};

using FilePictures = std::map<int32_t, FilePicture>;

// The icons of a program, library or icon library: an index below 0 names a group by resource id.
void ReadModulePictures(const std::string& path, const std::vector<int32_t>& indexes, COLORREF back,
                        FilePictures& pictures) {
    // A page reads many groups and images, which lie close together in most modules.
    auto module = OpenModuleIcons(path, formats::kWideReadWindow);
    if (!module) return;
    for (int32_t i : indexes) {
        std::optional<size_t> group;
        if (i >= 0) group = static_cast<size_t>(i);
        else if (i >= -0xFFFF) group = module->FindGroup(static_cast<uint16_t>(-i));
        if (!group) continue;
        auto images = module->Group(*group);
        if (!images) continue;
        const int chosen = ChosenImage(*images);
        if (chosen < 0) continue;
        auto image = module->Image((*images)[static_cast<size_t>(chosen)].id);
        if (image) pictures[i] = PictureOfImage(*image, back);
    }
}

// The frames of an animated file at the steps asked for.
void ReadAniPictures(const std::vector<uint8_t>& bytes, const formats::AniFile* ani, const std::vector<int32_t>& steps,
                     COLORREF back, FilePictures& pictures) {
    std::optional<formats::AniFile> read;
    if (!ani) {
        auto result = formats::ReadAni(bytes);
        if (!result) return;
        read = std::move(*result);
        ani = &*read;
    }
    for (int32_t step : steps) {
        if (step < 0 || static_cast<size_t>(step) >= ani->sequence.size()) continue;
        const formats::AniFrame& frame = ani->frames[ani->sequence[static_cast<size_t>(step)]];
        pictures[step] = PictureOfIconFile(formats::AniFrameBytes(bytes, frame), back);
    }
}

// What a page wants of one file, and what a worker thread read of it.
struct FileJob {
    std::string path;
    bool animated = false;
    std::vector<int32_t> indexes;
    FileBytes bytes;  // of an icon, cursor or animated file, that stand for it
    // What was kept of the file, not yet held against it: the bytes of an icon, cursor or animated
    // file the listing kept, or the stamp of the pictures of a program or library taken from an
    // earlier page into `pictures`.
    std::optional<KeptFile> kept;
    std::optional<FileStamp> before, after;  // a program or library, around the reading of its pictures
    FilePictures pictures;
};

// The bytes of an icon, cursor or animated file, read now.
FileBytes ReadIconFile(const std::string& path) {
    ++gFileReads;
    auto bytes = ReadUserFile(path, kMaxIconFileBytes, true);
    return bytes ? std::make_shared<const std::vector<uint8_t>>(std::move(*bytes)) : nullptr;
}

// The bytes of an icon, cursor or animated file: as the listing kept them while the file is as it
// was, else read now.
FileBytes IconFileBytes(const std::string& path) {
    if (FileBytes kept = KeptFileBytes(path)) return kept;
    return ReadIconFile(path);
}

FileBytes IconFileBytes(const FileJob& job) {
    if (job.kept && job.kept->bytes)
        if (FileBytes kept = StillKept(job.path, *job.kept)) return kept;
    return ReadIconFile(job.path);
}

// The pictures of a program or library: those taken from an earlier page while the file looks as
// it did when they were kept, the others read now.
void ReadModuleJob(FileJob& job, COLORREF back) {
    job.before = FileStampOf(job.path);
    if (!job.before || !job.kept || !(job.kept->stamp == *job.before)) job.pictures.clear();
    if (!job.before) return;
    std::vector<int32_t> left;
    for (int32_t index : job.indexes)
        if (!job.pictures.contains(index)) left.push_back(index);
    if (left.empty()) return;
    ReadModulePictures(job.path, left, back, job.pictures);
    job.after = FileStampOf(job.path);
}

// Reads one file once for all its pictures on the page, every byte through the program's own
// readers: no file of the user's reaches a system loader.
void ReadFileJob(FileJob& job, COLORREF back) {
    std::sort(job.indexes.begin(), job.indexes.end());
    job.indexes.erase(std::unique(job.indexes.begin(), job.indexes.end()), job.indexes.end());
    if (job.animated) {
        if (!job.bytes) job.bytes = IconFileBytes(job);
        if (job.bytes) ReadAniPictures(*job.bytes, nullptr, job.indexes, back, job.pictures);
        return;
    }
    switch (IconFileTypeOf(job.path)) {
        case IconFileType::Ico:
        case IconFileType::Cur:
            if (job.indexes != std::vector<int32_t>{0}) return;
            if (!job.bytes) job.bytes = IconFileBytes(job);
            if (job.bytes) job.pictures[0] = PictureOfIconFile(*job.bytes, back);
            return;
        case IconFileType::Icl:
        case IconFileType::Dll:
        case IconFileType::Exe:
            ReadModuleJob(job, back);
            return;
        case IconFileType::Ani:
        case IconFileType::Other: return;
    }
}

// The pictures of programs and libraries that pages read, kept while the file stays as it was: a
// walk through the pages of one library would otherwise open and parse it again for every page.
// Icon, cursor and animated files need none: the listing keeps their bytes. Window thread only.
class KeptModulePictures {
  public:
    // Fills `job` with the kept pictures of its file and the stamp they were kept under, without a
    // look at the file: its reader holds them against the file.
    void Take(FileJob& job, COLORREF back) {
        if (back != back_ || generation_ != KeptFilesGeneration()) Forget(back);
        auto found = files_.find(job.path);
        if (found == files_.end()) return;
        job.kept = KeptFile{nullptr, found->second.stamp};
        for (int32_t index : job.indexes)
            if (auto picture = found->second.pictures.find(index); picture != found->second.pictures.end())
                job.pictures[index] = Copy(picture->second);
    }

    // Keeps what a worker read of the file of `job`, unless the file changed meanwhile.
    void Keep(const FileJob& job) {
        if (!job.before || !(job.after == job.before)) return;
        const FileStamp stamp = *job.before;
        if (count_ + job.pictures.size() > kMaxPictures) Forget(back_);
        Kept& kept = files_[job.path];
        if (!(kept.stamp == stamp)) {
            count_ -= kept.pictures.size();
            kept = Kept{stamp, {}};
        }
        for (const auto& [index, picture] : job.pictures) {
            auto [at, added] = kept.pictures.try_emplace(index);
            if (!added) continue;
            at->second = Copy(picture);
            ++count_;
        }
    }

  private:
    static constexpr size_t kMaxPictures = 4096;  // about 16 MB of pictures
    struct Kept {
        FileStamp stamp;
        FilePictures pictures;
    };
    // A picture without its icon, which the window thread makes for each page.
    static FilePicture Copy(const FilePicture& picture) {
        FilePicture copy;
        copy.pixels = picture.pixels;
        copy.clear = picture.clear;
        copy.systemImage = picture.systemImage;
        return copy;
    }
    void Forget(COLORREF back) {
        files_.clear();
        count_ = 0;
        back_ = back;
        generation_ = KeptFilesGeneration();
    }

    std::map<std::string, Kept> files_;
    size_t count_ = 0;
    COLORREF back_ = CLR_INVALID;
    int generation_ = -1;
};

KeptModulePictures& KeptModules() {
    static KeptModulePictures kept;
    return kept;
}

bool IsModule(const std::string& path) {
    const IconFileType type = IconFileTypeOf(path);
    return type == IconFileType::Icl || type == IconFileType::Dll || type == IconFileType::Exe;
}

// Whether reading the job looks at its file: all but an animated file whose bytes stay read for its
// further frames and files that give no picture of their own.
bool LooksAtItsFile(const FileJob& job) {
    if (job.bytes) return false;
    if (job.animated || IsModule(job.path)) return true;
    const IconFileType type = IconFileTypeOf(job.path);
    return type == IconFileType::Ico || type == IconFileType::Cur;
}

// Reads the files on a few threads: under Wine and on network shares the time of a page goes into
// opening files and looking at them, and several at once overlap the waits. The window thread reads
// what is in memory and waits for the rest, running `waiting` meanwhile, which answers false to give
// the page up: the threads then stop after the file each one is reading. False when the page was
// given up. Without threads the window thread reads the files itself.
bool ReadFileJobs(std::vector<FileJob>& jobs, COLORREF back, const std::function<bool()>& waiting) {
    auto read = [&](FileJob& job) {
        try {
            ReadFileJob(job, back);
        } catch (const std::exception&) {
            job.pictures.clear();  // out of memory for one file: its pictures show the placeholder
        }
    };
    std::vector<FileJob*> looking, inMemory;
    for (FileJob& job : jobs) (LooksAtItsFile(job) ? looking : inMemory).push_back(&job);
    // The files to read go first: opening one is the long wait, a look at one kept is short.
    std::stable_partition(looking.begin(), looking.end(), [](const FileJob* job) { return !job->kept; });
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    const std::function<void()> work = [&] {
        for (size_t i = next++; i < looking.size() && !stop; i = next++) read(*looking[i]);
    };
    ReaderPool readers(std::min(kPageReaders, looking.size()), work, stop);
    for (FileJob* job : inMemory) read(*job);
    if (readers.threads() == 0) {
        work();
        return true;
    }
    readers.Wait([&] {
        if (waiting && !waiting()) stop = true;
    });
    return !stop;
}

}  // namespace

int PageFileReads() { return gFileReads; }

void ReleaseAniIcon() {
    gAniBytes.reset();
    gAniParsedBytes.reset();
    gAniParsed.reset();
    gAniFile.clear();
}

UniqueIcon AniFrameIcon(const std::string& path, int32_t step) {
    if (path != gAniFile || !gAniBytes) {
        gAniBytes = IconFileBytes(path);
        gAniFile = gAniBytes ? path : std::string();
    }
    if (!gAniBytes) return {};
    if (gAniParsedBytes != gAniBytes) {
        auto ani = formats::ReadAni(*gAniBytes);
        gAniParsed = ani ? std::optional<formats::AniFile>(std::move(*ani)) : std::nullopt;
        gAniParsedBytes = gAniBytes;
    }
    if (!gAniParsed) return {};
    FilePictures pictures;
    ReadAniPictures(*gAniBytes, &*gAniParsed, {step}, RGB(0, 0, 0), pictures);
    auto found = pictures.find(step);
    if (found == pictures.end()) return {};
    const FilePicture& picture = found->second;
    if (!picture.systemImage.empty())
        return UniqueIcon(CreateIconFromResourceEx(const_cast<BYTE*>(picture.systemImage.data()),
                                                   static_cast<DWORD>(picture.systemImage.size()), TRUE, 0x00030000,
                                                   kSize, kSize, LR_DEFAULTCOLOR));
    return IconOfPixels(picture.pixels, picture.clear);
}

UniqueIcon IconOfPixels(const std::vector<uint8_t>& pixels, const std::vector<uint8_t>& clear) {
    constexpr size_t side = kSize, kPixels = side * side;
    if (pixels.size() != kPixels * 3 || clear.size() != kPixels) return {};
    MemoryBitmap colours(kSize, kSize, MemoryBitmap::Format::Rgb24, true);
    if (!colours) return {};
    auto* rows = static_cast<uint8_t*>(colours.Bits());
    std::vector<uint8_t> maskBits(kPixels / 8, 0);  // one bit a pixel, rows of four bytes
    for (size_t y = 0; y < side; ++y) {
        std::memcpy(rows + colours.Stride() * y, pixels.data() + y * side * 3, side * 3);
        for (size_t x = 0; x < side; ++x)
            if (clear[y * side + x]) maskBits[(y * side + x) / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    GdiFlush();
    UniqueBitmap colour(colours.Release());
    UniqueBitmap mask(CreateBitmap(kSize, kSize, 1, 1, maskBits.data()));
    ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
    return UniqueIcon(mask && colour ? CreateIconIndirect(&info) : nullptr);
}

UniqueIcon CellIcon(const formats::Cell& cell) {
    std::vector<uint8_t> pixels, clear;
    pixels.reserve(cell.pixels.size() * 3);
    for (size_t i = 0; i < cell.pixels.size(); ++i) {
        // Transparent pixels are black already, as an icon's colours are under its mask.
        pixels.insert(pixels.end(), {cell.pixels[i].b, cell.pixels[i].g, cell.pixels[i].r});
        clear.push_back(cell.transparent[i] ? 1 : 0);
    }
    return IconOfPixels(pixels, clear);
}

void PagePictures::AddPlaceholder() { wants_.push_back({Kind::Placeholder, {}, 0}); }
void PagePictures::AddFileIcon(const std::string& path, int32_t index) {
    wants_.push_back({Kind::FileIcon, path, index});
}
void PagePictures::AddCell(const formats::Cell& cell) {
    wants_.push_back({Kind::Cell, {}, static_cast<int32_t>(cells_.size())});
    cells_.push_back(cell);
}
void PagePictures::AddAniFrame(const std::string& path, int32_t frame) {
    wants_.push_back({Kind::AniFrame, path, frame});
}
void PagePictures::AddSystemCursor(int32_t id) { wants_.push_back({Kind::SystemCursor, {}, id}); }

bool PagePictures::ReadFromSources() const {
    for (const Want& w : wants_) {
        switch (w.kind) {
            case Kind::Placeholder: return false;
            case Kind::Cell: continue;
            case Kind::SystemCursor:
                if (w.index <= 0 || w.index > 0xFFFF || !LoadCursorA(nullptr, MAKEINTRESOURCEA(w.index))) return false;
                continue;
            case Kind::FileIcon:
            case Kind::AniFrame: break;
        }
        FileJob job;
        job.path = w.path;
        job.animated = w.kind == Kind::AniFrame;
        job.indexes = {w.index};
        try {
            ReadFileJob(job, RGB(0, 0, 0));
        } catch (const std::exception&) {
            return false;
        }
        const auto found = job.pictures.find(w.index);
        if (found == job.pictures.end()) return false;
        const FilePicture& picture = found->second;
        if (!picture.pixels.empty()) continue;
        if (picture.systemImage.empty()) return false;
        const UniqueIcon icon(CreateIconFromResourceEx(const_cast<BYTE*>(picture.systemImage.data()),
                                                       static_cast<DWORD>(picture.systemImage.size()), TRUE,
                                                       0x00030000, kSize, kSize, LR_DEFAULTCOLOR));
        if (!icon) return false;
    }
    return true;
}

HICON PlaceholderIcon() {
    static HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_NOICON), IMAGE_ICON, kSize, kSize, LR_SHARED));
    return icon;
}

bool PagePictures::DrawInto(ImageList& list, HICON placeholder, COLORREF back,
                            const std::function<bool()>& waiting) const {
    if (wants_.empty()) return true;
    std::optional<PagePart> part(gPageProfile.pictures);
    // One job a file, in the order the page first names it. Its item decides whether it shows a
    // frame of an animation or a still icon, whatever the file's name ends in.
    std::vector<FileJob> jobs;
    std::map<std::string, size_t> jobOf;
    for (const Want& w : wants_) {
        if (w.kind != Kind::FileIcon && w.kind != Kind::AniFrame) continue;
        auto [at, added] = jobOf.try_emplace(w.path, jobs.size());
        if (added) {
            FileJob job;
            job.path = w.path;
            job.animated = w.kind == Kind::AniFrame;
            if (job.animated && w.path == gAniFile) job.bytes = gAniBytes;
            jobs.push_back(std::move(job));
        }
        jobs[at->second].indexes.push_back(w.index);
    }
    // What is kept of each file, from the records alone: its reader looks at the file.
    for (FileJob& job : jobs)
        if (!job.animated && IsModule(job.path)) KeptModules().Take(job, back);
        else if (!job.bytes) job.kept = KeptFileRecord(job.path);
    if (!ReadFileJobs(jobs, back, waiting)) return false;
    for (const FileJob& job : jobs)
        if (!job.animated && IsModule(job.path)) KeptModules().Keep(job);
    part.emplace(gPageProfile.strip);
    for (FileJob& job : jobs) {
        for (auto& [index, picture] : job.pictures)
            if (picture.pixels.empty() && !picture.systemImage.empty())
                picture.icon.reset(CreateIconFromResourceEx(picture.systemImage.data(),
                                                            static_cast<DWORD>(picture.systemImage.size()), TRUE,
                                                            0x00030000, kSize, kSize, LR_DEFAULTCOLOR));
        if (job.animated && job.bytes) {
            gAniFile = job.path;
            gAniBytes = job.bytes;
        }
    }
    auto pictureOf = [&](const Want& w) -> const FilePicture* {
        if (w.kind != Kind::FileIcon && w.kind != Kind::AniFrame) return nullptr;
        const FilePictures& filePictures = jobs[jobOf.at(w.path)].pictures;
        auto found = filePictures.find(w.index);
        return found != filePictures.end() ? &found->second : nullptr;
    };
    // The picture of a file icon the program draws itself; nullptr for the system's or none.
    auto composed = [&](const Want& w) -> const std::vector<uint8_t>* {
        const FilePicture* picture = pictureOf(w);
        return picture && !picture->pixels.empty() ? &picture->pixels : nullptr;
    };

    const int n = Count();
    MemoryBitmap strip(kSize * n, kSize, MemoryBitmap::Format::Rgb24);
    if (!strip) return true;
    HDC dc = strip.dc();
    RECT all{0, 0, kSize * n, kSize};
    UniqueBrush brush(CreateSolidBrush(back));
    FillRect(dc, &all, brush.get());

    // Each image keeps its own AND mask, so that a white pixel of an icon stays white on a white
    // list. The system draws the masks of the pictures it draws; the rest are written below.
    MaskStrip masks(kSize * n, kSize);
    if (!masks) return true;
    auto drawIcon = [&](int x, HICON icon, int size, UINT defaultSize) {
        return DrawIconEx(dc, x, 0, icon, size, size, 0, nullptr, DI_NORMAL | defaultSize) &&
               DrawIconEx(masks.dc(), x, 0, icon, size, size, 0, nullptr, DI_MASK | defaultSize);
    };
    auto drawPlaceholder = [&](int x) {
        if (placeholder) drawIcon(x, placeholder, kSize, 0);
    };
    for (int k = 0; k < n; ++k) {
        const Want& w = wants_[static_cast<size_t>(k)];
        const int x = kSize * k;
        if (w.kind == Kind::Cell || composed(w)) continue;  // written straight into the pixels below
        if (w.kind == Kind::SystemCursor) {
            // Shared by the system: never destroyed. Drawn as DrawIcon draws it.
            HCURSOR cursor = w.index > 0 && w.index <= 0xFFFF ? LoadCursorA(nullptr, MAKEINTRESOURCEA(w.index)) : nullptr;
            if (!cursor || !drawIcon(x, cursor, 0, DI_DEFAULTSIZE | DI_COMPAT)) drawPlaceholder(x);
            continue;
        }
        const FilePicture* picture = pictureOf(w);
        HICON icon = picture ? picture->icon.get() : nullptr;
        if (!icon || !drawIcon(x, icon, kSize, 0)) drawPlaceholder(x);
    }
    GdiFlush();
    auto* rows = static_cast<uint8_t*>(strip.Bits());
    const size_t stride = strip.Stride();
    for (int k = 0; k < n; ++k) {
        const Want& w = wants_[static_cast<size_t>(k)];
        if (const std::vector<uint8_t>* pixels = composed(w)) {
            const std::vector<uint8_t>& clear = pictureOf(w)->clear;
            const size_t row = static_cast<size_t>(kSize) * 3;
            for (int y = 0; y < kSize; ++y) {
                std::memcpy(rows + stride * static_cast<size_t>(kSize - 1 - y) + static_cast<size_t>(kSize * k) * 3,
                            pixels->data() + row * static_cast<size_t>(y), row);
                for (int x = 0; x < kSize; ++x)
                    masks.Set(kSize * k + x, y, clear[static_cast<size_t>(y * kSize + x)] != 0);
            }
            continue;
        }
        if (w.kind != Kind::Cell) continue;
        const formats::Cell& cell = cells_[static_cast<size_t>(w.index)];
        for (int y = 0; y < kSize; ++y) {
            uint8_t* out = rows + stride * static_cast<size_t>(kSize - 1 - y) + static_cast<size_t>(kSize * k) * 3;
            for (int x = 0; x < kSize; ++x, out += 3) {
                const size_t i = static_cast<size_t>(y * kSize + x);
                if (cell.transparent[i]) {
                    out[0] = GetBValue(back), out[1] = GetGValue(back), out[2] = GetRValue(back);
                } else {
                    out[0] = cell.pixels[i].b, out[1] = cell.pixels[i].g, out[2] = cell.pixels[i].r;
                }
                masks.Set(kSize * k + x, y, cell.transparent[i]);
            }
        }
    }
    // A masked pixel is clear where the background shows through it as it is; one that inverts the
    // background (a cursor's) keeps the colour it drew. Clear pixels are black under their mask.
    for (int y = 0; y < kSize; ++y) {
        uint8_t* out = rows + stride * static_cast<size_t>(kSize - 1 - y);
        for (int x = 0; x < kSize * n; ++x, out += 3) {
            if (!masks.Get(x, y)) continue;
            if (out[0] == GetBValue(back) && out[1] == GetGValue(back) && out[2] == GetRValue(back))
                out[0] = out[1] = out[2] = 0;
            else
                masks.Set(x, y, false);
        }
    }
    UniqueBitmap bitmap(strip.Release());
    part.emplace(gPageProfile.images);
    list.AddStrip(bitmap.get(), masks.Finish());
    return true;
}
