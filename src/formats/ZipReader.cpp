// ZIP archive reading: end record, central directory, local headers, decryption and inflation.
#include "formats/ZipReader.h"

#include <algorithm>
#include <fstream>
#include <memory>

#include <zlib.h>

#include "formats/FileBytes.h"
#include "formats/ZipCrypto.h"

namespace formats {

namespace {

constexpr std::uint32_t kLocalHeaderSig = 0x04034b50;
constexpr std::uint32_t kCentralHeaderSig = 0x02014b50;
constexpr std::uint32_t kEndSig = 0x06054b50;
constexpr std::uint32_t kZip64LocatorSig = 0x07064b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::uint16_t kFlagDataDescriptor = 8;
constexpr std::uint16_t kFlagStrongEncryption = 0x40;

// The end record that lies nearest the end of the file and whose comment fits in the file.
std::optional<std::size_t> FindEndRecord(ByteSpan b) {
    if (b.size() < kEndSize) return std::nullopt;
    std::size_t last = b.size() - kEndSize;
    std::size_t first = last > 0xFFFF ? last - 0xFFFF : 0;
    for (std::size_t at = last + 1; at-- > first;) {
        if (ReadU32(b, at) != kEndSig) continue;
        auto commentSize = ReadU16(b, at + 20);
        if (commentSize && InRange(at + kEndSize, *commentSize, b.size())) return at;
    }
    return std::nullopt;
}

std::uint32_t Crc(const std::vector<std::uint8_t>& data) {
    uLong crc = crc32(0, nullptr, 0);
    const Bytef* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        uInt n = static_cast<uInt>(std::min<std::size_t>(left, 1u << 30));
        crc = crc32(crc, p, n);
        p += n;
        left -= n;
    }
    return static_cast<std::uint32_t>(crc);
}

// Inflates a raw deflate stream that must yield exactly `expected` bytes. Output is gathered in
// chunks, so a small stream that claims a large size costs only what it really produces.
Result<std::vector<std::uint8_t>> Inflate(ByteSpan in, std::uint32_t expected) {
    z_stream zs{};
    if (inflateInit2(&zs, -15) != Z_OK) return Fail("cannot start the decompressor");
    std::unique_ptr<z_stream, decltype(&inflateEnd)> guard(&zs, &inflateEnd);

    std::vector<std::uint8_t> out;
    out.reserve(std::min<std::uint32_t>(expected, 1u << 20));
    std::vector<std::uint8_t> chunk(64 * 1024);
    // The archive is at most kMaxZipArchiveSize bytes, so its size fits zlib's 32-bit counter.
    zs.next_in = const_cast<Bytef*>(in.data());
    zs.avail_in = static_cast<uInt>(in.size());
    for (;;) {
        zs.next_out = chunk.data();
        zs.avail_out = static_cast<uInt>(chunk.size());
        int rc = inflate(&zs, Z_NO_FLUSH);
        std::size_t produced = chunk.size() - zs.avail_out;
        if (produced > expected - out.size()) return Fail("the entry is larger than its declared size");
        out.insert(out.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(produced));
        if (rc == Z_STREAM_END) break;
        // Z_OK means progress was made; anything else (no input left, bad data) ends here.
        if (rc != Z_OK) {
            if (rc == Z_BUF_ERROR && zs.avail_in == 0) return Fail("the compressed data is cut short");
            return Fail("the compressed data is damaged");
        }
    }
    if (out.size() != expected) return Fail("the entry is smaller than its declared size");
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

Result<ZipArchive> ZipArchive::OpenFile(const std::filesystem::path& file) {
    auto bytes = ReadFileBytes(file, kMaxZipArchiveSize);
    if (!bytes) return Fail("cannot read the archive: " + bytes.error());
    return Open(std::move(bytes).value());
}

namespace {

// Where the central directory lies, as the end record at `e` of `b` gives it.
struct DirectoryPlace {
    std::uint16_t total = 0;
    std::uint32_t size = 0, offset = 0;
};

Result<DirectoryPlace> ReadEndRecord(ByteSpan b, std::size_t e) {
    std::uint16_t disk = *ReadU16(b, e + 4), cdDisk = *ReadU16(b, e + 6);
    std::uint16_t onDisk = *ReadU16(b, e + 8), total = *ReadU16(b, e + 10);
    std::uint32_t cdSize = *ReadU32(b, e + 12), cdOffset = *ReadU32(b, e + 16);

    if ((e >= 20 && ReadU32(b, e - 20) == kZip64LocatorSig) || total == 0xFFFF || cdSize == 0xFFFFFFFF ||
        cdOffset == 0xFFFFFFFF)
        return Fail("ZIP64 archives are not supported");
    if (disk != 0 || cdDisk != 0 || onDisk != total) return Fail("multi-part archives are not supported");
    // Every record takes at least 46 bytes, so a count the directory cannot hold is caught here.
    if (static_cast<std::uint64_t>(total) * kCentralHeaderSize > cdSize)
        return Fail("the central directory is too small for its entry count");
    return DirectoryPlace{total, cdSize, cdOffset};
}

// The `total` records of the central directory `cd` (its bytes alone).
Result<std::vector<ZipEntry>> ReadCentralDirectory(ByteSpan cd, std::uint16_t total) {
    std::vector<ZipEntry> entries;
    entries.reserve(total);
    std::size_t at = 0;
    for (std::uint16_t i = 0; i < total; ++i) {
        if (ReadU32(cd, at) != kCentralHeaderSig || !InRange(at, kCentralHeaderSize, cd.size()))
            return Fail("damaged central directory record " + std::to_string(i));
        ZipEntry entry;
        entry.flags = *ReadU16(cd, at + 8);
        entry.method = *ReadU16(cd, at + 10);
        entry.modTime = *ReadU16(cd, at + 12);
        entry.modDate = *ReadU16(cd, at + 14);
        entry.crc32 = *ReadU32(cd, at + 16);
        entry.compressedSize = *ReadU32(cd, at + 20);
        entry.uncompressedSize = *ReadU32(cd, at + 24);
        std::size_t nameSize = *ReadU16(cd, at + 28);
        std::size_t extraSize = *ReadU16(cd, at + 30);
        std::size_t commentSize = *ReadU16(cd, at + 32);
        entry.localHeaderOffset = *ReadU32(cd, at + 42);
        std::size_t recordSize = kCentralHeaderSize + nameSize + extraSize + commentSize;
        if (!InRange(at, recordSize, cd.size())) return Fail("damaged central directory record " + std::to_string(i));
        if (entry.compressedSize == 0xFFFFFFFF || entry.uncompressedSize == 0xFFFFFFFF ||
            entry.localHeaderOffset == 0xFFFFFFFF)
            return Fail("ZIP64 archives are not supported");
        entry.name.assign(reinterpret_cast<const char*>(cd.data() + at + kCentralHeaderSize), nameSize);
        entries.push_back(std::move(entry));
        at += recordSize;
    }
    return entries;
}

// `size` bytes of the stream from `offset`; fails when fewer are there.
Result<std::vector<std::uint8_t>> ReadAt(std::ifstream& in, std::uint64_t offset, std::uint64_t size) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in || in.gcount() != static_cast<std::streamsize>(bytes.size())) return Fail("cannot read the archive");
    return bytes;
}

}  // namespace

