#include "tools/content_builder/bar_icons.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/shape_distance.h"

namespace ContentBuilder {

namespace {

constexpr float kPi = 3.14159265358979f;

// Signed distance of the icon's body, in pixels, for a square of side s centred at (c, c).
float HeartDistance(float x, float y, float c, float s) {
    const float r = 0.25f * s;
    const float lobes = std::min(CircleDistance(x, y, c - 0.2f * s, c - 0.12f * s, r),
                                 CircleDistance(x, y, c + 0.2f * s, c - 0.12f * s, r));
    const std::array<Point, 3> tip{Point{c - 0.43f * s, c - 0.02f * s}, Point{c + 0.43f * s, c - 0.02f * s},
                                   Point{c, c + 0.42f * s}};
    return std::min(lobes, PolygonDistance(x, y, tip));
}

float StarDistance(float x, float y, float c, float s) {
    std::array<Point, 10> corners{};
    for (int i = 0; i < 10; ++i) {
        const float radius = (i % 2 == 0 ? 0.48f : 0.2f) * s;
        const float angle = -kPi / 2.0f + static_cast<float>(i) * kPi / 5.0f;
        corners[static_cast<size_t>(i)] = Point{c + radius * std::cos(angle), c + 0.04f * s + radius * std::sin(angle)};
    }
    return PolygonDistance(x, y, corners);
}

}  // namespace

TextureImage DrawBarIcon(Theme::BarIcon icon) {
    const Theme::BarIconTheme& t = Theme::kBarIcons;
    const float side = static_cast<float>(t.side);
    const float c = 0.5f * side, s = side - 2.0f * t.margin;
    Canvas canvas(t.side, t.side);
    switch (icon) {
        case Theme::BarIcon::kHeart:
            canvas.FillShape([=](float x, float y) { return HeartDistance(x, y, c, s); }, t.heartEdge, 1.0f);
            canvas.FillShape([=](float x, float y) { return HeartDistance(x, y, c, s) + t.edge; }, t.heart, 1.0f);
            break;
        case Theme::BarIcon::kCoin:
            canvas.FillShape([=](float x, float y) { return CircleDistance(x, y, c, c, 0.48f * s); }, t.edgeColour,
                             1.0f);
            canvas.FillShape([=](float x, float y) { return CircleDistance(x, y, c, c, 0.48f * s - t.edge); }, t.body,
                             1.0f);
            canvas.FillShape(
                [=](float x, float y) { return std::abs(CircleDistance(x, y, c, c, 0.3f * s)) - 0.5f * t.edge; },
                t.edgeColour, 1.0f);
            break;
        case Theme::BarIcon::kStar:
            canvas.FillShape([=](float x, float y) { return StarDistance(x, y, c, s); }, t.edgeColour, 1.0f);
            canvas.FillShape([=](float x, float y) { return StarDistance(x, y, c, s) + t.edge; }, t.body, 1.0f);
            break;
    }
    return TextureImage{t.side, t.side, canvas.ToRgba8()};
}

void BuildBarIcons(OutputTree& out) {
    for (const Theme::BarIconFile& file : Theme::kBarIconFiles)
        out.Write(RunPath(Theme::kBarIconFolder, file.file), EncodeTexture(DrawBarIcon(file.icon)));
}

}  // namespace ContentBuilder
