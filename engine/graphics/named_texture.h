#pragma once
// Textures of the resource cache by key, with the user count of their records.

#include <string>

#include "engine/graphics/texture.h"

namespace QRV {

// The texture of the key with one user counted on its record; the renderer's default texture
// (no user counted) when the key is missing or the texture cannot be read; null without a
// renderer.
JS_TEXTURE* AcquireNamedTexture(const std::string& key);
// One user less on the texture's record, counted for the cache's next sweep when none is left.
// Null, the default and the no-texture records are ignored.
void ReleaseNamedTexture(JS_TEXTURE* texture);
// True for anything but null and the renderer's no-texture record (the default texture is real).
bool IsRealTexture(const JS_TEXTURE* texture);
// The renderer's no-texture record (null without a renderer).
JS_TEXTURE* NoTexture();

}  // namespace QRV
