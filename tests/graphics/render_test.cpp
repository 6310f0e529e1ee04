#include "engine/graphics/render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>
#include <vector>

#include "engine/core/callback.h"
#include "engine/platform/null_device.h"
#include "tests/platform/test_images.h"
#include "tests/test_kit/temp_folder.h"

namespace QRV {
namespace {

using Platform::AddressMode;
using Platform::BlendFactor;
using Platform::CallKind;
using Platform::DeviceCall;
using Platform::NullRenderDevice;
using Platform::PrimitiveType;
using Platform::TextureFilter;

// The words the game draws with: quads (blend, anisotropic filter, textured, triangles) and
// particles (blend, additive, point filter, textured, sprites).
constexpr uint32_t kQuadWord = 0x2432;
constexpr uint32_t kParticleWord = 0x3416;
constexpr uint32_t kPlainTriangles = 0x2002;  // blend, triangles, untextured
constexpr uint16_t kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

std::array<JS_VERTEX, 4> Quad(float x, float y, float w, float h, uint32_t color = 0xFFFFFFFF) {
    return {{
        {x, y, 0, 0, 0, 0, color, 0, 0},
        {x + w, y, 0, 0, 0, 0, color, 1, 0},
        {x + w, y + h, 0, 0, 0, 0, color, 1, 1},
        {x, y + h, 0, 0, 0, 0, color, 0, 1},
    }};
}

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto owned = std::make_unique<NullRenderDevice>();
        device = owned.get();
        render = std::make_unique<JC_RENDER>(std::move(owned));
        ASSERT_EQ(render->CreateDevice(nullptr, 0.1f, 0.0f), 1);
        device->ClearRecord();
    }

    void Begin() { ASSERT_EQ(render->BeginFrame(), 1); }
    void End() { ASSERT_EQ(render->EndFrame(), 0); }

    void DrawQuad(JS_TEXTURE* texture, uint32_t word, float x = 0, float y = 0, uint32_t color = 0xFFFFFFFF) {
        const auto quad = Quad(x, y, 10, 10, color);
        render->DrawTriangles(quad.data(), texture, word, 4, kQuadIndices, 6);
    }

    JS_TEXTURE* LoadSolid(uint8_t r, uint8_t g, uint8_t b, uint8_t a, int w = 2, int h = 2) {
        const std::vector<uint8_t> png = TestImages::SolidPng(w, h, r, g, b, a);
        return render->LoadTextureMemory(png.data(), png.size());
    }

    NullRenderDevice* device = nullptr;
    std::unique_ptr<JC_RENDER> render;
};

// ---------------------------------------------------------------------------------------------
// Batching

TEST_F(RenderTest, EqualStateAndTextureMakeOneBatchWithOffsetIndices) {
    JS_TEXTURE* texture = LoadSolid(255, 0, 0, 255);
    Begin();
    DrawQuad(texture, kQuadWord);
    // Placed elsewhere: objects at different places still share the batch.
    render->worldMatrix = Matrix4::Translation(100, 50, 0);
    DrawQuad(texture, kQuadWord);
    End();

    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 1u);
    const DeviceCall& draw = *draws[0];
    EXPECT_EQ(draw.kind, CallKind::DrawIndexedPrimitive);
    EXPECT_EQ(draw.primitive, PrimitiveType::Triangles);
    EXPECT_EQ(draw.vertexCount, 8u);
    EXPECT_EQ(draw.primitiveCount, 4u);
    EXPECT_EQ(draw.indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));
    ASSERT_EQ(draw.vertices.size(), 8u);
    EXPECT_FLOAT_EQ(draw.vertices[4].x, 100.0f);
    EXPECT_FLOAT_EQ(draw.vertices[4].y, 50.0f);
    EXPECT_FLOAT_EQ(draw.vertices[6].x, 110.0f);
    EXPECT_FLOAT_EQ(draw.vertices[6].u, 1.0f);
    EXPECT_NE(draw.state.texture, 0u);
    EXPECT_EQ(draw.state.texture, texture->deviceHandle);
    EXPECT_EQ(render->drawCalls, 2u);
    EXPECT_EQ(render->batches, 1u);
}

TEST_F(RenderTest, OnlyStateTextureAndCapacityBreakABatch) {
    JS_TEXTURE* a = LoadSolid(255, 0, 0, 255);
    JS_TEXTURE* b = LoadSolid(0, 255, 0, 255);
    struct Case {
        const char* name;
        JS_TEXTURE* firstTexture;
        uint32_t firstWord;
        JS_TEXTURE* secondTexture;
        uint32_t secondWord;
        size_t batches;
    };
    const Case cases[] = {
        {"same word and texture", a, kQuadWord, a, kQuadWord, 1},
        {"antialias bit alone", a, kQuadWord, a, kQuadWord | RS::Antialias, 1},
        {"bits above antialias", a, kQuadWord, a, kQuadWord | 0x80000, 1},
        {"other texture", a, kQuadWord, b, kQuadWord, 2},
        {"other filter", a, kQuadWord, a, 0x2422, 2},
        {"compared-only bit 0x8", a, kQuadWord, a, kQuadWord | 0x8, 2},
        {"compared-only bit 0x100", a, kQuadWord, a, kQuadWord | 0x100, 2},
        {"addressing", a, kQuadWord, a, kQuadWord | 0x18000, 2},
        {"camera", a, kQuadWord, a, kQuadWord | RS::Camera, 2},
        {"textured to untextured", a, kQuadWord, a, kQuadWord & ~RS::Textured, 2},
    };
    for (const Case& c : cases) {
        device->ClearRecord();
        Begin();
        DrawQuad(c.firstTexture, c.firstWord);
        DrawQuad(c.secondTexture, c.secondWord, 20, 20);
        End();
        EXPECT_EQ(device->Draws().size(), c.batches) << c.name;
    }
}

