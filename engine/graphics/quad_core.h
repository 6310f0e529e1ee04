#pragma once
// What JC_MESH and G_SPRITE are both made of: a four-vertex quad kept inside the object, the
// texture it shows, its render-state word, and the transform that places it (its own, kept
// inside the object too, or one that someone else owns), drawn through the renderer's batch.

#include <cstdint>

#include "engine/core/transform.h"
#include "engine/graphics/quad.h"
#include "engine/graphics/texture.h"
#include "engine/graphics/transform.h"
#include "engine/platform/render_device.h"

namespace QRV {

class JC_QUAD {
public:
    // Four white zero vertices, no texture, the quad state word, its own fresh transform.
    JC_QUAD();
    // A copy takes the vertices, texture and state word; an owned transform is duplicated, a
    // borrowed one shared.
    JC_QUAD(const JC_QUAD& other);
    JC_QUAD& operator=(const JC_QUAD& other);
    ~JC_QUAD() = default;

    // A transform that someone else owns (null gives the quad a fresh own one again).
    void SetTransform(JS_TRANSFORM3* transform);
    // True when the texture is anything but the renderer's no-texture record.
    bool HasTexture() const;
    // Draws the quad placed by its absolute transform.
    void Draw();

    JS_VERTEX* vertices = ownVertices;
    uint32_t vertexCount = kQuadVertexCount;
    const uint16_t* indices = kQuadIndices;
    uint32_t indexCount = kQuadIndexCount;
    JS_TEXTURE* texture = nullptr;
    uint32_t renderState = kQuadRenderState;
    JS_TRANSFORM3* transform = &ownTransform;
    JS_VERTEX ownVertices[kQuadVertexCount];
    uint8_t ownsTransform = 1;
    // Where the transform is while the quad owns it (ownsTransform 1).
    JS_TRANSFORM3 ownTransform;
    JS_WORLD_CACHE worldCache;

protected:
    // Draws with the renderer's world matrix as it stands.
    void Submit();
    // The transform as a copy takes it from other.
    void CopyTransform(const JC_QUAD& other);
};

}  // namespace QRV
