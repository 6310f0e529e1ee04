#pragma once
// A quad showing a texture of the resource cache by name. The texture is bound by
// RestoreResources (one user counted on its record) and given back by ReleaseResources.

#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "engine/core/transform.h"
#include "engine/graphics/named_texture.h"
#include "engine/graphics/quad_core.h"
#include "engine/graphics/texture.h"

namespace QRV {

class G_SPRITE : public JC_QUAD {
public:
    // Unbound (the renderer's no-texture record), its own fresh transform, hot spot 4, size -1.
    G_SPRITE();
    // As the default with the texture name stored; the first RestoreResources binds it.
    explicit G_SPRITE(const std::string& textureName);
    // As the default, then Load(node).
    explicit G_SPRITE(const pugi::xml_node& node);
    // A copy: the owns-transform flag (an owned transform duplicated, a borrowed one shared),
    // state word, name, size, hot spot, vertex colours and UVs; a source holding a real texture
    // makes the copy bind its own user.
    G_SPRITE(const G_SPRITE& other);
    G_SPRITE& operator=(const G_SPRITE& other) {
        Assign(other);
        return *this;
    }
    void Assign(const G_SPRITE& other);
    virtual ~G_SPRITE();

    // Reads FILE / TEXTURE, HOT_SPOT, POS, TRANSFORM, SIZE, COLOR and TEXEL; does not bind the
    // texture. False for a null node.
    virtual bool Load(const pugi::xml_node& node);
    // Binds the named texture when unbound (a missing or unreadable one binds the renderer's
    // default texture, no user counted).
    virtual void RestoreResources();
    // Gives the bound texture's user back and becomes unbound.
    virtual void ReleaseResources();

    // Stores the handle; the first call builds the quad; a real texture fills a size still -1;
    // the pivot follows the hot spot.
    void SetTexture(JS_TEXTURE* texture);
    // Rebinds when bound, otherwise only stores the name.
    void SetTextureName(const std::string& name);
    // The pivot at the hot spot's point of the quad plus the offset (hot spot 0 to 8 only).
    void SetPivotFromHotSpot(int32_t hotSpot, float offsetX = 0.0f, float offsetY = 0.0f);
    // Width and height; c1 to c3 follow c0 and the pivot is placed again by the hot spot.
    void SetSize(float width, float height);
    // The colour of every vertex.
    void SetColor(uint32_t argb);
    // c0 (uMin, vMin), c1 (uMax, vMin), c2 (uMax, vMax), c3 (uMin, vMax).
    void SetUVs(float uMin, float vMin, float uMax, float vMax);

    // Whether the input's mouse position lies in the box at the absolute position minus pivot,
    // width x height, bounds included; rotation and scale are not considered.
    bool IsMouseOver() const;
    // UVs (0, 0) to (whole-pixel width / texture width, whole-pixel height / texture height).
    void FitUVsToQuad();

    std::string textureName;
    float width = -1.0f;
    float height = -1.0f;
    int32_t hotSpot = 4;

private:
    // White vertices sized width x height from (0, 0), UVs 0..1.
    void BuildQuad();
    void CopyFrom(const G_SPRITE& other);
};

// Writes the colour into every vertex of the sprite.
void SetMeshColor(G_SPRITE* sprite, uint32_t argb);

}  // namespace QRV
