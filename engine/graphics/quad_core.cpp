#include "engine/graphics/quad_core.h"

#include "engine/graphics/named_texture.h"
#include "engine/graphics/render.h"
#include "engine/graphics/world_rows.h"

namespace QRV {

JC_QUAD::JC_QUAD() {
    for (JS_VERTEX& v : ownVertices) v = JS_VERTEX{0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, kWhite, 0.0f, 0.0f};
}

JC_QUAD::JC_QUAD(const JC_QUAD& other) {
    for (uint32_t i = 0; i < kQuadVertexCount; ++i) ownVertices[i] = other.vertices[i];
    vertexCount = other.vertexCount;
    indexCount = other.indexCount;
    texture = other.texture;
    renderState = other.renderState;
    CopyTransform(other);
}

JC_QUAD& JC_QUAD::operator=(const JC_QUAD& other) {
    if (this == &other) return *this;
    for (uint32_t i = 0; i < kQuadVertexCount; ++i) ownVertices[i] = other.vertices[i];
    vertices = ownVertices;
    vertexCount = other.vertexCount;
    indices = kQuadIndices;
    indexCount = other.indexCount;
    texture = other.texture;
    renderState = other.renderState;
    CopyTransform(other);
    return *this;
}

void JC_QUAD::CopyTransform(const JC_QUAD& other) {
    if (other.ownsTransform != 0) {
        ownTransform = *other.transform;
        transform = &ownTransform;
        ownsTransform = 1;
    } else {
        transform = other.transform;
        ownsTransform = 0;
    }
}

void JC_QUAD::SetTransform(JS_TRANSFORM3* newTransform) {
    if (newTransform == transform && newTransform != nullptr) return;
    if (newTransform == nullptr) {
        ownTransform = JS_TRANSFORM3();
        transform = &ownTransform;
        ownsTransform = 1;
    } else {
        transform = newTransform;
        ownsTransform = 0;
    }
}

bool JC_QUAD::HasTexture() const { return IsRealTexture(texture); }

void JC_QUAD::Submit() {
    if (g_render == nullptr || texture == nullptr || vertices == nullptr) return;
    if (indices == kQuadIndices && vertexCount == kQuadVertexCount && indexCount == kQuadIndexCount) {
        g_render->DrawQuad(vertices, texture, renderState);
        return;
    }
    g_render->DrawTriangles(vertices, texture, renderState, vertexCount, indices, indexCount);
}

void JC_QUAD::Draw() {
    if (transform != nullptr && g_render != nullptr) {
        JS_MATRIX_ROWS rows;
        if (!QuickWorldRows(*transform, rows)) {
            LoadWorldMatrix(transform, worldCache);
            Submit();
            return;
        }
        // Loaded as any draw loads it, and handed over as made.
        StoreRows(g_render->worldMatrix, rows);
        if (texture != nullptr && vertices != nullptr && indices == kQuadIndices && vertexCount == kQuadVertexCount &&
            indexCount == kQuadIndexCount) {
            g_render->DrawQuadRows(vertices, texture, renderState, rows.row[0], rows.row[1], rows.row[2], rows.row[3]);
            return;
        }
    }
    Submit();
}

}  // namespace QRV
