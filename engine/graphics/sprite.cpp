#include "engine/graphics/sprite.h"

#include <cmath>

#include "engine/core/conversions.h"
#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"
#include "engine/graphics/transform.h"
#include "engine/platform/input.h"
#include "engine/resources/hot_spot.h"
#include "engine/resources/text_parsers.h"

namespace QRV {

G_SPRITE::G_SPRITE() {
    BuildQuad();
    SetTexture(NoTexture());
}

G_SPRITE::G_SPRITE(const std::string& name) : G_SPRITE() { textureName = name; }

G_SPRITE::G_SPRITE(const pugi::xml_node& node) : G_SPRITE() { Load(node); }

G_SPRITE::G_SPRITE(const G_SPRITE& other) : JC_QUAD() { CopyFrom(other); }

void G_SPRITE::Assign(const G_SPRITE& other) {
    if (this == &other) return;
    G_SPRITE::ReleaseResources();
    CopyFrom(other);
}

G_SPRITE::~G_SPRITE() { G_SPRITE::ReleaseResources(); }

void G_SPRITE::CopyFrom(const G_SPRITE& other) {
    CopyTransform(other);
    renderState = other.renderState;
    textureName = other.textureName;
    width = other.width;
    height = other.height;
    hotSpot = other.hotSpot;
    BuildQuad();
    SetTexture(NoTexture());
    // The copy looks like its source: colours and texture coordinates come along.
    if (other.vertices != nullptr) {
        for (uint32_t i = 0; i < kQuadVertexCount; ++i) {
            vertices[i].color = other.vertices[i].color;
            vertices[i].u = other.vertices[i].u;
            vertices[i].v = other.vertices[i].v;
        }
    }
    if (other.HasTexture()) RestoreResources();
}

void G_SPRITE::BuildQuad() {
    for (uint32_t i = 0; i < kQuadVertexCount; ++i) {
        ownVertices[i] = JS_VERTEX{0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, kWhite, 0.0f, 0.0f};
    }
    vertices = ownVertices;
    SetQuadSize(vertices, width, height);
    SetQuadUVs(vertices, 0.0f, 0.0f, 1.0f, 1.0f);
    indices = kQuadIndices;
    vertexCount = kQuadVertexCount;
    indexCount = kQuadIndexCount;
}

void G_SPRITE::SetTexture(JS_TEXTURE* newTexture) {
    texture = newTexture;
    if (vertices == nullptr) BuildQuad();
    if (HasTexture() && (width == -1.0f || height == -1.0f)) {
        width = static_cast<float>(newTexture->width);
        height = static_cast<float>(newTexture->height);
        SetQuadSize(vertices, width, height);
    }
    if (hotSpot >= 0 && hotSpot <= 8) SetPivotFromHotSpot(hotSpot);
}

void G_SPRITE::SetTextureName(const std::string& name) {
    if (HasTexture()) {
        ReleaseResources();
        textureName = name;
        RestoreResources();
    } else {
        textureName = name;
    }
}

void G_SPRITE::SetPivotFromHotSpot(int32_t anchor, float offsetX, float offsetY) {
    float x = 0.0f, y = 0.0f;
    if (transform == nullptr || !HotSpotPoint(anchor, width, height, x, y)) return;
    transform->pivotX = x + offsetX;
    transform->pivotY = y + offsetY;
}

void G_SPRITE::SetSize(float newWidth, float newHeight) {
    width = newWidth;
    height = newHeight;
    SetQuadSize(vertices, width, height);
    if (hotSpot >= 0 && hotSpot <= 8) SetPivotFromHotSpot(hotSpot);
}

void G_SPRITE::SetColor(uint32_t argb) { SetVertexColors(vertices, vertexCount, argb); }

void G_SPRITE::SetUVs(float uMin, float vMin, float uMax, float vMax) { SetQuadUVs(vertices, uMin, vMin, uMax, vMax); }

void G_SPRITE::RestoreResources() {
    if (HasTexture() || textureName.empty()) return;
    JS_TEXTURE* bound = AcquireNamedTexture(textureName);
    if (bound != nullptr) SetTexture(bound);
}

void G_SPRITE::ReleaseResources() {
    if (!HasTexture()) return;
    // The default texture stood in for a missing one and was never counted; it is unbound all the
    // same, so that the next restore looks the name up again.
    if (g_render == nullptr || texture != g_render->defaultTexture) ReleaseNamedTexture(texture);
    SetTexture(NoTexture());
}

bool G_SPRITE::Load(const pugi::xml_node& node) {
    if (!node) return false;

    const pugi::xml_node file = node.child("FILE");
    textureName = file ? file.text().as_string() : node.attribute("TEXTURE").as_string();

    if (const pugi::xml_node spot = node.child("HOT_SPOT")) {
        hotSpot = ParseHotSpot(spot.text().as_string());
        SetPivotFromHotSpot(hotSpot);
    }
    if (const pugi::xml_node pos = node.child("POS")) {
        ParseVector2(pos.text().as_string(), transform->positionX, transform->positionY);
        transform->positionZ = 0.0f;
    }
    if (const pugi::xml_node text = node.child("TRANSFORM")) Parse(*transform, text.text().as_string());
    if (const pugi::xml_node size = node.child("SIZE")) {
        float w = width, h = height;
        ParseVector2(size.text().as_string(), w, h);
        SetSize(w, h);
    }
    if (const pugi::xml_node color = node.child("COLOR")) {
        // A malformed text leaves the colour as it was.
        JS_COLOR_BYTES bytes;
        for (int i = 0; i < 4; ++i) bytes.b[i] = static_cast<uint8_t>(vertices[0].color >> (8 * i));
        ParseColor(color.text().as_string(), bytes);
        SetColor(PackARGB(bytes));
    }
    if (const pugi::xml_node texel = node.child("TEXEL")) {
        float uv[4] = {vertices[0].u, vertices[0].v, vertices[2].u, vertices[2].v};
        ParseNumberList(texel.text().as_string(), uv);
        SetUVs(uv[0], uv[1], uv[2], uv[3]);
    }
    return true;
}

bool G_SPRITE::IsMouseOver() const {
    if (g_input == nullptr || transform == nullptr) return false;
    const JS_TRANSFORM3 t = GetAbsolute(*transform);
    const float left = t.positionX - t.pivotX;
    const float top = t.positionY - t.pivotY;
    const auto x = static_cast<float>(g_input->mouseX);
    const auto y = static_cast<float>(g_input->mouseY);
    return left <= x && x <= left + width && top <= y && y <= top + height;
}

void G_SPRITE::FitUVsToQuad() {
    if (!HasTexture() || texture->width == 0 || texture->height == 0) return;
    SetUVs(0.0f, 0.0f, std::trunc(width) / static_cast<float>(texture->width),
           std::trunc(height) / static_cast<float>(texture->height));
}

void SetMeshColor(G_SPRITE* sprite, uint32_t argb) {
    if (sprite == nullptr) return;
    sprite->SetColor(argb);
}

}  // namespace QRV
