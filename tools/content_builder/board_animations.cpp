#include "tools/content_builder/board_animations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <string>

#include "tools/content_builder/animation_sheets.h"
#include "tools/content_builder/canvas.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/widget_paint.h"

namespace ContentBuilder {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

static_assert(Theme::kSquareAnimation.frames == static_cast<int>(Theme::kCellMarks.squareScale.size()));
static_assert(Theme::kShineAnimation.frames == static_cast<int>(Theme::kCellMarks.shineAlpha.size()));
static_assert(Theme::kErrorMarkAnimation.frames == static_cast<int>(Theme::kErrorMark.scale.size()));
static_assert(Theme::kMoneyCoin.cell == Theme::kMoneyAnimation.width &&
              Theme::kMoneyCoin.cell == Theme::kMoneyAnimation.height &&
              Theme::kMoneyCoin.columns == Theme::kMoneyAnimation.frames);

using FrameDrawer = std::function<Canvas(int frame)>;

TextureImage DrawStrip(const Theme::BoardAnimation& a, const FrameDrawer& draw) {
    Canvas sheet(a.width * a.frames, a.height);
    for (int frame = 0; frame < a.frames; ++frame) sheet.Blit(draw(frame), frame * a.width, 0);
    return ToTexture(sheet);
}

// A rounded square centred in a frame of side `side`, its half side given.
Shape CentredSquare(int side, float half, float radius) {
    const float c = static_cast<float>(side) * 0.5f;
    return [=](float x, float y) { return RoundedRectDistance(x, y, c - half, c - half, c + half, c + half, radius); };
}

// A ring of the given width along the inside of a shape's edge.
Shape Ring(const Shape& shape, float width) {
    return [=](float x, float y) { return std::abs(shape(x, y) + width * 0.5f) - width * 0.5f; };
}

// Cell marks are drawn at any cell size; strokes and insets grow with the cell from the shared
// size's (the filled square keeps its 1 px inset and 2 px corners at every size).
float CellScale(int side) { return static_cast<float>(side) / static_cast<float>(Theme::kBoardCell); }

Canvas SquareFrame(const Theme::BoardAnimation& a, int frame) {
    const Theme::CellMarkTheme& t = Theme::kCellMarks;
    const int side = a.width;
    const float scale = t.squareScale[static_cast<size_t>(frame)];
    const float half = (static_cast<float>(side) * 0.5f - t.squareInset) * scale;
    Canvas cell(side, side);
    cell.FillShape(CentredSquare(side, half, std::max(0.5f, t.squareRadius * scale)), Theme::kInk, 1.0f);
    return cell;
}

Canvas CrossFrame(const Theme::BoardAnimation& a, int frame) {
    const Theme::CellMarkTheme& t = Theme::kCellMarks;
    const int side = a.width, frames = a.frames;
    const float k = CellScale(side), width = t.crossStroke * k;
    const float s = static_cast<float>(side), i = t.crossInset * k, per = static_cast<float>(frames) / 2.0f;
    const float first = std::clamp(static_cast<float>(frame + 1) / per, 0.0f, 1.0f);
    const float second = std::clamp((static_cast<float>(frame + 1) - per) / per, 0.0f, 1.0f);
    const auto stroke = [&](Point a, Point b, float progress) -> Shape {
        const Point end{a.x + (b.x - a.x) * progress, a.y + (b.y - a.y) * progress};
        return [=](float x, float y) { return SegmentDistance(x, y, a, end, width); };
    };
    Canvas cell(side, side);
    cell.FillShape(stroke({i, i}, {s - i, s - i}, first), Theme::kCross, 1.0f);
    if (second > 0.0f) cell.FillShape(stroke({s - i, i}, {i, s - i}, second), Theme::kCross, 1.0f);
    return cell;
}

Canvas ShineFrame(const Theme::BoardAnimation& a, int frame) {
    const Theme::CellMarkTheme& t = Theme::kCellMarks;
    const int side = a.width;
    const float k = CellScale(side);
    const float alpha = t.shineAlpha[static_cast<size_t>(frame)];
    const Shape body = CentredSquare(side, static_cast<float>(side) * 0.5f - 1.0f, 3.0f * k);
    Canvas cell(side, side);
    cell.FillShape(body, Theme::kReward, alpha * t.shineFill);
    cell.FillShape(Ring(body, t.shineRing * k), Theme::kReward, alpha);
    return cell;
}

Canvas PulseFrame(const Theme::BoardAnimation& a, int frame) {
    const Theme::CellMarkTheme& t = Theme::kCellMarks;
    const int side = a.width;
    const float k = CellScale(side);
    const float along = static_cast<float>(frame) / static_cast<float>(a.frames - 1);
    const float inset = (t.pulseFromInset + (t.pulseToInset - t.pulseFromInset) * along) * k;
    Canvas cell(side, side);
    cell.FillShape(Ring(CentredSquare(side, static_cast<float>(side) * 0.5f - inset, 4.0f * k), t.pulseRing * k),
                   Theme::kAccent, 1.0f - 0.85f * along);
    return cell;
}

Canvas HintFrame(int frame) {
    const Theme::CellMarkTheme& t = Theme::kCellMarks;
    const Theme::BoardAnimation& a = Theme::kHintAnimation;
    const float c = static_cast<float>(a.width) * 0.5f;
    const float phase = static_cast<float>(frame) / static_cast<float>(a.frames);
    const float radius = t.hintRadius * (1.0f - t.hintBreath * 0.5f + t.hintBreath * 0.5f * std::cos(2 * kPi * phase));
    const float turn = t.hintTurnDegrees * kPi / 180.0f * phase;
    std::array<Point, 8> spark{};
    for (int k = 0; k < 8; ++k) {
        const float r = k % 2 == 0 ? radius : radius * t.hintWaist;
        const float angle = -0.5f * kPi + turn + static_cast<float>(k) * kPi / 4.0f;
        spark[static_cast<size_t>(k)] = {c + r * std::cos(angle), c + r * std::sin(angle)};
    }
    const Shape shape = [spark](float x, float y) { return PolygonDistance(x, y, spark); };
    Canvas cell(a.width, a.height);
    cell.FillShape(shape, Theme::kRewardOutline, 1.0f);
    cell.FillShape([&](float x, float y) { return shape(x, y) + t.hintOutline; }, Theme::kReward, 1.0f);
    return cell;
}

// The strike is drawn for the shared size and stretched to the frame (a larger clue font's).
Canvas StrikeFrame(const Theme::BoardAnimation& a, int frame) {
    const Theme::StrikeTheme& t = Theme::kStrike;
    const Theme::BoardAnimation& shared = Theme::kStrikeAnimation;
    const float kx = static_cast<float>(a.width) / static_cast<float>(shared.width);
    const float ky = static_cast<float>(a.height) / static_cast<float>(shared.height);
    const float along = static_cast<float>(frame + 1) / static_cast<float>(a.frames);
    const Point from{t.x0 * kx, t.y0 * ky},
        to{(t.x0 + (t.x1 - t.x0) * along) * kx, (t.y0 + (t.y1 - t.y0) * along) * ky};
    Canvas cell(a.width, a.height);
    cell.FillShape([&](float x, float y) { return SegmentDistance(x, y, from, to, t.stroke * std::min(kx, ky)); },
                   Theme::kClueCrossed, 1.0f);
    return cell;
}

Canvas ErrorMarkFrame(int frame) {
    const Theme::ErrorMarkTheme& t = Theme::kErrorMark;
    const int side = Theme::kErrorMarkAnimation.width;
    const float scale = t.scale[static_cast<size_t>(frame)];
    const float half = (static_cast<float>(side) * 0.5f - t.inset) * scale;
    const float c = static_cast<float>(side) * 0.5f, arm = half * (1.0f - 2.0f * t.crossInset);
    Canvas cell(side, side);
    cell.FillShape(CentredSquare(side, half, t.radius * scale), Theme::kError, 1.0f);
    cell.FillShape(
        [&](float x, float y) {
            return std::min(SegmentDistance(x, y, {c - arm, c - arm}, {c + arm, c + arm}, t.crossStroke * scale),
                            SegmentDistance(x, y, {c + arm, c - arm}, {c - arm, c + arm}, t.crossStroke * scale));
        },
        Theme::kTextOnAccent, 1.0f);
    return cell;
}

Canvas ErrorLockFrame(int) {
    const Theme::ErrorMarkTheme& t = Theme::kErrorMark;
    const int side = Theme::kErrorLockAnimation.width;
    const float c = static_cast<float>(side) * 0.5f;
    const Shape slot = CentredSquare(side, c - t.inset, t.radius);
    const float top = c - t.lockHeight * 0.5f + 2.0f;
    const Shape lock = [&](float x, float y) {
        const float body =
            RoundedRectDistance(x, y, c - t.lockWidth * 0.5f, top, c + t.lockWidth * 0.5f, top + t.lockHeight, 2.0f);
        const float shackle =
            y <= top ? std::abs(std::hypot(x - c, y - top) - t.lockShackle) - t.lockStroke * 0.5f : 1e3f;
        return std::min(body, shackle);
    };
    Canvas cell(side, side);
    cell.FillShape(Ring(slot, t.lockRing), Theme::kAccentDisabled, 1.0f);
    cell.FillShape(lock, Theme::kAccentDisabled, 1.0f);
    return cell;
}

}  // namespace

