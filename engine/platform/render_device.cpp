#include "engine/platform/render_device.h"

#include <cstddef>
#include <vector>

namespace QRV::Platform {

uint32_t IRenderDevice::CreateAlphaTexture(uint32_t width, uint32_t height, const uint8_t* alpha) {
    if (alpha == nullptr) return CreateTexture(width, height, nullptr);
    const size_t count = size_t{width} * height;
    std::vector<uint8_t> rgba(count * 4, 0xFF);
    for (size_t i = 0; i < count; ++i) rgba[i * 4 + 3] = alpha[i];
    return CreateTexture(width, height, rgba.data());
}

}  // namespace QRV::Platform
