#include "engine/graphics/mesh.h"

#include <cassert>
#include <cmath>

#include "engine/graphics/named_texture.h"
#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"
#include "engine/graphics/transform.h"

namespace QRV {

JC_MESH::JC_MESH() { texture = NoTexture(); }

JC_MESH::JC_MESH(JS_TEXTURE* texture) : JC_MESH() { SetWholeTexture(texture); }

int JC_MESH::SetWholeTexture(JS_TEXTURE* newTexture, JS_TRANSFORM3* newTransform) {
    if (newTexture == nullptr) return -1;
    JS_REGION region;
    region.texture = newTexture;
    region.width = static_cast<float>(newTexture->width);
    region.height = static_cast<float>(newTexture->height);
    return SetRegion(&region, newTransform);
}

int JC_MESH::SetRegion(const JS_REGION* region, JS_TRANSFORM3* newTransform) {
    if (region == nullptr || region->texture == nullptr) return -1;
    texture = region->texture;
    rotated = region->rotated;
    uMin = region->uMin;
    vMin = region->vMin;
    uMax = region->uMax;
    vMax = region->vMax;
    // Given none, an owned transform stays (placement and parent kept); a borrowed one gives way
    // to a fresh own transform.
    if (newTransform != nullptr) {
        SetTransform(newTransform);
    } else if (ownsTransform == 0 || transform == nullptr) {
        SetTransform(nullptr);
    }
    SetQuadSize(vertices, region->width, region->height);
    if (rotated != 0) {
        SetQuadUVsRotated(vertices, uMin, vMin, uMax, vMax);
    } else {
        SetQuadUVs(vertices, uMin, vMin, uMax, vMax);
    }
    SetVertexColors(vertices, vertexCount, kWhite);
    return 1;
}

void JC_MESH::SetFrame(int32_t columns, int32_t index) {
    // Every strip in use is one row; a zero column count or an index past the row is the
    // caller's error.
    assert(columns > 0 && index >= 0 && index < columns);
    if (columns <= 0) return;
    const int32_t col = index % columns;
    const int32_t row = index / columns;
    const float du = uMax - uMin;
    const float dv = vMax - vMin;
    const float n = static_cast<float>(columns);
    if (rotated != 0) {
        SetQuadUVsRotated(vertices, uMin + du * static_cast<float>(row),
                          vMin + dv * (1.0f - static_cast<float>(col + 1) / n), uMin + du * static_cast<float>(row + 1),
                          vMin + dv * (1.0f - static_cast<float>(col) / n));
    } else {
        SetQuadUVs(vertices, uMin + du * static_cast<float>(col) / n, vMin + dv * static_cast<float>(row),
                   uMin + du * static_cast<float>(col + 1) / n, vMin + dv * static_cast<float>(row + 1));
    }
}

void JC_MESH::FitUVsToQuad() {
    if (texture == nullptr || texture->width == 0 || texture->height == 0) return;
    const float quadW = std::trunc(Width());
    const float quadH = std::trunc(Height());
    const float texW = static_cast<float>(texture->width);
    const float texH = static_cast<float>(texture->height);
    const float du = uMax - uMin;
    const float dv = vMax - vMin;
    if (rotated != 0) {
        // The quad's width runs along v and its height along u.
        SetQuadUVsRotated(vertices, uMin, vMin, uMin + du * quadH / texW, vMin + dv * quadW / texH);
    } else {
        SetQuadUVs(vertices, uMin, vMin, uMin + du * quadW / texW, vMin + dv * quadH / texH);
    }
}

void JC_MESH::SetHotSpot(int32_t hotSpot, float offsetX, float offsetY) {
    float x = 0.0f, y = 0.0f;
    if (!HotSpotPoint(hotSpot, Width(), Height(), x, y)) return;
    transform->pivotX = x + offsetX;
    transform->pivotY = y + offsetY;
}

void JC_MESH::SetSize(float width, float height) { SetQuadSize(vertices, width, height); }

void JC_MESH::DrawRegionAt(float left, float top, float right, float bottom, int32_t width, int32_t height, float x,
                           float y) {
    const float du = uMax - uMin;
    const float dv = vMax - vMin;
    if (rotated != 0) {
        // Turned in the atlas: the quad's x runs from vMax down to vMin, its y from uMin to uMax.
        SetQuadUVsRotated(vertices, uMin + du * top, vMax - dv * right, uMin + du * bottom, vMax - dv * left);
    } else {
        SetQuadUVs(vertices, uMin + du * left, vMin + dv * top, uMin + du * right, vMin + dv * bottom);
    }
    SetQuadSize(vertices, static_cast<float>(width), static_cast<float>(height));
    SetHotSpot(0);
    transform->positionX = x;
    transform->positionY = y;
    Draw();
}

void JC_MESH::DrawAt(float scaleX, float scaleY, float x, float y, float angle) {
    const JS_TRANSFORM3 saved = *transform;
    transform->positionX = x;
    transform->positionY = y;
    transform->positionZ = 0.0f;
    transform->rotationX = 0.0f;
    transform->rotationY = 0.0f;
    transform->rotationZ = angle;
    transform->scaleX = scaleX;
    transform->scaleY = scaleY != 0.0f ? scaleY : scaleX;
    transform->scaleZ = 1.0f;
    LoadWorldMatrixLocal(*transform);
    Submit();
    *transform = saved;
}

void SetMeshColor(JC_MESH* mesh, uint32_t argb) {
    if (mesh == nullptr) return;
    SetVertexColors(mesh->vertices, mesh->vertexCount, argb);
}

}  // namespace QRV
