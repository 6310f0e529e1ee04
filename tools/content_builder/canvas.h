// A small RGBA canvas for shapes drawn in code. Shapes are anti-aliased by supersampling their
// inside test, and painted over what is there with premultiplied alpha.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tools/content_builder/theme.h"

namespace ContentBuilder {

// Anti-aliased coverage of a signed-distance shape, sampled at pixel centres.
template <class Distance>
std::vector<float> CoverageMask(int width, int height, Distance distance) {
    std::vector<float> mask(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask[static_cast<size_t>(y) * width + x] = std::clamp(0.5f - distance(x + 0.5f, y + 0.5f), 0.0f, 1.0f);
    return mask;
}

class Canvas {
public:
    Canvas(int width, int height);

    // Paints a rounded rectangle given in pixels (x0, y0 top-left; x1, y1 bottom-right).
    void FillRoundedRect(float x0, float y0, float x1, float y1, float radius, Theme::Rgb colour, float alpha,
                         int supersampling);

    // Paints colour over the canvas where coverage (one value 0..1 per pixel) says, times alpha.
    void PaintMask(const std::vector<float>& coverage, Theme::Rgb colour, float alpha);

    // As PaintMask, the colour running from top (at row y0) to bottom (at row y1), clamped beyond.
    void PaintMaskGradient(const std::vector<float>& coverage, Theme::Rgb top, Theme::Rgb bottom, float y0, float y1,
                           float alpha);

    // Paints a shape given by its signed distance in pixels (see shape_distance.h).
    template <class Distance>
    void FillShape(Distance distance, Theme::Rgb colour, float alpha) {
        PaintMask(CoverageMask(width_, height_, distance), colour, alpha);
    }

    // Replaces the pixels at (x, y) with the whole of source (clipped to this canvas).
    void Blit(const Canvas& source, int x, int y);

    // Straight (not premultiplied) 8-bit RGBA rows, top row first.
    std::vector<uint8_t> ToRgba8() const;

    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_, height_;
    std::vector<float> pixels_;  // premultiplied RGBA (sRGB values), 4 floats per pixel
};

// True when (x, y) lies inside the rounded rectangle; exposed for tests of the coverage.
bool InsideRoundedRect(float x, float y, float x0, float y0, float x1, float y1, float radius);

}  // namespace ContentBuilder
