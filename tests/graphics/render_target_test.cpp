#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <thread>
#include <utility>

#include "engine/graphics/render.h"
#include "engine/platform/image_decoder.h"
#include "engine/platform/null_device.h"
#include "tests/test_kit/null_renderer.h"

namespace QRV {
namespace {

using Platform::CallKind;
using Platform::NullRenderDevice;

constexpr uint32_t kQuadWord = 0x2432;        // blend, anisotropic, textured, triangles
constexpr uint32_t kPlainTriangles = 0x2002;  // blend, triangles, untextured, secondary camera
constexpr uint16_t kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

class RenderTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(renderer.created, 1);
        device->ClearRecord();
    }

    void DrawQuad(JS_TEXTURE* texture, uint32_t word, float x0 = 0, float y0 = 0) {
        const JS_VERTEX quad[4] = {{x0, y0, 0, 0, 0, 0, ~0u, 0, 0},
                                   {x0 + 8, y0, 0, 0, 0, 0, ~0u, 1, 0},
                                   {x0 + 8, y0 + 8, 0, 0, 0, 0, ~0u, 1, 1},
                                   {x0, y0 + 8, 0, 0, 0, 0, ~0u, 0, 1}};
        render->DrawTriangles(quad, texture, word, 4, kQuadIndices, 6);
    }

    // The position of the first recorded call of a kind (the call count when there is none).
    size_t IndexOf(CallKind kind) const {
        const auto& calls = device->Calls();
        size_t i = 0;
        while (i < calls.size() && calls[i].kind != kind) ++i;
        return i;
    }

    TestKit::NullRenderer renderer;
    NullRenderDevice* device = renderer.device;
    JC_RENDER* render = renderer.render.get();
};

TEST_F(RenderTargetTest, CreateMakesADeviceTargetOrNothing) {
    const uint32_t tooLarge = Platform::kMaxImageSide + 1;
    for (auto [w, h] : {std::pair{0u, 4u}, {4u, 0u}, {tooLarge, 4u}, {4u, tooLarge}}) {
        EXPECT_EQ(render->CreateRenderTarget(w, h), nullptr) << w << "x" << h;
    }
    JS_RENDER_TARGET* target = render->CreateRenderTarget(64, 32);
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(render->IsRegistered(target));
    EXPECT_EQ(std::pair(target->texture.width, target->texture.height), std::pair(64u, 32u));
    const auto made = device->CallsOf(CallKind::CreateRenderTarget);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(std::pair(made[0]->width, made[0]->height), std::pair(64u, 32u));
    EXPECT_EQ(target->texture.deviceHandle, device->TargetTexture(target->deviceHandle));
    // Its texture goes with the target, never through the texture registry.
    EXPECT_EQ(render->ReleaseTexture(&target->texture), -1);

    device->SetFailRenderTargets(true);
    EXPECT_EQ(render->CreateRenderTarget(8, 8), nullptr);
    EXPECT_EQ(JC_RENDER(std::make_unique<NullRenderDevice>()).CreateRenderTarget(8, 8), nullptr);
}

TEST_F(RenderTargetTest, DrawsGoToTheBoundSurfaceAndFramesBeginAndEndOnTheScreen) {
    JS_RENDER_TARGET* target = render->CreateRenderTarget(128, 64);
    ASSERT_EQ(render->BeginFrame(), 1);
    DrawQuad(nullptr, kPlainTriangles, 0);
    ASSERT_EQ(render->SetRenderTarget(target), 1);  // the screen's quad goes first
    DrawQuad(nullptr, kPlainTriangles, 20);
    ASSERT_EQ(render->EndFrame(), 0);  // the target's quad goes before the frame is shown
    auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->state.target, 0u);
    EXPECT_FLOAT_EQ(draws[0]->vertices[0].x, 0);
    EXPECT_EQ(draws[1]->state.target, target->deviceHandle);
    EXPECT_FLOAT_EQ(draws[1]->vertices[0].x, 20);
    EXPECT_LT(IndexOf(CallKind::DrawIndexedPrimitive), IndexOf(CallKind::Present));
    EXPECT_EQ(render->currentTarget, nullptr);
    EXPECT_EQ(device->State().target, 0u);

    // Bound between frames: the next frame clears the screen.
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    device->ClearRecord();
    ASSERT_EQ(render->BeginFrame(), 1);
    const auto binds = device->CallsOf(CallKind::SetRenderTarget);
    ASSERT_EQ(binds.size(), 1u);
    EXPECT_EQ(binds[0]->handle, 0u);
    EXPECT_LT(IndexOf(CallKind::SetRenderTarget), IndexOf(CallKind::Clear));

    // Released while bound: what was queued for it is drawn first, then the screen is bound.
    const uint32_t handle = target->deviceHandle;
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    DrawQuad(nullptr, kPlainTriangles);
    EXPECT_EQ(render->ReleaseRenderTarget(target), 1);
    EXPECT_EQ(render->currentTarget, nullptr);
    EXPECT_EQ(device->State().target, 0u);
    EXPECT_FALSE(device->IsLiveTarget(handle));
    draws = device->Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->state.target, handle);
}

