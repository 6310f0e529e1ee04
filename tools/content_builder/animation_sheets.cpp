#include "tools/content_builder/animation_sheets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_number.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

Canvas DrawStarFrame(int frame) {
    const Theme::StarPopTheme& t = Theme::kStarPop;
    const float c = t.cell * 0.5f;
    const float outer = t.outerRadius * t.scale[static_cast<size_t>(frame)];
    const float turn = t.turnDegrees[static_cast<size_t>(frame)] * kPi / 180.0f;
    std::array<Point, 10> star{};
    for (int i = 0; i < 10; ++i) {
        const float radius = (i % 2 == 0) ? outer : outer * t.innerRatio;
        const float angle = -0.5f * kPi + turn + static_cast<float>(i) * kPi / 5.0f;
        star[static_cast<size_t>(i)] = {c + radius * std::cos(angle), c + radius * std::sin(angle)};
    }
    // The outline shrinks with the star so the smallest frames stay a star, not a blob.
    const float outline = t.outline * std::min(1.0f, t.scale[static_cast<size_t>(frame)]);
    Canvas cell(t.cell, t.cell);
    auto shape = [&](float x, float y) { return PolygonDistance(x, y, star); };
    auto body = [&](float x, float y) { return shape(x, y) + outline; };
    cell.FillShape(shape, Theme::kRewardOutline, 1.0f);
    cell.FillShape(body, Theme::kReward, 1.0f);
    // A pale glint up left, kept inside the body.
    std::vector<float> glint = CoverageMask(t.cell, t.cell, [&](float x, float y) {
        return CircleDistance(x, y, c - 0.28f * outer, c - 0.22f * outer, t.glintRadius * outer);
    });
    const std::vector<float> inside = CoverageMask(t.cell, t.cell, body);
    for (size_t i = 0; i < glint.size(); ++i) glint[i] *= inside[i];
    cell.PaintMask(glint, Theme::kTextOnAccent, t.glintAlpha);
    return cell;
}

}  // namespace

Canvas DrawCoinFrame(const Theme::CoinSpinTheme& t, int frame, int frameCount) {
    const float c = t.cell * 0.5f;
    const float angle = static_cast<float>(frame) * kPi / static_cast<float>(frameCount);
    const float facing = std::abs(std::cos(angle));
    // The coin's side shows as a band as it turns away; the face sits on its left.
    const float side = t.thickness * std::abs(std::sin(angle));
    const float faceX = c - 0.5f * side, backX = c + 0.5f * side;
    const float rx = std::max(t.radius * facing, 0.01f), ry = t.radius;
    Canvas cell(t.cell, t.cell);
    auto coinEdge = [&](float x, float y) {
        const float between = RoundedRectDistance(x, y, faceX, c - ry, backX, c + ry, 0.0f);
        // Edge on, the faces are too flat for the ellipse distance (it reaches past the tips).
        if (rx < 0.5f) return between;
        return std::min({EllipseDistance(x, y, faceX, c, rx, ry), EllipseDistance(x, y, backX, c, rx, ry), between});
    };
    cell.FillShape(coinEdge, Theme::kRewardOutline, 1.0f);
    const float innerRx = rx - t.rim * facing, innerRy = ry - t.rim;
    if (innerRx > 0.5f) {
        cell.FillShape([&](float x, float y) { return EllipseDistance(x, y, faceX, c, innerRx, innerRy); },
                       Theme::kReward, 1.0f);
        const float ringRx = rx * t.ringRadius, ringRy = ry * t.ringRadius;
        cell.FillShape(
            [&](float x, float y) {
                return std::abs(EllipseDistance(x, y, faceX, c, ringRx, ringRy)) - 0.5f * t.ringWidth;
            },
            Theme::kRewardOutline, facing);
    }
    return cell;
}

namespace {

template <class DrawFrame>
TextureImage DrawSheet(int cell, int columns, int rows, DrawFrame drawFrame) {
    Canvas sheet(cell * columns, cell * rows);
    for (int frame = 0; frame < columns * rows; ++frame)
        sheet.Blit(drawFrame(frame), (frame % columns) * cell, (frame / columns) * cell);
    return {sheet.Width(), sheet.Height(), sheet.ToRgba8()};
}

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string AnimationXml(std::string_view element, std::string_view file, int columns, int rows, float fps, bool loop) {
    const std::string name(element);
    return "  <" + name + ">\n    <FILE>" + XmlEscape(ResourceKey(Theme::kTestFolder, file)) +
           "</FILE>\n    <HOT_SPOT>HS_MID</HOT_SPOT>\n    <ANIMATION grid=\"" + XmlNumber(columns) + " " +
           XmlNumber(rows) + "\" frames=\"" + XmlNumber(columns * rows) + "\" fps=\"" + XmlNumber(fps) + "\" loop=\"" +
           Bool(loop) + "\" ping_pong=\"false\" reverese=\"true\" flip=\"false\"/>\n  </" + name + ">\n";
}

}  // namespace

TextureImage DrawStarPopSheet() {
    const Theme::StarPopTheme& t = Theme::kStarPop;
    static_assert(Theme::kStarPop.scale.size() == Theme::kStarPop.turnDegrees.size());
    if (static_cast<size_t>(t.columns * t.rows) != t.scale.size())
        throw std::runtime_error("star_pop: the grid does not hold one cell per frame");
    return DrawSheet(t.cell, t.columns, t.rows, DrawStarFrame);
}

TextureImage DrawCoinSpinSheet() {
    const Theme::CoinSpinTheme& t = Theme::kCoinSpin;
    const int frames = t.columns * t.rows;
    return DrawSheet(t.cell, t.columns, t.rows, [&t, frames](int frame) { return DrawCoinFrame(t, frame, frames); });
}

std::string AnimationDescriptionsXml() {
    const auto& star = Theme::kStarPop;
    const auto& coin = Theme::kCoinSpin;
    // "reverese" is the direction flag: true plays forward from frame 0.
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<animations>\n" +
           AnimationXml("star_pop", star.file, star.columns, star.rows, star.fps, false) +
           AnimationXml("coin_spin", coin.file, coin.columns, coin.rows, coin.fps, true) + "</animations>\n";
}

void BuildAnimationSheets(OutputTree& out) {
    out.Write(RunPath(Theme::kTestFolder, Theme::kStarPop.file), EncodeTexture(DrawStarPopSheet()));
    out.Write(RunPath(Theme::kTestFolder, Theme::kCoinSpin.file), EncodeTexture(DrawCoinSpinSheet()));
    out.Write(RunPath(Theme::kTestFolder, Theme::kAnimationDescriptions), AnimationDescriptionsXml());
}

}  // namespace ContentBuilder
