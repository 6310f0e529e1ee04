#include "tools/content_builder/font_rasteriser.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include <stb/stb_truetype.h>

#include "tools/content_builder/soft_shadow.h"

namespace ContentBuilder {
namespace {

bool IsDigit(uint32_t c) { return c >= '0' && c <= '9'; }

std::string CodepointName(uint32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

// White glyph over the shadow: the box grows by the shadow's reach where the shadow falls.
void BakeShadow(RasterGlyph& glyph, const std::vector<float>& coverage, const Theme::SoftShadow& shadow) {
    const int reach = static_cast<int>(std::ceil(3.0f * shadow.sigma));
    const int dx = static_cast<int>(std::lround(shadow.offsetX)), dy = static_cast<int>(std::lround(shadow.offsetY));
    const int left = std::max(0, reach - dx), right = std::max(0, reach + dx);
    const int top = std::max(0, reach - dy), bottom = std::max(0, reach + dy);
    const int w = glyph.width + left + right, h = glyph.height + top + bottom;
    std::vector<float> shape(static_cast<size_t>(w) * h, 0.0f);
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x)
            shape[static_cast<size_t>(y + top) * w + x + left] = coverage[static_cast<size_t>(y) * glyph.width + x];
    std::vector<float> shade = ShiftMask(shape, w, h, dx, dy);
    GaussianBlur(shade, w, h, shadow.sigma);

    glyph.rgba.assign(static_cast<size_t>(w) * h * 4, 0);
    const float sr = shadow.colour.r / 255.0f, sg = shadow.colour.g / 255.0f, sb = shadow.colour.b / 255.0f;
    for (size_t i = 0; i < shape.size(); ++i) {
        const float g = shape[i], s = shadow.alpha * shade[i] * (1.0f - g);
        const float a = g + s;
        uint8_t* p = &glyph.rgba[i * 4];
        const auto channel = [&](float shadowValue) {
            return static_cast<uint8_t>(std::lround(255.0f * (a > 0.0f ? (g + shadowValue * s) / a : shadowValue)));
        };
        p[0] = channel(sr);
        p[1] = channel(sg);
        p[2] = channel(sb);
        p[3] = static_cast<uint8_t>(std::lround(255.0f * std::clamp(a, 0.0f, 1.0f)));
    }
    glyph.width = w;
    glyph.height = h;
    glyph.xoffset -= left;
    glyph.yoffset -= top;
}

}  // namespace

RasterFont RasteriseFont(std::span<const uint8_t> ttf, const FontStyle& style, std::vector<uint32_t> codepoints) {
    // stb_truetype trusts its input; the files are the system's own fonts, so a size check and
    // its own header checks are all the guarding there is.
    stbtt_fontinfo info;
    const int offset = ttf.size() < 12 ? -1 : stbtt_GetFontOffsetForIndex(ttf.data(), 0);
    if (offset < 0 || stbtt_InitFont(&info, ttf.data(), offset) == 0)
        throw std::runtime_error(style.face + ": not a TrueType font");
    std::sort(codepoints.begin(), codepoints.end());
    codepoints.erase(std::unique(codepoints.begin(), codepoints.end()), codepoints.end());

    const float scale = stbtt_ScaleForMappingEmToPixels(&info, static_cast<float>(style.pixelSize));
    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);
    RasterFont font;
    font.face = style.face;
    font.pixelSize = style.pixelSize;
    font.lineHeight = static_cast<int>(std::lround((ascent - descent + lineGap) * scale));
    font.base = static_cast<int>(std::lround(ascent * scale));

    std::vector<int> glyphIndex;
    for (uint32_t c : codepoints) {
        const int index = stbtt_FindGlyphIndex(&info, static_cast<int>(c));
        if (index == 0) throw std::runtime_error(style.face + ": no glyph for " + CodepointName(c));
        glyphIndex.push_back(index);

        RasterGlyph glyph;
        glyph.codepoint = c;
        int advance = 0, bearing = 0;
        stbtt_GetGlyphHMetrics(&info, index, &advance, &bearing);
        glyph.xadvance = static_cast<int>(std::lround(advance * scale));
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetGlyphBitmapBox(&info, index, scale, scale, &x0, &y0, &x1, &y1);
        std::vector<float> coverage;
        if (x1 > x0 && y1 > y0) {
            glyph.width = x1 - x0;
            glyph.height = y1 - y0;
            glyph.xoffset = x0;
            glyph.yoffset = font.base + y0;
            std::vector<uint8_t> bitmap(static_cast<size_t>(glyph.width) * glyph.height);
            stbtt_MakeGlyphBitmap(&info, bitmap.data(), glyph.width, glyph.height, glyph.width, scale, scale, index);
            coverage.resize(bitmap.size());
            for (size_t i = 0; i < bitmap.size(); ++i) coverage[i] = bitmap[i] / 255.0f;
            if (style.shadow) {
                BakeShadow(glyph, coverage, *style.shadow);
            } else {
                glyph.rgba.assign(bitmap.size() * 4, 0xFF);
                for (size_t i = 0; i < bitmap.size(); ++i) glyph.rgba[i * 4 + 3] = bitmap[i];
            }
        }
        font.glyphs.push_back(std::move(glyph));
    }

    // Tabular digits: every digit takes the widest digit's advance and is centred in it, so
    // numbers line up in columns.
    if (style.tabularDigits) {
        int widest = 0;
        for (const RasterGlyph& g : font.glyphs)
            if (IsDigit(g.codepoint)) widest = std::max(widest, g.xadvance);
        for (RasterGlyph& g : font.glyphs) {
            if (!IsDigit(g.codepoint)) continue;
            g.xoffset += (widest - g.xadvance) / 2;
            g.xadvance = widest;
        }
    }

    for (size_t a = 0; a < codepoints.size(); ++a) {
        for (size_t b = 0; b < codepoints.size(); ++b) {
            if (style.tabularDigits && (IsDigit(codepoints[a]) || IsDigit(codepoints[b]))) continue;
            const int units = stbtt_GetGlyphKernAdvance(&info, glyphIndex[a], glyphIndex[b]);
            const int amount = static_cast<int>(std::lround(units * scale));
            if (amount != 0) font.kernings.push_back({codepoints[a], codepoints[b], amount});
        }
    }
    return font;
}

}  // namespace ContentBuilder
