#include "tools/content_builder/finish_art.h"

#include <array>
#include <cmath>
#include <stdexcept>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/widget_paint.h"

namespace ContentBuilder {
namespace {

constexpr float kPi = 3.14159265f;

// A five-pointed star, point up.
Shape FivePointStar(float cx, float cy, float outer, float inner) {
    std::array<Point, 10> corners{};
    for (int i = 0; i < 10; ++i) {
        const float angle = -kPi / 2 + static_cast<float>(i) * kPi / 5;
        const float r = i % 2 == 0 ? outer : inner;
        corners[static_cast<size_t>(i)] = {cx + r * std::cos(angle), cy + r * std::sin(angle)};
    }
    return [corners](float x, float y) { return PolygonDistance(x, y, corners); };
}

template <size_t N>
Shape PolygonShape(std::array<Point, N> corners) {
    return [corners](float x, float y) { return PolygonDistance(x, y, corners); };
}

}  // namespace

TextureImage DrawFinishStar() {
    const Theme::FinishArtTheme& t = Theme::kFinishArt;
    const float s = static_cast<float>(t.star);
    Canvas canvas(2 * t.star, t.star);
    for (int half = 0; half < 2; ++half) {
        const Shape star =
            FivePointStar(s * (static_cast<float>(half) + 0.5f), s * 0.53f, s * t.starOuter, s * t.starInner);
        canvas.FillShape(star, half == 0 ? t.emptyEdge : t.fullEdge, 1.0f);
        canvas.FillShape([&](float x, float y) { return star(x, y) + t.starOutline; },
                         half == 0 ? t.emptyFill : t.fullFill, 1.0f);
    }
    return ToTexture(canvas);
}

TextureImage DrawFinishBanner(int stars) {
    if (stars < 1 || stars > 3) throw std::invalid_argument("a finish banner is for 1 to 3 stars");
    const Theme::FinishArtTheme& t = Theme::kFinishArt;
    const int margin = ShadowReach(t.bannerShadow.offsetY, t.bannerShadow.sigma) + 1;
    const int width = t.bannerWidth;
    const int height = 2 * margin + static_cast<int>(std::ceil(t.bannerBody + t.bannerFold));
    Canvas canvas(width, height);
    const float m = static_cast<float>(margin), w = static_cast<float>(width);
    // The body across the middle; the tails behind it at both ends, lower by the fold, each with
    // a notch cut into its outer end; a dark fold joins body and tail.
    const float x0 = m + t.bannerTail * 0.55f, x1 = w - x0, y0 = m, y1 = m + t.bannerBody;
    const float tailInner = t.bannerTail * 0.45f, f = t.bannerFold, mid = (y0 + y1) / 2 + f;
    const Shape leftTail = PolygonShape(std::array<Point, 5>{
        {{m, y0 + f}, {x0 + tailInner, y0 + f}, {x0 + tailInner, y1 + f}, {m, y1 + f}, {m + t.bannerNotch, mid}}});
    const Shape rightTail = PolygonShape(std::array<Point, 5>{{{w - m, y0 + f},
                                                               {x1 - tailInner, y0 + f},
                                                               {x1 - tailInner, y1 + f},
                                                               {w - m, y1 + f},
                                                               {w - m - t.bannerNotch, mid}}});
    const Shape leftFold =
        PolygonShape(std::array<Point, 3>{{{x0, y1 - 1}, {x0 + tailInner, y1 - 1}, {x0 + tailInner, y1 + f}}});
    const Shape rightFold =
        PolygonShape(std::array<Point, 3>{{{x1, y1 - 1}, {x1 - tailInner, y1 - 1}, {x1 - tailInner, y1 + f}}});
    const Shape body = [=](float x, float y) { return RoundedRectDistance(x, y, x0, y0, x1, y1, 4.0f); };
    const Shape whole = [=](float x, float y) { return std::min({body(x, y), leftTail(x, y), rightTail(x, y)}); };
    const Theme::Rgb colour = t.bannerColours[static_cast<size_t>(stars - 1)];
    PaintDropShadow(canvas, whole, t.bannerShadow);
    const Theme::Rgb tail = Mix(colour, Theme::kInk, 0.22f);
    canvas.FillShape(leftTail, tail, 1.0f);
    canvas.FillShape(rightTail, tail, 1.0f);
    canvas.FillShape(leftFold, Mix(colour, Theme::kInk, 0.45f), 1.0f);
    canvas.FillShape(rightFold, Mix(colour, Theme::kInk, 0.45f), 1.0f);
    PaintGradientShape(canvas, body, colour, t.bannerGradient, y0, y1);
    return ToTexture(canvas);
}

void BuildFinishArt(OutputTree& out) {
    const Theme::FinishArtTheme& t = Theme::kFinishArt;
    out.Write(RunPath(t.folder, t.starFile), EncodeTexture(DrawFinishStar()));
    for (int stars = 1; stars <= 3; ++stars)
        out.Write(RunPath(t.folder, t.bannerFiles[static_cast<size_t>(stars - 1)]),
                  EncodeTexture(DrawFinishBanner(stars)));
}

}  // namespace ContentBuilder
