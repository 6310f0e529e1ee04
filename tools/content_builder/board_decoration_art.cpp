#include "tools/content_builder/board_decoration_art.h"

#include <algorithm>
#include <cmath>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/nine_part_panel.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/soft_shadow.h"
#include "tools/content_builder/text_paint.h"
#include "tools/content_builder/widget_paint.h"

namespace ContentBuilder {
namespace {

TextureImage Solid(int width, int height, Theme::Rgb colour, uint8_t alpha) {
    TextureImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        image.rgba[i] = colour.r, image.rgba[i + 1] = colour.g, image.rgba[i + 2] = colour.b;
        image.rgba[i + 3] = alpha;
    }
    return image;
}

}  // namespace

std::array<TextureImage, 9> DrawBorderPieces() {
    const Theme::DecorationTheme& t = Theme::kDecoration;
    // Drawn around a field wide enough that the rim runs straight between its rounded corners, then
    // cut: the corners from the corners, the strips from the middle of the straight runs.
    const int c = t.borderCorner, s = t.borderStrip;
    const int inner = std::max(s, 2 * static_cast<int>(std::ceil(t.borderRadius)) + 2), side = 2 * c + inner;
    RequireRoom(ShadowReach(t.borderShadow.offsetY, t.borderShadow.sigma) + static_cast<int>(std::ceil(t.borderRim)), c,
                "the board's border corner");
    const float f0 = static_cast<float>(c), f1 = static_cast<float>(c + inner), rim = t.borderRim;
    const Shape outer = [=](float x, float y) {
        return RoundedRectDistance(x, y, f0 - rim, f0 - rim, f1 + rim, f1 + rim, t.borderRadius);
    };
    const Shape field = [=](float x, float y) { return RoundedRectDistance(x, y, f0, f0, f1, f1, 0.0f); };
    Canvas canvas(side, side);
    // The shadow falls outside the field only: the middle of the frame lies over the cells.
    std::vector<float> shadow = CoverageMask(
        side, side, [&](float x, float y) { return outer(x - t.borderShadow.offsetX, y - t.borderShadow.offsetY); });
    GaussianBlur(shadow, side, side, t.borderShadow.sigma);
    const std::vector<float> inside = CoverageMask(side, side, field);
    for (size_t i = 0; i < shadow.size(); ++i) shadow[i] *= 1.0f - inside[i];
    canvas.PaintMask(shadow, t.borderShadow.colour, t.borderShadow.alpha);
    canvas.FillShape([&](float x, float y) { return std::max(outer(x, y), -field(x, y)); }, t.borderColour, 1.0f);
    const TextureImage whole{side, side, canvas.ToRgba8()};
    const int mid = c + (inner - s) / 2, far = c + inner;
    std::array<TextureImage, 9> pieces{
        CropImage(whole, 0, 0, c, c),     CropImage(whole, mid, 0, s, c),   CropImage(whole, far, 0, c, c),
        CropImage(whole, far, mid, c, s), CropImage(whole, far, far, c, c), CropImage(whole, mid, far, s, c),
        CropImage(whole, 0, far, c, c),   CropImage(whole, 0, mid, c, s),   CropImage(whole, mid, mid, s, s)};
    // Nothing over the cells, not even the blur's faint tail.
    std::fill(pieces[8].rgba.begin(), pieces[8].rgba.end(), uint8_t{0});
    return pieces;
}

TextureImage DrawEarBand() { return Solid(4, 4, Theme::kDecoration.earBand, 0xFF); }

TextureImage DrawEarStick(bool vertical, bool block) {
    const Theme::DecorationTheme& t = Theme::kDecoration;
    const int length = t.earSize, width = vertical ? 2 : length, height = vertical ? length : 2;
    TextureImage image = Solid(width, height, block ? t.stickBlock : t.stick, 0xFF);
    if (!block)  // only the second pixel line: the first is clear
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if ((vertical ? x : y) == 0) image.rgba[(static_cast<size_t>(y) * width + x) * 4 + 3] = 0;
    return image;
}

TextureImage DrawHighlightBar(bool column) {
    const Theme::DecorationTheme& t = Theme::kDecoration;
    const int across = Theme::kBoardCell, along = t.highlightSide;
    return Solid(column ? across : along, column ? along : across, t.highlight, t.highlightAlpha);
}

int ErrorPanelMargin() {
    const Theme::SoftShadow& s = Theme::kDecoration.errorPanelShadow;
    return ShadowReach(s.offsetY, s.sigma) + 1;
}

TextureImage DrawErrorPanel(std::string_view caption) {
    const Theme::DecorationTheme& t = Theme::kDecoration;
    const Theme::BoardAnimation& mark = Theme::kErrorMarkAnimation;
    const int m = ErrorPanelMargin();
    const int slotsW = t.errorCols * mark.width + (t.errorCols - 1) * t.errorInterval;
    const int slotsH = t.errorRows * mark.height + (t.errorRows - 1) * t.errorInterval;
    const int w = slotsW + 2 * t.errorPad, h = slotsH + 2 * t.errorPad + t.errorCaption;
    Canvas canvas(w + 2 * m, h + 2 * m);
    const float x0 = static_cast<float>(m), y0 = static_cast<float>(m);
    const float x1 = x0 + static_cast<float>(w), y1 = y0 + static_cast<float>(h);
    const Shape body = [=](float x, float y) { return RoundedRectDistance(x, y, x0, y0, x1, y1, t.errorPanelRadius); };
    PaintDropShadow(canvas, body, t.errorPanelShadow);
    canvas.FillShape(body, Theme::kPaperDark, 1.0f);
    canvas.FillShape([&](float x, float y) { return body(x, y) + 1.0f; }, Theme::kPaperLight, 1.0f);
    const float inset = Theme::kErrorMark.inset;
    for (int row = 0; row < t.errorRows; ++row)
        for (int col = 0; col < t.errorCols; ++col) {
            const float sx = x0 + static_cast<float>(t.errorPad + col * (mark.width + t.errorInterval));
            const float sy =
                y0 + static_cast<float>(t.errorCaption + t.errorPad + row * (mark.height + t.errorInterval));
            canvas.FillShape(
                [&](float x, float y) {
                    return RoundedRectDistance(x, y, sx + inset, sy + inset,
                                               sx + static_cast<float>(mark.width) - inset,
                                               sy + static_cast<float>(mark.height) - inset, t.socketRadius);
                },
                t.socket, 1.0f);
        }
    // What the slots count, read at a glance: the caption centred in the band above them.
    std::vector<uint32_t> glyphs(caption.begin(), caption.end());
    const RasterFont font = RasteriseFont(ReadFontFile(Theme::kLatoBold, Theme::kDejaVuSansBold),
                                          FontStyle{"", t.errorCaptionSize, std::nullopt, false}, glyphs);
    PaintCentredText(canvas, font, caption, (x0 + x1) / 2, y0 + static_cast<float>(t.errorPad + t.errorCaption) / 2 + 1,
                     Theme::kInk);
    return ToTexture(canvas);
}

}  // namespace ContentBuilder