TEST_F(RenderTest, FullVertexOrIndexBufferFlushesFirst) {
    Begin();
    for (int i = 0; i < 2048; ++i) DrawQuad(nullptr, kPlainTriangles, static_cast<float>(i), 0);
    EXPECT_EQ(render->queuedVertices, 8192u);
    EXPECT_EQ(render->batches, 0u);
    DrawQuad(nullptr, kPlainTriangles);
    EXPECT_EQ(render->batches, 1u);
    End();
    auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->vertexCount, 8192u);
    EXPECT_EQ(draws[1]->vertexCount, 4u);
    EXPECT_EQ(draws[1]->indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));

    // Three vertices used by as many indices as the index buffer holds: a second such draw
    // cannot share it.
    device->ClearRecord();
    const auto corner = Quad(0, 0, 5, 5);
    std::vector<uint16_t> indices;
    while (indices.size() < render->indexCapacity) indices.insert(indices.end(), {0, 1, 2});
    Begin();
    render->DrawTriangles(corner.data(), nullptr, kPlainTriangles, 3, indices.data(),
                          static_cast<uint32_t>(indices.size()));
    render->DrawTriangles(corner.data(), nullptr, kPlainTriangles, 3, kQuadIndices, 3);
    End();
    draws = device->Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->primitiveCount, render->indexCapacity / 3);
    EXPECT_EQ(draws[1]->primitiveCount, 1u);
    EXPECT_LE(device->HighestVertexLocked(), render->vertexCapacity);
    EXPECT_LE(device->HighestIndexLocked(), render->indexCapacity);
}

TEST_F(RenderTest, OversizedAndMalformedDrawsNeverOverrunOrShiftOthers) {
    // 3000 triangles as a plain list: drawn in buffer-sized pieces of whole triangles.
    std::vector<JS_VERTEX> many(9000, JS_VERTEX{1, 2, 0, 0, 0, 0, 0xFFFFFFFF, 0, 0});
    Begin();
    render->DrawTriangles(many.data(), nullptr, kPlainTriangles, 9000, nullptr, 0);
    End();
    auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->primitiveCount, 2730u);
    EXPECT_EQ(draws[1]->primitiveCount, 270u);
    EXPECT_LE(device->HighestVertexLocked(), render->vertexCapacity);

    // An indexed draw that could never fit is dropped, as is one whose indices point past its
    // own vertices; a partial triangle is cut off so the next draw's triangles stay whole.
    device->ClearRecord();
    const std::vector<uint16_t> bad = {0, 1, 9};
    const auto quad = Quad(0, 0, 10, 10);
    Begin();
    render->DrawTriangles(many.data(), nullptr, kPlainTriangles, 9000, kQuadIndices, 6);
    render->DrawTriangles(quad.data(), nullptr, kPlainTriangles, 4, bad.data(), 3);
    render->DrawTriangles(quad.data(), nullptr, kPlainTriangles, 4, kQuadIndices, 5);
    // A count so large that adding it to the queued ones would wrap round.
    render->DrawTriangles(quad.data(), nullptr, kPlainTriangles, 0xFFFFFFFFu, kQuadIndices, 6);
    render->DrawTriangles(quad.data(), nullptr, kPlainTriangles, 4, kQuadIndices, 6);
    End();
    draws = device->Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->indices, (std::vector<uint16_t>{0, 1, 2, 4, 5, 6, 4, 6, 7}));
    EXPECT_LE(device->HighestVertexLocked(), render->vertexCapacity);
}

TEST_F(RenderTest, IndexedAndPlainDrawsGoInSeparateBatches) {
    const auto quad = Quad(0, 0, 10, 10);
    Begin();
    render->DrawTriangles(quad.data(), nullptr, kPlainTriangles, 4, kQuadIndices, 6);
    render->DrawTriangles(quad.data(), nullptr, kPlainTriangles, 3, nullptr, 0);
    End();
    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->kind, CallKind::DrawIndexedPrimitive);
    EXPECT_EQ(draws[0]->primitiveCount, 2u);
    EXPECT_EQ(draws[1]->kind, CallKind::DrawPrimitive);
    EXPECT_EQ(draws[1]->primitiveCount, 1u);
}

