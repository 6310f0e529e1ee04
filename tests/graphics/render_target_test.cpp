#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <thread>
#include <vector>

#include "engine/graphics/render.h"
#include "engine/platform/image_decoder.h"
#include "engine/platform/null_device.h"

namespace QRV {
namespace {

using Platform::CallKind;
using Platform::DeviceCall;
using Platform::NullRenderDevice;

constexpr uint32_t kQuadWord = 0x2432;        // blend, anisotropic, textured, triangles
constexpr uint32_t kPlainTriangles = 0x2002;  // blend, triangles, untextured, secondary camera
constexpr uint16_t kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

struct Ndc {
    float x, y;
};

// Where the device puts a logical point under the transforms a draw ran with.
Ndc DeviceNdc(const Platform::NullDeviceState& s, float x, float y) {
    const Matrix4 m = Matrix4::Product(Matrix4::Product(s.world, s.view), s.projection);
    const float cx = x * m.m[0][0] + y * m.m[1][0] + m.m[3][0];
    const float cy = x * m.m[0][1] + y * m.m[1][1] + m.m[3][1];
    const float cw = x * m.m[0][3] + y * m.m[1][3] + m.m[3][3];
    return {cx / cw, cy / cw};
}

class RenderTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto owned = std::make_unique<NullRenderDevice>();
        device = owned.get();
        render = std::make_unique<JC_RENDER>(std::move(owned));
        ASSERT_EQ(render->CreateDevice(nullptr, 0.1f, 0.0f), 1);
        device->ClearRecord();
    }

    void DrawQuad(JS_TEXTURE* texture, uint32_t word, float x0, float y0, float x1, float y1) {
        const JS_VERTEX quad[4] = {
            {x0, y0, 0, 0, 0, 0, 0xFFFFFFFF, 0, 0},
            {x1, y0, 0, 0, 0, 0, 0xFFFFFFFF, 1, 0},
            {x1, y1, 0, 0, 0, 0, 0xFFFFFFFF, 1, 1},
            {x0, y1, 0, 0, 0, 0, 0xFFFFFFFF, 0, 1},
        };
        render->DrawTriangles(quad, texture, word, 4, kQuadIndices, 6);
    }

    // The index of the first recorded call of a kind after position from (Calls().size() if none).
    size_t IndexOf(CallKind kind, size_t from = 0) const {
        const auto& calls = device->Calls();
        for (size_t i = from; i < calls.size(); ++i) {
            if (calls[i].kind == kind) return i;
        }
        return calls.size();
    }

    NullRenderDevice* device = nullptr;
    std::unique_ptr<JC_RENDER> render;
};

TEST_F(RenderTargetTest, CreateMakesADeviceTargetWhoseTextureIsNotARegisteredTexture) {
    struct Case {
        uint32_t width, height;
    };
    const Case refused[] = {{0, 4}, {4, 0}, {Platform::kMaxImageSide + 1, 4}, {4, Platform::kMaxImageSide + 1}};
    for (const Case& c : refused) EXPECT_EQ(render->CreateRenderTarget(c.width, c.height), nullptr) << c.width;
    EXPECT_EQ(device->CountOf(CallKind::CreateRenderTarget), 0u);

    JS_RENDER_TARGET* target = render->CreateRenderTarget(64, 32);
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(render->IsRegistered(target));
    EXPECT_EQ(target->width, 64u);
    EXPECT_EQ(target->height, 32u);
    EXPECT_EQ(target->texture.width, 64u);
    EXPECT_EQ(target->texture.height, 32u);
    const auto made = device->CallsOf(CallKind::CreateRenderTarget);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0]->width, 64u);
    EXPECT_EQ(made[0]->height, 32u);
    EXPECT_EQ(target->deviceHandle, made[0]->handle);
    EXPECT_EQ(target->texture.deviceHandle, made[0]->targetTexture);
    EXPECT_TRUE(device->IsLiveTexture(target->texture.deviceHandle));
    // Creating binds nothing: draws still go to the screen.
    EXPECT_EQ(render->currentTarget, nullptr);
    EXPECT_EQ(device->State().target, 0u);
    // Its texture goes with the target only.
    EXPECT_FALSE(render->IsRegistered(&target->texture));
    EXPECT_EQ(render->ReleaseTexture(&target->texture), -1);

    device->SetFailRenderTargets(true);
    EXPECT_EQ(render->CreateRenderTarget(8, 8), nullptr);
    JC_RENDER withoutDevice(std::make_unique<NullRenderDevice>());
    EXPECT_EQ(withoutDevice.CreateRenderTarget(8, 8), nullptr);
}

