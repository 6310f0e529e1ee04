#pragma once
// What every textured quad shares: the corner order c0 upper left, c1 upper right, c2 lower
// right, c3 lower left; the one index list; and the anchor points of the nine hot spots.

#include <cstdint>

#include "engine/platform/render_device.h"

namespace QRV {

constexpr uint32_t kQuadVertexCount = 4;
constexpr uint32_t kQuadIndexCount = 6;
// Two triangles c0 c1 c2 and c0 c2 c3.
extern const uint16_t kQuadIndices[kQuadIndexCount];

// The render-state word a new quad starts with.
constexpr uint32_t kQuadRenderState = 0x2432;

constexpr uint32_t kWhite = 0xFFFFFFFF;

// The point of a w x h quad that a hot spot (0 to 8) anchors: x = 0, w/2 or w for the left,
// middle and right columns, y = 0, h/2 or h for the upper, middle and lower rows. False (x and y
// untouched) for any other number.
bool HotSpotPoint(int32_t hotSpot, float width, float height, float& x, float& y);

// Corners c1 to c3 from c0 and the size: c1 = c0 + (w, 0), c2 = c0 + (w, h), c3 = c0 + (0, h).
void SetQuadSize(JS_VERTEX* quad, float width, float height);
// UVs c0 (uMin, vMin), c1 (uMax, vMin), c2 (uMax, vMax), c3 (uMin, vMax).
void SetQuadUVs(JS_VERTEX* quad, float uMin, float vMin, float uMax, float vMax);
// The same rectangle for a region stored turned in its atlas:
// c0 (uMin, vMax), c1 (uMin, vMin), c2 (uMax, vMin), c3 (uMax, vMax).
void SetQuadUVsRotated(JS_VERTEX* quad, float uMin, float vMin, float uMax, float vMax);
// The colour of every vertex.
void SetVertexColors(JS_VERTEX* vertices, uint32_t count, uint32_t argb);

}  // namespace QRV
