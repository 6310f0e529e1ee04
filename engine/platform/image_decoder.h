#pragma once
// Image files in memory (PNG, JPEG, TGA, BMP and whatever else the image library reads) decoded to
// RGBA8 with straight alpha, top row first. Safe to call from any thread.

#include <cstddef>
#include <cstdint>

#include "engine/platform/pixel_buffer.h"

namespace QRV::Platform {

struct DecodedImage {
    uint32_t width = 0;
    uint32_t height = 0;
    // width * height * 4 bytes, R G B A per pixel, rows from the top: the decoder's own buffer.
    PixelBuffer pixels;
};

// Images larger than this on either side are refused rather than allocated.
constexpr uint32_t kMaxImageSide = 16384;
// Nor is a picture of more pixels than this decoded, whatever its sides: a header is read before
// anything is allocated, and a few bytes can claim gigabytes (the library fills what is missing).
constexpr uint64_t kMaxImagePixels = 2048ull * 2048ull;

// The size the header claims; false when the bytes are not an image we can read.
bool ReadImageSize(const void* bytes, size_t size, uint32_t& width, uint32_t& height);

// False (and out left empty) when the bytes are not an image we can read, or when the header
// claims a side above maxSide (0: kMaxImageSide) or more than kMaxImagePixels pixels.
bool DecodeImage(const void* bytes, size_t size, DecodedImage& out, uint32_t maxSide = 0);

}  // namespace QRV::Platform
