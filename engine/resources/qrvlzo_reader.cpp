#include "engine/resources/qrvlzo_reader.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace QRV {

namespace {

constexpr char kTag[6] = {'q', 'r', 'v', 'l', 'z', 'o'};

}  // namespace

JC_QRVLZO_FILE::~JC_QRVLZO_FILE() { Close(); }

long JC_QRVLZO_FILE::FileLength() {
    if (file == nullptr) return -1;
    const long position = std::ftell(file);
    if (position < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long length = std::ftell(file);
    std::fseek(file, position, SEEK_SET);
    return length;
}

bool JC_QRVLZO_FILE::Open(const std::string& path) {
    if (file != nullptr) return false;
    file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;

    unsigned char tag[sizeof(kTag)];
    const size_t got = std::fread(tag, 1, sizeof(tag), file);
    if (got < sizeof(tag) || std::memcmp(tag, kTag, sizeof(kTag)) != 0) {
        const long length = FileLength();
        // The caller allocates size + 1 bytes, so the length must leave room for that.
        if (length < 0 || static_cast<unsigned long>(length) >= UINT32_MAX || std::fseek(file, 0, SEEK_SET) != 0) {
            Close();
            return false;
        }
        size = static_cast<uint32_t>(length);
        compressed = 0;
        return true;
    }

    unsigned char sizeBytes[4];
    if (std::fread(sizeBytes, 1, sizeof(sizeBytes), file) != sizeof(sizeBytes)) {
        Close();
        return false;
    }
    const uint32_t declared = static_cast<uint32_t>(sizeBytes[0]) | static_cast<uint32_t>(sizeBytes[1]) << 8 |
                              static_cast<uint32_t>(sizeBytes[2]) << 16 | static_cast<uint32_t>(sizeBytes[3]) << 24;

    // The header is untrusted: LZO1X cannot expand a block by more than about 256 times, so a
    // larger claim is corrupt and must not drive the caller's allocation.
    const long length = FileLength();
    const uint64_t block = length > static_cast<long>(kHeaderSize) ? static_cast<uint64_t>(length) - kHeaderSize : 0;
    const uint64_t limit = std::min<uint64_t>(kMaxSize, kMaxRatio * block + 64);
    if (length < 0 || declared > limit) {
        Close();
        return false;
    }
    size = declared;
    compressed = 1;

    if (lzoReady == 0) {
        if (lzo_init() != LZO_E_OK) {
            Close();
            return false;
        }
        lzoReady = 1;
    }
    return true;
}

bool JC_QRVLZO_FILE::Read(void* buffer) {
    if (file == nullptr || buffer == nullptr) return false;
    if (compressed == 0) return std::fread(buffer, 1, size, file) == size;

    const long length = FileLength();
    if (length < static_cast<long>(kHeaderSize) || lzoReady == 0) return false;
    const size_t blockLength = static_cast<size_t>(length) - kHeaderSize;
    std::unique_ptr<unsigned char[]> block = std::make_unique_for_overwrite<unsigned char[]>(blockLength + 1);
    if (std::fread(block.get(), 1, blockLength, file) != blockLength) return false;

    // The safe decompressor stops at the output length instead of writing past the buffer.
    lzo_uint outLength = size;
    const int result =
        lzo1x_decompress_safe(block.get(), blockLength, static_cast<unsigned char*>(buffer), &outLength, nullptr);
    return result == LZO_E_OK && outLength == size;
}

bool JC_QRVLZO_FILE::Close() {
    if (file == nullptr) return false;
    const int result = std::fclose(file);
    file = nullptr;
    return result == 0;
}

}  // namespace QRV
