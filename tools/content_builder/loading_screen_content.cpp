#include "tools/content_builder/loading_screen_content.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/font_rasteriser.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/text_paint.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_number.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

const Theme::LoadingScreenTheme& T() { return Theme::kLoadingScreen; }

RasterFont TextFont(const std::vector<uint8_t>& ttf, int size, std::string_view text) {
    std::vector<uint32_t> codepoints(text.begin(), text.end());
    std::sort(codepoints.begin(), codepoints.end());
    codepoints.erase(std::unique(codepoints.begin(), codepoints.end()), codepoints.end());
    return RasteriseFont(ttf, FontStyle{"", size, std::nullopt, false}, codepoints);
}

const RasterGlyph* FindGlyph(const RasterFont& font, uint32_t codepoint) {
    for (const RasterGlyph& glyph : font.glyphs)
        if (glyph.codepoint == codepoint) return &glyph;
    return nullptr;
}

int Kerning(const RasterFont& font, uint32_t first, uint32_t second) {
    for (const KerningPair& pair : font.kernings)
        if (pair.first == first && pair.second == second) return pair.amount;
    return 0;
}

int TextWidth(const RasterFont& font, std::string_view text) {
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i > 0) width += Kerning(font, static_cast<uint8_t>(text[i - 1]), static_cast<uint8_t>(text[i]));
        if (const RasterGlyph* glyph = FindGlyph(font, static_cast<uint8_t>(text[i]))) width += glyph->xadvance;
    }
    return width;
}

// Paints the text with its line's top at `top` and its pen starting at `left`.
void PaintText(Canvas& canvas, const RasterFont& font, std::string_view text, int left, int top, Theme::Rgb colour) {
    std::vector<float> coverage(static_cast<size_t>(canvas.Width()) * canvas.Height(), 0.0f);
    int pen = left;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i > 0) pen += Kerning(font, static_cast<uint8_t>(text[i - 1]), static_cast<uint8_t>(text[i]));
        const RasterGlyph* glyph = FindGlyph(font, static_cast<uint8_t>(text[i]));
        if (glyph == nullptr) continue;
        for (int y = 0; y < glyph->height; ++y) {
            for (int x = 0; x < glyph->width; ++x) {
                const int cx = pen + glyph->xoffset + x, cy = top + glyph->yoffset + y;
                if (cx < 0 || cy < 0 || cx >= canvas.Width() || cy >= canvas.Height()) continue;
                float& cell = coverage[static_cast<size_t>(cy) * canvas.Width() + cx];
                cell = std::max(cell, glyph->rgba[(static_cast<size_t>(y) * glyph->width + x) * 4 + 3] / 255.0f);
            }
        }
        pen += glyph->xadvance;
    }
    canvas.PaintMask(coverage, colour, 1.0f);
}

// The motif on its grid: paper cells with thin lines, ink squares for '#', inset and rounded.
void PaintMotif(Canvas& canvas, float left, float top, float cell) {
    const auto& motif = T().motif;
    const float size = cell * static_cast<float>(motif.size());
    canvas.FillRoundedRect(left, top, left + size, top + size, 2.0f, T().card, 1.0f, 4);
    for (size_t row = 0; row < motif.size(); ++row) {
        for (size_t col = 0; col < motif[row].size(); ++col) {
            if (motif[row][col] != '#') continue;
            const float x = left + cell * static_cast<float>(col), y = top + cell * static_cast<float>(row);
            canvas.FillRoundedRect(x + 1.5f, y + 1.5f, x + cell - 1.5f, y + cell - 1.5f, 2.0f, T().ink, 1.0f, 4);
        }
    }
    for (size_t i = 0; i <= motif.size(); ++i) {
        const float at = cell * static_cast<float>(i);
        const bool edge = i == 0 || i == motif.size();
        const Theme::Rgb line = edge ? T().heavyLine : T().gridLine;
        const float width = edge ? 2.0f : 1.0f;
        canvas.FillShape(
            [&](float x, float y) {
                return SegmentDistance(x, y, {left + at, top}, {left + at, top + size}, width);
            },
            line, 1.0f);
        canvas.FillShape(
            [&](float x, float y) {
                return SegmentDistance(x, y, {left, top + at}, {left + size, top + at}, width);
            },
            line, 1.0f);
    }
}

