#include "engine/platform/unchanged_frame_filter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/platform/null_device.h"

namespace {

using QRV::JS_VERTEX;
using QRV::Matrix4;
using namespace QRV::Platform;

// One scene as the renderer sends it: a clear, states, a texture, a transform and one indexed
// draw whose first vertex sits at x.
void Scene(IRenderDevice& device, float x, uint32_t texture = 0, uint32_t clear = 0xFF101010) {
    ASSERT_TRUE(device.BeginScene());
    device.Clear(clear);
    device.SetBlendEnabled(true);
    device.SetTextureFilter(TextureFilter::Linear);
    device.BindTexture(texture);
    device.SetTransform(TransformKind::World, Matrix4::Translation(1, 2, 0));
    JS_VERTEX* v = device.LockVertices(0, 3, LockMode::Discard);
    ASSERT_NE(v, nullptr);
    v[0] = {x, 0, 0, 0, 0, 0, 0xFFFFFFFF, 0, 0};
    v[1] = {x + 10, 0, 0, 0, 0, 0, 0xFF00FF00, 1, 0};
    v[2] = {x, 10, 0, 0, 0, 0, 0x80FFFFFF, 0, 1};
    device.UnlockVertices();
    uint16_t* i = device.LockIndices(0, 3, LockMode::Discard);
    ASSERT_NE(i, nullptr);
    i[0] = 0;
    i[1] = 1;
    i[2] = 2;
    device.UnlockIndices();
    device.DrawIndexedPrimitive(PrimitiveType::Triangles, 3, 1);
    device.EndScene();
    device.Present();
}

TEST(UnchangedFrameFilter, PresentsOnlyScenesThatDifferFromTheLastPresentedOne) {
    struct Step {
        const char* what;
        std::function<void(UnchangedFrameFilter&)> run;
        bool presents;
    };
    NullRenderDevice null;
    null.Create({});
    const uint32_t texture = null.CreateTexture(1, 1, nullptr);
    const Step steps[] = {
        {"the first scene", [](auto& f) { Scene(f, 5); }, true},
        {"the same scene", [](auto& f) { Scene(f, 5); }, false},
        {"again", [](auto& f) { Scene(f, 5); }, false},
        {"a vertex moved", [](auto& f) { Scene(f, 6); }, true},
        {"back where it was", [](auto& f) { Scene(f, 5); }, true},
        {"another texture", [&](auto& f) { Scene(f, 5, texture); }, true},
        {"another clear colour", [&](auto& f) { Scene(f, 5, texture, 0xFF000000); }, true},
        {"unchanged", [&](auto& f) { Scene(f, 5, texture, 0xFF000000); }, false},
        {"uncovered window",
         [&](auto& f) {
             RequestFullFrame();
             Scene(f, 5, texture, 0xFF000000);
         },
         true},
        {"a texture made between scenes",
         [&](auto& f) {
             f.CreateTexture(2, 2, nullptr);
             Scene(f, 5, texture, 0xFF000000);
         },
         true},
        {"a state set outside a scene",
         [&](auto& f) {
             f.SetBlendEnabled(false);
             Scene(f, 5, texture, 0xFF000000);
         },
         true},
        {"a texture made inside the scene",
         [&](auto& f) {
             ASSERT_TRUE(f.BeginScene());
             f.Clear(0xFF000000);
             f.CreateTexture(2, 2, nullptr);
             f.EndScene();
             f.Present();
         },
         true},
        {"the same again", [&](auto& f) { Scene(f, 5, texture, 0xFF000000); }, true},
        {"and once more", [&](auto& f) { Scene(f, 5, texture, 0xFF000000); }, false},
    };
    UnchangedFrameFilter filter(&null);
    uint64_t presented = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const size_t before = null.CountOf(CallKind::Present);
        const size_t scenes = null.CountOf(CallKind::BeginScene);
        step.run(filter);
        EXPECT_EQ(null.CountOf(CallKind::Present) - before, step.presents ? 1u : 0u);
        EXPECT_EQ(filter.LastFramePresented(), step.presents);
        // Every scene is opened and closed on the device, drawn or not.
        EXPECT_EQ(null.CountOf(CallKind::BeginScene) - scenes, 1u);
        EXPECT_FALSE(null.InScene());
        presented += step.presents ? 1 : 0;
    }
    EXPECT_EQ(filter.PresentedFrames(), presented);
    EXPECT_EQ(filter.SkippedFrames(), 4u);
}

// A presented scene reaches the device exactly as it was sent: the same calls in the same order,
// with the same geometry and states.
TEST(UnchangedFrameFilter, PresentedSceneReachesTheDeviceUnchanged) {
    NullRenderDevice direct;
    NullRenderDevice behind;
    direct.Create({});
    behind.Create({});
    UnchangedFrameFilter filter(&behind);
    direct.ClearRecord();
    behind.ClearRecord();
    Scene(direct, 7);
    Scene(filter, 7);

    const auto& a = direct.Calls();
    const auto& b = behind.Calls();
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a[i].kind, b[i].kind);
        EXPECT_EQ(a[i].color, b[i].color);
        EXPECT_EQ(a[i].primitiveCount, b[i].primitiveCount);
        EXPECT_EQ(a[i].vertexCount, b[i].vertexCount);
        EXPECT_EQ(a[i].indices, b[i].indices);
        ASSERT_EQ(a[i].vertices.size(), b[i].vertices.size());
        if (!a[i].vertices.empty()) {  // a call without vertices has no data to compare
            EXPECT_EQ(std::memcmp(a[i].vertices.data(), b[i].vertices.data(), a[i].vertices.size() * sizeof(JS_VERTEX)), 0);
        }
        EXPECT_EQ(std::memcmp(&a[i].matrix, &b[i].matrix, sizeof(Matrix4)), 0);
        EXPECT_EQ(a[i].state.blend, b[i].state.blend);
        EXPECT_EQ(a[i].state.filter, b[i].state.filter);
    }
}

// Render targets are drawn into in order with the rest, and one the filter never saw made is refused.
TEST(UnchangedFrameFilter, RenderTargetsKeepTheirOrderAndUnknownOnesAreRefused) {
    NullRenderDevice null;
    null.Create({});
    UnchangedFrameFilter filter(&null);
    const RenderTargetHandles made = filter.CreateRenderTarget(8, 8);
    ASSERT_NE(made.target, 0u);
    ASSERT_TRUE(filter.BeginScene());
    EXPECT_FALSE(filter.SetRenderTarget(made.target + 100));
    EXPECT_TRUE(filter.SetRenderTarget(made.target));
    filter.Clear(0);
    EXPECT_TRUE(filter.SetRenderTarget(0));
    filter.EndScene();
    filter.Present();
    const auto targets = null.CallsOf(CallKind::SetRenderTarget);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0]->handle, made.target);
    EXPECT_EQ(targets[1]->handle, 0u);
    EXPECT_EQ(null.CallsOf(CallKind::Clear).size(), 1u);
    EXPECT_LT(null.CallsOf(CallKind::Clear)[0], null.CallsOf(CallKind::SetRenderTarget)[1]);
}

}  // namespace
