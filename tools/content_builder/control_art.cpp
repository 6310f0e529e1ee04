#include "tools/content_builder/control_art.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/font_rasteriser.h"
#include "tools/content_builder/gui_buttons.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/text_paint.h"
#include "tools/content_builder/widget_paint.h"

namespace ContentBuilder {
namespace {

const Theme::ControlsTheme& T() { return Theme::kControls; }

// Straight-alpha "over" of the canvas onto one frame of a strip.
void Overlay(TextureImage& strip, const Canvas& layer, int frameLeft) {
    const std::vector<uint8_t> top = layer.ToRgba8();
    for (int y = 0; y < layer.Height() && y < strip.height; ++y) {
        for (int x = 0; x < layer.Width() && frameLeft + x < strip.width; ++x) {
            const uint8_t* s = &top[(static_cast<size_t>(y) * layer.Width() + x) * 4];
            uint8_t* d = &strip.rgba[(static_cast<size_t>(y) * strip.width + frameLeft + x) * 4];
            const float sa = s[3] / 255.0f, da = d[3] / 255.0f;
            const float oa = sa + da * (1.0f - sa);
            if (oa <= 0.0f) continue;
            for (int c = 0; c < 3; ++c) {
                const float v = (s[c] * sa + d[c] * da * (1.0f - sa)) / oa;
                d[c] = static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
            }
            d[3] = static_cast<uint8_t>(std::clamp(std::lround(oa * 255.0f), 0L, 255L));
        }
    }
}

void PaintCoin(Canvas& canvas, float cx, float cy) {
    canvas.FillShape([&](float x, float y) { return CircleDistance(x, y, cx, cy, T().coinRadius); },
                     Theme::kRewardOutline, 1.0f);
    canvas.FillShape([&](float x, float y) { return CircleDistance(x, y, cx, cy, T().coinRadius - T().coinRim); },
                     Theme::kReward, 1.0f);
    // A thin ring stamped in the middle.
    canvas.FillShape([&](float x, float y) { return std::abs(CircleDistance(x, y, cx, cy, T().coinMark)) - 0.9f; },
                     Theme::kRewardOutline, 1.0f);
}

void PaintPause(Canvas& canvas, float cx, float cy) {
    const float half = 0.5f * (T().pauseBarGap + T().pauseBarWidth);
    for (const float side : {-1.0f, 1.0f}) {
        const float mid = cx + side * half;
        canvas.FillShape(
            [&](float x, float y) {
                return RoundedRectDistance(x, y, mid - 0.5f * T().pauseBarWidth, cy - 0.5f * T().pauseBarHeight,
                                           mid + 0.5f * T().pauseBarWidth, cy + 0.5f * T().pauseBarHeight,
                                           T().pauseBarRadius);
            },
            Theme::kTextOnAccent, 1.0f);
    }
}

}  // namespace

TextureImage DrawHintDigits() {
    const int cell = T().digitCell;
    Canvas canvas(cell * 5, cell * T().digitRows);
    if (static_cast<int>(T().digitTexts.size()) != 5 * T().digitRows)
        throw std::logic_error("the hint atlas needs one text per cell");
    const std::vector<uint8_t> ttf = ReadFontFile(Theme::kComfortaaBold, Theme::kDejaVuSansBold);
    const RasterFont digits = RasteriseFont(ttf, FontStyle{"", T().digitTextSize, std::nullopt, true},
                                            {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'});
    const RasterFont plus = RasteriseFont(ttf, FontStyle{"", T().digitPlusSize, std::nullopt, true}, {'+', '9'});
    for (size_t index = 0; index < T().digitTexts.size(); ++index) {
        const float cx = (static_cast<float>(index % 5) + 0.5f) * static_cast<float>(cell);
        const float cy = (static_cast<float>(index / 5) + 0.5f) * static_cast<float>(cell);
        const Shape disc = [=](float x, float y) { return CircleDistance(x, y, cx, cy, T().digitDisc); };
        PaintDropShadow(canvas, disc, T().digitShadow);
        PaintGradientShape(canvas, disc, Theme::kAccent, Theme::kButton.gradient, cy - T().digitDisc,
                           cy + T().digitDisc);
        const std::string_view text = T().digitTexts[index];
        PaintCentredText(canvas, text.size() > 1 ? plus : digits, text, cx, cy, Theme::kTextOnAccent);
    }
    RequireRoom(static_cast<int>(std::ceil(T().digitDisc)) + ShadowReach(0.0f, T().digitShadow.sigma) +
                    static_cast<int>(std::ceil(T().digitShadow.offsetY)) + Theme::kGuiGutter,
                cell / 2, "hint digit cell");
    return ToTexture(canvas);
}

TextureImage DrawHintGlow() {
    const int side = T().glow;
    Canvas canvas(side, side);
    std::vector<float> coverage(static_cast<size_t>(side) * side);
    const float c = 0.5f * static_cast<float>(side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const float d = std::hypot(static_cast<float>(x) + 0.5f - c, static_cast<float>(y) + 0.5f - c);
            const float t = std::clamp((T().glowOuter - d) / (T().glowOuter - T().glowInner), 0.0f, 1.0f);
            coverage[static_cast<size_t>(y) * side + x] = t * t * (3.0f - 2.0f * t);
        }
    }
    canvas.PaintMask(coverage, Theme::kReward, T().glowAlpha);
    return ToTexture(canvas);
}

TextureImage DrawToolIcon(bool square) {
    const int side = T().toolIcon;
    const float s = static_cast<float>(side);
    Canvas canvas(side, side);
    if (square) {
        const float inset = T().toolSquareInset;
        canvas.FillShape(
            [&](float x, float y) {
                return RoundedRectDistance(x, y, inset, inset, s - inset, s - inset, T().toolSquareRadius);
            },
            Theme::kInk, 1.0f);
    } else {
        const float a = T().toolCrossInset, b = s - T().toolCrossInset;
        canvas.FillShape(
            [&](float x, float y) {
                return std::min(SegmentDistance(x, y, Point{a, a}, Point{b, b}, T().toolCrossStroke),
                                SegmentDistance(x, y, Point{b, a}, Point{a, b}, T().toolCrossStroke));
            },
            Theme::kCross, 1.0f);
    }
    return ToTexture(canvas);
}

TextureImage DrawIconButtonStrip(ControlIcon icon) {
    const Theme::ButtonStrip body{icon == ControlIcon::kCoin ? T().storeFile : T().pauseFile, T().iconButton,
                                  T().iconButton, Theme::ButtonGlyph::kNone};
    TextureImage strip = DrawButtonStrip(body);
    const int frame = strip.width / kStripFrames;
    for (int index = 0; index < kStripFrames; ++index) {
        Canvas layer(frame, strip.height);
        const float cx = 0.5f * static_cast<float>(frame);
        // The body is centred in its frame; pressed, it sits lower.
        const float cy = 0.5f * static_cast<float>(strip.height) + (index == 2 ? Theme::kButton.pressShift : 0.0f);
        if (icon == ControlIcon::kCoin) {
            PaintCoin(layer, cx, cy);
        } else {
            PaintPause(layer, cx, cy);
        }
        Overlay(strip, layer, index * frame);
    }
    return strip;
}

TextureImage DrawResetTile() {
    const int side = T().resetTile + 2 * Theme::kGuiGutter;
    const float g = static_cast<float>(Theme::kGuiGutter), s = static_cast<float>(side);
    Canvas canvas(side, side);
    canvas.FillShape([&](float x, float y) { return RoundedRectDistance(x, y, g, g, s - g, s - g, T().resetRadius); },
                     Theme::kTextOnAccent, 1.0f);
    // Three quarters of a ring, open at the upper right, with the arrowhead at its upper end
    // pointing along the turn.
    const float c = 0.5f * s, r = T().resetArcRadius, half = 0.5f * T().resetArcStroke;
    const float pi = std::numbers::pi_v<float>;
    const float gapFrom = -0.5f * pi, gapTo = 0.05f * pi;
    const Point upperEnd{c, c - r};
    const Point lowerEnd{c + r * std::cos(gapTo), c + r * std::sin(gapTo)};
    const float a = T().resetArrowSize;
    const Point head[3] = {
        {upperEnd.x - 1.0f, upperEnd.y - a}, {upperEnd.x + a + 1.0f, upperEnd.y}, {upperEnd.x - 1.0f, upperEnd.y + a}};
    canvas.FillShape(
        [&](float x, float y) {
            const float angle = std::atan2(y - c, x - c);
            float arc = std::abs(std::hypot(x - c, y - c) - r) - half;
            if (angle > gapFrom && angle < gapTo) {
                arc = std::min(std::hypot(x - upperEnd.x, y - upperEnd.y), std::hypot(x - lowerEnd.x, y - lowerEnd.y)) -
                      half;
            }
            return std::min(arc, PolygonDistance(x, y, head));
        },
        T().resetGlyph, 1.0f);
    return ToTexture(canvas);
}

}  // namespace ContentBuilder
