#pragma once
// How widgets build their quads and hold their textures.
//
// A widget takes its textures by name in RestoreResources: the first call builds the quads, later
// calls only bind a texture again to a quad that holds the no-texture record. ReleaseResources
// gives the user back and leaves the no-texture record in the quad, which draws nothing.

#include <cstdint>
#include <string>

#include "engine/core/transform.h"

namespace QRV {

class JC_MESH;
struct JS_TEXTURE;

// Binds the named texture to a quad that holds none (the no-texture record); nothing otherwise.
// True when it bound one.
bool RestoreQuadTexture(JC_MESH& quad, const std::string& name);
// Gives the quad's texture user back (none for the default texture) and leaves the no-texture
// record in it; nothing for a quad that holds none.
void ReleaseQuadTexture(JC_MESH& quad);

// The texture's size in pixels (0 for null).
float TextureWidth(const JS_TEXTURE* texture);
float TextureHeight(const JS_TEXTURE* texture);

// Makes the quad show one frame of a strip of `columns` equal frames side by side: one column of
// the texture wide, its full height, the frame given, the hot spot at the centre. The quad is
// placed by `transform` when one is given (not owned), else by its own. A null texture leaves
// the quad 0 x 0 and unbound.
void BuildStripQuad(JC_MESH& quad, JS_TEXTURE* texture, int32_t columns, int32_t frame,
                    JS_TRANSFORM3* transform = nullptr);

}  // namespace QRV
