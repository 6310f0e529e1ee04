#include "tools/content_builder/widget_paint.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "tools/content_builder/soft_shadow.h"

namespace ContentBuilder {
namespace {

// Coverage of the shape moved by (dx, dy) and blurred, computed on a canvas padded by the blur's
// reach so that the border of the frame does not thin the blur; `inverted` takes the outside.
std::vector<float> BlurredSilhouette(int width, int height, const Shape& shape, float dx, float dy, float sigma,
                                     bool inverted) {
    const int pad = static_cast<int>(std::ceil(3.0f * std::max(sigma, 0.0f))) + 1;
    const int pw = width + 2 * pad, ph = height + 2 * pad;
    std::vector<float> mask = CoverageMask(pw, ph, [&](float x, float y) { return shape(x - pad - dx, y - pad - dy); });
    if (inverted)
        for (float& m : mask) m = 1.0f - m;
    GaussianBlur(mask, pw, ph, sigma);
    std::vector<float> out(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out[static_cast<size_t>(y) * width + x] = mask[static_cast<size_t>(y + pad) * pw + (x + pad)];
    return out;
}

}  // namespace

Theme::Rgb Mix(Theme::Rgb a, Theme::Rgb b, float t) {
    auto channel = [t](uint8_t from, uint8_t to) {
        return static_cast<uint8_t>(std::lround(std::clamp(from + (to - from) * t, 0.0f, 255.0f)));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

int ShadowReach(float offset, float sigma) {
    // Coverage reaches half a pixel past the edge, the blur kernel whole pixels past that; a pixel
    // whose centre lies this far outside the edge therefore stays clear.
    return static_cast<int>(std::ceil(std::abs(offset) + std::ceil(3.0f * std::max(sigma, 0.0f))));
}

void RequireRoom(int needed, int available, std::string_view what) {
    if (needed > available)
        throw std::runtime_error(std::string(what) + " needs " + std::to_string(needed) + " px of room but has " +
                                 std::to_string(available) + " (see theme.h)");
}

void PaintDropShadow(Canvas& canvas, const Shape& shape, const Theme::SoftShadow& shadow) {
    const std::vector<float> mask =
        BlurredSilhouette(canvas.Width(), canvas.Height(), shape, shadow.offsetX, shadow.offsetY, shadow.sigma, false);
    canvas.PaintMask(mask, shadow.colour, shadow.alpha);
}

void PaintGradientShape(Canvas& canvas, const Shape& shape, Theme::Rgb colour, const Theme::Gradient& gradient,
                        float y0, float y1) {
    static constexpr Theme::Rgb kWhite{0xFF, 0xFF, 0xFF};
    canvas.PaintMaskGradient(CoverageMask(canvas.Width(), canvas.Height(), shape),
                             Mix(colour, kWhite, gradient.topLighten), Mix(colour, Theme::kInk, gradient.bottomDarken),
                             y0, y1, 1.0f);
}

void PaintInnerShadow(Canvas& canvas, const Shape& shape, const Theme::SoftShadow& shadow) {
    std::vector<float> mask =
        BlurredSilhouette(canvas.Width(), canvas.Height(), shape, shadow.offsetX, shadow.offsetY, shadow.sigma, true);
    const std::vector<float> inside = CoverageMask(canvas.Width(), canvas.Height(), shape);
    for (size_t i = 0; i < mask.size(); ++i) mask[i] *= inside[i];
    canvas.PaintMask(mask, shadow.colour, shadow.alpha);
}

TextureImage ToTexture(const Canvas& canvas) { return {canvas.Width(), canvas.Height(), canvas.ToRgba8()}; }

TextureImage JoinFrames(const std::vector<Canvas>& frames) {
    if (frames.empty()) return {};
    const int w = frames.front().Width(), h = frames.front().Height();
    Canvas strip(w * static_cast<int>(frames.size()), h);
    for (size_t i = 0; i < frames.size(); ++i) strip.Blit(frames[i], static_cast<int>(i) * w, 0);
    return ToTexture(strip);
}

}  // namespace ContentBuilder
