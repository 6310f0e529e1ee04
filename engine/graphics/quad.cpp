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

void SetQuadUVs(JS_VERTEX* quad, float uMin, float vMin, float uMax, float vMax) {
    quad[0].u = uMin;
    quad[0].v = vMin;
    quad[1].u = uMax;
    quad[1].v = vMin;
    quad[2].u = uMax;
    quad[2].v = vMax;
    quad[3].u = uMin;
    quad[3].v = vMax;
}

void SetQuadUVsRotated(JS_VERTEX* quad, float uMin, float vMin, float uMax, float vMax) {
    quad[0].u = uMin;
    quad[0].v = vMax;
    quad[1].u = uMin;
    quad[1].v = vMin;
    quad[2].u = uMax;
    quad[2].v = vMin;
    quad[3].u = uMax;
    quad[3].v = vMax;
}

void SetVertexColors(JS_VERTEX* vertices, uint32_t count, uint32_t argb) {
    if (vertices == nullptr) return;
    for (uint32_t i = 0; i < count; ++i) vertices[i].color = argb;
}

}  // namespace QRV
