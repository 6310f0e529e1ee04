#pragma once
// The traditional PKWARE encryption of zip members: three 32-bit keys seeded by the password and
// moved on by every plain byte, each byte hidden under a mask drawn from the third key. The zip
// reader, the content builder and the tests all encrypt and decrypt through this one copy.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace QRV {

// Bytes in front of an encrypted member's data: ten filler bytes, then the CRC's two upper bytes
// (the last one is what a reader may check the password against). Encrypted like the data.
constexpr size_t kZipCryptHeaderSize = 12;

class ZipKeys {
public:
    // The keys after every byte of the password.
    explicit ZipKeys(std::string_view password);

    // One byte each way; the keys move on by the plain byte.
    uint8_t Encrypt(uint8_t plain);
    uint8_t Decrypt(uint8_t cipher);
    // Decrypts the bytes where they are.
    void Decrypt(uint8_t* bytes, size_t size);

private:
    void Update(uint8_t plain);
    uint8_t Mask() const;

    uint32_t key0 = 0;
    uint32_t key1 = 0;
    uint32_t key2 = 0;
};

// An encrypted member's stored bytes: the header (filler drawn from seed, so the same input
// always gives the same bytes, then the CRC's upper bytes) and the data, all encrypted.
std::vector<uint8_t> EncryptZipData(std::span<const uint8_t> data, std::string_view password, uint32_t crc,
                                    uint32_t seed);

}  // namespace QRV
