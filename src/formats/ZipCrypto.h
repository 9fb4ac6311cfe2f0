// The traditional PKWARE stream cipher ("ZipCrypto") of ZIP archives.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace formats {

class ZipCrypto {
  public:
    // Every encrypted entry starts with this many header bytes before its data.
    static constexpr std::size_t kHeaderSize = 12;

    explicit ZipCrypto(std::string_view password);

    std::uint8_t Decrypt(std::uint8_t c);
    std::uint8_t Encrypt(std::uint8_t p);

  private:
    void Update(std::uint8_t p);
    std::uint8_t KeyByte() const;

    std::uint32_t k0_ = 0x12345678, k1_ = 0x23456789, k2_ = 0x34567890;
};

}  // namespace formats
