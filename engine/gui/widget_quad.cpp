#include "engine/gui/widget_quad.h"

#include "engine/graphics/mesh.h"
#include "engine/graphics/named_texture.h"

namespace QRV {

bool RestoreQuadTexture(JC_MESH& quad, const std::string& name) {
    if (quad.HasTexture()) return false;
    JS_TEXTURE* texture = AcquireNamedTexture(name);
    if (texture == nullptr) return false;
    quad.texture = texture;
    return true;
}

void ReleaseQuadTexture(JC_MESH& quad) {
    if (!quad.HasTexture()) return;
    // The default texture stood in for a missing one and counts no user: ReleaseNamedTexture
    // leaves it alone.
    ReleaseNamedTexture(quad.texture);
    quad.texture = NoTexture();
}

float TextureWidth(const JS_TEXTURE* texture) { return texture != nullptr ? static_cast<float>(texture->width) : 0.0f; }

float TextureHeight(const JS_TEXTURE* texture) {
    return texture != nullptr ? static_cast<float>(texture->height) : 0.0f;
}

void BuildStripQuad(JC_MESH& quad, JS_TEXTURE* texture, int32_t columns, int32_t frame, JS_TRANSFORM3* transform) {
    if (texture != nullptr) {
        quad.SetWholeTexture(texture, transform);
    } else if (transform != nullptr) {
        quad.SetTransform(transform);
    }
    if (columns < 1) columns = 1;
    quad.SetSize(TextureWidth(texture) / static_cast<float>(columns), TextureHeight(texture));
    if (frame >= 0 && frame < columns) quad.SetFrame(columns, frame);
    quad.SetHotSpot(4);
}

}  // namespace QRV
