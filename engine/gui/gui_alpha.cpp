#include "engine/gui/gui_alpha.h"

#include "engine/graphics/mesh.h"
#include "engine/graphics/sprite.h"
#include "engine/platform/render_device.h"

namespace QRV {

uint8_t AlphaByte(float alpha) {
    if (alpha >= 1.0f) return 255;
    if (!(alpha > 0.0f)) return 0;
    return static_cast<uint8_t>(alpha * 255.0f + 0.5f);
}

void SetVertexAlpha(JS_VERTEX* vertices, uint32_t count, uint8_t alpha) {
    if (vertices == nullptr) return;
    for (uint32_t i = 0; i < count; ++i) {
        vertices[i].color = (vertices[i].color & 0x00FFFFFFu) | (uint32_t{alpha} << 24);
    }
}

void SetMeshAlpha(JC_MESH* mesh, uint8_t alpha) {
    if (mesh != nullptr) SetVertexAlpha(mesh->vertices, mesh->vertexCount, alpha);
}

void SetSpriteAlpha(G_SPRITE* sprite, uint8_t alpha) {
    if (sprite != nullptr) SetVertexAlpha(sprite->vertices, sprite->vertexCount, alpha);
}

}  // namespace QRV