TEST_F(RenderTargetTest, ATargetIsPlacedByItsOwnSizeAndTheScreenGetsItsLetterboxBack) {
    device->SetBackBufferSize(1920, 1080);
    render->SetDisplayMode(1024, 768, 1, 1);
    JS_RENDER_TARGET* target = render->CreateRenderTarget(200, 100);
    ASSERT_EQ(render->BeginFrame(), 1);
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    DrawQuad(nullptr, kPlainTriangles);  // either camera bit: the target's camera
    DrawQuad(nullptr, kPlainTriangles | RS::Camera);
    ASSERT_EQ(render->SetRenderTarget(nullptr), 1);
    DrawQuad(nullptr, kPlainTriangles | RS::Camera);  // same word: nothing but the bind resends
    DrawQuad(nullptr, kPlainTriangles);
    ASSERT_EQ(render->EndFrame(), 0);

    struct Case {
        float x, y, ndcX, ndcY;
    };
    // In the target a logical point lands on its own pixel; the screen keeps 4:3 (x times 0.75).
    const Case inTarget[] = {{0, 0, -1, 1}, {200, 100, 1, -1}, {100, 50, 0, 0}, {50, 75, -0.5f, -0.5f}};
    const Case onScreen[] = {{0, 0, -0.75f, 1}, {1024, 768, 0.75f, -1}, {512, 384, 0, 0}};
    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 4u);
    for (size_t i = 0; i < draws.size(); ++i) {
        const auto& s = draws[i]->state;
        const Matrix4 m = Matrix4::Product(Matrix4::Product(s.world, s.view), s.projection);
        for (const Case& c : i < 2 ? std::span<const Case>(inTarget) : std::span<const Case>(onScreen)) {
            const float w = c.x * m.m[0][3] + c.y * m.m[1][3] + m.m[3][3];
            EXPECT_NEAR((c.x * m.m[0][0] + c.y * m.m[1][0] + m.m[3][0]) / w, c.ndcX, 1e-3f) << i << ": " << c.x;
            EXPECT_NEAR((c.x * m.m[0][1] + c.y * m.m[1][1] + m.m[3][1]) / w, c.ndcY, 1e-3f) << i << ": " << c.y;
        }
    }
}

TEST_F(RenderTargetTest, ItsTextureDrawsLikeAnyTextureButNeverIntoItself) {
    JS_RENDER_TARGET* target = render->CreateRenderTarget(32, 32);
    JS_RENDER_TARGET* other = render->CreateRenderTarget(32, 32);
    ASSERT_EQ(render->BeginFrame(), 1);
    DrawQuad(&target->texture, kQuadWord);
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    EXPECT_EQ(device->BoundTexture(), 0u);  // no longer read while drawn into
    DrawQuad(&target->texture, kQuadWord);  // dropped
    DrawQuad(&other->texture, kQuadWord);
    ASSERT_EQ(render->SetRenderTarget(nullptr), 1);
    DrawQuad(&target->texture, kQuadWord);
    ASSERT_EQ(render->EndFrame(), 0);
    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 3u);
    const uint32_t textures[3] = {target->texture.deviceHandle, other->texture.deviceHandle,
                                  target->texture.deviceHandle};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(draws[i]->state.texture, textures[i]) << i;
        EXPECT_EQ(draws[i]->vertices.size(), 4u) << i;
    }
}

