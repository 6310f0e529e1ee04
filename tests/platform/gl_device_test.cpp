// The GL device's checks that need no display; its drawing is covered by tests/e2e/draw_e2e.sh.
#include "engine/platform/gl_device.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using QRV::Platform::GlRenderDevice;
using QRV::Platform::LockMode;

TEST(GlRenderDevice, WithoutAWindowCreateFailsAndEveryCallIsHarmless) {
    GlRenderDevice device(nullptr);
    const QRV::Platform::PresentParams params;
    EXPECT_FALSE(device.Create(params));
    EXPECT_EQ(device.ContextVersion(), 0);
    EXPECT_FALSE(device.Reset(params));
    EXPECT_FALSE(device.BeginScene());
    EXPECT_FALSE(device.Clear(0xFF444444));
    int32_t w = -1, h = -1;
    device.GetBackBufferSize(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);

    const uint8_t pixel[4] = {1, 2, 3, 4};
    EXPECT_EQ(device.CreateTexture(1, 1, pixel), 0u);
    device.BindTexture(5);
    device.DestroyTexture(5);
    device.SetBlendEnabled(true);
    device.SetDepthTest(true);
    device.DrawPrimitive(QRV::Platform::PrimitiveType::Triangles, 2);
    device.DrawIndexedPrimitive(QRV::Platform::PrimitiveType::Triangles, 4, 2);
    device.EndScene();
    device.Present();
    EXPECT_FALSE(device.SupportsAnisotropy());
}

TEST(GlRenderDevice, LocksStayInsideTheStagingBuffers) {
    constexpr uint32_t kMax = std::numeric_limits<uint32_t>::max();
    struct Case {
        uint32_t first;
        uint32_t count;
        bool vertexOk;
        bool indexOk;
    };
    const Case cases[] = {
        {0, 0, true, true},       {0, 8192, true, true},    {8188, 4, true, true},   {8188, 5, false, true},
        {8192, 0, true, true},    {8193, 0, false, true},   {0, 24570, false, true}, {24566, 4, false, true},
        {24566, 5, false, false}, {24571, 0, false, false}, {4, kMax, false, false},  // first + count would wrap around
        {kMax, 2, false, false},
    };
    GlRenderDevice device(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "first " << c.first << ", count " << c.count);
        for (LockMode mode : {LockMode::Discard, LockMode::NoOverwrite}) {
            QRV::JS_VERTEX* vertices = device.LockVertices(c.first, c.count, mode);
            EXPECT_EQ(vertices != nullptr, c.vertexOk);
            if (vertices != nullptr && c.count > 0) {
                vertices[c.count - 1].color = 0xFFFFFFFF;  // the whole range is writable
            }
            device.UnlockVertices();
            uint16_t* indices = device.LockIndices(c.first, c.count, mode);
            EXPECT_EQ(indices != nullptr, c.indexOk);
            if (indices != nullptr && c.count > 0) indices[c.count - 1] = 7;
            device.UnlockIndices();
        }
    }
    // Consecutive appends hand out consecutive memory, as the renderer expects.
    EXPECT_EQ(device.LockVertices(4, 4, LockMode::NoOverwrite), device.LockVertices(0, 4, LockMode::Discard) + 4);
}

// Textures without mip levels (all of them) are sampled plainly whatever the filter: anisotropy
// only blurs a picture drawn about 1:1.
TEST(GlRenderDevice, AnisotropyOnlyForMipmappedTexturesUnderTheAnisotropicFilter) {
    using QRV::Platform::AnisotropyFor;
    using QRV::Platform::TextureFilter;
    struct Case {
        TextureFilter filter;
        uint32_t levels;
        float maximum;
        float expected;
    };
    const Case cases[] = {
        {TextureFilter::Anisotropic, 1, 16.0f, 1.0f}, {TextureFilter::Anisotropic, 0, 16.0f, 1.0f},
        {TextureFilter::Anisotropic, 5, 16.0f, 16.0f}, {TextureFilter::Anisotropic, 5, 0.0f, 1.0f},
        {TextureFilter::Linear, 5, 16.0f, 1.0f},       {TextureFilter::Point, 1, 16.0f, 1.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnisotropyFor(c.filter, c.levels, c.maximum), c.expected)
            << static_cast<int>(c.filter) << " " << c.levels << " " << c.maximum;
    }
}

}  // namespace
