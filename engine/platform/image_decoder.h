#pragma once
// Image files in memory (PNG, JPEG, TGA, BMP) decoded to RGBA8 with straight alpha, top row first.
// Safe to call from any thread.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace QRV::Platform {

struct DecodedImage {
    uint32_t width = 0;
    uint32_t height = 0;
    // width * height * 4 bytes, R G B A per pixel, rows from the top.
    std::vector<uint8_t> pixels;
};

// Images larger than this on either side are refused rather than allocated.
constexpr uint32_t kMaxImageSide = 16384;

// False (and out left empty) when the bytes are not an image we can read.
bool DecodeImage(const void* bytes, size_t size, DecodedImage& out);

}  // namespace QRV::Platform