TEST_F(RenderTargetTest, BindingFlushesTheQueueFirstAndDrawsGoToTheBoundSurface) {
    JS_RENDER_TARGET* target = render->CreateRenderTarget(128, 64);
    ASSERT_NE(target, nullptr);
    ASSERT_EQ(render->BeginFrame(), 1);
    DrawQuad(nullptr, kPlainTriangles, 0, 0, 10, 10);
    EXPECT_EQ(render->SetRenderTarget(target), 1);
    EXPECT_EQ(render->currentTarget, target);
    DrawQuad(nullptr, kPlainTriangles, 20, 20, 30, 30);
    EXPECT_EQ(render->SetRenderTarget(nullptr), 1);
    DrawQuad(nullptr, kPlainTriangles, 40, 40, 50, 50);
    ASSERT_EQ(render->EndFrame(), 0);

    // Same state throughout: only the binding split the batches.
    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 3u);
    const uint32_t expected[3] = {0, target->deviceHandle, 0};
    const float firstX[3] = {0, 20, 40};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(draws[i]->state.target, expected[i]) << i;
        ASSERT_EQ(draws[i]->vertices.size(), 4u);
        EXPECT_FLOAT_EQ(draws[i]->vertices[0].x, firstX[i]) << i;
    }
}

TEST_F(RenderTargetTest, ATargetIsPlacedByItsOwnSizeAndTheScreenGetsItsLetterboxBack) {
    device->SetBackBufferSize(1920, 1080);
    render->SetDisplayMode(1024, 768, 1, 1);
    JS_RENDER_TARGET* target = render->CreateRenderTarget(200, 100);
    ASSERT_NE(target, nullptr);

    struct Case {
        float x, y;
        Ndc ndc;
    };
    // Logical points land on the target's own pixels, corner to corner, without the letterbox.
    const Case inTarget[] = {
        {0, 0, {-1, 1}}, {200, 100, {1, -1}}, {200, 0, {1, 1}}, {100, 50, {0, 0}}, {50, 75, {-0.5f, -0.5f}},
    };
    // The screen keeps 4:3 on the wide desktop: x is scaled by 0.75.
    const Case onScreen[] = {{0, 0, {-0.75f, 1}}, {1024, 768, {0.75f, -1}}, {512, 384, {0, 0}}};

    ASSERT_EQ(render->BeginFrame(), 1);
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    // Either camera bit draws with the target's camera.
    DrawQuad(nullptr, kPlainTriangles, 0, 0, 1, 1);
    DrawQuad(nullptr, kPlainTriangles | RS::Camera, 0, 0, 1, 1);
    ASSERT_EQ(render->SetRenderTarget(nullptr), 1);
    const size_t targetDraws = device->Draws().size();
    // The first under the same word as the last draw in the target: no state change resends the
    // projection.
    DrawQuad(nullptr, kPlainTriangles | RS::Camera, 0, 0, 1, 1);
    DrawQuad(nullptr, kPlainTriangles, 0, 0, 1, 1);
    ASSERT_EQ(render->EndFrame(), 0);

    const auto draws = device->Draws();
    ASSERT_EQ(targetDraws, 2u);
    ASSERT_EQ(draws.size(), 4u);
    const auto expectPlaces = [](const DeviceCall* draw, const auto& cases) {
        for (const Case& c : cases) {
            const Ndc ndc = DeviceNdc(draw->state, c.x, c.y);
            EXPECT_NEAR(ndc.x, c.ndc.x, 1e-3f) << c.x << "," << c.y;
            EXPECT_NEAR(ndc.y, c.ndc.y, 1e-3f) << c.x << "," << c.y;
        }
    };
    for (size_t i = 0; i < draws.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "draw " << i);
        if (i < targetDraws) {
            expectPlaces(draws[i], inTarget);
        } else {
            expectPlaces(draws[i], onScreen);
        }
    }
    // The renderer's own mapping agrees while the target is bound.
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    float x = 0, y = 0, z = 0;
    render->LogicalToNdc(200, 100, 0, x, y, z);
    EXPECT_NEAR(x, 1.0f, 1e-3f);
    EXPECT_NEAR(y, -1.0f, 1e-3f);
}

