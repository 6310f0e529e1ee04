#include "tools/content_builder/canvas.h"

#include <algorithm>
#include <cmath>

namespace ContentBuilder {

bool InsideRoundedRect(float x, float y, float x0, float y0, float x1, float y1, float radius) {
    if (x < x0 || x > x1 || y < y0 || y > y1) return false;
    radius = std::clamp(radius, 0.0f, 0.5f * std::min(x1 - x0, y1 - y0));
    // Distance from the inner rectangle the corner circles are centred on.
    const float dx = std::max({x0 + radius - x, 0.0f, x - (x1 - radius)});
    const float dy = std::max({y0 + radius - y, 0.0f, y - (y1 - radius)});
    return dx * dx + dy * dy <= radius * radius;
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height * 4, 0.0f) {}

void Canvas::FillRoundedRect(float x0, float y0, float x1, float y1, float radius, Theme::Rgb colour, float alpha,
                             int supersampling) {
    const int ss = std::max(1, supersampling);
    const float r = colour.r / 255.0f, g = colour.g / 255.0f, b = colour.b / 255.0f;
    const int px0 = std::max(0, static_cast<int>(std::floor(x0)));
    const int py0 = std::max(0, static_cast<int>(std::floor(y0)));
    const int px1 = std::min(width_ - 1, static_cast<int>(std::ceil(x1)));
    const int py1 = std::min(height_ - 1, static_cast<int>(std::ceil(y1)));
    for (int py = py0; py <= py1; ++py) {
        for (int px = px0; px <= px1; ++px) {
            int hits = 0;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx)
                    hits += InsideRoundedRect(px + (sx + 0.5f) / ss, py + (sy + 0.5f) / ss, x0, y0, x1, y1, radius);
            if (hits == 0) continue;
            const float a = alpha * static_cast<float>(hits) / static_cast<float>(ss * ss);
            float* p = &pixels_[(static_cast<size_t>(py) * width_ + px) * 4];
            p[0] = r * a + p[0] * (1.0f - a);
            p[1] = g * a + p[1] * (1.0f - a);
            p[2] = b * a + p[2] * (1.0f - a);
            p[3] = a + p[3] * (1.0f - a);
        }
    }
}

void Canvas::PaintMask(const std::vector<float>& coverage, Theme::Rgb colour, float alpha) {
    const float r = colour.r / 255.0f, g = colour.g / 255.0f, b = colour.b / 255.0f;
    const size_t count = std::min(coverage.size(), pixels_.size() / 4);
    for (size_t i = 0; i < count; ++i) {
        const float a = alpha * coverage[i];
        if (a <= 0.0f) continue;
        float* p = &pixels_[i * 4];
        p[0] = r * a + p[0] * (1.0f - a);
        p[1] = g * a + p[1] * (1.0f - a);
        p[2] = b * a + p[2] * (1.0f - a);
        p[3] = a + p[3] * (1.0f - a);
    }
}

void Canvas::PaintMaskGradient(const std::vector<float>& coverage, Theme::Rgb top, Theme::Rgb bottom, float y0,
                               float y1, float alpha) {
    const size_t count = std::min(coverage.size(), pixels_.size() / 4);
    for (size_t i = 0; i < count; ++i) {
        const float a = alpha * coverage[i];
        if (a <= 0.0f) continue;
        const float y = static_cast<float>(i / static_cast<size_t>(width_)) + 0.5f;
        const float t = y1 > y0 ? std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f) : 0.0f;
        const float r = (top.r + (bottom.r - top.r) * t) / 255.0f;
        const float g = (top.g + (bottom.g - top.g) * t) / 255.0f;
        const float b = (top.b + (bottom.b - top.b) * t) / 255.0f;
        float* p = &pixels_[i * 4];
        p[0] = r * a + p[0] * (1.0f - a);
        p[1] = g * a + p[1] * (1.0f - a);
        p[2] = b * a + p[2] * (1.0f - a);
        p[3] = a + p[3] * (1.0f - a);
    }
}

void Canvas::Blit(const Canvas& source, int x, int y) {
    for (int sy = 0; sy < source.height_; ++sy) {
        for (int sx = 0; sx < source.width_; ++sx) {
            const int tx = x + sx, ty = y + sy;
            if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
            const float* from = &source.pixels_[(static_cast<size_t>(sy) * source.width_ + sx) * 4];
            std::copy(from, from + 4, &pixels_[(static_cast<size_t>(ty) * width_ + tx) * 4]);
        }
    }
}

std::vector<uint8_t> Canvas::ToRgba8() const {
    std::vector<uint8_t> out(pixels_.size());
    auto to8 = [](float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (size_t i = 0; i < pixels_.size(); i += 4) {
        const float a = pixels_[i + 3];
        const float inv = a > 0.0f ? 1.0f / a : 0.0f;
        out[i + 0] = to8(pixels_[i + 0] * inv);
        out[i + 1] = to8(pixels_[i + 1] * inv);
        out[i + 2] = to8(pixels_[i + 2] * inv);
        out[i + 3] = to8(a);
    }
    return out;
}

}  // namespace ContentBuilder