TEST_F(RenderTest, WordWithoutTexturedBitBindsNoTexture) {
    JS_TEXTURE* texture = LoadSolid(9, 9, 9, 255);
    JS_TEXTURE* never = LoadSolid(7, 7, 7, 255);
    Begin();
    DrawQuad(texture, kQuadWord);
    DrawQuad(texture, kQuadWord & ~RS::Textured);
    DrawQuad(never, kQuadWord & ~RS::Textured);
    End();
    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->state.texture, texture->deviceHandle);
    EXPECT_EQ(draws[1]->state.texture, 0u);
    EXPECT_EQ(draws[1]->vertexCount, 8u);
    // A record only ever drawn untextured is never uploaded.
    EXPECT_EQ(never->deviceHandle, 0u);
    EXPECT_EQ(device->CountOf(CallKind::CreateTexture), 1u);
}

TEST_F(RenderTest, MissingWordNoTextureAndEmptyParticleListDrawNothing) {
    Begin();
    DrawQuad(nullptr, 0);
    DrawQuad(&render->noTexture, kQuadWord);
    render->DrawPoints(nullptr, nullptr, kParticleWord);
    JS_POINT_SPRITE particle{1, 2, 0, 4, 0xFFFFFFFF, nullptr};
    render->DrawPoints(&particle, &render->noTexture, kParticleWord);
    EXPECT_EQ(render->drawCalls, 0u);
    End();
    EXPECT_TRUE(device->Draws().empty());
    EXPECT_EQ(render->ReleaseTexture(&render->noTexture), -1);
}

