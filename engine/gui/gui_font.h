#pragma once
// The small bitmap font of the text box and the list box: glyphs of a BMFont description drawn one
// by one through a single textured quad, lines measured and aligned in nine ways.
//
// What is read from the "font" element (every number a decimal integer, an absent one 0):
//   <common lineHeight="20"/>                  pixels per line
//   <pages>...</pages>                         ignored: the owner gives the texture
//   <chars> <char id x y width height xoffset yoffset xadvance/> ... </chars>
// A later glyph with the same id replaces the earlier; kerning is not read. A character the font
// lacks is drawn and measured as '?' (nothing, 0 wide, when '?' is missing too), so every font
// should hold '?' and '|' (the text box's caret).
//
// Texts are drawn literally by DrawText; DrawTextF formats with the engine's formatter and is
// only for fixed formats, never for text that comes from data.
//
// The font does not count references on its texture: the owner acquires and releases it, and
// points the font at the texture it holds with SetTexture (the no-texture record while released:
// nothing is drawn then).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pugi {
class xml_node;
}

namespace QRV {

class JC_MESH;
struct JS_TEXTURE;

struct JS_GUI_GLYPH {
    int32_t code = 0;
    // The glyph's box in texture fractions.
    float u0 = 0.0f, v0 = 0.0f, u1 = 0.0f, v1 = 0.0f;
    int32_t width = 0;
    int32_t height = 0;
    int32_t xoffset = 0;
    int32_t yoffset = 0;
    int32_t xadvance = 0;
    // The box's corner in pixels, kept to place the fractions again on a texture of another size.
    int32_t x = 0;
    int32_t y = 0;
};

class JC_GUI_FONT {
public:
    // Reads the glyphs of the "font" element (see Load), then letter and line spacing 0.
    JC_GUI_FONT(const pugi::xml_node& font, JS_TEXTURE* texture);
    ~JC_GUI_FONT();
    JC_GUI_FONT(const JC_GUI_FONT&) = delete;
    JC_GUI_FONT& operator=(const JC_GUI_FONT&) = delete;

    // 1, or -1 when no glyph was read (the font then draws nothing and measures 0). Makes the glyph
    // quad on the texture (null: the no-texture record), reads the line height and the glyphs;
    // on success hot spot 4 and alignment 0.
    int32_t Load(const pugi::xml_node& font, JS_TEXTURE* texture);

    // The text with its top left at (x, y), moved by the alignment: each line by its own width,
    // the block by its height (line height x lines). Nothing while the texture is unbound.
    void DrawText(int32_t x, int32_t y, const wchar_t* text);
    // Formats with QRV::FormatWide into the 600-character buffer (the result cut to 599) and draws
    // a non-empty result at the truncated position.
    void DrawTextF(float x, float y, const wchar_t* format, ...);

    // The xadvance of the glyph the character is drawn with.
    int32_t GetAdvance(wchar_t c) const;
    // The width of the text up to its first line feed.
    int32_t GetLineWidth(const wchar_t* text) const;
    // Where a line of this width starts, and a block of this many lines, for the alignment.
    int32_t HorizontalOffset(int32_t lineWidth) const;
    int32_t VerticalOffset(int32_t lines) const;
    // The glyph a character is drawn with: its own, else '?', else null. With a trace hook
    // installed, a character without its own glyph is reported once (engine/core/trace_hook.h).
    const JS_GUI_GLYPH* FindGlyph(wchar_t c) const;
    // Draws one glyph with its upper-left corner at (x + xoffset, y + yoffset x quad scale y)
    // through the glyph quad's transform and parents; the advance, 0 when nothing was drawn.
    int32_t DrawGlyph(wchar_t c, int32_t x, int32_t y);

    // The texture the owner now holds; a real one of another size places the glyphs again. A size
    // of 0 counts as 1.
    void SetTexture(JS_TEXTURE* texture);
    // The colour of every vertex of the glyph quad.
    void SetColor(uint32_t argb);

    // Owned; textured with the font texture.
    JC_MESH* glyphQuad = nullptr;
    int32_t glyphCount = 0;
    // Pixels added to every advance, and to the line height when lines are stacked.
    int32_t letterSpacing = 0;
    int32_t lineSpacing = 0;
    int32_t lineHeight = 0;
    // The text box starts its text half of this to the right of its input area.
    int32_t inset = 20;
    std::map<int32_t, JS_GUI_GLYPH> glyphs;
    // The description's key, set by the owner, naming the font in trace reports.
    std::string name;
    // Divisors of the glyph fractions.
    float textureWidth = 1.0f;
    float textureHeight = 1.0f;
    // Anchor 0..8: upper left, upper middle, upper right, middle left, centre, middle right,
    // lower left, lower middle, lower right.
    int32_t alignment = 0;
    static constexpr uint32_t kBufferCapacity = 600;
    wchar_t wideBuffer[kBufferCapacity] = {};

private:
    // The glyph fractions for the current texture size.
    void PlaceGlyphs();

    mutable std::vector<int32_t> reportedMissing;
};

}  // namespace QRV
