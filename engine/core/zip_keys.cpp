#include "engine/core/zip_keys.h"

#include <array>

namespace QRV {

namespace {

// The CRC-32 table (reflected polynomial 0xEDB88320), as zip's key schedule uses it.
constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

inline uint32_t CrcStep(uint32_t crc, uint8_t byte) { return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8); }

}  // namespace

ZipKeys::ZipKeys(std::string_view password) : key0(305419896u), key1(591751049u), key2(878082192u) {
    for (const char c : password) Update(static_cast<uint8_t>(c));
}

inline void ZipKeys::Update(uint8_t plain) {
    key0 = CrcStep(key0, plain);
    key1 = (key1 + (key0 & 0xFF)) * 134775813u + 1;
    key2 = CrcStep(key2, static_cast<uint8_t>(key1 >> 24));
}

inline uint8_t ZipKeys::Mask() const {
    const uint32_t t = (key2 & 0xFFFF) | 2;
    return static_cast<uint8_t>((t * (t ^ 1)) >> 8);
}

uint8_t ZipKeys::Encrypt(uint8_t plain) {
    const uint8_t mask = Mask();
    Update(plain);
    return static_cast<uint8_t>(plain ^ mask);
}

uint8_t ZipKeys::Decrypt(uint8_t cipher) {
    const auto plain = static_cast<uint8_t>(cipher ^ Mask());
    Update(plain);
    return plain;
}

void ZipKeys::Decrypt(uint8_t* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) bytes[i] = Decrypt(bytes[i]);
}

std::vector<uint8_t> EncryptZipData(std::span<const uint8_t> data, std::string_view password, uint32_t crc,
                                    uint32_t seed) {
    ZipKeys keys(password);
    std::vector<uint8_t> out;
    out.reserve(kZipCryptHeaderSize + data.size());
    // Filler from a xorshift sequence; a zero seed would stay zero.
    uint32_t state = seed != 0 ? seed : 1u;
    for (size_t i = 0; i + 2 < kZipCryptHeaderSize; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        out.push_back(keys.Encrypt(static_cast<uint8_t>(state >> 24)));
    }
    out.push_back(keys.Encrypt(static_cast<uint8_t>(crc >> 16)));
    out.push_back(keys.Encrypt(static_cast<uint8_t>(crc >> 24)));
    for (const uint8_t b : data) out.push_back(keys.Encrypt(b));
    return out;
}

}  // namespace QRV
