// The traditional PKWARE stream cipher: three keys stirred by CRC-32 steps.
#include "formats/ZipCrypto.h"

#include <zlib.h>

namespace formats {

namespace {

// One CRC-32 step over a single byte, as the cipher's key schedule defines it.
std::uint32_t CrcStep(std::uint32_t crc, std::uint8_t b) {
    static const z_crc_t* table = get_crc_table();
    return table[(crc ^ b) & 0xFF] ^ (crc >> 8);
}

}  // namespace

ZipCrypto::ZipCrypto(std::string_view password) {
    for (char c : password) Update(static_cast<std::uint8_t>(c));
}

void ZipCrypto::Update(std::uint8_t p) {
    k0_ = CrcStep(k0_, p);
    k1_ = (k1_ + (k0_ & 0xFF)) * 134775813u + 1;
    k2_ = CrcStep(k2_, static_cast<std::uint8_t>(k1_ >> 24));
}

std::uint8_t ZipCrypto::KeyByte() const {
    // Unsigned 32-bit arithmetic: the product of two 16-bit values overflows an int.
    std::uint32_t t = (k2_ | 2) & 0xFFFF;
    return static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
}

std::uint8_t ZipCrypto::Decrypt(std::uint8_t c) {
    std::uint8_t p = c ^ KeyByte();
    Update(p);
    return p;
}

std::uint8_t ZipCrypto::Encrypt(std::uint8_t p) {
    std::uint8_t c = p ^ KeyByte();
    Update(p);
    return c;
}

}  // namespace formats