TEST_F(RenderTargetTest, ItsTextureDrawsLikeAnyTextureButNotIntoItself) {
    JS_RENDER_TARGET* target = render->CreateRenderTarget(32, 32);
    JS_RENDER_TARGET* other = render->CreateRenderTarget(32, 32);
    ASSERT_NE(target, nullptr);
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(render->BeginFrame(), 1);
    DrawQuad(&target->texture, kQuadWord, 0, 0, 32, 32);
    EXPECT_EQ(render->currentTexture, &target->texture);
    EXPECT_EQ(device->BoundTexture(), target->texture.deviceHandle);

    // Bound for drawing, it is no longer bound for reading, and draws reading it are dropped.
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    EXPECT_EQ(render->currentTexture, nullptr);
    EXPECT_EQ(device->BoundTexture(), 0u);
    DrawQuad(&target->texture, kQuadWord, 0, 0, 32, 32);
    EXPECT_EQ(render->queuedVertices, 0u);
    // Another target's texture may be drawn into it.
    DrawQuad(&other->texture, kQuadWord, 0, 0, 32, 32);
    EXPECT_EQ(render->queuedVertices, 4u);

    ASSERT_EQ(render->SetRenderTarget(nullptr), 1);
    DrawQuad(&target->texture, kQuadWord, 0, 0, 64, 64);
    ASSERT_EQ(render->EndFrame(), 0);

    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0]->state.texture, target->texture.deviceHandle);
    EXPECT_EQ(draws[1]->state.texture, other->texture.deviceHandle);
    EXPECT_EQ(draws[1]->state.target, target->deviceHandle);
    EXPECT_EQ(draws[2]->state.texture, target->texture.deviceHandle);
    EXPECT_EQ(draws[2]->state.target, 0u);
}

TEST_F(RenderTargetTest, BindAndReleaseRefuseWhatTheyDoNotOwn) {
    JS_RENDER_TARGET* target = render->CreateRenderTarget(16, 16);
    ASSERT_NE(target, nullptr);
    ASSERT_EQ(render->SetRenderTarget(target), 1);

    JS_RENDER_TARGET stranger;
    stranger.deviceHandle = target->deviceHandle;
    EXPECT_EQ(render->SetRenderTarget(&stranger), -1);
    EXPECT_EQ(render->ReleaseRenderTarget(&stranger), -1);
    EXPECT_EQ(render->ReleaseRenderTarget(nullptr), -1);
    // A refused bind leaves the binding as it was.
    EXPECT_EQ(render->currentTarget, target);
    EXPECT_EQ(device->State().target, target->deviceHandle);

    // Off the main thread nothing is made, bound or released.
    JS_RENDER_TARGET* made = nullptr;
    int bound = 0, released = 0;
    std::thread other([&] {
        made = render->CreateRenderTarget(8, 8);
        bound = render->SetRenderTarget(nullptr);
        released = render->ReleaseRenderTarget(target);
    });
    other.join();
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(bound, -1);
    EXPECT_EQ(released, -1);
    EXPECT_EQ(render->currentTarget, target);
    EXPECT_TRUE(render->IsRegistered(target));
}

