#include "tools/content_builder/catalogue_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/widget_paint.h"

namespace ContentBuilder {
namespace {

constexpr float kPi = 3.14159265f;

Shape Union(Shape a, Shape b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Shape Circle(float cx, float cy, float r) {
    return [=](float x, float y) { return CircleDistance(x, y, cx, cy, r); };
}

Shape Segment(Point a, Point b, float width) {
    return [=](float x, float y) { return SegmentDistance(x, y, a, b, width); };
}

template <size_t N>
Shape Polygon(std::array<Point, N> corners) {
    return [=](float x, float y) { return PolygonDistance(x, y, corners); };
}

// A ring along the shape's outline, `width` wide, inside it.
Shape Outline(Shape shape, float width) {
    return [=](float x, float y) { return std::abs(shape(x, y) + 0.5f * width) - 0.5f * width; };
}

// Emblems are drawn in a square box of side s centred on (cx, cy); at(fx, fy) is a point of it
// in fractions of s from the centre.
struct Box {
    float cx, cy, s;
    Point at(float fx, float fy) const { return {cx + fx * s, cy + fy * s}; }
};

Shape Star(Box b) {
    std::array<Point, 10> corners;
    for (int i = 0; i < 10; ++i) {
        const float r = (i % 2 == 0 ? 0.5f : 0.5f * 0.47f);
        const float a = -0.5f * kPi + static_cast<float>(i) * kPi / 5.0f;
        corners[static_cast<size_t>(i)] = b.at(r * std::cos(a), r * std::sin(a) + 0.04f);
    }
    return Polygon(corners);
}

Shape Heart(Box b) {
    const Shape lobes = Union(Circle(b.cx - 0.21f * b.s, b.cy - 0.12f * b.s, 0.24f * b.s),
                              Circle(b.cx + 0.21f * b.s, b.cy - 0.12f * b.s, 0.24f * b.s));
    return Union(lobes, Polygon(std::array<Point, 3>{b.at(-0.435f, -0.05f), b.at(0.435f, -0.05f), b.at(0.0f, 0.42f)}));
}

// A light bulb with its screw base and three short rays above it.
Shape Bulb(Box b) {
    const Point p0 = b.at(-0.13f, 0.2f), p1 = b.at(0.13f, 0.46f);
    const Point g0 = b.at(-0.2f, 0.3f), g1 = b.at(0.2f, 0.34f);
    const Shape base = [=](float x, float y) {
        return std::max(RoundedRectDistance(x, y, p0.x, p0.y, p1.x, p1.y, 0.05f * b.s),
                        -RoundedRectDistance(x, y, g0.x, g0.y, g1.x, g1.y, 0.0f));
    };
    Shape shape = Union(Circle(b.cx, b.cy, 0.25f * b.s), base);
    const Point centre = b.at(0.0f, 0.0f);
    for (float degrees : {-90.0f, -30.0f, -150.0f}) {
        const float a = degrees * kPi / 180.0f, c = std::cos(a), s = std::sin(a);
        shape = Union(shape, Segment({centre.x + 0.34f * b.s * c, centre.y + 0.34f * b.s * s},
                                     {centre.x + 0.46f * b.s * c, centre.y + 0.46f * b.s * s}, 0.08f * b.s));
    }
    return shape;
}

// The filled parts of an emblem, and the strokes that cut through it (drawn over a gap in the
// colour beneath, so the cut shows).
struct EmblemShapes {
    Shape fill;
    Shape cut;
};

EmblemShapes EmblemOf(const Theme::Medal& medal, Box b, float stroke) {
    const float w = stroke * b.s;
    switch (medal.emblem) {
        case Theme::Emblem::kStar: return {Star(b), nullptr};
        case Theme::Emblem::kCoin: {
            const Shape disc = Circle(b.cx, b.cy, 0.42f * b.s);
            const Shape groove = Outline(Circle(b.cx, b.cy, 0.3f * b.s), 0.5f * w);
            return {[=](float x, float y) { return std::max(disc(x, y), -groove(x, y)); }, nullptr};
        }
        case Theme::Emblem::kHeart: return {Heart(b), nullptr};
        case Theme::Emblem::kCheck:
            return {Union(Segment(b.at(-0.36f, 0.02f), b.at(-0.1f, 0.28f), w),
                          Segment(b.at(-0.1f, 0.28f), b.at(0.38f, -0.3f), w)),
                    nullptr};
        case Theme::Emblem::kClock:
            return {Union(Outline(Circle(b.cx, b.cy, 0.44f * b.s), w),
                          Union(Segment(b.at(0.0f, 0.0f), b.at(0.0f, -0.26f), 0.8f * w),
                                Segment(b.at(0.0f, 0.0f), b.at(0.19f, 0.0f), 0.8f * w))),
                    nullptr};
        case Theme::Emblem::kBulb: return {Bulb(b), nullptr};
        case Theme::Emblem::kBulbCrossed: return {Bulb(b), Segment(b.at(-0.42f, -0.42f), b.at(0.42f, 0.42f), w)};
        case Theme::Emblem::kCap: {
            const Shape board = Polygon(
                std::array<Point, 4>{b.at(0.0f, -0.36f), b.at(0.5f, -0.13f), b.at(0.0f, 0.1f), b.at(-0.5f, -0.13f)});
            const Point p0 = b.at(-0.27f, -0.06f), p1 = b.at(0.27f, 0.3f);
            const Shape crown = [=](float x, float y) {
                return RoundedRectDistance(x, y, p0.x, p0.y, p1.x, p1.y, 0.08f * b.s);
            };
            return {Union(Union(board, crown), Segment(b.at(0.4f, -0.12f), b.at(0.4f, 0.26f), 0.5f * w)), nullptr};
        }
        case Theme::Emblem::kCrown:
            return {Polygon(std::array<Point, 7>{b.at(-0.46f, 0.3f), b.at(-0.46f, -0.28f), b.at(-0.22f, 0.0f),
                                                 b.at(0.0f, -0.38f), b.at(0.22f, 0.0f), b.at(0.46f, -0.28f),
                                                 b.at(0.46f, 0.3f)}),
                    nullptr};
        case Theme::Emblem::kPicture: {
            if (medal.picture.size() != 9)
                throw std::runtime_error("medal " + std::string(medal.stem) + ": picture is not 3 x 3");
            // Filled cells solid, empty ones as thin outlines: a little solved nonogram.
            const float cell = b.s / 3.0f, gap = 0.12f * cell;
            const std::string picture(medal.picture);
            return {
                [=](float x, float y) {
                    float d = 1e9f;
                    for (int i = 0; i < 9; ++i) {
                        const float x0 = b.cx - 0.5f * b.s + static_cast<float>(i % 3) * cell + gap;
                        const float y0 = b.cy - 0.5f * b.s + static_cast<float>(i / 3) * cell + gap;
                        const float r =
                            RoundedRectDistance(x, y, x0, y0, x0 + cell - 2 * gap, y0 + cell - 2 * gap, 0.15f * cell);
                        d = std::min(
                            d, picture[static_cast<size_t>(i)] == '#' ? r : std::abs(r + 0.06f * cell) - 0.06f * cell);
                    }
                    return d;
                },
                nullptr};
        }
    }
    throw std::runtime_error("unknown emblem");
}

// Emblem boxes of a medal: one in the middle, or two side by side, or three in a triangle.
std::vector<Box> EmblemBoxes(const Theme::Medal& medal) {
    const Theme::MedalTheme& t = Theme::kMedal;
    const float one = t.emblemSize, small = t.emblemSize * t.tierScale;
    switch (medal.count) {
        case 1: return {{t.discX, t.discY, one}};
        case 2: return {{t.discX - 0.55f * small, t.discY, small}, {t.discX + 0.55f * small, t.discY, small}};
        case 3:
            return {{t.discX, t.discY - 0.5f * small, small},
                    {t.discX - 0.58f * small, t.discY + 0.48f * small, small},
                    {t.discX + 0.58f * small, t.discY + 0.48f * small, small}};
        default: throw std::runtime_error("medal " + std::string(medal.stem) + ": 1 to 3 emblems");
    }
}

}  // namespace

TextureImage DrawMedal(const Theme::Medal& medal, bool earned) {
    const Theme::MedalTheme& t = Theme::kMedal;
    const Theme::MedalLook& look = earned ? t.open : t.closed;
    RequireRoom(static_cast<int>(std::ceil(t.discY + t.discRadius)) + ShadowReach(t.shadow.offsetY, t.shadow.sigma),
                t.side, "medal");
    Canvas canvas(t.side, t.side);

    // Two ribbon tails from the top edge, crossing behind the disc.
    const float half = 0.5f * t.ribbonWidth, top = t.ribbonTop, bottom = t.discY - 0.4f * t.discRadius;
    const float inner = t.discX - t.ribbonSpread;
    const Shape left = Polygon(std::array<Point, 4>{Point{inner - 2 * half, top}, Point{inner, top},
                                                    Point{t.discX + half, bottom}, Point{t.discX - half, bottom}});
    const Shape right =
        Polygon(std::array<Point, 4>{Point{2 * t.discX - inner, top}, Point{2 * t.discX - inner + 2 * half, top},
                                     Point{t.discX + half, bottom}, Point{t.discX - half, bottom}});
    const Shape ribbon = Union(left, right);
    const Shape disc = Circle(t.discX, t.discY, t.discRadius);
    PaintDropShadow(canvas, Union(ribbon, disc), t.shadow);
    canvas.FillShape(left, look.ribbon, 1.0f);
    canvas.FillShape(Outline(left, t.ribbonEdgeWidth), look.ribbonEdge, 1.0f);
    canvas.FillShape(right, Mix(look.ribbon, look.ribbonEdge, 0.35f), 1.0f);
    canvas.FillShape(Outline(right, t.ribbonEdgeWidth), look.ribbonEdge, 1.0f);

    PaintGradientShape(canvas, disc, look.disc, Theme::Gradient{}, t.discY - t.discRadius, t.discY + t.discRadius);
    canvas.FillShape(Outline(disc, t.ring), look.ring, 1.0f);
    for (const Box& box : EmblemBoxes(medal)) {
        const EmblemShapes emblem = EmblemOf(medal, box, t.stroke);
        canvas.FillShape(emblem.fill, look.emblem, 1.0f);
        if (emblem.cut) {
            const float gap = t.stroke * box.s;
            canvas.FillShape([&](float x, float y) { return emblem.cut(x, y) - gap; }, look.disc, 1.0f);
            canvas.FillShape(emblem.cut, look.emblem, 1.0f);
        }
    }
    return ToTexture(canvas);
}

TextureImage DrawShopIcon(Theme::ShopIcon icon) {
    const Theme::ShopIconTheme& t = Theme::kShopIcon;
    Canvas canvas(t.side, t.side);
    const Box b{t.emblemX, t.emblemY, t.emblemSize};
    const float w = 0.16f * b.s;
    Shape shape;
    Theme::Rgb colour = t.heart;
    switch (icon) {
        case Theme::ShopIcon::kMoreHearts:
        case Theme::ShopIcon::kHeartRefill: shape = Heart(b); break;
        case Theme::ShopIcon::kMoreErrors:
            shape = Union(Segment(b.at(-0.32f, -0.32f), b.at(0.32f, 0.32f), w),
                          Segment(b.at(0.32f, -0.32f), b.at(-0.32f, 0.32f), w));
            colour = t.cross;
            break;
        case Theme::ShopIcon::kHintRefill:
            shape = Bulb(b);
            colour = t.bulb;
            break;
        case Theme::ShopIcon::kSecondChance: {
            // Three quarters of a ring, turning back with an arrow head at its open end.
            const Box big{0.5f * t.side, 0.5f * t.side, 0.8f * t.side};
            const Shape ring = Outline(Circle(big.cx, big.cy, 0.36f * big.s), w);
            const Shape arc = [=](float x, float y) { return std::max(ring(x, y), -std::max(big.cx - x, y - big.cy)); };
            const Shape head =
                Polygon(std::array<Point, 3>{big.at(0.06f, -0.52f), big.at(0.06f, -0.2f), big.at(0.3f, -0.36f)});
            shape = Union(arc, head);
            colour = t.arrow;
            break;
        }
    }
    PaintDropShadow(canvas, shape, t.shadow);
    canvas.FillShape(shape, colour, 1.0f);
    if (icon == Theme::ShopIcon::kHintRefill) canvas.FillShape(Outline(shape, 1.5f), t.bulbEdge, 1.0f);
    if (icon == Theme::ShopIcon::kSecondChance) return ToTexture(canvas);

    // The badge: a plus for more of a thing, an upward arrow for a refill.
    const Shape badge = Circle(t.badgeX, t.badgeY, t.badgeRadius);
    PaintDropShadow(canvas, badge, t.shadow);
    canvas.FillShape(badge, t.badge, 1.0f);
    const float a = 0.55f * t.badgeRadius;
    const Point c{t.badgeX, t.badgeY};
    Shape glyph;
    if (icon == Theme::ShopIcon::kHeartRefill) {
        glyph = Union(Segment({c.x, c.y + a}, {c.x, c.y - a}, t.badgeStroke),
                      Union(Segment({c.x - 0.7f * a, c.y - 0.2f * a}, {c.x, c.y - a}, t.badgeStroke),
                            Segment({c.x + 0.7f * a, c.y - 0.2f * a}, {c.x, c.y - a}, t.badgeStroke)));
    } else {
        glyph = Union(Segment({c.x - a, c.y}, {c.x + a, c.y}, t.badgeStroke),
                      Segment({c.x, c.y - a}, {c.x, c.y + a}, t.badgeStroke));
    }
    canvas.FillShape(glyph, t.badgeGlyph, 1.0f);
    return ToTexture(canvas);
}

std::vector<std::pair<std::string, TextureImage>> DrawCatalogueArt() {
    std::vector<std::pair<std::string, TextureImage>> art;
    for (const Theme::Medal& medal : Theme::kMedals) {
        art.emplace_back(RunPath(Theme::kMedalFolder, std::string(medal.stem) + "_open.png"), DrawMedal(medal, true));
        art.emplace_back(RunPath(Theme::kMedalFolder, std::string(medal.stem) + "_closed.png"),
                         DrawMedal(medal, false));
    }
    for (const Theme::ShopIconFile& icon : Theme::kShopIcons)
        art.emplace_back(RunPath(Theme::kShopIconFolder, icon.file), DrawShopIcon(icon.icon));
    return art;
}

void BuildCatalogueArt(OutputTree& out) {
    for (auto& [path, image] : DrawCatalogueArt()) out.Write(path, EncodeTexture(std::move(image)));
}

}  // namespace ContentBuilder