TextureImage DrawBoardAnimation(const Theme::BoardAnimation& a) {
    const std::string_view name = a.name;
    const auto sized = [&a](Canvas (*frame)(const Theme::BoardAnimation&, int)) {
        return DrawStrip(a, [&a, frame](int f) { return frame(a, f); });
    };
    if (name == Theme::kSquareAnimation.name) return sized(SquareFrame);
    if (name == Theme::kCrossAnimation.name) return sized(CrossFrame);
    if (name == Theme::kShineAnimation.name) return sized(ShineFrame);
    if (name == Theme::kPulseAnimation.name) return sized(PulseFrame);
    if (name == Theme::kHintAnimation.name) return DrawStrip(a, HintFrame);
    if (name == Theme::kMoneyAnimation.name)
        return DrawStrip(a, [&a](int frame) { return DrawCoinFrame(Theme::kMoneyCoin, frame, a.frames); });
    if (name == Theme::kStrikeAnimation.name) return sized(StrikeFrame);
    if (name == Theme::kErrorMarkAnimation.name) return DrawStrip(a, ErrorMarkFrame);
    if (name == Theme::kErrorLockAnimation.name) return DrawStrip(a, ErrorLockFrame);
    throw std::invalid_argument("no drawing for the board animation \"" + std::string(name) + "\"");
}

}  // namespace ContentBuilder
