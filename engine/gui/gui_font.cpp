#include "engine/gui/gui_font.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdarg>

#include "engine/core/format_wide.h"
#include "engine/core/trace_hook.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/named_texture.h"
#include "engine/graphics/texture.h"

namespace QRV {

namespace {

float TextureExtent(uint32_t pixels) { return pixels > 0 ? static_cast<float>(pixels) : 1.0f; }

size_t LineCount(const wchar_t* text) {
    size_t lines = 1;
    for (const wchar_t* c = text; *c != 0; ++c) {
        if (*c == L'\n') ++lines;
    }
    return lines;
}

}  // namespace

JC_GUI_FONT::JC_GUI_FONT(const pugi::xml_node& font, JS_TEXTURE* texture) {
    Load(font, texture);
    letterSpacing = 0;
    lineSpacing = 0;
}

JC_GUI_FONT::~JC_GUI_FONT() { delete glyphQuad; }

int32_t JC_GUI_FONT::Load(const pugi::xml_node& font, JS_TEXTURE* texture) {
    lineHeight = font.child("common").attribute("lineHeight").as_int();
    letterSpacing = 0;

    delete glyphQuad;
    glyphQuad = new JC_MESH();
    if (texture != nullptr) glyphQuad->SetWholeTexture(texture);
    textureWidth = texture != nullptr ? TextureExtent(texture->width) : 1.0f;
    textureHeight = texture != nullptr ? TextureExtent(texture->height) : 1.0f;

    glyphs.clear();
    glyphCount = 0;
    for (const pugi::xml_node& element : font.child("chars").children()) {
        if (element.type() != pugi::node_element) continue;
        JS_GUI_GLYPH glyph;
        glyph.code = element.attribute("id").as_int();
        glyph.x = element.attribute("x").as_int();
        glyph.y = element.attribute("y").as_int();
        glyph.width = element.attribute("width").as_int();
        glyph.height = element.attribute("height").as_int();
        glyph.xoffset = element.attribute("xoffset").as_int();
        glyph.yoffset = element.attribute("yoffset").as_int();
        glyph.xadvance = element.attribute("xadvance").as_int();
        glyphs.insert_or_assign(glyph.code, glyph);
        ++glyphCount;
    }
    PlaceGlyphs();
    if (glyphs.empty()) return -1;
    glyphQuad->SetHotSpot(4);
    alignment = 0;
    return 1;
}

void JC_GUI_FONT::PlaceGlyphs() {
    for (auto& [code, glyph] : glyphs) {
        glyph.u0 = static_cast<float>(glyph.x) / textureWidth;
        glyph.v0 = static_cast<float>(glyph.y) / textureHeight;
        glyph.u1 = static_cast<float>(glyph.x + glyph.width) / textureWidth;
        glyph.v1 = static_cast<float>(glyph.y + glyph.height) / textureHeight;
    }
}

void JC_GUI_FONT::SetTexture(JS_TEXTURE* texture) {
    if (glyphQuad == nullptr) return;
    if (!IsRealTexture(texture)) {
        // Released: nothing is drawn until a real texture comes back.
        glyphQuad->texture = NoTexture();
        return;
    }
    glyphQuad->texture = texture;
    const float width = TextureExtent(texture->width);
    const float height = TextureExtent(texture->height);
    if (width != textureWidth || height != textureHeight) {
        textureWidth = width;
        textureHeight = height;
        PlaceGlyphs();
    }
}

void JC_GUI_FONT::SetColor(uint32_t argb) {
    if (glyphQuad != nullptr) SetMeshColor(glyphQuad, argb);
}

const JS_GUI_GLYPH* JC_GUI_FONT::FindGlyph(wchar_t c) const {
    auto found = glyphs.find(static_cast<int32_t>(c));
    if (found == glyphs.end()) {
        const auto code = static_cast<int32_t>(c);
        if (c != L'\n' && GetTraceHook() != nullptr &&
            std::find(reportedMissing.begin(), reportedMissing.end(), code) == reportedMissing.end()) {
            reportedMissing.push_back(code);
            ReportTrace(TraceReport::MissingGlyph, CodePointName(static_cast<uint32_t>(code)), name);
        }
        found = glyphs.find(static_cast<int32_t>(L'?'));
    }
    return found == glyphs.end() ? nullptr : &found->second;
}

int32_t JC_GUI_FONT::GetAdvance(wchar_t c) const {
    const JS_GUI_GLYPH* glyph = FindGlyph(c);
    return glyph != nullptr ? glyph->xadvance : 0;
}

int32_t JC_GUI_FONT::GetLineWidth(const wchar_t* text) const {
    if (text == nullptr || glyphQuad == nullptr) return 0;
    const float scale = glyphQuad->transform->scaleX;
    float width = 0.0f;
    for (const wchar_t* c = text; *c != 0 && *c != L'\n'; ++c) {
        // Measured as drawn: a missing character takes the place of the '?' it shows as.
        const JS_GUI_GLYPH* glyph = FindGlyph(*c);
        if (glyph == nullptr || glyph->xadvance <= 0) continue;
        width = std::trunc(static_cast<float>(letterSpacing + glyph->xadvance) * scale + width);
    }
    return static_cast<int32_t>(width);
}

int32_t JC_GUI_FONT::HorizontalOffset(int32_t lineWidth) const {
    switch (alignment) {
        case 1:
        case 4:
        case 7: return -(lineWidth / 2);
        case 2:
        case 5:
        case 8: return -lineWidth;
        default: return 0;
    }
}

int32_t JC_GUI_FONT::VerticalOffset(int32_t lines) const {
    const int32_t height = lineHeight * lines;
    switch (alignment) {
        case 3:
        case 4:
        case 5: return static_cast<int32_t>(static_cast<float>(height) * -0.5f);
        // The lower row ends on the anchor, as the upper row starts on it.
        case 6:
        case 7:
        case 8: return -height;
        default: return 0;
    }
}

int32_t JC_GUI_FONT::DrawGlyph(wchar_t c, int32_t x, int32_t y) {
    const JS_GUI_GLYPH* glyph = FindGlyph(c);
    if (glyph == nullptr || glyphQuad == nullptr) return 0;
    const float top = static_cast<float>(glyph->yoffset) * glyphQuad->transform->scaleY + static_cast<float>(y);
    glyphQuad->DrawRegionAt(glyph->u0, glyph->v0, glyph->u1, glyph->v1, glyph->width, glyph->height,
                            static_cast<float>(x + glyph->xoffset), top);
    return glyph->xadvance;
}

void JC_GUI_FONT::DrawText(int32_t x, int32_t y, const wchar_t* text) {
    if (text == nullptr || glyphQuad == nullptr || !IsRealTexture(glyphQuad->texture)) return;
    const float scale = glyphQuad->transform->scaleX;
    float pen = 0.0f;
    int32_t line = 0;
    int32_t dx = HorizontalOffset(GetLineWidth(text));
    const int32_t dy = VerticalOffset(static_cast<int32_t>(LineCount(text)));
    for (const wchar_t* c = text; *c != 0; ++c) {
        if (*c == L'\n') {
            ++line;
            pen = 0.0f;
            dx = HorizontalOffset(GetLineWidth(c + 1));
            continue;
        }
        const auto left = static_cast<int32_t>(std::trunc(static_cast<float>(x) + pen + static_cast<float>(dx)));
        const int32_t top = (lineHeight + lineSpacing) * line + dy + y;
        const int32_t advance = DrawGlyph(*c, left, top);
        if (advance != 0) pen += static_cast<float>(letterSpacing + advance) * scale;
    }
}

void JC_GUI_FONT::DrawTextF(float x, float y, const wchar_t* format, ...) {
    if (format == nullptr) return;
    va_list args;
    va_start(args, format);
    FormatWideV(wideBuffer, kBufferCapacity, format, args);
    va_end(args);
    if (wideBuffer[0] == 0) return;
    DrawText(static_cast<int32_t>(x), static_cast<int32_t>(y), wideBuffer);
}

}  // namespace QRV