TEST_F(RenderTest, ParticlesFlushQueuedQuadsUnderTheirOwnStateFirst) {
    JS_TEXTURE* quadTexture = LoadSolid(255, 255, 255, 255);
    JS_TEXTURE* sparkTexture = LoadSolid(255, 200, 0, 255);
    JS_POINT_SPRITE second{200, 60, 0, 4, 0xFF00FF00, nullptr};
    JS_POINT_SPRITE first{100, 50, 0, 10, 0x80FF0000, &second};

    Begin();
    DrawQuad(quadTexture, kQuadWord);
    render->worldMatrix = Matrix4::Translation(10, 20, 0);
    render->DrawPoints(&first, sparkTexture, kParticleWord);
    End();

    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 2u);
    // The quad keeps its own texture, blending and filter.
    EXPECT_EQ(draws[0]->vertexCount, 4u);
    EXPECT_EQ(draws[0]->state.texture, quadTexture->deviceHandle);
    EXPECT_EQ(draws[0]->state.dest, BlendFactor::InvSrcAlpha);
    EXPECT_EQ(draws[0]->state.filter, TextureFilter::Anisotropic);

    // Each particle is a quad of its size around its placed position.
    const DeviceCall& sparks = *draws[1];
    EXPECT_EQ(sparks.primitive, PrimitiveType::Triangles);
    EXPECT_EQ(sparks.state.texture, sparkTexture->deviceHandle);
    EXPECT_EQ(sparks.state.dest, BlendFactor::One);
    EXPECT_EQ(sparks.state.filter, TextureFilter::Point);
    ASSERT_EQ(sparks.vertices.size(), 8u);
    EXPECT_EQ(sparks.indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));
    const float expected[4][4] = {{105, 65, 0, 0}, {115, 65, 1, 0}, {115, 75, 1, 1}, {105, 75, 0, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(sparks.vertices[i].x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(sparks.vertices[i].y, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(sparks.vertices[i].u, expected[i][2]) << i;
        EXPECT_FLOAT_EQ(sparks.vertices[i].v, expected[i][3]) << i;
        EXPECT_EQ(sparks.vertices[i].color, 0x80FF0000u) << i;
    }
    EXPECT_FLOAT_EQ(sparks.vertices[4].x, 208.0f);
    EXPECT_FLOAT_EQ(sparks.vertices[4].y, 78.0f);
    EXPECT_EQ(sparks.vertices[4].color, 0xFF00FF00u);
}

TEST_F(RenderTest, ManyParticlesStayWithinTheBuffers) {
    std::vector<JS_POINT_SPRITE> particles(3000);
    for (size_t i = 0; i < particles.size(); ++i) {
        particles[i] = {
            static_cast<float>(i % 1024), 10, 0, 3, 0xFFFFFFFF, i + 1 < particles.size() ? &particles[i + 1] : nullptr};
    }
    Begin();
    render->DrawPoints(particles.data(), nullptr, kParticleWord);
    End();
    uint32_t quads = 0;
    for (const DeviceCall* draw : device->Draws()) quads += draw->primitiveCount / 2;
    EXPECT_EQ(quads, 3000u);
    EXPECT_EQ(device->Draws().size(), 2u);
    EXPECT_LE(device->HighestVertexLocked(), render->vertexCapacity);
}

// ---------------------------------------------------------------------------------------------
// States

TEST_F(RenderTest, EachWordFieldReachesTheDevice) {
    struct Case {
        uint32_t word;
        bool blend;
        BlendFactor dest;
        TextureFilter filter;
        AddressMode u, v;
        bool depth, lighting, antialias;
    };
    const auto C = AddressMode::Clamp;
    const auto W = AddressMode::Wrap;
    const auto Inv = BlendFactor::InvSrcAlpha;
    const auto Point = TextureFilter::Point;
    // In order: each word differs from the one before it.
    const Case cases[] = {
        {0x2002, true, Inv, Point, C, C, false, false, false},
        {0x2006, true, BlendFactor::One, Point, C, C, false, false, false},
        {0x2003, false, Inv, Point, C, C, false, false, false},
        {0x2001, false, Inv, Point, C, C, false, false, false},
        {0x2022, true, Inv, TextureFilter::Linear, C, C, false, false, false},
        {0x2032, true, Inv, TextureFilter::Anisotropic, C, C, false, false, false},
        {0x2202, true, Inv, Point, C, C, true, false, false},
        {0x2802, true, Inv, Point, C, C, false, true, false},
        {0x0A002, true, Inv, Point, W, C, false, false, false},
        {0x12002, true, Inv, Point, C, W, false, false, false},
        {0x1A002, true, Inv, Point, W, W, false, false, false},
        {0x42032, true, Inv, TextureFilter::Anisotropic, C, C, false, false, true},
    };
    Begin();
    for (const Case& c : cases) {
        DrawQuad(nullptr, c.word);
        render->Flush();
        const auto& s = device->State();
        SCOPED_TRACE(testing::Message() << std::hex << c.word);
        EXPECT_EQ(s.blend, c.blend);
        EXPECT_EQ(s.dest, c.dest);
        EXPECT_EQ(s.filter, c.filter);
        EXPECT_EQ(s.addressU, c.u);
        EXPECT_EQ(s.addressV, c.v);
        EXPECT_EQ(s.depthTest, c.depth);
        EXPECT_EQ(s.lighting, c.lighting);
        EXPECT_EQ(s.antialias, c.antialias);
        EXPECT_EQ(render->currentState, c.word);
    }
    End();
}

TEST_F(RenderTest, PointFiltersZeroAndOneDifferWithoutADeviceCall) {
    Begin();
    DrawQuad(nullptr, 0x2002);
    const uint32_t changes = render->stateChanges;
    device->ClearRecord();
    DrawQuad(nullptr, 0x2012);
    EXPECT_EQ(render->stateChanges, changes + 1);
    EXPECT_EQ(render->batches, 1u);
    EXPECT_EQ(device->CountOf(CallKind::SetTextureFilter), 0u);

    // Without anisotropy on the device, filter 3 falls back to linear.
    device->SetSupportsAnisotropy(false);
    DrawQuad(nullptr, 0x2032);
    EXPECT_EQ(device->State().filter, TextureFilter::Linear);
    End();
}

TEST_F(RenderTest, CameraBitPicksTheCameraAndResendsTheProjection) {
    EXPECT_EQ(render->currentCamera, render->primaryCamera);
    Begin();
    DrawQuad(nullptr, kPlainTriangles);
    EXPECT_EQ(render->currentCamera, render->secondaryCamera);
    EXPECT_EQ(device->CountOf(CallKind::SetTransform), 1u);
    DrawQuad(nullptr, kPlainTriangles | RS::Camera);
    EXPECT_EQ(render->currentCamera, render->primaryCamera);
    End();
    // Each batch is placed by its camera.
    for (const DeviceCall* draw : device->Draws()) EXPECT_FLOAT_EQ(draw->state.world.m[3][0], -512.0f);
}

// ---------------------------------------------------------------------------------------------
// Camera and projection

struct Ndc {
    float x, y;
};

Ndc ToNdc(const JC_RENDER& render, float x, float y, float z = 0) {
    Ndc out{};
    float depth = 0;
    render.LogicalToNdc(x, y, z, out.x, out.y, depth);
    return out;
}

TEST_F(RenderTest, WindowedProjectionMapsTheLogicalScreenOntoClipSpace) {
    struct Case {
        float x, y;
        Ndc ndc;
    };
    const Case cases[] = {
        {0, 0, {-1, 1}}, {1024, 768, {1, -1}}, {1024, 0, {1, 1}}, {512, 384, {0, 0}}, {256, 576, {-0.5f, -0.5f}},
    };
    // What the device is given (world = camera, view, projection) places points the same way.
    Begin();
    DrawQuad(nullptr, kPlainTriangles);
    End();
    const auto& s = device->State();
    const Matrix4 deviceMatrix = Matrix4::Product(Matrix4::Product(s.world, s.view), s.projection);
    for (const Case& c : cases) {
        const Ndc ndc = ToNdc(*render, c.x, c.y);
        EXPECT_NEAR(ndc.x, c.ndc.x, 1e-3f) << c.x << "," << c.y;
        EXPECT_NEAR(ndc.y, c.ndc.y, 1e-3f) << c.x << "," << c.y;

        const float cx = c.x * deviceMatrix.m[0][0] + c.y * deviceMatrix.m[1][0] + deviceMatrix.m[3][0];
        const float cw = c.x * deviceMatrix.m[0][3] + c.y * deviceMatrix.m[1][3] + deviceMatrix.m[3][3];
        EXPECT_NEAR(cx / cw, c.ndc.x, 1e-3f) << "device " << c.x;
    }
    float x, y, z;
    render->LogicalToNdc(100, 100, 0, x, y, z);
    EXPECT_GT(z, 0.0f);
    EXPECT_LT(z, 1.0f);
}

TEST_F(RenderTest, StretchedFullscreenKeepsFourByThreeWithBars) {
    struct Case {
        int32_t desktopW, desktopH;
        float fx, fy;
        float leftPixel;  // where logical x = 0 lands on the desktop
    };
    const Case cases[] = {
        {1920, 1080, 0.75f, 1.0f, 240.0f},
        {1280, 1024, 1.0f, 0.9375f, 0.0f},
        {1024, 768, 1.0f, 1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.desktopW << "x" << c.desktopH);
        device->SetBackBufferSize(c.desktopW, c.desktopH);
        device->ClearRecord();
        render->SetDisplayMode(1024, 768, 1, 1);
        const auto resets = device->CallsOf(CallKind::Reset);
        ASSERT_EQ(resets.size(), 1u);
        EXPECT_TRUE(resets[0]->params.fullscreen);
        EXPECT_EQ(resets[0]->params.backBufferWidth, c.desktopW);
        EXPECT_EQ(resets[0]->params.backBufferHeight, c.desktopH);

        const Ndc topLeft = ToNdc(*render, 0, 0);
        const Ndc bottomRight = ToNdc(*render, 1024, 768);
        EXPECT_NEAR(topLeft.x, -c.fx, 1e-3f);
        EXPECT_NEAR(topLeft.y, c.fy, 1e-3f);
        EXPECT_NEAR(bottomRight.x, c.fx, 1e-3f);
        EXPECT_NEAR(bottomRight.y, -c.fy, 1e-3f);
        EXPECT_NEAR((topLeft.x + 1) * 0.5f * static_cast<float>(c.desktopW), c.leftPixel, 0.5f);
        // The bars keep what is drawn outside the logical screen: x = -100 is still on the desktop.
        if (c.fx < 1) {
            EXPECT_GT(ToNdc(*render, -100, 0).x, -1.0f);
        }

        // Windowed again: no letterbox, whatever the device reports.
        render->SetDisplayMode(1024, 768, 0, 1);
        EXPECT_NEAR(ToNdc(*render, 0, 0).x, -1.0f, 1e-3f);
    }
}

TEST_F(RenderTest, LetterboxFollowsABackBufferThatSettlesLate) {
    // The mode change finds the old size; the desktop size arrives before the next frame.
    render->SetDisplayMode(1024, 768, 1, 1);
    EXPECT_NEAR(ToNdc(*render, 0, 0).x, -1.0f, 1e-3f);
    device->SetBackBufferSize(1920, 1080);
    Begin();
    End();
    EXPECT_EQ(render->backBufferWidth, 1920u);
    EXPECT_NEAR(ToNdc(*render, 0, 0).x, -0.75f, 1e-3f);
    EXPECT_NEAR(device->State().projection.m[0][0], render->projection.m[0][0], 1e-6f);
}

TEST_F(RenderTest, NearerObjectsLookLargerAndTheCentreStays) {
    const auto width = [&](float z) { return ToNdc(*render, 1024, 0, z).x - ToNdc(*render, 0, 0, z).x; };
    EXPECT_NEAR(width(0), 2.0f, 1e-3f);
    EXPECT_GT(width(100), 2.0f);
    EXPECT_LT(width(-100), 2.0f);
    // In closed form the scale at depth z is E / (E - z), with E = 384 / tan(pi / 8).
    const float e = 927.0518f;
    EXPECT_NEAR(width(100), 2.0f * e / (e - 100), 1e-3f);
    EXPECT_NEAR(ToNdc(*render, 512, 384, 300).x, 0.0f, 1e-4f);
}

TEST_F(RenderTest, DisplayModeUnchangedDoesNotRebuild) {
    render->SetDisplayMode(1024, 768, 0, 0);
    EXPECT_EQ(device->CountOf(CallKind::Reset), 0u);
    render->SetDisplayMode(800, 600, 0, 0);
    EXPECT_EQ(device->CountOf(CallKind::Reset), 1u);
    EXPECT_EQ(device->CallsOf(CallKind::Reset)[0]->params.backBufferWidth, 800);
    EXPECT_NEAR(ToNdc(*render, 800, 600).x, 1.0f, 1e-3f);
}

// ---------------------------------------------------------------------------------------------
// Frames and device loss

std::atomic<int> g_restoredCalls{0};

int CountRestored(uintptr_t) {
    ++g_restoredCalls;
    return 0;
}

TEST_F(RenderTest, FrameResultsFollowTheDeviceCondition) {
    EXPECT_EQ(render->EndFrame(), -1);
    Begin();
    EXPECT_EQ(render->BeginFrame(), -1);
    End();
    EXPECT_EQ(render->EndFrame(), -1);

    device->SetLost(true);
    EXPECT_EQ(render->BeginFrame(), -1);
    device->SetLost(false);

    device->SetFailBeginScene(true);
    EXPECT_EQ(render->BeginFrame(), 0);
    device->SetFailBeginScene(false);

    device->SetFailClear(true);
    EXPECT_EQ(render->BeginFrame(), -1);
    EXPECT_FALSE(device->InScene());
    device->SetFailClear(false);

    EXPECT_EQ(device->CountOf(CallKind::Reset), 0u);
    DrawQuad(nullptr, kPlainTriangles);
    Begin();
    EXPECT_EQ(render->drawCalls, 0u);
    EXPECT_EQ(render->batches, 0u);
    EXPECT_EQ(render->stateChanges, 0u);
    End();
    ASSERT_FALSE(device->CallsOf(CallKind::Clear).empty());
    EXPECT_EQ(device->CallsOf(CallKind::Clear).back()->color, 0xFF444444u);

    JC_RENDER withoutDevice(nullptr);
    EXPECT_EQ(withoutDevice.CreateDevice(nullptr, 0.1f, 0), -1);
    EXPECT_EQ(withoutDevice.BeginFrame(), -1);
    JC_RENDER notCreated(std::make_unique<NullRenderDevice>());
    EXPECT_EQ(notCreated.BeginFrame(), -1);
}

TEST_F(RenderTest, ResetSkipsOneFrameRestoresStatesAndCallsTheHook) {
    g_restoredCalls = 0;
    InstallHook(cbDeviceRestored, CountRestored);
    JS_TEXTURE* texture = LoadSolid(1, 2, 3, 255);

    Begin();
    DrawQuad(texture, kParticleWord);
    End();
    DrawQuad(texture, kParticleWord);  // queued outside a frame; lost with the device

    device->SimulateDeviceLoss();
    EXPECT_EQ(render->BeginFrame(), -110);
    EXPECT_EQ(g_restoredCalls.load(), 1);
    EXPECT_EQ(device->CountOf(CallKind::Reset), 1u);
    EXPECT_EQ(render->queuedVertices, 0u);
    EXPECT_EQ(render->currentState, 0x20002u);
    EXPECT_EQ(render->currentTexture, nullptr);
    const auto& s = device->State();
    EXPECT_TRUE(s.blend);
    EXPECT_EQ(s.dest, BlendFactor::InvSrcAlpha);
    EXPECT_FALSE(s.depthTest);
    EXPECT_FALSE(s.lighting);
    EXPECT_EQ(render->EndFrame(), -1);
    EXPECT_EQ(render->ready, 1);

    device->ClearRecord();
    Begin();
    DrawQuad(texture, kParticleWord);
    End();
    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->vertexCount, 4u);
    // Textures survive the reset.
    EXPECT_EQ(draws[0]->state.texture, texture->deviceHandle);
    EXPECT_TRUE(device->IsLiveTexture(texture->deviceHandle));
    EXPECT_EQ(g_restoredCalls.load(), 1);
    ReleaseHook(cbDeviceRestored);
}

// A texture whose every texel is white goes to the device as its alpha alone; any other colour,
// also under a transparent texel, keeps all four channels. Either way the device samples what the
// image holds.
TEST_F(RenderTest, AllWhiteTexturesUploadTheirAlphaAlone) {
    struct Case {
        const char* name;
        std::vector<uint8_t> rgba;  // 2 x 1 texels
        uint32_t channels;
    };
    const Case cases[] = {
        {"white glyph edges", {255, 255, 255, 0, 255, 255, 255, 200}, 1},
        {"opaque white", {255, 255, 255, 255, 255, 255, 255, 255}, 1},
        {"a colour under a transparent texel", {255, 255, 255, 90, 0, 0, 0, 0}, 4},
        {"almost white", {255, 255, 254, 255, 255, 255, 255, 255}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> png = TestImages::Encode(TestImages::Format::Png, 2, 1, c.rgba);
        JS_TEXTURE* texture = render->LoadTextureMemory(png.data(), png.size());
        device->ClearRecord();
        Begin();
        DrawQuad(texture, kQuadWord);
        End();
        const auto made = device->CallsOf(CallKind::CreateTexture);
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(made[0]->channels, c.channels);
        EXPECT_EQ(device->TexturePixels(texture->deviceHandle), c.rgba);
    }
}

TEST_F(RenderTest, PngGivesItsSizeAndUploadsOnceAtFirstUse) {
    JS_TEXTURE* texture = LoadSolid(10, 20, 30, 40, 3, 5);
    ASSERT_NE(texture, render->defaultTexture);
    EXPECT_EQ(texture->width, 3u);
    EXPECT_EQ(texture->height, 5u);
    EXPECT_TRUE(render->IsRegistered(texture));
    EXPECT_EQ(device->CountOf(CallKind::CreateTexture), 0u);

    for (int frame = 0; frame < 2; ++frame) {
        Begin();
        DrawQuad(texture, kQuadWord);
        DrawQuad(nullptr, kPlainTriangles);  // unbinds, so the next frame binds again
        End();
    }
    EXPECT_EQ(device->CountOf(CallKind::CreateTexture), 1u);
    EXPECT_TRUE(texture->pendingPixels.empty());
    const auto& pixels = device->TexturePixels(texture->deviceHandle);
    ASSERT_EQ(pixels.size(), 3u * 5u * 4u);
    EXPECT_EQ(std::vector<uint8_t>(pixels.begin(), pixels.begin() + 4), (std::vector<uint8_t>{10, 20, 30, 40}));
}

TEST_F(RenderTest, UnreadableImagesGiveTheTransparentDefaultTexture) {
    JS_TEXTURE* fallback = render->defaultTexture;
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->width, 16u);
    EXPECT_EQ(fallback->height, 16u);

    const char garbage[] = "definitely not an image";
    EXPECT_EQ(render->LoadTextureMemory(garbage, sizeof garbage), fallback);
    EXPECT_EQ(render->LoadTextureMemory(nullptr, 0), fallback);
    EXPECT_EQ(render->LoadTextureFile(""), fallback);
    EXPECT_EQ(render->LoadTextureFile("/nonexistent/folder/picture.png"), fallback);

    Begin();
    DrawQuad(fallback, kQuadWord);
    End();
    const auto& pixels = device->TexturePixels(fallback->deviceHandle);
    ASSERT_EQ(pixels.size(), 16u * 16u * 4u);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), 16 * 16 * 4);
}