Result<ZipArchive> ZipArchive::Open(std::vector<std::uint8_t> bytes) {
    if (bytes.size() > kMaxZipArchiveSize) return Fail("the archive is too large");
    ByteSpan b(bytes);
    auto end = FindEndRecord(b);
    if (!end) return Fail("not a ZIP archive (no end record)");
    auto place = ReadEndRecord(b, *end);
    if (!place) return Error{place.error()};
    if (!InRange(place->offset, place->size, *end)) return Fail("the central directory lies outside the archive");
    auto entries = ReadCentralDirectory(b.subspan(place->offset, place->size), place->total);
    if (!entries) return Error{entries.error()};

    ZipArchive archive;
    archive.entries_ = std::move(entries).value();
    archive.bytes_ = std::move(bytes);
    return archive;
}

Result<std::vector<ZipEntry>> ZipArchive::ReadDirectory(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return Fail("cannot read the archive: not a file");
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) return Fail("cannot read the archive: cannot open the file");
    const std::streamoff end = in.tellg();
    if (end < 0) return Fail("cannot read the archive");
    const auto size = static_cast<std::uint64_t>(end);
    if (size > kMaxZipArchiveSize) return Fail("the archive is too large");

    // The end record with the longest comment, and the 20 bytes before it where a ZIP64 locator would be.
    const std::uint64_t tailStart = size - std::min<std::uint64_t>(size, kEndSize + 0xFFFF + 20);
    auto tail = ReadAt(in, tailStart, size - tailStart);
    if (!tail) return Error{tail.error()};
    ByteSpan t(*tail);
    auto at = FindEndRecord(t);
    if (!at) return Fail("not a ZIP archive (no end record)");
    auto place = ReadEndRecord(t, *at);
    if (!place) return Error{place.error()};
    if (!InRange(place->offset, place->size, tailStart + *at))
        return Fail("the central directory lies outside the archive");
    if (place->offset >= tailStart)
        return ReadCentralDirectory(t.subspan(static_cast<std::size_t>(place->offset - tailStart), place->size),
                                    place->total);
    auto cd = ReadAt(in, place->offset, place->size);
    if (!cd) return Error{cd.error()};
    return ReadCentralDirectory(ByteSpan(*cd), place->total);
}

