#include "engine/platform/image_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <thread>
#include <vector>

#include "tests/platform/test_images.h"

namespace QRV::Platform {
namespace {

using TestImages::Format;

constexpr int kSide = 16;
// One colour per quadrant (large, so that JPEG keeps them): top-left, top-right, bottom-left,
// bottom-right. The last one is half transparent.
constexpr std::array<std::array<uint8_t, 4>, 4> kQuadrants = {{
    {255, 0, 0, 255},
    {0, 255, 0, 255},
    {0, 0, 255, 255},
    {200, 100, 50, 128},
}};

std::vector<uint8_t> QuadrantImage() {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const auto& c = kQuadrants[(y >= kSide / 2 ? 2 : 0) + (x >= kSide / 2 ? 1 : 0)];
            rgba.insert(rgba.end(), c.begin(), c.end());
        }
    }
    return rgba;
}

const uint8_t* PixelAt(const DecodedImage& image, int x, int y) {
    return image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * 4;
}

TEST(ImageDecoderTest, DecodesEachFormatToRgbaTopRowFirst) {
    struct Case {
        Format format;
        const char* name;
        int tolerance;    // lossy formats come back close, not equal
        bool keepsAlpha;  // JPEG has no alpha: it reads as opaque
    };
    const Case cases[] = {
        {Format::Png, "png", 0, true},
        {Format::Tga, "tga", 0, true},
        {Format::Bmp, "bmp", 0, true},
        {Format::Jpeg, "jpeg", 12, false},
    };
    const std::vector<uint8_t> source = QuadrantImage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> file = TestImages::Encode(c.format, kSide, kSide, source);
        ASSERT_FALSE(file.empty());

        DecodedImage image;
        ASSERT_TRUE(DecodeImage(file.data(), file.size(), image));
        EXPECT_EQ(image.width, 16u);
        EXPECT_EQ(image.height, 16u);
        ASSERT_EQ(image.pixels.size(), 16u * 16u * 4u);

        const int probes[4][2] = {{3, 3}, {12, 3}, {3, 12}, {12, 12}};
        for (int q = 0; q < 4; ++q) {
            const uint8_t* p = PixelAt(image, probes[q][0], probes[q][1]);
            for (int channel = 0; channel < 3; ++channel) {
                EXPECT_NEAR(p[channel], kQuadrants[q][channel], c.tolerance)
                    << "quadrant " << q << " channel " << channel;
            }
            // Straight alpha: the half-transparent colour is not multiplied by its alpha.
            EXPECT_EQ(p[3], c.keepsAlpha ? kQuadrants[q][3] : 255) << "quadrant " << q;
        }
    }
}

TEST(ImageDecoderTest, RejectsWhatIsNotAReadableImage) {
    const std::vector<uint8_t> png = TestImages::SolidPng(4, 4, 1, 2, 3, 4);
    const std::vector<uint8_t> truncated(png.begin(), png.begin() + static_cast<ptrdiff_t>(png.size() / 2));
    const std::vector<uint8_t> signatureOnly(png.begin(), png.begin() + 8);
    const std::vector<uint8_t> text = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    // A header that claims a picture far too wide to allocate.
    std::vector<uint8_t> forged = png;
    forged[16] = 0x00;
    forged[17] = 0x01;
    forged[18] = 0x00;
    forged[19] = 0x00;

    struct Case {
        const char* name;
        const std::vector<uint8_t>* bytes;
    };
    const Case cases[] = {
        {"truncated", &truncated}, {"signature only", &signatureOnly}, {"text", &text}, {"forged size", &forged}};
    for (const Case& c : cases) {
        DecodedImage image;
        image.width = 7;
        EXPECT_FALSE(DecodeImage(c.bytes->data(), c.bytes->size(), image)) << c.name;
        EXPECT_EQ(image.width, 0u) << c.name;
        EXPECT_TRUE(image.pixels.empty()) << c.name;
    }
    DecodedImage image;
    EXPECT_FALSE(DecodeImage(nullptr, 10, image));
    EXPECT_FALSE(DecodeImage(png.data(), 0, image));
}

// A few bytes whose header claims a picture of millions of pixels are refused before anything is
// allocated, in every format the library reads; so is a picture above the caller's largest side.
TEST(ImageDecoderTest, RefusesPicturesAboveThePixelBudgetOrTheLargestSide) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"bmp 16384", TestImages::ClaimingBmp(16384, 16384)},
        {"bmp 4096", TestImages::ClaimingBmp(4096, 4096)},
        {"tga 4096", TestImages::ClaimingTga(4096, 4096)},
        {"pnm 4096", TestImages::ClaimingPnm(4096, 4096)},
        {"psd 4096", TestImages::ClaimingPsd(4096, 4096)},
        {"1-bit png 4096", TestImages::OneBitPng(4096, 4096)},
        {"1-bit png 16000 x 300", TestImages::OneBitPng(16000, 300)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t width = 0, height = 0;
        ASSERT_TRUE(ReadImageSize(c.bytes.data(), c.bytes.size(), width, height)) << "the header reads";
        DecodedImage image;
        EXPECT_FALSE(DecodeImage(c.bytes.data(), c.bytes.size(), image));
        EXPECT_TRUE(image.pixels.empty());
    }
    // Within the budget a claiming header still decodes (the missing pixels read as zeros), and a
    // real 1-bit picture does too.
    DecodedImage image;
    const std::vector<uint8_t> small = TestImages::ClaimingBmp(64, 64);
    EXPECT_TRUE(DecodeImage(small.data(), small.size(), image));
    const std::vector<uint8_t> oneBit = TestImages::OneBitPng(2048, 2048);
    ASSERT_TRUE(DecodeImage(oneBit.data(), oneBit.size(), image));
    EXPECT_EQ(image.pixels.size(), 2048u * 2048u * 4u);
    EXPECT_EQ(image.pixels.data()[0], 0);
    EXPECT_EQ(image.pixels.data()[3], 255);
    // The caller's largest side.
    const std::vector<uint8_t> png = TestImages::SolidPng(64, 32, 1, 2, 3, 4);
    EXPECT_TRUE(DecodeImage(png.data(), png.size(), image, 64));
    EXPECT_FALSE(DecodeImage(png.data(), png.size(), image, 63));
    EXPECT_TRUE(image.pixels.empty());
}

TEST(ImageDecoderThreaded, DecodesConcurrentlyOnManyThreads) {
    const std::vector<uint8_t> source = QuadrantImage();
    const std::vector<uint8_t> png = TestImages::Encode(Format::Png, kSide, kSide, source);
    const std::vector<uint8_t> garbage(64, 0xAB);

    std::array<int, 4> mismatches{};
    std::vector<std::thread> threads;
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                DecodedImage image;
                // Failures in between exercise the decoder's error reporting at the same time.
                if (DecodeImage(garbage.data(), garbage.size(), image)) ++mismatches[t];
                if (!DecodeImage(png.data(), png.size(), image) ||
                    !std::equal(image.pixels.begin(), image.pixels.end(), source.begin(), source.end()))
                    ++mismatches[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int count : mismatches) EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace QRV::Platform