TEST_F(RenderTargetTest, ReleasingTheBoundTargetDrawsWhatWasQueuedAndReturnsToTheScreen) {
    JS_RENDER_TARGET* target = render->CreateRenderTarget(16, 16);
    ASSERT_NE(target, nullptr);
    const uint32_t handle = target->deviceHandle;
    const uint32_t texture = target->texture.deviceHandle;
    ASSERT_EQ(render->BeginFrame(), 1);
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    DrawQuad(nullptr, kPlainTriangles, 0, 0, 16, 16);

    EXPECT_EQ(render->ReleaseRenderTarget(target), 1);
    EXPECT_EQ(render->ReleaseRenderTarget(target), -1);
    EXPECT_FALSE(render->IsRegistered(target));
    EXPECT_EQ(render->currentTarget, nullptr);
    EXPECT_EQ(device->State().target, 0u);
    EXPECT_FALSE(device->IsLiveTarget(handle));
    EXPECT_FALSE(device->IsLiveTexture(texture));
    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->state.target, handle);
    // The queued draw went before the target.
    EXPECT_LT(IndexOf(CallKind::DrawIndexedPrimitive), IndexOf(CallKind::DestroyRenderTarget));
    ASSERT_EQ(render->EndFrame(), 0);
}

TEST_F(RenderTargetTest, FramesBeginAndEndOnTheScreen) {
    JS_RENDER_TARGET* target = render->CreateRenderTarget(16, 16);
    ASSERT_NE(target, nullptr);
    ASSERT_EQ(render->BeginFrame(), 1);
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    DrawQuad(nullptr, kPlainTriangles, 0, 0, 16, 16);
    ASSERT_EQ(render->EndFrame(), 0);
    EXPECT_EQ(render->currentTarget, nullptr);
    EXPECT_EQ(device->State().target, 0u);
    ASSERT_EQ(device->Draws().size(), 1u);
    EXPECT_EQ(device->Draws()[0]->state.target, target->deviceHandle);
    EXPECT_LT(IndexOf(CallKind::DrawIndexedPrimitive), IndexOf(CallKind::Present));

    // Bound between frames: the next frame's clear is the screen's.
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    device->ClearRecord();
    ASSERT_EQ(render->BeginFrame(), 1);
    EXPECT_EQ(render->currentTarget, nullptr);
    const auto binds = device->CallsOf(CallKind::SetRenderTarget);
    ASSERT_EQ(binds.size(), 1u);
    EXPECT_EQ(binds[0]->handle, 0u);
    EXPECT_LT(IndexOf(CallKind::SetRenderTarget), IndexOf(CallKind::Clear));
    ASSERT_EQ(render->EndFrame(), 0);
}