TEST_F(RenderTest, LoadTextureFileReadsTheImageFile) {
    const TestKit::TempFolder folder("quorvel-render");
    const std::vector<uint8_t> png = TestImages::SolidPng(6, 2, 1, 1, 1, 255);
    const auto path = folder.Write("picture.png", std::string(png.begin(), png.end()));
    JS_TEXTURE* texture = render->LoadTextureFile(path.string());
    ASSERT_NE(texture, render->defaultTexture);
    EXPECT_EQ(texture->width, 6u);
    EXPECT_EQ(texture->height, 2u);
}

TEST_F(RenderTest, ReleaseTextureRefusesRecordsItDoesNotOwn) {
    JS_TEXTURE stranger;
    JS_TEXTURE* owned = LoadSolid(1, 1, 1, 1);
    struct Case {
        const char* name;
        JS_TEXTURE* texture;
        int result;
    };
    const Case cases[] = {
        {"null", nullptr, -1},
        {"default", render->defaultTexture, -1},
        {"no-texture", &render->noTexture, -1},
        {"unregistered", &stranger, -1},
        {"registered", owned, 1},
        {"released already", owned, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(render->ReleaseTexture(c.texture), c.result) << c.name;
    EXPECT_FALSE(render->IsRegistered(owned));
    EXPECT_TRUE(render->IsRegistered(render->defaultTexture));
}

TEST_F(RenderTest, ReleasingTheBoundTextureFlushesAndLeavesNoStaleBinding) {
    JS_TEXTURE* first = LoadSolid(255, 0, 0, 255);
    Begin();
    DrawQuad(first, kQuadWord);
    const uint32_t firstHandle = first->deviceHandle;
    ASSERT_NE(firstHandle, 0u);

    EXPECT_EQ(render->ReleaseTexture(first), 1);
    // The queued quad was drawn with it before it went.
    auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->state.texture, firstHandle);
    EXPECT_EQ(render->currentTexture, nullptr);
    EXPECT_EQ(device->BoundTexture(), 0u);

    // A new record (possibly at the same address) is bound afresh.
    JS_TEXTURE* second = LoadSolid(0, 0, 255, 255);
    DrawQuad(second, kQuadWord);
    End();
    draws = device->Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_NE(draws[1]->state.texture, firstHandle);
    EXPECT_EQ(device->TexturePixels(draws[1]->state.texture)[2], 255);

    // The device texture goes at the next frame, on the main thread.
    EXPECT_TRUE(device->IsLiveTexture(firstHandle));
    Begin();
    End();
    EXPECT_FALSE(device->IsLiveTexture(firstHandle));
}

// Textures handed over from other threads; "Threaded" suites also run under ThreadSanitizer.
class RenderThreaded : public RenderTest {};

TEST_F(RenderThreaded, ReleaseOnAnotherThreadWaitsForTheMainThread) {
    JS_TEXTURE* texture = LoadSolid(5, 5, 5, 255);
    Begin();
    DrawQuad(texture, kQuadWord);
    End();
    const uint32_t handle = texture->deviceHandle;
    ASSERT_EQ(render->currentTexture, texture);

    int result = 0;
    std::thread loader([&] { result = render->ReleaseTexture(texture); });
    loader.join();
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(render->IsRegistered(texture));
    EXPECT_TRUE(device->IsLiveTexture(handle));

    Begin();
    EXPECT_EQ(render->currentTexture, nullptr);
    EXPECT_FALSE(device->IsLiveTexture(handle));
    JS_TEXTURE* next = LoadSolid(6, 6, 6, 255);
    DrawQuad(next, kQuadWord);
    End();
    EXPECT_EQ(device->Draws().back()->state.texture, next->deviceHandle);
}

TEST_F(RenderThreaded, TexturesLoadedAndReleasedOnOtherThreadsUploadOnceOnTheMainThread) {
    const std::vector<uint8_t> png = TestImages::SolidPng(2, 2, 3, 3, 3, 255);
    std::array<std::vector<JS_TEXTURE*>, 4> kept;
    std::vector<std::thread> threads;
    for (size_t t = 0; t < kept.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                JS_TEXTURE* texture = render->LoadTextureMemory(png.data(), png.size());
                if (i % 2 == 0) {
                    kept[t].push_back(texture);
                } else {
                    render->ReleaseTexture(texture);
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(device->CountOf(CallKind::CreateTexture), 0u);

    // Uploaded on the main thread at first use, once each.
    for (int frame = 0; frame < 2; ++frame) {
        Begin();
        for (const auto& list : kept) {
            for (JS_TEXTURE* texture : list) {
                EXPECT_TRUE(render->IsRegistered(texture));
                EXPECT_EQ(texture->width, 2u);
                DrawQuad(texture, kQuadWord);
            }
        }
        End();
    }
    EXPECT_EQ(device->CountOf(CallKind::CreateTexture), 40u);
}

TEST_F(RenderThreaded, TexturesDecodedOnALoaderThreadAreMadeWhenTheMainThreadDrainsTheQueue) {
    // The default texture made with the device goes first.
    EXPECT_EQ(render->UploadPendingTextures(), 1u);
    device->ClearRecord();
    const std::vector<uint8_t> png = TestImages::SolidPng(2, 2, 9, 9, 9, 255);
    std::vector<JS_TEXTURE*> made;
    uint32_t offMain = 99;
    std::thread loader([&] {
        for (int i = 0; i < 6; ++i) made.push_back(render->LoadTextureMemory(png.data(), png.size()));
        render->ReleaseTexture(made[1]);
        offMain = render->UploadPendingTextures();
    });
    loader.join();
    EXPECT_EQ(offMain, 0u);
    EXPECT_EQ(device->CountOf(CallKind::CreateTexture), 0u);
    // One drawn first is made at its draw; the released one never.
    Begin();
    DrawQuad(made[0], kQuadWord);
    End();
    EXPECT_EQ(render->UploadPendingTextures(), 4u);
    EXPECT_EQ(device->CountOf(CallKind::CreateTexture), 5u);
    for (size_t i : {0u, 2u, 3u, 4u, 5u}) {
        EXPECT_NE(made[i]->deviceHandle, 0u) << i;
        EXPECT_TRUE(made[i]->pendingPixels.empty()) << i;
    }
    EXPECT_EQ(render->UploadPendingTextures(), 0u);
}

TEST_F(RenderTest, BlankTexturesAndReleaseFreeEverything) {
    EXPECT_EQ(render->CreateBlankTexture(0, 4), nullptr);
    EXPECT_EQ(render->CreateBlankTexture(4, 0), nullptr);
    JS_TEXTURE* blank = render->CreateBlankTexture(8, 4);
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->width, 8u);
    EXPECT_EQ(blank->height, 4u);

    Begin();
    DrawQuad(blank, kQuadWord);
    DrawQuad(LoadSolid(1, 2, 3, 4), kQuadWord);
    DrawQuad(render->defaultTexture, kQuadWord);
    End();
    EXPECT_EQ(device->LiveTextureCount(), 3u);
    EXPECT_EQ(device->TexturePixels(blank->deviceHandle), std::vector<uint8_t>(8 * 4 * 4, 0));

    render->Release();
    EXPECT_EQ(device->LiveTextureCount(), 0u);
    EXPECT_EQ(render->defaultTexture, nullptr);
    EXPECT_EQ(render->primaryCamera, nullptr);
    EXPECT_FALSE(render->IsRegistered(blank));
}

}  // namespace
}  // namespace QRV

