#include "tools/content_builder/window_icons.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {

std::vector<uint8_t> DrawWindowIcon(int size) {
    const Theme::IconTheme& t = Theme::kIcon;
    const float s = static_cast<float>(size);
    // At small sizes a fraction of a pixel turns into blur, so edges snap to whole pixels there.
    const bool snap = size < t.pixelSnapBelow;
    auto px = [&](float fraction, float minimum) {
        const float v = fraction * s;
        return snap ? std::max(minimum, std::round(v)) : v;
    };
    Canvas canvas(size, size);

    // Tile: an outline in the heavy grid colour with the paper inside it.
    const float m = px(t.tileMargin, 0.0f);
    const float radius = px(t.tileRadius, 1.0f);
    canvas.FillRoundedRect(m, m, s - m, s - m, radius, Theme::kGridHeavy, 1.0f, t.supersampling);
    const float border = px(t.borderWidth, 1.0f);
    const float b = m + border;
    canvas.FillRoundedRect(b, b, s - b, s - b, std::max(0.0f, radius - border), Theme::kPaper, 1.0f, t.supersampling);

    // The 3x3 pattern, centred (to a whole pixel when snapping).
    const float gap = px(t.cellGap, 1.0f);
    const float cell = px((1.0f - 2.0f * t.patternInset - 2.0f * t.cellGap) / 3.0f, 1.0f);
    const float span = 3.0f * cell + 2.0f * gap;
    const float inset = snap ? std::floor((s - span) * 0.5f) : (s - span) * 0.5f;
    const float cellRadius = snap ? std::min(t.cellRadius * s, 0.5f) : t.cellRadius * s;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const float x = inset + col * (cell + gap);
            const float y = inset + row * (cell + gap);
            if (t.pattern[row][col] == '#')
                canvas.FillRoundedRect(x, y, x + cell, y + cell, cellRadius, Theme::kInk, 1.0f, t.supersampling);
        }
    }
    return canvas.ToRgba8();
}

void BuildWindowIcons(OutputTree& out) {
    for (int size : Theme::kIcon.sizes) {
        const std::vector<uint8_t> pixels = DrawWindowIcon(size);
        out.Write("icons/quorvel-" + std::to_string(size) + ".png", EncodePng(size, size, pixels));
    }
}

}  // namespace ContentBuilder
