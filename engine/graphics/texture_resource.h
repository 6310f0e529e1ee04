#pragma once
// Textures made from resource records, and their reference counting.

#include "engine/resources/resource.h"

namespace QRV {

struct JS_TEXTURE;

// The record's texture: the object at once when it is loaded as a texture, null when the record
// holds another kind or there is no renderer, and the renderer's default texture when the bytes
// cannot be read or decoded. Counts no reference.
JS_TEXTURE* GetResourceTexture(JS_RESOURCE* record);
// One reference less on the texture's record; true when it fell below 1. The renderer's default
// texture is ignored.
bool ReleaseTexture(const JS_TEXTURE* texture);

}  // namespace QRV