namespace QRV {
namespace {

// The opaque background a frame starts with is drawn without blending (the same pixels, without
// reading what is under them); anything that lets the picture under it show keeps the blend.
TEST_F(RenderTest, OpaqueFullScreenBackgroundFirstInTheFrameIsDrawnWithoutBlending) {
    JS_TEXTURE* opaque = LoadSolid(10, 20, 30, 255);
    JS_TEXTURE* seeThrough = LoadSolid(10, 20, 30, 254);
    struct Case {
        const char* what;
        JS_TEXTURE* texture;
        uint32_t word;
        float x, y, w, h;
        uint32_t color;
        bool blend;
    };
    const Case cases[] = {
        {"opaque picture over the screen", opaque, kQuadWord, 0, 0, 1024, 768, 0xFFFFFFFF, false},
        {"larger than the screen", opaque, kQuadWord, -8, -8, 1040, 784, 0xFF808080, false},
        {"untextured opaque colour", nullptr, kPlainTriangles, 0, 0, 1024, 768, 0xFF102030, false},
        {"a texel with some transparency", seeThrough, kQuadWord, 0, 0, 1024, 768, 0xFFFFFFFF, true},
        {"a see-through colour", opaque, kQuadWord, 0, 0, 1024, 768, 0xFEFFFFFF, true},
        {"additive", opaque, kQuadWord | RS::Additive, 0, 0, 1024, 768, 0xFFFFFFFF, true},
        {"not the whole screen", opaque, kQuadWord, 0, 0, 1024, 767, 0xFFFFFFFF, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        device->ClearRecord();
        Begin();
        const auto background = Quad(c.x, c.y, c.w, c.h, c.color);
        render->DrawQuad(background.data(), c.texture, c.word);
        // The same background again later in the frame is blended as asked.
        render->DrawQuad(background.data(), c.texture, c.word);
        End();
        const auto draws = device->Draws();
        ASSERT_EQ(draws.size(), c.blend ? 1u : 2u);
        EXPECT_EQ(draws[0]->state.blend, c.blend);
        EXPECT_TRUE(draws.back()->state.blend);
        EXPECT_EQ(draws.back()->state.dest,
                  (c.word & RS::Additive) != 0 ? Platform::BlendFactor::One : Platform::BlendFactor::InvSrcAlpha);
    }
}

}  // namespace
}  // namespace QRV
