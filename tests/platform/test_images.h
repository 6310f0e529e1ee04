#pragma once
// Tiny images encoded in memory, for the decoder and texture tests.

#include <stb/stb_image_write.h>

#include <cstdint>
#include <vector>

namespace QRV::TestImages {

enum class Format { Png, Bmp, Tga, Jpeg };

inline void Append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// rgba holds width * height * 4 bytes, top row first. BMP and JPEG drop alpha.
inline std::vector<uint8_t> Encode(Format format, int width, int height, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> out;
    switch (format) {
        case Format::Png: stbi_write_png_to_func(Append, &out, width, height, 4, rgba.data(), width * 4); break;
        case Format::Bmp: stbi_write_bmp_to_func(Append, &out, width, height, 4, rgba.data()); break;
        case Format::Tga: stbi_write_tga_to_func(Append, &out, width, height, 4, rgba.data()); break;
        case Format::Jpeg: stbi_write_jpg_to_func(Append, &out, width, height, 4, rgba.data(), 100); break;
    }
    return out;
}

// A width x height image filled with one colour.
inline std::vector<uint8_t> SolidPng(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = r;
        rgba[i + 1] = g;
        rgba[i + 2] = b;
        rgba[i + 3] = a;
    }
    return Encode(Format::Png, width, height, rgba);
}

}  // namespace QRV::TestImages
