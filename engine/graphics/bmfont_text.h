#pragma once
// Text drawn with a bitmap font: a whole string is laid out into one vertex buffer (one quad per
// glyph, on whole pixels) and drawn with the fewest batched calls the renderer's buffers allow.
//
// Placement: the text block is anchored at (x, y) of the font's own transform by the anchor
// (hot spots 0..8: left/middle/right columns, upper/middle/lower rows). Each line is aligned on
// its own width; the block's height is lineHeight x the number of lines. Kerning applies between
// neighbours on one line only. Characters without a glyph take no space and draw nothing.
//
// Text from data (labels, names, translations) goes through DrawText, which never interprets it;
// Draw formats with the engine's wide formatter and is for callers that pass a fixed format.

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/transform.h"
#include "engine/graphics/bmfont_glyph.h"
#include "engine/graphics/quad.h"
#include "engine/platform/render_device.h"

namespace pugi {
class xml_document;
}

namespace QRV {

struct JS_TEXTURE;

class JC_BMFONT_TEXT {
public:
    JC_BMFONT_TEXT() = default;
    ~JC_BMFONT_TEXT();
    JC_BMFONT_TEXT(const JC_BMFONT_TEXT&) = delete;
    JC_BMFONT_TEXT& operator=(const JC_BMFONT_TEXT&) = delete;

    // False when the document or the texture is missing. Otherwise replaces the font with the
    // document's, keeps the texture (not counted here: the owner holds the cache reference) and
    // makes room for texts of up to maxCharacters characters.
    bool Load(const pugi::xml_document* document, JS_TEXTURE* texture, uint32_t maxCharacters);
    // Room for texts of up to maxCharacters characters (line feeds included).
    void Reserve(uint32_t maxCharacters);
    uint32_t Capacity() const { return capacity; }

    // Formats (QRV::FormatWide conventions) and draws. Nothing when the result is empty or longer
    // than the capacity.
    void Draw(float x, float y, const wchar_t* format, ...);
    void DrawV(float x, float y, const wchar_t* format, va_list args);
    // Draws the text as it is. Nothing when it is empty or longer than the capacity.
    void DrawText(float x, float y, std::wstring_view text);

    // Sum of the advances up to the first line feed (kerning not counted); 0 when not loaded.
    int32_t GetLineWidth(std::wstring_view text) const;

    // Forgets the glyphs; colour and anchor back to their defaults; not loaded.
    void Clear();

    std::string faceName;
    int32_t lineHeight = 0;
    int32_t base = 0;
    int32_t scaleW = 0;
    int32_t scaleH = 0;
    JS_TEXTURE* texture = nullptr;  // the atlas; not owned
    JS_BMFONT_GLYPH_MAP glyphs;
    uint8_t loaded = 0;
    uint32_t color = 0xFFFFFFFF;
    int32_t anchor = 4;
    uint32_t renderState = kQuadRenderState;
    // Its position is set by each draw; a parent set by the owner applies.
    JS_TRANSFORM3 transform;

private:
    // Lays the text out into the vertex buffer: the number of quads written.
    uint32_t Layout(std::wstring_view text);
    // Places the transform and submits the laid-out quads in batches the renderer can take.
    void Submit(float x, float y, uint32_t quads);
    // Glyph lookup with a direct table for the first code points.
    const JS_BMFONT_GLYPH* Find(uint32_t code) const {
        if (code < fastGlyphs.size()) return fastGlyphs[code];
        const auto found = glyphs.find(code);
        return found == glyphs.end() ? nullptr : &found->second;
    }
    void RebuildFastTable();

    uint32_t capacity = 0;
    std::vector<JS_VERTEX> vertices;
    std::vector<uint16_t> indices;
    std::vector<wchar_t> textBuffer;
    static constexpr uint32_t kFastCodes = 256;
    std::vector<const JS_BMFONT_GLYPH*> fastGlyphs;
};

}  // namespace QRV
