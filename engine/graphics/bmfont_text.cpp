#include "engine/graphics/bmfont_text.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <limits>

#include "engine/core/format_wide.h"
#include "engine/graphics/bmfont_reader.h"
#include "engine/graphics/transform.h"
#include "engine/graphics/render.h"
#include "engine/graphics/texture.h"

namespace QRV {

namespace {

// 16-bit indices address at most this many quads in one draw.
constexpr uint32_t kMaxQuadsPerDraw = 65536 / 4;

// Where a line or the block starts for an anchor's column (or row) and the extent: 0, -extent / 2
// (whole pixels) or -extent. Numbers outside 0..8 anchor at the upper left.
int64_t AnchorOffset(int32_t place, int64_t extent) {
    switch (place) {
        case 1: return -(extent / 2);
        case 2: return -extent;
        default: return 0;
    }
}

inline void SetCorner(JS_VERTEX& vertex, float x, float y, uint32_t argb, float u, float v) {
    vertex.x = x;
    vertex.y = y;
    vertex.color = argb;
    vertex.u = u;
    vertex.v = v;
}

int32_t ColumnOf(int32_t anchor) { return anchor >= 0 && anchor <= 8 ? anchor % 3 : 0; }
int32_t RowOf(int32_t anchor) { return anchor >= 0 && anchor <= 8 ? anchor / 3 : 0; }

}  // namespace

JC_BMFONT_TEXT::~JC_BMFONT_TEXT() { Clear(); }

bool JC_BMFONT_TEXT::Load(const pugi::xml_document* document, JS_TEXTURE* atlas, uint32_t maxCharacters) {
    if (document == nullptr || atlas == nullptr) return false;
    Clear();
    texture = atlas;

    JS_BMFONT_DESCRIPTION description;
    ReadBmFontDescription(document->document_element(), atlas->width, atlas->height, description);
    faceName = std::move(description.face);
    lineHeight = description.lineHeight;
    base = description.base;
    scaleW = description.scaleW;
    scaleH = description.scaleH;
    glyphs = std::move(description.glyphs);
    RebuildFastTable();

    Reserve(maxCharacters);
    loaded = 1;
    return true;
}

void JC_BMFONT_TEXT::Reserve(uint32_t maxCharacters) {
    // Texts this long could not be laid out in memory anyway.
    maxCharacters = std::min<uint32_t>(maxCharacters, 1u << 24);
    capacity = maxCharacters;
    const size_t quads = size_t{maxCharacters} + 1;
    vertices.assign(quads * 4, JS_VERTEX{0, 0, 0, 0, 0, 0, color, 0, 0});
    // Every draw starts its quads at index 0, so one draw's worth of indices serves all.
    const size_t indexedQuads = std::min<size_t>(quads, kMaxQuadsPerDraw);
    indices.resize(indexedQuads * 6);
    for (size_t q = 0; q < indexedQuads; ++q) {
        const auto first = static_cast<uint16_t>(q * 4);
        uint16_t* out = indices.data() + q * 6;
        out[0] = first;
        out[1] = static_cast<uint16_t>(first + 1);
        out[2] = static_cast<uint16_t>(first + 2);
        out[3] = first;
        out[4] = static_cast<uint16_t>(first + 2);
        out[5] = static_cast<uint16_t>(first + 3);
    }
    // One more than the capacity, so that a formatted text that does not fit can be told apart.
    textBuffer.assign(quads + 1, L'\0');
}

void JC_BMFONT_TEXT::Draw(float x, float y, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    DrawV(x, y, format, args);
    va_end(args);
}

void JC_BMFONT_TEXT::DrawV(float x, float y, const wchar_t* format, va_list args) {
    if (loaded == 0 || format == nullptr || textBuffer.empty()) return;
    FormatWideV(textBuffer.data(), textBuffer.size(), format, args);
    // The formatter cuts at the buffer's end; a text that filled the spare place was cut.
    const size_t length = std::wcslen(textBuffer.data());
    if (length == 0 || length > capacity) return;
    Submit(x, y, Layout(std::wstring_view(textBuffer.data(), length)));
}

void JC_BMFONT_TEXT::DrawText(float x, float y, std::wstring_view text) {
    if (loaded == 0 || text.empty() || text.size() > capacity) return;
    Submit(x, y, Layout(text));
}

int32_t JC_BMFONT_TEXT::GetLineWidth(std::wstring_view text) const {
    if (loaded == 0) return 0;
    int64_t width = 0;
    for (const wchar_t c : text) {
        if (c == L'\n') break;
        if (const JS_BMFONT_GLYPH* glyph = Find(static_cast<uint32_t>(c))) width += glyph->xadvance;
    }
    return static_cast<int32_t>(std::min<int64_t>(width, std::numeric_limits<int32_t>::max()));
}

void JC_BMFONT_TEXT::Clear() {
    glyphs.clear();
    fastGlyphs.clear();
    color = 0xFFFFFFFF;
    anchor = 4;
    loaded = 0;
}

void JC_BMFONT_TEXT::RebuildFastTable() {
    fastGlyphs.assign(kFastCodes, nullptr);
    for (const auto& [code, glyph] : glyphs) {
        if (code < kFastCodes) fastGlyphs[code] = &glyph;
    }
}

uint32_t JC_BMFONT_TEXT::Layout(std::wstring_view text) {
    const int32_t column = ColumnOf(anchor);
    const int32_t row = RowOf(anchor);
    // Left-aligned lines and top-anchored blocks need no measuring.
    const int64_t lines = row == 0 ? 1 : 1 + std::count(text.begin(), text.end(), L'\n');
    int64_t penY = AnchorOffset(row, int64_t{lineHeight} * lines);
    int64_t penX = column == 0 ? 0 : AnchorOffset(column, GetLineWidth(text));

    const uint32_t argb = color;
    JS_VERTEX* out = vertices.data();
    uint32_t quads = 0;
    bool hasPrevious = false;
    uint32_t previous = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<uint32_t>(text[i]);
        if (code == L'\n') {
            penY += lineHeight;
            penX = column == 0 ? 0 : AnchorOffset(column, GetLineWidth(text.substr(i + 1)));
            // Kerning pairs neighbours on one line only.
            hasPrevious = false;
            continue;
        }
        const JS_BMFONT_GLYPH* glyph = Find(code);
        if (glyph == nullptr) continue;
        if (hasPrevious && !glyph->kerning.empty()) {
            const auto pair = glyph->kerning.find(previous);
            if (pair != glyph->kerning.end()) penX += pair->second;
        }
        const auto left = static_cast<float>(penX + glyph->xoffset);
        const auto top = static_cast<float>(penY + glyph->yoffset);
        const float right = left + static_cast<float>(glyph->width);
        const float bottom = top + static_cast<float>(glyph->height);
        // z and the normal stay 0 from Reserve: only what changes is written.
        SetCorner(out[0], left, top, argb, glyph->uLeft, glyph->vTop);
        SetCorner(out[1], right, top, argb, glyph->uRight, glyph->vTop);
        SetCorner(out[2], right, bottom, argb, glyph->uRight, glyph->vBottom);
        SetCorner(out[3], left, bottom, argb, glyph->uLeft, glyph->vBottom);
        out += 4;
        ++quads;
        penX += glyph->xadvance;
        previous = code;
        hasPrevious = true;
    }
    return quads;
}

void JC_BMFONT_TEXT::Submit(float x, float y, uint32_t quads) {
    if (quads == 0 || g_render == nullptr) return;
    // The quads are laid out on whole pixels; so is the place they are drawn at.
    transform.positionX = std::floor(x + 0.5f);
    transform.positionY = std::floor(y + 0.5f);
    transform.positionZ = 0.0f;
    LoadWorldMatrix(&transform);

    // The renderer drops a draw larger than its buffers, so long texts go in pieces that fit.
    const uint32_t perDraw =
        std::min({g_render->vertexCapacity / 4, g_render->indexCapacity / 6, kMaxQuadsPerDraw});
    if (perDraw == 0) return;
    for (uint32_t first = 0; first < quads; first += perDraw) {
        const uint32_t count = std::min(perDraw, quads - first);
        g_render->DrawTriangles(vertices.data() + size_t{first} * 4, texture, renderState, count * 4,
                                indices.data(), count * 6);
    }
}

}  // namespace QRV
