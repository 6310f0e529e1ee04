#include "tools/content_builder/soft_shadow.h"

#include <cmath>

namespace ContentBuilder {

void GaussianBlur(std::vector<float>& mask, int width, int height, float sigma) {
    if (sigma <= 0.0f || width <= 0 || height <= 0) return;
    const int reach = static_cast<int>(std::ceil(3.0f * sigma));
    std::vector<float> kernel(static_cast<size_t>(2 * reach + 1));
    float total = 0.0f;
    for (int i = -reach; i <= reach; ++i) {
        kernel[static_cast<size_t>(i + reach)] = std::exp(-0.5f * static_cast<float>(i * i) / (sigma * sigma));
        total += kernel[static_cast<size_t>(i + reach)];
    }
    for (float& k : kernel) k /= total;

    std::vector<float> pass(mask.size(), 0.0f);
    auto at = [width](int x, int y) { return static_cast<size_t>(y) * width + x; };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float sum = 0.0f;
            for (int i = -reach; i <= reach; ++i)
                if (x + i >= 0 && x + i < width) sum += kernel[static_cast<size_t>(i + reach)] * mask[at(x + i, y)];
            pass[at(x, y)] = sum;
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float sum = 0.0f;
            for (int i = -reach; i <= reach; ++i)
                if (y + i >= 0 && y + i < height) sum += kernel[static_cast<size_t>(i + reach)] * pass[at(x, y + i)];
            mask[at(x, y)] = sum;
        }
}

std::vector<float> ShiftMask(const std::vector<float>& mask, int width, int height, int dx, int dy) {
    std::vector<float> out(mask.size(), 0.0f);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int sx = x - dx, sy = y - dy;
            if (sx >= 0 && sy >= 0 && sx < width && sy < height)
                out[static_cast<size_t>(y) * width + x] = mask[static_cast<size_t>(sy) * width + sx];
        }
    return out;
}

}  // namespace ContentBuilder
