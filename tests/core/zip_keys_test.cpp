#include "engine/core/zip_keys.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

// Minizip's key schedule, the reference the engine's keys must agree with byte for byte (its
// header is C that still says "register").
#define register
#include <crypt.h>
#undef register

namespace {

using QRV::ZipKeys;

// The CRC table in the entry type minizip's schedule reads (zlib's own has 32-bit entries).
const unsigned long* ReferenceTable() {
    static const std::array<unsigned long, 256> table = [] {
        std::array<unsigned long, 256> widened{};
        for (size_t i = 0; i < widened.size(); ++i) widened[i] = get_crc_table()[i];
        return widened;
    }();
    return table.data();
}

std::vector<uint8_t> ReferenceEncrypt(const std::string& password, const std::vector<uint8_t>& plain) {
    unsigned long keys[3];
    init_keys(password.c_str(), keys, ReferenceTable());
    std::vector<uint8_t> out;
    for (const uint8_t b : plain) {
        int t;
        out.push_back(static_cast<uint8_t>(zencode(keys, ReferenceTable(), b, t)));
    }
    return out;
}

std::vector<uint8_t> ReferenceDecrypt(const std::string& password, std::vector<uint8_t> bytes) {
    unsigned long keys[3];
    init_keys(password.c_str(), keys, ReferenceTable());
    for (uint8_t& b : bytes) {
        int c = b;
        zdecode(keys, ReferenceTable(), c);
        b = static_cast<uint8_t>(c);
    }
    return bytes;
}

std::vector<uint8_t> Sample(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 37 + (i >> 8));
    return bytes;
}

TEST(ZipKeys, AgreeWithTheReferenceScheduleBothWays) {
    const struct {
        const char* label;
        std::string password;
        size_t size;
    } cases[] = {
        {"empty password", "", 64},
        {"the game's kind of password", "MarrowindByPeltane", 300},
        {"bytes above 127", "Caf\xC3\xA9\xFF", 257},
        {"a single byte", "x", 1},
        {"long password, every byte value", std::string(200, '\x80') + "tail", 4096},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::vector<uint8_t> plain = Sample(c.size);
        const std::vector<uint8_t> reference = ReferenceEncrypt(c.password, plain);

        ZipKeys encrypting(c.password);
        std::vector<uint8_t> cipher;
        for (const uint8_t b : plain) cipher.push_back(encrypting.Encrypt(b));
        EXPECT_EQ(cipher, reference);

        ZipKeys byteWise(c.password);
        std::vector<uint8_t> back;
        for (const uint8_t b : cipher) back.push_back(byteWise.Decrypt(b));
        EXPECT_EQ(back, plain);

        std::vector<uint8_t> inPlace = cipher;
        ZipKeys(c.password).Decrypt(inPlace.data(), inPlace.size());
        EXPECT_EQ(inPlace, plain);
    }
}

TEST(ZipKeys, EncryptedDataCarriesThePasswordCheckInItsHeader) {
    const std::string password = "MarrowindByPeltane";
    const std::vector<uint8_t> data = Sample(100);
    const uint32_t crc = 0xA1B2C3D4u;
    const std::vector<uint8_t> stored = QRV::EncryptZipData(data, password, crc, 7);
    ASSERT_EQ(stored.size(), QRV::kZipCryptHeaderSize + data.size());

    // Any reader of the format: the header's last two bytes are the CRC's upper bytes, then the data.
    const std::vector<uint8_t> plain = ReferenceDecrypt(password, stored);
    EXPECT_EQ(plain[10], 0xB2);
    EXPECT_EQ(plain[11], 0xA1);
    EXPECT_EQ(std::vector<uint8_t>(plain.begin() + QRV::kZipCryptHeaderSize, plain.end()), data);

    // The filler follows the seed alone: builds repeat byte for byte, seeds differ.
    EXPECT_EQ(QRV::EncryptZipData(data, password, crc, 7), stored);
    const std::vector<uint8_t> other = QRV::EncryptZipData(data, password, crc, 8);
    EXPECT_NE(std::vector<uint8_t>(other.begin(), other.begin() + 10),
              std::vector<uint8_t>(stored.begin(), stored.begin() + 10));
    // A zero seed still gives filler that is not all one byte.
    const std::vector<uint8_t> zero = ReferenceDecrypt(password, QRV::EncryptZipData({}, password, crc, 0));
    ASSERT_EQ(zero.size(), QRV::kZipCryptHeaderSize);
    EXPECT_NE(std::count(zero.begin(), zero.begin() + 10, zero[0]), 10);
}

}  // namespace
