#include "engine/platform/pixel_buffer.h"

#include <cstdlib>

namespace QRV::Platform {

PixelBuffer PixelBuffer::Zeroed(size_t count) {
    if (count == 0) return {};
    return PixelBuffer(static_cast<uint8_t*>(std::calloc(count, 1)), count, &std::free);
}

}  // namespace QRV::Platform
