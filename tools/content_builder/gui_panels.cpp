#include "tools/content_builder/gui_panels.h"

#include "tools/content_builder/nine_part_panel.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/widget_paint.h"

namespace ContentBuilder {
namespace {

// A recessed well filling the texture but for the gutter: border, fill, and the shadow of its
// upper edge inside it.
TextureImage DrawWell(int width, int height, float radius, float border, Theme::Rgb fill, Theme::Rgb edge,
                      const Theme::SoftShadow& innerShadow) {
    const float g = static_cast<float>(Theme::kGuiGutter);
    const float x1 = static_cast<float>(width) - g, y1 = static_cast<float>(height) - g;
    Canvas canvas(width, height);
    canvas.FillShape([&](float x, float y) { return RoundedRectDistance(x, y, g, g, x1, y1, radius); }, edge, 1.0f);
    const Shape inner = [=](float x, float y) {
        return RoundedRectDistance(x, y, g + border, g + border, x1 - border, y1 - border, radius - border);
    };
    canvas.FillShape(inner, fill, 1.0f);
    PaintInnerShadow(canvas, inner, innerShadow);
    return ToTexture(canvas);
}

}  // namespace

std::array<TextureImage, 9> DrawPanel9Pieces() {
    const int c = PanelCornerSize();
    const TextureImage panel = DrawPanel(c);
    std::array<TextureImage, 9> pieces;
    for (int piece = 0; piece < 9; ++piece)
        pieces[static_cast<size_t>(piece)] = CropImage(panel, (piece % 3) * c, (piece / 3) * c, c, c);
    return pieces;
}

std::string Panel9File(int piece) {
    return std::string(Theme::kPanel9FilePrefix) + std::to_string(piece / 3 + 1) + "_" + std::to_string(piece % 3 + 1) +
           ".png";
}

TextureImage DrawLineBox() {
    const Theme::LineBoxTheme& t = Theme::kLineBox;
    return DrawWell(t.width, t.height, t.radius, t.border, t.fill, t.edge, t.innerShadow);
}

TextureImage DrawListPanel() {
    const Theme::ListBoxTheme& t = Theme::kListBox;
    return DrawWell(t.width, t.rows * t.rowHeight, t.radius, t.border, t.fill, t.edge, t.innerShadow);
}

TextureImage DrawListRow() {
    const Theme::ListBoxTheme& t = Theme::kListBox;
    Canvas canvas(t.width, t.rowHeight);
    const float x0 = t.rowInsetX, y0 = t.rowInsetY;
    const float x1 = static_cast<float>(t.width) - t.rowInsetX, y1 = static_cast<float>(t.rowHeight) - t.rowInsetY;
    PaintGradientShape(
        canvas, [=](float x, float y) { return RoundedRectDistance(x, y, x0, y0, x1, y1, t.rowRadius); }, t.row,
        t.rowGradient, y0, y1);
    return ToTexture(canvas);
}

TextureImage DrawListSeparators() {
    const Theme::ListBoxTheme& t = Theme::kListBox;
    Canvas canvas(t.width, t.rows * t.rowHeight);
    const float x0 = t.separatorInset, x1 = static_cast<float>(t.width) - t.separatorInset;
    for (int row = 1; row < t.rows; ++row) {
        // The last pixel line of the row above, so the line stays one pixel sharp.
        const float y = static_cast<float>(row * t.rowHeight);
        canvas.FillShape(
            [&](float x, float py) { return RoundedRectDistance(x, py, x0, y - t.separatorWidth, x1, y, 0.0f); },
            t.separator, 1.0f);
    }
    return ToTexture(canvas);
}

TextureImage DrawPageMarks() {
    const Theme::PageMarksTheme& t = Theme::kPageMarks;
    const float c = 0.5f * static_cast<float>(t.cell);
    Canvas canvas(2 * t.cell, t.cell);
    canvas.FillShape([&](float x, float y) { return CircleDistance(x, y, c, c, 0.5f * t.current); }, t.currentColour,
                     1.0f);
    canvas.FillShape([&](float x, float y) { return CircleDistance(x, y, c + t.cell, c, 0.5f * t.other); },
                     t.otherColour, 1.0f);
    return ToTexture(canvas);
}

}  // namespace ContentBuilder