// One frame of the grid with the first `filled` cells (reading order) filled.
void PaintGridFrame(Canvas& canvas, int frameLeft, int filled) {
    const float cell = static_cast<float>(T().gridCell);
    const float left = static_cast<float>(frameLeft + T().gridPad), top = static_cast<float>(T().gridPad);
    const float size = cell * static_cast<float>(T().gridCells);
    canvas.FillRoundedRect(left, top, left + size, top + size, 2.0f, T().card, 1.0f, 4);
    for (int i = 0; i < filled; ++i) {
        const float x = left + cell * static_cast<float>(i % T().gridCells);
        const float y = top + cell * static_cast<float>(i / T().gridCells);
        canvas.FillRoundedRect(x + 1.5f, y + 1.5f, x + cell - 1.5f, y + cell - 1.5f, 2.0f, T().ink, 1.0f, 4);
    }
    for (int i = 0; i <= T().gridCells; ++i) {
        const float at = cell * static_cast<float>(i);
        canvas.FillShape(
            [&](float x, float y) {
                return SegmentDistance(x, y, {left + at, top}, {left + at, top + size}, 1.0f);
            },
            T().heavyLine, 1.0f);
        canvas.FillShape(
            [&](float x, float y) {
                return SegmentDistance(x, y, {left, top + at}, {left + size, top + at}, 1.0f);
            },
            T().heavyLine, 1.0f);
    }
}

int GridFrameSide() { return T().gridCell * T().gridCells + 2 * T().gridPad; }

std::string Sprite(std::string_view element, std::string_view key, std::string_view extra) {
    return "  <" + std::string(element) + ">\n    <FILE>" + XmlEscape(std::string(key)) +
           "</FILE>\n    <HOT_SPOT>HS_MID</HOT_SPOT>\n" + std::string(extra) + "  </" + std::string(element) + ">\n";
}

std::string Position(float x, float y) { return "    <POS>" + XmlNumber(x) + " " + XmlNumber(y) + "</POS>\n"; }

}  // namespace

TextureImage DrawLoadingBackground() {
    Canvas canvas(T().backgroundWidth, T().backgroundHeight);
    canvas.FillShape([](float, float) { return -1.0f; }, T().paper, 1.0f);
    // A soft glow: the lighter paper fading out over a wide band around the ellipse.
    const float cx = static_cast<float>(T().backgroundWidth) / 2, cy = static_cast<float>(T().backgroundHeight) / 2;
    std::vector<float> glow(static_cast<size_t>(canvas.Width()) * canvas.Height());
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const float d = EllipseDistance(x + 0.5f, y + 0.5f, cx, cy, T().glowRadiusX, T().glowRadiusY);
            glow[static_cast<size_t>(y) * canvas.Width() + x] = std::clamp(0.5f - d / 60.0f, 0.0f, 1.0f);
        }
    }
    canvas.PaintMask(glow, T().glow, 1.0f);
    return {canvas.Width(), canvas.Height(), canvas.ToRgba8()};
}

TextureImage DrawLoadingLogo(const std::vector<uint8_t>& titleFont) {
    const RasterFont font = TextFont(titleFont, T().logoTitleSize, T().title);
    const int motifSide = T().logoCell * static_cast<int>(T().motif.size());
    const int width = 8 + motifSide + T().logoGap + TextWidth(font, T().title) + 8;
    Canvas canvas(width, T().logoHeight);
    const float top = static_cast<float>(T().logoHeight - motifSide) / 2;
    PaintMotif(canvas, 8.0f, top, static_cast<float>(T().logoCell));
    PaintText(canvas, font, T().title, 8 + motifSide + T().logoGap, (T().logoHeight - font.lineHeight) / 2, T().ink);
    return {canvas.Width(), canvas.Height(), canvas.ToRgba8()};
}

int GridFillFrames() { return T().gridCells * T().gridCells + 2; }

TextureImage DrawGridFillSheet() {
    const int side = GridFrameSide();
    Canvas canvas(side * GridFillFrames(), side);
    for (int frame = 0; frame < GridFillFrames(); ++frame) {
        PaintGridFrame(canvas, frame * side, std::min(frame, T().gridCells * T().gridCells));
    }
    return {canvas.Width(), canvas.Height(), canvas.ToRgba8()};
}

