#pragma once
// A render-target record, owned by the renderer's render-target registry: a texture that draws can
// go into. What was drawn is read through its texture record, which draws like any other (a
// sprite may hold it). The device objects are made again after every reset of the device, which
// leaves the target transparent until it is drawn into again.

#include <cstdint>

#include "engine/graphics/texture.h"

namespace QRV {

struct JS_RENDER_TARGET {
    uint32_t width = 0;
    uint32_t height = 0;
    // The device's target; 0 while the device has none for it (binding it then fails).
    uint32_t deviceHandle = 0;
    // Its texture, of the same size. Not in the texture registry: it goes with the target and is
    // never passed to ReleaseTexture.
    JS_TEXTURE texture;
};

}  // namespace QRV
