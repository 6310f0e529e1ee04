// Encoding textures as PNG. Textures are drawn with bilinear filtering and straight alpha, so a
// fully transparent pixel next to a visible one must carry a colour like its neighbours' or the
// visible edge darkens towards black when the texture is scaled, rotated or placed off the grid.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ContentBuilder {

// A texture as the builder draws it: straight 8-bit RGBA rows, top row first.
struct TextureImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
};

// PNG bytes of straight 8-bit RGBA rows, top row first. Throws std::runtime_error on failure.
std::vector<uint8_t> EncodePng(int width, int height, std::span<const uint8_t> rgba);

// Gives every fully transparent pixel that touches a visible one (8 neighbours) the average
// colour of those neighbours, weighted by their alpha. Alpha is unchanged.
void BleedIntoTransparent(std::vector<uint8_t>& rgba, int width, int height);

// BleedIntoTransparent, then EncodePng.
std::vector<uint8_t> EncodeTexture(TextureImage image);

}  // namespace ContentBuilder
