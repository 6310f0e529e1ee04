#pragma once
// Tiny images encoded in memory, for the decoder and texture tests.

#include <stb/stb_image_write.h>
#include <zlib.h>

#include <cstdint>
#include <initializer_list>
#include <string>
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

// Appends bytes one by one (a range insert of a short list trips the compiler's bounds check).
inline void Put(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
    for (uint8_t byte : bytes) out.push_back(byte);
}

// A real 1-bit grey PNG of that size, every pixel black: a few kilobytes for millions of pixels.
inline std::vector<uint8_t> OneBitPng(uint32_t width, uint32_t height) {
    const auto be32 = [](std::vector<uint8_t>& out, uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
    };
    const auto chunk = [&](std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
        be32(out, static_cast<uint32_t>(data.size()));
        std::vector<uint8_t> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        out.insert(out.end(), body.begin(), body.end());
        be32(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
    };
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    be32(header, width);
    be32(header, height);
    Put(header, {1, 0, 0, 0, 0});  // depth 1, grey, deflate, no filter choice, plain
    chunk(png, "IHDR", header);
    const std::vector<uint8_t> rows(static_cast<size_t>(height) * (1 + (width + 7) / 8), 0);
    uLongf packed = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> data(packed);
    compress2(data.data(), &packed, rows.data(), static_cast<uLong>(rows.size()), 9);
    data.resize(packed);
    chunk(png, "IDAT", data);
    chunk(png, "IEND", {});
    return png;
}

// Headers of other formats claiming width x height, followed by a few bytes of pixels: the image
// library reads what is missing as zeros.
inline std::vector<uint8_t> ClaimingBmp(uint32_t width, uint32_t height) {
    std::vector<uint8_t> out = {'B', 'M'};
    const auto le32 = [&](uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
    };
    le32(70);
    le32(0);
    le32(54);
    le32(40);
    le32(width);
    le32(height);
    Put(out, {1, 0, 24, 0});  // one plane, 24 bits
    for (int i = 0; i < 6; ++i) le32(0);
    out.resize(70, 0x7F);
    return out;
}

inline std::vector<uint8_t> ClaimingTga(uint32_t width, uint32_t height) {
    std::vector<uint8_t> out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put(out, {static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(height),
              static_cast<uint8_t>(height >> 8), 24, 0});
    out.resize(70, 0x7F);
    return out;
}

inline std::vector<uint8_t> ClaimingPnm(uint32_t width, uint32_t height) {
    const std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    out.resize(70, 0x7F);
    return out;
}

inline std::vector<uint8_t> ClaimingPsd(uint32_t width, uint32_t height) {
    std::vector<uint8_t> out = {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0, 0, 3};
    const auto be32 = [&](uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
    };
    be32(height);
    be32(width);
    Put(out, {0, 8, 0, 3});  // 8 bits, RGB
    be32(0);
    be32(0);
    be32(0);
    Put(out, {0, 0});  // raw
    out.resize(70, 0x7F);
    return out;
}

}  // namespace QRV::TestImages