TEST_F(RenderTargetTest, ADeviceResetMakesEveryTargetAgainAndKeepsTheRecords) {
    JS_RENDER_TARGET* first = render->CreateRenderTarget(64, 32);
    JS_RENDER_TARGET* second = render->CreateRenderTarget(8, 128);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const std::array<JS_RENDER_TARGET*, 2> targets = {first, second};
    std::array<uint32_t, 2> oldHandles{}, oldTextures{};
    for (size_t i = 0; i < 2; ++i) {
        oldHandles[i] = targets[i]->deviceHandle;
        oldTextures[i] = targets[i]->texture.deviceHandle;
    }
    ASSERT_EQ(render->BeginFrame(), 1);
    ASSERT_EQ(render->SetRenderTarget(first), 1);
    DrawQuad(&second->texture, kQuadWord, 0, 0, 8, 8);
    ASSERT_EQ(render->EndFrame(), 0);
    ASSERT_EQ(render->SetRenderTarget(first), 1);
    device->ClearRecord();

    device->SimulateDeviceLoss();
    EXPECT_EQ(render->BeginFrame(), -110);
    // Released before the reset (which fails while any is alive), made again after it.
    const size_t reset = IndexOf(CallKind::Reset);
    ASSERT_LT(reset, device->Calls().size());
    EXPECT_EQ(device->CallsOf(CallKind::DestroyRenderTarget).size(), 2u);
    EXPECT_LT(IndexOf(CallKind::DestroyRenderTarget), reset);
    const auto remade = device->CallsOf(CallKind::CreateRenderTarget);
    ASSERT_EQ(remade.size(), 2u);
    EXPECT_GT(IndexOf(CallKind::CreateRenderTarget), reset);
    EXPECT_EQ(render->currentTarget, nullptr);
    EXPECT_EQ(device->State().target, 0u);
    EXPECT_EQ(device->LiveTargetCount(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(render->IsRegistered(targets[i]));
        EXPECT_FALSE(device->IsLiveTarget(oldHandles[i]));
        EXPECT_FALSE(device->IsLiveTexture(oldTextures[i]));
        EXPECT_TRUE(device->IsLiveTarget(targets[i]->deviceHandle));
        EXPECT_EQ(targets[i]->texture.deviceHandle, device->TargetTexture(targets[i]->deviceHandle));
    }
    EXPECT_EQ(first->width, 64u);
    EXPECT_EQ(second->height, 128u);

    // The next frame draws into the new target and reads the other's new texture.
    device->ClearRecord();
    ASSERT_EQ(render->BeginFrame(), 1);
    ASSERT_EQ(render->SetRenderTarget(first), 1);
    DrawQuad(&second->texture, kQuadWord, 0, 0, 8, 8);
    ASSERT_EQ(render->EndFrame(), 0);
    ASSERT_EQ(device->Draws().size(), 1u);
    EXPECT_EQ(device->Draws()[0]->state.target, first->deviceHandle);
    EXPECT_EQ(device->Draws()[0]->state.texture, second->texture.deviceHandle);
}

TEST_F(RenderTargetTest, ATargetTheDeviceCannotRemakeRefusesBindingUntilTheNextReset) {
    JS_RENDER_TARGET* target = render->CreateRenderTarget(16, 16);
    ASSERT_NE(target, nullptr);
    device->SetFailRenderTargets(true);
    render->SetDisplayMode(800, 600, 0, 0);
    EXPECT_EQ(target->deviceHandle, 0u);
    EXPECT_EQ(target->texture.deviceHandle, 0u);
    EXPECT_EQ(render->SetRenderTarget(target), -1);
    EXPECT_EQ(render->currentTarget, nullptr);

    device->SetFailRenderTargets(false);
    device->SimulateDeviceLoss();
    EXPECT_EQ(render->BeginFrame(), -110);
    EXPECT_NE(target->deviceHandle, 0u);
    EXPECT_EQ(render->SetRenderTarget(target), 1);
}

TEST_F(RenderTargetTest, ReleaseFreesBothRegistries) {
    JS_RENDER_TARGET* target = render->CreateRenderTarget(16, 16);
    ASSERT_NE(target, nullptr);
    JS_TEXTURE* blank = render->CreateBlankTexture(4, 4);
    ASSERT_EQ(render->BeginFrame(), 1);
    DrawQuad(blank, kQuadWord, 0, 0, 4, 4);
    ASSERT_EQ(render->SetRenderTarget(target), 1);
    render->Release();
    EXPECT_EQ(device->LiveTargetCount(), 0u);
    EXPECT_EQ(device->LiveTextureCount(), 0u);
    EXPECT_FALSE(render->IsRegistered(target));
    EXPECT_FALSE(render->IsRegistered(blank));
    EXPECT_EQ(render->currentTarget, nullptr);
    EXPECT_EQ(device->State().target, 0u);
}

}  // namespace
}  // namespace QRV
