#include "tools/content_builder/texture_png.h"

#include <stdexcept>

#include <stb/stb_image_write.h>

namespace ContentBuilder {
namespace {

void AppendBytes(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(context);
    const auto* p = static_cast<const uint8_t*>(data);
    bytes->insert(bytes->end(), p, p + size);
}

}  // namespace

std::vector<uint8_t> EncodePng(int width, int height, std::span<const uint8_t> rgba) {
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * height * 4)
        throw std::runtime_error("cannot encode a " + std::to_string(width) + " x " + std::to_string(height) +
                                 " image from " + std::to_string(rgba.size()) + " bytes");
    std::vector<uint8_t> png;
    if (stbi_write_png_to_func(AppendBytes, &png, width, height, 4, rgba.data(), width * 4) == 0)
        throw std::runtime_error("PNG encoding failed");
    return png;
}

void BleedIntoTransparent(std::vector<uint8_t>& rgba, int width, int height) {
    const std::vector<uint8_t> source = rgba;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            if (p[3] != 0) continue;
            uint32_t sum[3] = {0, 0, 0}, weight = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
                    const uint8_t* n = &source[(static_cast<size_t>(ny) * width + nx) * 4];
                    for (int c = 0; c < 3; ++c) sum[c] += uint32_t{n[c]} * n[3];
                    weight += n[3];
                }
            }
            if (weight == 0) continue;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>((sum[c] + weight / 2) / weight);
        }
    }
}

std::vector<uint8_t> EncodeTexture(TextureImage image) {
    BleedIntoTransparent(image.rgba, image.width, image.height);
    return EncodePng(image.width, image.height, image.rgba);
}

}  // namespace ContentBuilder
