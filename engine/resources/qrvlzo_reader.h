#pragma once
// Reader of resource files that are either plain or in the compressed "qrvlzo" form: the tag
// "qrvlzo", the content size as 4 little-endian bytes, then one LZO1X block.

#include <cstdint>
#include <cstdio>
#include <string>

namespace QRV {

class JC_QRVLZO_FILE {
public:
    // Declared content sizes above min(kMaxSize, kMaxRatio x block length + 64) are refused.
    static constexpr uint32_t kMaxSize = 256u << 20;
    static constexpr uint64_t kMaxRatio = 256;
    static constexpr uint32_t kHeaderSize = 10;

    JC_QRVLZO_FILE() = default;
    ~JC_QRVLZO_FILE();
    JC_QRVLZO_FILE(const JC_QRVLZO_FILE&) = delete;
    JC_QRVLZO_FILE& operator=(const JC_QRVLZO_FILE&) = delete;

    // False when a file is already open, the file cannot be opened, the header is short or the
    // declared size is beyond the limits.
    bool Open(const std::string& path);
    // The content size (the caller allocates Size() + 1 bytes).
    uint32_t Size() const { return size; }
    // Writes exactly Size() bytes of content into buffer.
    bool Read(void* buffer);
    bool Close();
    // Length of the open file, -1 without one.
    long FileLength();

    FILE* file = nullptr;
    uint32_t size = 0;
    uint32_t compressed = 0;
    uint8_t lzoReady = 0;
};

}  // namespace QRV
