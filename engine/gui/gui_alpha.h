#pragma once
// How widgets show their opacity: one byte written into the alpha of every vertex colour of
// each of their quads, the red, green and blue left as they are.

#include <cstdint>

namespace QRV {

class JC_MESH;
class G_SPRITE;
struct JS_VERTEX;

// 255 for a >= 1, 0 for a <= 0 (and for NaN), else a x 255 + 0.5 truncated.
uint8_t AlphaByte(float alpha);

// The byte into the alpha of each vertex colour (nothing for null).
void SetVertexAlpha(JS_VERTEX* vertices, uint32_t count, uint8_t alpha);
void SetMeshAlpha(JC_MESH* mesh, uint8_t alpha);
void SetSpriteAlpha(G_SPRITE* sprite, uint8_t alpha);

}  // namespace QRV
