// ZIP archive writing: local records, the central directory, deflate through zlib, encryption.
#include "formats/ZipWriter.h"

#include <memory>

#include <zlib.h>

#include "formats/FileBytes.h"
#include "formats/ZipCrypto.h"

namespace formats {

namespace {

// 1 January 1980, the earliest MS-DOS date: the archives need no real time stamps.
constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;
// Room for the end record and one more central record, so that Finish can never overflow.
constexpr std::uint64_t kMaxArchive = 0xFFFFFFFFull - 0x20000;

Result<std::vector<std::uint8_t>> Deflate(ByteSpan data) {
    z_stream zs{};
    if (deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return Fail("cannot start the compressor");
    std::unique_ptr<z_stream, decltype(&deflateEnd)> guard(&zs, &deflateEnd);
    std::vector<std::uint8_t> out(deflateBound(&zs, static_cast<uLong>(data.size())));
    zs.next_in = const_cast<Bytef*>(data.data());
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    if (deflate(&zs, Z_FINISH) != Z_STREAM_END) return Fail("cannot compress the entry");
    out.resize(zs.total_out);
    return out;
}

}  // namespace

ZipWriter::ZipWriter() : random_(std::random_device{}()) {}
ZipWriter::ZipWriter(std::uint32_t headerSeed) : random_(headerSeed) {}

Result<void> ZipWriter::Add(std::string_view name, ByteSpan data, ZipMethod method, std::string_view password) {
    if (name.empty() || name.size() > 0xFFFF) return Fail("the entry name is empty or too long");
    if (count_ >= 0xFFFE) return Fail("too many entries");
    if (data.size() > kMaxZipEntrySize) return Fail("the entry is too large");

    std::vector<std::uint8_t> payload;
    if (method == ZipMethod::Deflated) {
        auto deflated = Deflate(data);
        if (!deflated) return Error{deflated.error()};
        payload = std::move(deflated).value();
    } else {
        payload.assign(data.begin(), data.end());
    }
    std::uint32_t crc = static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), data.data(), static_cast<uInt>(data.size())));

    std::uint16_t flags = 0;
    if (!password.empty()) {
        flags |= 1;
        ZipCrypto cipher(password);
        std::vector<std::uint8_t> sealed;
        sealed.reserve(ZipCrypto::kHeaderSize + payload.size());
        for (std::size_t i = 0; i + 1 < ZipCrypto::kHeaderSize; ++i)
            sealed.push_back(cipher.Encrypt(static_cast<std::uint8_t>(random_())));
        // The last header byte lets a reader check the password before decrypting everything.
        sealed.push_back(cipher.Encrypt(static_cast<std::uint8_t>(crc >> 24)));
        for (std::uint8_t b : payload) sealed.push_back(cipher.Encrypt(b));
        payload = std::move(sealed);
    }

    std::uint64_t offset = local_.size();
    std::uint64_t grown = offset + 30 + name.size() + payload.size() + central_.size() + 46 + name.size();
    if (grown > kMaxArchive) return Fail("the archive would be too large");

    auto header = [&](std::vector<std::uint8_t>& out) {
        PutU16(out, 20);  // version needed: deflate and traditional encryption
        PutU16(out, flags);
        PutU16(out, static_cast<std::uint16_t>(method));
        PutU16(out, kDosTime);
        PutU16(out, kDosDate);
        PutU32(out, crc);
        PutU32(out, static_cast<std::uint32_t>(payload.size()));
        PutU32(out, static_cast<std::uint32_t>(data.size()));
        PutU16(out, static_cast<std::uint32_t>(name.size()));
        PutU16(out, 0);  // extra field
    };

    PutU32(local_, 0x04034b50);
    header(local_);
    local_.insert(local_.end(), name.begin(), name.end());
    local_.insert(local_.end(), payload.begin(), payload.end());

    PutU32(central_, 0x02014b50);
    PutU16(central_, 20);  // made by: MS-DOS, version 2.0
    header(central_);
    PutU16(central_, 0);  // comment
    PutU16(central_, 0);  // disk
    PutU16(central_, 0);  // internal attributes
    PutU32(central_, 0);  // external attributes
    PutU32(central_, static_cast<std::uint32_t>(offset));
    central_.insert(central_.end(), name.begin(), name.end());
    ++count_;
    return {};
}

std::vector<std::uint8_t> ZipWriter::Finish() const {
    std::vector<std::uint8_t> out(local_);
    out.insert(out.end(), central_.begin(), central_.end());
    PutU32(out, 0x06054b50);
    PutU16(out, 0);
    PutU16(out, 0);
    PutU16(out, static_cast<std::uint32_t>(count_));
    PutU16(out, static_cast<std::uint32_t>(count_));
    PutU32(out, static_cast<std::uint32_t>(central_.size()));
    PutU32(out, static_cast<std::uint32_t>(local_.size()));
    PutU16(out, 0);  // comment
    return out;
}

Result<void> ZipWriter::WriteTo(const std::filesystem::path& file) const {
    return WriteFileBytes(file, Finish());
}

}  // namespace formats
