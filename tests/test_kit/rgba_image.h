#pragma once
// A picture file read as 8-bit RGBA for content checks. A file that cannot be read fails the test
// with its path and gives an empty image.

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace QRV::TestKit {

struct RgbaImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;

    const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    uint8_t Alpha(int x, int y) const { return At(x, y)[3]; }
};

inline RgbaImage LoadRgbaImage(const std::string& path) {
    RgbaImage image;
    int channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &image.width, &image.height, &channels, 4);
    EXPECT_NE(pixels, nullptr) << path;
    if (pixels == nullptr) return {};
    image.rgba.assign(pixels, pixels + static_cast<size_t>(image.width) * image.height * 4);
    stbi_image_free(pixels);
    return image;
}

}  // namespace QRV::TestKit
