#include "tools/content_builder/text_paint.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace ContentBuilder {

std::vector<uint8_t> ReadFontFile(std::string_view preferred, std::string_view fallback) {
    std::string path(preferred);
    if (!std::filesystem::exists(path)) path = fallback;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read the font " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const RasterGlyph& GlyphOf(const RasterFont& font, char c) {
    for (const RasterGlyph& glyph : font.glyphs)
        if (glyph.codepoint == static_cast<uint8_t>(c)) return glyph;
    throw std::runtime_error(std::string("the font lacks '") + c + "'");
}

void PaintCentredText(Canvas& canvas, const RasterFont& font, std::string_view text, float cx, float cy,
                      Theme::Rgb colour) {
    int width = 0, inkTop = 1 << 20, inkBottom = -(1 << 20);
    for (char c : text) {
        const RasterGlyph& glyph = GlyphOf(font, c);
        width += glyph.xadvance;
        if (glyph.height > 0) {
            inkTop = std::min(inkTop, glyph.yoffset);
            inkBottom = std::max(inkBottom, glyph.yoffset + glyph.height);
        }
    }
    const int left = static_cast<int>(std::lround(cx - 0.5f * static_cast<float>(width)));
    const int top = static_cast<int>(std::lround(cy - 0.5f * static_cast<float>(inkTop + inkBottom)));
    std::vector<float> coverage(static_cast<size_t>(canvas.Width()) * canvas.Height(), 0.0f);
    int pen = left;
    for (char c : text) {
        const RasterGlyph& glyph = GlyphOf(font, c);
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < glyph.width; ++x) {
                const int px = pen + glyph.xoffset + x, py = top + glyph.yoffset + y;
                if (px < 0 || py < 0 || px >= canvas.Width() || py >= canvas.Height()) continue;
                float& cell = coverage[static_cast<size_t>(py) * canvas.Width() + px];
                cell = std::max(cell, glyph.rgba[(static_cast<size_t>(y) * glyph.width + x) * 4 + 3] / 255.0f);
            }
        }
        pen += glyph.xadvance;
    }
    canvas.PaintMask(coverage, colour, 1.0f);
}

}  // namespace ContentBuilder
