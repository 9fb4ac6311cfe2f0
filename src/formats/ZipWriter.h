// Writes ZIP archives with stored or deflated entries, optionally under traditional encryption.
#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <string_view>
#include <vector>

#include "formats/Bytes.h"
#include "formats/Result.h"
#include "formats/ZipReader.h"

namespace formats {

class ZipWriter {
  public:
    // The 11 random bytes that open each encrypted entry come from the system's random source.
    ZipWriter();
    // They come from a generator with this seed instead, so that the same entries give the same
    // bytes (the catalogue tool builds its archives this way).
    explicit ZipWriter(std::uint32_t headerSeed);

    // Adds an entry; with a non-empty password it is encrypted with the traditional PKWARE
    // cipher. Fails when the archive would outgrow what a plain (non-ZIP64) archive can hold.
    Result<void> Add(std::string_view name, ByteSpan data, ZipMethod method = ZipMethod::Deflated,
                     std::string_view password = {});

    // The complete archive: the entries added so far, their central directory and the end record.
    std::vector<std::uint8_t> Finish() const;
    Result<void> WriteTo(const std::filesystem::path& file) const;

  private:
    std::mt19937 random_;
    std::vector<std::uint8_t> local_;    // local headers and data
    std::vector<std::uint8_t> central_;  // central directory records
    std::size_t count_ = 0;
};

}  // namespace formats
