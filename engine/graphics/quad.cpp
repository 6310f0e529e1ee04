#include "engine/graphics/quad.h"

namespace QRV {

const uint16_t kQuadIndices[kQuadIndexCount] = {0, 1, 2, 0, 2, 3};

bool HotSpotPoint(int32_t hotSpot, float width, float height, float& x, float& y) {
    if (hotSpot < 0 || hotSpot > 8) return false;
    const int32_t column = hotSpot % 3;
    const int32_t row = hotSpot / 3;
    x = column == 0 ? 0.0f : column == 1 ? width * 0.5f : width;
    y = row == 0 ? 0.0f : row == 1 ? height * 0.5f : height;
    return true;
}

void SetQuadSize(JS_VERTEX* quad, float width, float height) {
    const float x = quad[0].x;
    const float y = quad[0].y;
    quad[1].x = x + width;
    quad[1].y = y;
    quad[2].x = x + width;
    quad[2].y = y + height;
    quad[3].x = x;
    quad[3].y = y + height;
}

namespace {

// Corner i gets (u[i], v[i]).
void SetCornerUVs(JS_VERTEX* quad, const float (&u)[kQuadVertexCount], const float (&v)[kQuadVertexCount]) {
    for (uint32_t i = 0; i < kQuadVertexCount; ++i) {
        quad[i].u = u[i];
        quad[i].v = v[i];
    }
}

}  // namespace

void SetQuadUVs(JS_VERTEX* quad, float uMin, float vMin, float uMax, float vMax) {
    SetCornerUVs(quad, {uMin, uMax, uMax, uMin}, {vMin, vMin, vMax, vMax});
}

void SetQuadUVsRotated(JS_VERTEX* quad, float uMin, float vMin, float uMax, float vMax) {
    SetCornerUVs(quad, {uMin, uMin, uMax, uMax}, {vMax, vMin, vMin, vMax});
}

void SetVertexColors(JS_VERTEX* vertices, uint32_t count, uint32_t argb) {
    if (vertices == nullptr) return;
    for (uint32_t i = 0; i < count; ++i) vertices[i].color = argb;
}

}  // namespace QRV