std::optional<std::size_t> ZipArchive::Find(std::string_view name) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (EqualNoCase(entries_[i].name, name)) return i;
    return std::nullopt;
}

Result<std::vector<std::uint8_t>> ZipArchive::Read(std::size_t index, std::string_view password,
                                                   std::uint64_t maxSize) const {
    if (index >= entries_.size()) return Fail("no such entry");
    const ZipEntry& entry = entries_[index];
    if (entry.flags & kFlagStrongEncryption) return Fail("strong encryption is not supported");
    if (entry.method != static_cast<std::uint16_t>(ZipMethod::Stored) &&
        entry.method != static_cast<std::uint16_t>(ZipMethod::Deflated))
        return Fail("compression method " + std::to_string(entry.method) + " is not supported");
    if (entry.uncompressedSize > maxSize) return Fail("the entry is too large");

    ByteSpan b(bytes_);
    std::size_t at = entry.localHeaderOffset;
    if (ReadU32(b, at) != kLocalHeaderSig || !InRange(at, kLocalHeaderSize, b.size()))
        return Fail("damaged local header");
    if (ReadU16(b, at + 8) != entry.method) return Fail("the local header does not match the directory");
    std::uint64_t dataStart = static_cast<std::uint64_t>(at) + kLocalHeaderSize + *ReadU16(b, at + 26) +
                              *ReadU16(b, at + 28);
    if (!InRange(dataStart, entry.compressedSize, b.size())) return Fail("the entry's data is cut short");
    ByteSpan data = b.subspan(static_cast<std::size_t>(dataStart), entry.compressedSize);

    std::vector<std::uint8_t> plain;
    if (entry.Encrypted()) {
        if (data.size() < ZipCrypto::kHeaderSize) return Fail("the encryption header is cut short");
        ZipCrypto cipher(password);
        std::uint8_t check = 0;
        for (std::size_t i = 0; i < ZipCrypto::kHeaderSize; ++i) check = cipher.Decrypt(data[i]);
        // Writers that stream (data descriptor) do not know the CRC in advance and check with the time.
        std::uint8_t expected = (entry.flags & kFlagDataDescriptor) ? static_cast<std::uint8_t>(entry.modTime >> 8)
                                                                    : static_cast<std::uint8_t>(entry.crc32 >> 24);
        if (check != expected) return Fail("wrong password");
        data = data.subspan(ZipCrypto::kHeaderSize);
        plain.resize(data.size());
        for (std::size_t i = 0; i < data.size(); ++i) plain[i] = cipher.Decrypt(data[i]);
        data = ByteSpan(plain);
    }

    std::vector<std::uint8_t> out;
    if (entry.method == static_cast<std::uint16_t>(ZipMethod::Stored)) {
        if (data.size() != entry.uncompressedSize) return Fail("the stored entry's sizes disagree");
        if (plain.empty()) out.assign(data.begin(), data.end());
        else out = std::move(plain);
    } else {
        auto inflated = Inflate(data, entry.uncompressedSize);
        if (!inflated) return Error{inflated.error()};
        out = std::move(inflated).value();
    }
    // A wrong password passes the one-byte check once in 256 tries; the CRC catches it here.
    if (Crc(out) != entry.crc32) return Fail(entry.Encrypted() ? "CRC error (damaged entry or wrong password)" : "CRC error (damaged entry)");
    return out;
}

}  // namespace formats