TextureImage DrawTitleCard(const std::vector<uint8_t>& titleFont, const std::vector<uint8_t>& bodyFont) {
    Canvas canvas(T().splashWidth, T().splashHeight);
    canvas.FillShape([](float, float) { return -1.0f; }, T().card, 1.0f);
    const float cell = static_cast<float>(T().cardCell);
    const float motifSide = cell * static_cast<float>(T().motif.size());
    const float centreX = static_cast<float>(T().splashWidth) / 2;
    PaintMotif(canvas, centreX - motifSide / 2, 150.0f, cell);

    const RasterFont title = TextFont(titleFont, T().cardTitleSize, T().title);
    const int titleTop = 150 + static_cast<int>(motifSide) + 40;
    PaintText(canvas, title, T().title, static_cast<int>(centreX) - TextWidth(title, T().title) / 2, titleTop, T().ink);
    const float ruleY = static_cast<float>(titleTop + title.lineHeight + 12);
    canvas.FillRoundedRect(centreX - 90.0f, ruleY, centreX + 90.0f, ruleY + 4.0f, 2.0f, T().rule, 1.0f, 4);
    const RasterFont tagline = TextFont(bodyFont, T().cardTaglineSize, T().tagline);
    PaintText(canvas, tagline, T().tagline, static_cast<int>(centreX) - TextWidth(tagline, T().tagline) / 2,
              static_cast<int>(ruleY) + 24, T().tint);
    return {canvas.Width(), canvas.Height(), canvas.ToRgba8()};
}

std::string LoadingScreenXml() {
    const std::string background = "    <SIZE>1024 768</SIZE>\n" + Position(512.0f, 384.0f);
    const std::string logo = Position(T().logoX, T().logoY);
    const std::string animation = Position(T().animationX, T().animationY) + "    <ANIMATION grid=\"" +
                                  std::to_string(GridFillFrames()) + " 1\" frames=\"" +
                                  std::to_string(GridFillFrames()) + "\" fps=\"" + XmlNumber(T().gridFps) +
                                  "\" loop=\"true\" flip=\"false\" ping_pong=\"false\" reverese=\"true\"/>\n";
    const Theme::Rgb paper = T().paper;
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<!-- The loading screen, shown while the game loads. Made by the content builder. -->\n<loading>\n" +
           Sprite("background", ResourceKey(T().folder, T().backgroundFile), background) +
           Sprite("logo", ResourceKey(Theme::kTitleArt.folder, Theme::kTitleArt.logoFile), logo) +
           Sprite("animation", ResourceKey(T().folder, T().animationFile), animation) + "  <splashes time_per_splash=\"" +
           XmlNumber(T().timePerSplash) + "\" time_fade=\"" + XmlNumber(T().timeFade) + "\" back_color=\"255 " +
           std::to_string(paper.r) + " " + std::to_string(paper.g) + " " + std::to_string(paper.b) +
           "\">\n    <splash>\n      <FILE>" + XmlEscape(std::string(T().folder) + "/" + std::string(T().splashFile)) +
           "</FILE>\n      <POS>512 384</POS>\n      <HOT_SPOT/>\n    </splash>\n  </splashes>\n</loading>\n";
}

void BuildLoadingScreen(OutputTree& out) {
    const std::vector<uint8_t> titleFont = ReadFontFile(Theme::kComfortaaBold, Theme::kDejaVuSansBold);
    const std::vector<uint8_t> bodyFont = ReadFontFile(Theme::kLatoRegular, Theme::kDejaVuSans);
    out.Write(RunPath(T().folder, T().backgroundFile), EncodeTexture(DrawLoadingBackground()));
    out.Write(RunPath(T().folder, T().animationFile), EncodeTexture(DrawGridFillSheet()));
    out.Write(RunPath(T().folder, T().splashFile), EncodeTexture(DrawTitleCard(titleFont, bodyFont)));
    out.Write(RunPath(Theme::kCatalogueFolder, T().description), LoadingScreenXml());
}

}  // namespace ContentBuilder
