#pragma once
// A texture record: the image's size and its device texture. Records may be made on any thread;
// the device texture is created on the main thread at first use.

#include <cstdint>

#include "engine/platform/pixel_buffer.h"

namespace QRV {

struct JS_TEXTURE {
    uint32_t width = 0;
    uint32_t height = 0;
    // The device texture; 0 until uploaded.
    uint32_t deviceHandle = 0;
    // Every texel has full alpha: drawn with opaque colours it covers what is under it.
    bool opaque = false;
    // Every texel is white (only its alpha varies, as in a font's glyphs): the device may keep
    // the alpha alone.
    bool whiteOnly = false;
    // Decoded RGBA pixels waiting for upload (emptied once uploaded).
    Platform::PixelBuffer pendingPixels;
};

}  // namespace QRV