// Starts a thread, so it runs under the thread sanitizer too.
class RenderTargetThreaded : public RenderTargetTest {};

TEST_F(RenderTargetThreaded, BindAndReleaseRefuseWhatTheyDoNotOwnAndOtherThreads) {
    JS_RENDER_TARGET* target = render->CreateRenderTarget(16, 16);
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    JS_RENDER_TARGET stranger;
    stranger.deviceHandle = target->deviceHandle;
    JS_RENDER_TARGET* made = nullptr;
    int results[5] = {render->SetRenderTarget(&stranger), render->ReleaseRenderTarget(&stranger),
                      render->ReleaseRenderTarget(nullptr), 0, 0};
    std::thread other([&] {
        made = render->CreateRenderTarget(8, 8);
        results[3] = render->SetRenderTarget(nullptr);
        results[4] = render->ReleaseRenderTarget(target);
    });
    other.join();
    for (int result : results) EXPECT_EQ(result, -1);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(render->currentTarget, target);  // the binding stays
    EXPECT_EQ(device->State().target, target->deviceHandle);
    EXPECT_TRUE(render->IsRegistered(target));
}

TEST_F(RenderTargetTest, ADeviceResetMakesEveryTargetAgain) {
    JS_RENDER_TARGET* targets[2] = {render->CreateRenderTarget(64, 32), render->CreateRenderTarget(8, 128)};
    const uint32_t oldHandles[2] = {targets[0]->deviceHandle, targets[1]->deviceHandle};
    ASSERT_EQ(render->SetRenderTarget(targets[0]), 1);
    device->ClearRecord();
    device->SimulateDeviceLoss();
    EXPECT_EQ(render->BeginFrame(), -110);
    // Released before the reset (which fails while any is alive), made again after it.
    EXPECT_EQ(device->CountOf(CallKind::DestroyRenderTarget), 2u);
    EXPECT_EQ(device->CountOf(CallKind::CreateRenderTarget), 2u);
    EXPECT_LT(IndexOf(CallKind::DestroyRenderTarget), IndexOf(CallKind::Reset));
    EXPECT_GT(IndexOf(CallKind::CreateRenderTarget), IndexOf(CallKind::Reset));
    EXPECT_EQ(render->currentTarget, nullptr);
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(device->IsLiveTarget(oldHandles[i])) << i;
        EXPECT_TRUE(device->IsLiveTarget(targets[i]->deviceHandle)) << i;
        EXPECT_EQ(targets[i]->texture.deviceHandle, device->TargetTexture(targets[i]->deviceHandle)) << i;
    }
    ASSERT_EQ(render->BeginFrame(), 1);
    EXPECT_EQ(render->SetRenderTarget(targets[1]), 1);
    ASSERT_EQ(render->EndFrame(), 0);

    // One the device cannot make again refuses binding until a later reset makes it.
    device->SetFailRenderTargets(true);
    render->SetDisplayMode(800, 600, 0, 0);
    EXPECT_EQ(targets[0]->deviceHandle, 0u);
    EXPECT_EQ(render->SetRenderTarget(targets[0]), -1);
    device->SetFailRenderTargets(false);
    device->SimulateDeviceLoss();
    EXPECT_EQ(render->BeginFrame(), -110);
    EXPECT_EQ(render->SetRenderTarget(targets[0]), 1);
}

TEST_F(RenderTargetTest, ReleaseFreesBothRegistries) {
    JS_RENDER_TARGET* target = render->CreateRenderTarget(16, 16);
    ASSERT_EQ(render->BeginFrame(), 1);
    DrawQuad(render->CreateBlankTexture(4, 4), kQuadWord);
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    render->Release();
    EXPECT_EQ(device->LiveTargetCount() + device->LiveTextureCount(), 0u);
    EXPECT_FALSE(render->IsRegistered(target));
    EXPECT_EQ(render->currentTarget, nullptr);
    EXPECT_EQ(device->State().target, 0u);
}

}  // namespace
}  // namespace QRV
