#include "engine/platform/image_decoder.h"

#include <stb/stb_image.h>

#include <climits>

namespace QRV::Platform {

namespace {

void FreeDecoded(void* pixels) { stbi_image_free(pixels); }

}  // namespace

bool ReadImageSize(const void* bytes, size_t size, uint32_t& width, uint32_t& height) {
    width = height = 0;
    if (bytes == nullptr || size == 0 || size > static_cast<size_t>(INT_MAX)) return false;
    int w = 0, h = 0, channels = 0;
    if (stbi_info_from_memory(static_cast<const stbi_uc*>(bytes), static_cast<int>(size), &w, &h, &channels) == 0 ||
        w <= 0 || h <= 0) {
        return false;
    }
    width = static_cast<uint32_t>(w);
    height = static_cast<uint32_t>(h);
    return true;
}

// stb_image keeps its per-call settings thread-local and its global ones untouched here (the
// vertical flip stays off), so concurrent decodes on different threads are safe.
bool DecodeImage(const void* bytes, size_t size, DecodedImage& out, uint32_t maxSide) {
    out = DecodedImage{};
    // The header first, so that a forged size cannot make us allocate gigabytes.
    uint32_t claimedWidth = 0, claimedHeight = 0;
    if (!ReadImageSize(bytes, size, claimedWidth, claimedHeight)) return false;
    const uint32_t side = maxSide == 0 || maxSide > kMaxImageSide ? kMaxImageSide : maxSide;
    if (claimedWidth > side || claimedHeight > side || uint64_t{claimedWidth} * claimedHeight > kMaxImagePixels) {
        return false;
    }

    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(static_cast<const stbi_uc*>(bytes), static_cast<int>(size), &w, &h, &channels, 4);
    if (pixels == nullptr) return false;
    // The decode reads the header again: it must be the one that was checked.
    if (static_cast<uint32_t>(w) != claimedWidth || static_cast<uint32_t>(h) != claimedHeight) {
        stbi_image_free(pixels);
        return false;
    }
    out.width = claimedWidth;
    out.height = claimedHeight;
    out.pixels = PixelBuffer(pixels, size_t{out.width} * out.height * 4, &FreeDecoded);
    return true;
}

}  // namespace QRV::Platform
