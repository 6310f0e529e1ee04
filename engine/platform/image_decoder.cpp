#include "engine/platform/image_decoder.h"

#include <stb/stb_image.h>

#include <climits>

namespace QRV::Platform {

// stb_image keeps its per-call settings thread-local and its global ones untouched here (the
// vertical flip stays off), so concurrent decodes on different threads are safe.
bool DecodeImage(const void* bytes, size_t size, DecodedImage& out) {
    out = DecodedImage{};
    if (bytes == nullptr || size == 0 || size > static_cast<size_t>(INT_MAX)) return false;

    const auto* data = static_cast<const stbi_uc*>(bytes);
    const int length = static_cast<int>(size);

    // Read the header first so that a forged size cannot make us allocate gigabytes.
    int w = 0, h = 0, channels = 0;
    if (stbi_info_from_memory(data, length, &w, &h, &channels) == 0) return false;
    if (w <= 0 || h <= 0 || static_cast<uint32_t>(w) > kMaxImageSide || static_cast<uint32_t>(h) > kMaxImageSide) {
        return false;
    }

    stbi_uc* pixels = stbi_load_from_memory(data, length, &w, &h, &channels, 4);
    if (pixels == nullptr) return false;

    out.width = static_cast<uint32_t>(w);
    out.height = static_cast<uint32_t>(h);
    const size_t bytesTotal = static_cast<size_t>(out.width) * out.height * 4;
    out.pixels.assign(pixels, pixels + bytesTotal);
    stbi_image_free(pixels);
    return true;
}

}  // namespace QRV::Platform
