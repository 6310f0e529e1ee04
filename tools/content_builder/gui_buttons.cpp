#include "tools/content_builder/gui_buttons.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/widget_paint.h"

namespace ContentBuilder {
namespace {

Shape RoundedRect(float x0, float y0, float x1, float y1, float radius) {
    return [=](float x, float y) { return RoundedRectDistance(x, y, x0, y0, x1, y1, radius); };
}

Shape Chevron(float x0, float y0, float width, float height, bool pointsLeft) {
    const Theme::ButtonTheme& t = Theme::kButton;
    auto at = [&](float fx, float fy) { return Point{x0 + width * (pointsLeft ? fx : 1.0f - fx), y0 + height * fy}; };
    const Point tip = at(t.chevronTipX, 0.5f), upper = at(t.chevronArmX, t.chevronArmY),
                lower = at(t.chevronArmX, 1.0f - t.chevronArmY);
    return [=](float x, float y) {
        return std::min(SegmentDistance(x, y, upper, tip, t.chevronStroke),
                        SegmentDistance(x, y, tip, lower, t.chevronStroke));
    };
}

enum ButtonFrame { kNormal, kHovered, kPressed, kChecked, kDisabled };

Canvas DrawButtonFrame(const Theme::ButtonStrip& strip, int frame) {
    const Theme::ButtonTheme& t = Theme::kButton;
    const int mx = Theme::kGuiGutter + ShadowReach(t.shadow.offsetX, t.shadow.sigma);
    const int my = Theme::kGuiGutter + ShadowReach(t.shadow.offsetY, t.shadow.sigma);
    Canvas canvas(strip.bodyWidth + 2 * mx, strip.bodyHeight + 2 * my);

    const float shift = frame == kPressed ? t.pressShift : 0.0f;
    const float x0 = static_cast<float>(mx), y0 = static_cast<float>(my) + shift;
    const float x1 = x0 + static_cast<float>(strip.bodyWidth), y1 = y0 + static_cast<float>(strip.bodyHeight);
    const Shape body = RoundedRect(x0, y0, x1, y1, t.radius);

    // Pressed, the body sinks towards its shadow: the shadow keeps its lower edge.
    Theme::SoftShadow shadow = t.shadow;
    if (frame == kPressed) shadow.offsetY -= t.pressShift;
    if (frame == kDisabled) shadow.alpha = t.disabledShadowAlpha;
    PaintDropShadow(canvas, body, shadow);

    const Theme::Rgb colours[kStripFrames] = {t.normal, t.hovered, t.pressed, t.checked, t.disabled};
    PaintGradientShape(canvas, body, colours[frame], t.gradient, y0, y1);
    if (frame == kChecked) {
        const float inset = t.checkedRingWidth;
        canvas.FillShape(
            [&](float x, float y) {
                return std::abs(body(x, y) + inset + 0.5f * t.checkedRingWidth) - 0.5f * t.checkedRingWidth;
            },
            t.checkedRing, t.checkedRingAlpha);
    }
    if (strip.glyph != Theme::ButtonGlyph::kNone) {
        const Shape glyph = Chevron(x0, y0, static_cast<float>(strip.bodyWidth), static_cast<float>(strip.bodyHeight),
                                    strip.glyph == Theme::ButtonGlyph::kChevronLeft);
        canvas.FillShape(glyph, t.glyph, frame == kDisabled ? t.disabledGlyphAlpha : 1.0f);
    }
    return canvas;
}

Canvas DrawCheckBoxFrame(int frame) {
    const Theme::CheckBoxTheme& t = Theme::kCheckBox;
    const int m = CheckBoxMargin();
    const float b0 = static_cast<float>(m), b1 = b0 + static_cast<float>(t.box);
    Canvas canvas(t.box + 2 * m, t.box + 2 * m);
    if (frame == 3) {
        // The mark alone: drawn over frame 0, 1 or 2, so nothing else may show.
        const Point a{b0 + t.box * t.tick[0], b0 + t.box * t.tick[1]};
        const Point bottom{b0 + t.box * t.tick[2], b0 + t.box * t.tick[3]};
        const Point c{b0 + t.box * t.tick[4], b0 + t.box * t.tick[5]};
        canvas.FillShape(
            [&](float x, float y) {
                return std::min(SegmentDistance(x, y, a, bottom, t.tickStroke),
                                SegmentDistance(x, y, bottom, c, t.tickStroke));
            },
            t.mark, 1.0f);
        return canvas;
    }
    const Theme::Rgb fills[kStripFrames] = {t.fill, t.fill, t.pressedFill, t.fill, t.disabledFill};
    const Theme::Rgb edges[kStripFrames] = {t.edge, t.hoveredEdge, t.pressedEdge, t.edge, t.disabledEdge};
    const Shape box = RoundedRect(b0, b0, b1, b1, t.radius);
    PaintDropShadow(canvas, box, t.shadow);
    canvas.FillShape(box, edges[frame], 1.0f);
    canvas.FillShape(RoundedRect(b0 + t.border, b0 + t.border, b1 - t.border, b1 - t.border, t.radius - t.border),
                     fills[frame], 1.0f);
    return canvas;
}

// Horizontal room on each side of the knob's disc inside its texture.
int SwitchKnobMarginX() {
    const Theme::SwitchTheme& t = Theme::kSwitch;
    return Theme::kGuiGutter + ShadowReach(t.knobShadow.offsetX, t.knobShadow.sigma);
}

// The knob stops as far inside the track's ends as it is inside its sides.
int SwitchKnobInset() { return (Theme::kSwitch.trackHeight - Theme::kSwitch.knob) / 2; }

}  // namespace

int CheckBoxMargin() {
    const Theme::CheckBoxTheme& t = Theme::kCheckBox;
    return Theme::kGuiGutter +
           std::max(ShadowReach(t.shadow.offsetX, t.shadow.sigma), ShadowReach(t.shadow.offsetY, t.shadow.sigma));
}

TextureImage DrawButtonStrip(const Theme::ButtonStrip& strip) {
    std::vector<Canvas> frames;
    for (int frame = 0; frame < kStripFrames; ++frame) frames.push_back(DrawButtonFrame(strip, frame));
    return JoinFrames(frames);
}

TextureImage DrawCheckBoxStrip() {
    std::vector<Canvas> frames;
    for (int frame = 0; frame < kStripFrames; ++frame) frames.push_back(DrawCheckBoxFrame(frame));
    return JoinFrames(frames);
}

namespace {

// A track of the given colours in a canvas of the panel's size; (x0, y0)-(x1, y1) the pill.
struct SwitchPill {
    Canvas canvas;
    float x0, y0, x1, y1;
};

SwitchPill DrawSwitchPill(Theme::Rgb track, Theme::Rgb edge) {
    const Theme::SwitchTheme& t = Theme::kSwitch;
    // The knob moves by (panel width - knob width) / 2 from the centre: the panel's side margin is
    // the knob's less the inset at which the disc should stop.
    const int mx = SwitchKnobMarginX() - SwitchKnobInset();
    RequireRoom(Theme::kGuiGutter, mx, "switch panel side margin");
    const int my = Theme::kGuiGutter;
    SwitchPill pill{Canvas(t.trackWidth + 2 * mx, t.trackHeight + 2 * my), 0, 0, 0, 0};
    pill.x0 = static_cast<float>(mx);
    pill.y0 = static_cast<float>(my);
    pill.x1 = pill.x0 + static_cast<float>(t.trackWidth);
    pill.y1 = pill.y0 + static_cast<float>(t.trackHeight);
    const float r = 0.5f * static_cast<float>(t.trackHeight);
    pill.canvas.FillShape(RoundedRect(pill.x0, pill.y0, pill.x1, pill.y1, r), edge, 1.0f);
    const Shape inner = RoundedRect(pill.x0 + t.trackBorder, pill.y0 + t.trackBorder, pill.x1 - t.trackBorder,
                                    pill.y1 - t.trackBorder, r - t.trackBorder);
    pill.canvas.FillShape(inner, track, 1.0f);
    PaintInnerShadow(pill.canvas, inner, t.innerShadow);
    return pill;
}

TextureImage DrawKnobDisc(Theme::Rgb fill) {
    const Theme::SwitchTheme& t = Theme::kSwitch;
    const int mx = SwitchKnobMarginX();
    const int my = Theme::kGuiGutter + ShadowReach(t.knobShadow.offsetY, t.knobShadow.sigma);
    Canvas canvas(t.knob + 2 * mx, t.knob + 2 * my);
    const float r = 0.5f * static_cast<float>(t.knob);
    const float cx = static_cast<float>(mx) + r, cy = static_cast<float>(my) + r;
    const Shape disc = [=](float x, float y) { return CircleDistance(x, y, cx, cy, r); };
    PaintDropShadow(canvas, disc, t.knobShadow);
    PaintGradientShape(canvas, disc, fill, t.knobGradient, cy - r, cy + r);
    return ToTexture(canvas);
}

}  // namespace

TextureImage DrawSwitchPanel() {
    const Theme::SwitchTheme& t = Theme::kSwitch;
    return ToTexture(DrawSwitchPill(t.track, t.trackEdge).canvas);
}

TextureImage DrawSwitchKnob() { return DrawKnobDisc(Theme::kSwitch.knobFill); }

TextureImage DrawSwitchStatePanel(bool on) {
    const Theme::SwitchTheme& t = Theme::kSwitch;
    SwitchPill pill = DrawSwitchPill(on ? t.onTrack : t.offTrack, on ? t.onEdge : t.offEdge);
    // The mark sits in the middle of the round end the knob leaves free: the right one when on
    // (the knob is at the left), the left one when off.
    const float r = 0.5f * (pill.y1 - pill.y0);
    const float cx = on ? pill.x1 - r : pill.x0 + r, cy = 0.5f * (pill.y0 + pill.y1);
    const float h = 0.5f * t.markSize, w = t.markStroke;
    if (on) {
        pill.canvas.FillShape([&](float x, float y) { return SegmentDistance(x, y, {cx, cy - h}, {cx, cy + h}, w); },
                              t.onMark, 1.0f);
    } else {
        pill.canvas.FillShape(
            [&](float x, float y) { return std::fabs(CircleDistance(x, y, cx, cy, h - 0.5f * w)) - 0.5f * w; },
            t.offMark, 1.0f);
    }
    return ToTexture(pill.canvas);
}

TextureImage DrawSwitchStateKnob() { return DrawKnobDisc(Theme::kSwitch.stateKnobFill); }

}  // namespace ContentBuilder
