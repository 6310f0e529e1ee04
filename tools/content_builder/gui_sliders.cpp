#include "tools/content_builder/gui_sliders.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/widget_paint.h"

namespace ContentBuilder {
namespace {

enum Part { kIdle, kHovered, kPressed };

// A disc centred in its frame, with its shadow, must leave the frame's gutter clear. (A pressed
// disc moves down as much as its shadow shortens, so the idle disc is the tightest case.)
void RequireDiscRoom(float diameter, const Theme::SoftShadow& shadow, std::string_view what) {
    const int room = static_cast<int>(std::floor(0.5f * (static_cast<float>(Theme::kSlider.frame) - diameter)));
    RequireRoom(Theme::kGuiGutter +
                    std::max(ShadowReach(shadow.offsetX, shadow.sigma), ShadowReach(shadow.offsetY, shadow.sigma)),
                room, what);
}

Canvas DrawStepButton(int part, bool increase) {
    const Theme::SliderTheme& t = Theme::kSlider;
    const float shift = part == kPressed ? t.buttonPressShift : 0.0f;
    RequireDiscRoom(static_cast<float>(t.button), t.buttonShadow, "slider step button");
    Canvas canvas(t.frame, t.frame);
    const float c = 0.5f * static_cast<float>(t.frame), r = 0.5f * static_cast<float>(t.button);
    const float cy = c + shift;
    const Shape disc = [=](float x, float y) { return CircleDistance(x, y, c, cy, r); };
    Theme::SoftShadow shadow = t.buttonShadow;
    shadow.offsetY -= shift;
    PaintDropShadow(canvas, disc, shadow);
    const Theme::Rgb colours[3] = {t.buttonIdle, t.buttonHovered, t.buttonPressed};
    PaintGradientShape(canvas, disc, colours[part], t.buttonGradient, cy - r, cy + r);
    const float h = 0.5f * t.signLength;
    canvas.FillShape(
        [&](float x, float y) {
            const float across = SegmentDistance(x, y, {c - h, cy}, {c + h, cy}, t.signStroke);
            return increase ? std::min(across, SegmentDistance(x, y, {c, cy - h}, {c, cy + h}, t.signStroke)) : across;
        },
        t.sign, 1.0f);
    return canvas;
}

Canvas DrawKnob(int part) {
    const Theme::SliderTheme& t = Theme::kSlider;
    RequireDiscRoom(static_cast<float>(t.knob), t.knobShadow, "slider knob");
    Canvas canvas(t.frame, t.frame);
    const float c = 0.5f * static_cast<float>(t.frame), r = 0.5f * static_cast<float>(t.knob);
    const Shape disc = [=](float x, float y) { return CircleDistance(x, y, c, c, r); };
    PaintDropShadow(canvas, disc, t.knobShadow);
    const Theme::Rgb rings[3] = {t.knobRingIdle, t.knobRingHovered, t.knobRingPressed};
    canvas.FillShape(disc, rings[part], 1.0f);
    canvas.FillShape([&](float x, float y) { return CircleDistance(x, y, c, c, r - t.knobRing); },
                     part == kPressed ? t.knobPressedFill : t.knobFill, 1.0f);
    return canvas;
}

// Track pieces run along x through the frame's middle. The start and end pieces round off at the
// frame's centre (under a step button drawn there) and run out of the frame towards the body;
// the body runs through the whole frame, so start, body (repeated) and end join without a seam.
Canvas DrawTrack(float from, float to) {
    const Theme::SliderTheme& t = Theme::kSlider;
    Canvas canvas(t.frame, t.frame);
    const float c = 0.5f * static_cast<float>(t.frame), h = 0.5f * t.trackThickness;
    canvas.FillShape([&](float x, float y) { return RoundedRectDistance(x, y, from, c - h, to, c + h, h); },
                     t.trackEdge, 1.0f);
    const float b = t.trackBorder;
    canvas.FillShape(
        [&](float x, float y) { return RoundedRectDistance(x, y, from + b, c - h + b, to - b, c + h - b, h - b); },
        t.track, 1.0f);
    return canvas;
}

// The fill runs along y (it is laid from the track's start along the quad's height) and through
// the whole frame, so it repeats without a seam.
Canvas DrawFill() {
    const Theme::SliderTheme& t = Theme::kSlider;
    Canvas canvas(t.frame, t.frame);
    const float c = 0.5f * static_cast<float>(t.frame), h = 0.5f * t.fillThickness;
    const float beyond = static_cast<float>(t.frame);
    canvas.FillShape(
        [&](float x, float y) { return RoundedRectDistance(x, y, c - h, -beyond, c + h, 2.0f * beyond, 0.0f); }, t.fill,
        1.0f);
    return canvas;
}

}  // namespace

TextureImage DrawSliderStrip(int frames) {
    const Theme::SliderTheme& t = Theme::kSlider;
    const float c = 0.5f * static_cast<float>(t.frame), h = 0.5f * t.trackThickness;
    const float beyond = static_cast<float>(t.frame);
    std::vector<Canvas> all;
    for (int part = kIdle; part <= kPressed; ++part) all.push_back(DrawStepButton(part, false));
    for (int part = kIdle; part <= kPressed; ++part) all.push_back(DrawStepButton(part, true));
    for (int part = kIdle; part <= kPressed; ++part) all.push_back(DrawKnob(part));
    all.push_back(DrawTrack(c - h, 2.0f * beyond));
    all.push_back(DrawTrack(-beyond, 2.0f * beyond));
    all.push_back(DrawTrack(-beyond, c + h));
    all.push_back(DrawFill());
    all.resize(static_cast<size_t>(std::clamp(frames, 1, kSliderFrames)), Canvas(t.frame, t.frame));
    return JoinFrames(all);
}

TextureImage DrawSliderRunner() { return ToTexture(DrawKnob(kIdle)); }

TextureImage DrawBarHalves(const Theme::BarTheme& bar) {
    const int g = Theme::kGuiGutter;
    const float x0 = static_cast<float>(g), y0 = static_cast<float>(g);
    const float x1 = static_cast<float>(bar.halfWidth - g), y1 = static_cast<float>(bar.height - g);
    const float r = 0.5f * (y1 - y0), b = bar.border;
    auto outer = [=](float x, float y) { return RoundedRectDistance(x, y, x0, y0, x1, y1, r); };
    const Shape inner = [=](float x, float y) {
        return RoundedRectDistance(x, y, x0 + b, y0 + b, x1 - b, y1 - b, r - b);
    };

    Canvas empty(bar.halfWidth, bar.height);
    empty.FillShape(outer, bar.emptyEdge, 1.0f);
    empty.FillShape(inner, bar.empty, 1.0f);
    PaintInnerShadow(empty, inner, bar.innerShadow);

    Canvas full(bar.halfWidth, bar.height);
    full.FillShape(outer, bar.fullEdge, 1.0f);
    PaintGradientShape(full, inner, bar.full, Theme::Gradient{}, y0, y1);
    return JoinFrames({empty, full});
}

}  // namespace ContentBuilder
