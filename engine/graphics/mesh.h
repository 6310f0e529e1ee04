#pragma once
// A textured quad that shows a whole texture or a region of an atlas: widgets, fonts and effects
// draw through it.

#include <cstdint>

#include "engine/core/transform.h"
#include "engine/graphics/quad_core.h"
#include "engine/graphics/texture.h"

namespace QRV {

// A part of a texture: the record, its size in pixels and its UV rectangle. A rotated region is
// stored turned by a quarter in its atlas.
struct JS_REGION {
    JS_TEXTURE* texture = nullptr;
    float width = 0.0f;
    float height = 0.0f;
    float uMin = 0.0f, vMin = 0.0f, uMax = 1.0f, vMax = 1.0f;
    uint8_t rotated = 0;
};

class JC_MESH : public JC_QUAD {
public:
    // Four white zero vertices, the renderer's no-texture record, an own fresh transform.
    JC_MESH();
    // As the default, then SetWholeTexture(texture).
    explicit JC_MESH(JS_TEXTURE* texture);
    // A copy keeps the vertices (colours and UVs included), texture, state and UV rectangle; an
    // owned transform is duplicated, a borrowed one shared.
    JC_MESH(const JC_MESH& other) = default;
    JC_MESH& operator=(const JC_MESH& other) = default;

    // The whole texture as the region (its pixel size, UVs 0..1, not rotated), then SetRegion.
    int SetWholeTexture(JS_TEXTURE* texture, JS_TRANSFORM3* transform = nullptr);
    // -1 and nothing changed for a null region or texture. Otherwise takes the texture, the
    // rotated flag and the UV rectangle; uses the given transform (not owned) or, given none,
    // keeps its own; sizes the quad to the region from c0, writes the UVs, makes every vertex
    // white; 1.
    int SetRegion(const JS_REGION* region, JS_TRANSFORM3* transform = nullptr);
    // Shows cell `index` of a one-row strip of `columns` cells within the UV rectangle.
    void SetFrame(int32_t columns, int32_t index);
    // Repeats the texture over the quad: the UV extent per axis becomes the rectangle's extent
    // times the quad size in whole pixels over the texture size (axes exchanged when rotated).
    void FitUVsToQuad();
    // The transform's pivot at the hot spot's point of the quad plus the offset; other numbers
    // change nothing.
    void SetHotSpot(int32_t hotSpot, float offsetX = 0.0f, float offsetY = 0.0f);
    // Draws a sub-rectangle of the UV rectangle (fractions left, top, right, bottom) as a
    // width x height quad whose upper-left corner is placed at (x, y) through the transform's
    // parent chain.
    void DrawRegionAt(float left, float top, float right, float bottom, int32_t width, int32_t height, float x,
                      float y);
    // Draws once at (x, y) with the rotation angle and scale (scale y 0 means scale x), through
    // this transform alone; the transform is left as it was.
    void DrawAt(float scaleX, float scaleY, float x, float y, float angle);

    // c1 to c3 follow c0 for a quad of this size.
    void SetSize(float width, float height);
    float Width() const { return vertices[1].x - vertices[0].x; }
    float Height() const { return vertices[3].y - vertices[0].y; }

    float uMin = 0.0f, vMin = 0.0f, uMax = 1.0f, vMax = 1.0f;
    uint8_t rotated = 0;
};

// Writes the colour into every vertex of the quad.
void SetMeshColor(JC_MESH* mesh, uint32_t argb);

}  // namespace QRV
