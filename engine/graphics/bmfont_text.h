#pragma once
// Text drawn with a bitmap font: a whole string is laid out into one list of rectangles (one quad
// per glyph, on whole pixels) and drawn with the fewest batched calls the renderer's buffers allow.
//
// Placement: the text block is anchored at (x, y) of the font's own transform by the anchor
// (hot spots 0..8: left/middle/right columns, upper/middle/lower rows). Each line is aligned on
// its own width; the block's height is lineHeight x the number of lines. Kerning applies between
// neighbours on one line only. Characters without a glyph take no space and draw nothing (with a
// trace hook installed, each is reported once: engine/core/trace_hook.h).
//
// Text from data (labels, names, translations) goes through DrawText, which never interprets it;
// Draw formats with the engine's wide formatter and is for callers that pass a fixed format.

#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/transform.h"
#include "engine/graphics/bmfont_glyph.h"
#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"

namespace pugi {
class xml_document;
}

namespace QRV {

struct JS_TEXTURE;

// One text laid out by LayoutPlaced: its quads (`count` from `first`) and the colour to draw it in.
struct JS_PLACED_TEXT {
    uint32_t first = 0;
    uint32_t count = 0;
    uint32_t argb = 0;
};

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

    // For texts drawn at the same places frame after frame (a panel of numbers): the quads
    // DrawText(x, y, text) submits, each moved by the place it would be drawn at, appended to
    // `out`; the number appended. Drawn by DrawPlaced they give DrawText's vertices to the bit
    // while the transform is only a position (PlacesOnlyByPosition).
    uint32_t LayoutPlaced(float x, float y, std::wstring_view text, std::vector<JS_RECT_QUAD>& out);
    // No parent, pivot, rotation or scale: the transform does nothing but move the text.
    bool PlacesOnlyByPosition() const;
    // Submits quads made by LayoutPlaced in one colour, in the pieces DrawText uses, with the
    // identity world matrix (left loaded).
    void DrawPlaced(const JS_RECT_QUAD* placed, uint32_t count, uint32_t argb) const;
    // The same for many texts at once, one after another: each its quads from `placed` and its colour.
    void DrawPlaced(const JS_RECT_QUAD* placed, const JS_PLACED_TEXT* texts, size_t count) const;

    // Sum of the advances up to the first line feed (kerning not counted); 0 when not loaded.
    int32_t GetLineWidth(std::wstring_view text) const;

    // Forgets the glyphs; colour and anchor back to their defaults; not loaded.
    void Clear();

    // The glyphs by character code (empty when not loaded). Texts loaded with the same font
    // description share one copy of them and of the layout's table.
    const JS_BMFONT_GLYPH_MAP& Glyphs() const { return tables->glyphs; }
    // Whether this text reads its glyphs from the same copy as another.
    bool SharesGlyphsWith(const JC_BMFONT_TEXT& other) const { return tables == other.tables; }

    std::string faceName;
    // The description's key, set by the owner, naming the font in trace reports (empty: the face).
    std::string sourceName;
    int32_t lineHeight = 0;
    int32_t base = 0;
    int32_t scaleW = 0;
    int32_t scaleH = 0;
    JS_TEXTURE* texture = nullptr;  // the atlas; not owned
    uint8_t loaded = 0;
    uint32_t color = 0xFFFFFFFF;
    int32_t anchor = 4;
    uint32_t renderState = kQuadRenderState;
    // Its position is set by each draw; a parent set by the owner applies.
    JS_TRANSFORM3 transform;

private:
    // What the layout reads of a glyph of the first code points, in one table: the numbers in the
    // form they are used in, and the kerning pairs that end on the glyph as a range of
    // kerningPairs (sorted by the previous code point), with a bit for each previous code point
    // below kFastCodes that has a pair.
    static constexpr uint32_t kFastCodes = 256;
    struct LayoutGlyph {
        int32_t xoffset = 0;
        int32_t yoffset = 0;
        float width = 0.0f;
        float height = 0.0f;
        float uLeft = 0.0f, vTop = 0.0f, uRight = 0.0f, vBottom = 0.0f;
        uint32_t xadvance = 0;
        uint32_t kerningFirst = 0;
        uint32_t kerningCount = 0;
        bool present = false;
        uint64_t kernedAfter[kFastCodes / 64] = {};
    };
    struct KerningPair {
        uint32_t previous;
        int32_t amount;
    };
    // What texts of one font share, never changed once made.
    struct GlyphTables {
        JS_BMFONT_GLYPH_MAP glyphs;
        std::vector<LayoutGlyph> layoutGlyphs = std::vector<LayoutGlyph>(kFastCodes);
        std::vector<KerningPair> kerningPairs;
    };
    // The tables of these glyphs: one already made for the same glyphs, or new ones.
    static std::shared_ptr<const GlyphTables> ShareTables(JS_BMFONT_GLYPH_MAP glyphs);
    static const std::shared_ptr<const GlyphTables>& EmptyTables();

    // Lays the text out into the vertex buffer: the number of quads written.
    uint32_t Layout(std::wstring_view text);
    // Places the transform and submits the laid-out quads in batches the renderer can take.
    void Submit(float x, float y, uint32_t quads);
    // Hands quads to the renderer in pieces it can take, under the world matrix as it stands.
    static void SubmitRects(const JS_RECT_QUAD* quads, uint32_t count, uint32_t argb, JS_TEXTURE* atlas,
                            uint32_t state);
    // The pen step of a code point (0 without a glyph).
    uint32_t Advance(uint32_t code) const {
        if (code < kFastCodes) return tables->layoutGlyphs[code].xadvance;
        const auto found = tables->glyphs.find(code);
        return found == tables->glyphs.end() ? 0 : found->second.xadvance;
    }
    // The kerning before a glyph of the table that follows previous (0 without a pair).
    int32_t Kerning(const LayoutGlyph& glyph, uint32_t previous) const;
    // The glyph's box, texels and advance in the form the layout reads them (kerning aside).
    static void CopyMetrics(const JS_BMFONT_GLYPH& glyph, LayoutGlyph& out);
    static void BuildLayoutTable(GlyphTables& tables);
    // A character without a glyph, reported to the trace hook once per code point.
    void ReportMissing(uint32_t code);

    uint32_t capacity = 0;
    // The laid-out glyphs, one rectangle each, placed by the renderer.
    std::vector<JS_RECT_QUAD> rects;
    std::vector<wchar_t> textBuffer;
    std::shared_ptr<const GlyphTables> tables = EmptyTables();
    std::vector<uint32_t> reportedMissing;
};

}  // namespace QRV
