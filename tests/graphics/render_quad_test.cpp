#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"
#include "tests/test_kit/null_renderer.h"

namespace QRV {
namespace {

using QuadFrame = TestKit::NullRenderer::Frame;

QuadFrame RecordQuads(TestKit::NullRenderer& renderer, const std::function<void()>& draw) {
    return renderer.RecordFrame(draw);
}

bool SameBytes(const QuadFrame& a, const QuadFrame& b) {
    if (a.vertices.size() != b.vertices.size() || a.indices != b.indices) return false;
    for (size_t i = 0; i < a.vertices.size(); ++i) {
        if (a.vertices[i].size() != b.vertices[i].size()) return false;
        if (std::memcmp(a.vertices[i].data(), b.vertices[i].data(), a.vertices[i].size() * sizeof(JS_VERTEX)) != 0)
            return false;
    }
    return a.drawCalls == b.drawCalls && a.batches == b.batches;
}

// DrawQuad is the quad call of DrawTriangles: the same bytes to the device, the same counters and
// batches, whatever the matrix, the state word (points and lines too) or what came before.
TEST(RenderQuadPath, DrawQuadHandsTheDeviceWhatDrawTrianglesDoes) {
    TestKit::NullRenderer renderer;
    ASSERT_EQ(renderer.created, 1);
    JS_TEXTURE* texture = renderer.render->defaultTexture;
    JS_TEXTURE* none = &renderer.render->noTexture;
    const JS_VERTEX quad[4] = {
        {-1.5f, -2.25f, 0.5f, 0.1f, 0.2f, 0.3f, 0xFF102030, 0.0f, 0.0f},
        {31.3f, -2.25f, -0.0f, 0.4f, 0.5f, 0.6f, 0x80FFFFFF, 0.2f, 0.0f},
        {31.3f, 17.7f, 1.0e-3f, 0.7f, 0.8f, 0.9f, 0x00000001, 0.2f, 1.0f},
        {-1.5f, 17.7f, 7.0f, 1.0f, 1.1f, 1.2f, 0xFFFFFFFF, 0.0f, 1.0f},
    };
    Matrix4 turned = Matrix4::RotationZ(0.7f);
    turned.m[0][2] = 0.3f;
    turned.m[2][0] = -1.25f;
    turned.m[3][0] = 412.1f;
    turned.m[3][1] = -0.3f;
    const struct {
        const char* label;
        Matrix4 world;
        uint32_t state;
        JS_TEXTURE* texture;
        int count;
    } cases[] = {
        {"one quad", Matrix4::Identity(), kQuadRenderState, texture, 1},
        {"turned, skewed depth", turned, kQuadRenderState, texture, 3},
        {"untextured word", Matrix4::Translation(0.1f, 0.2f, 0.3f), 0x2002, texture, 2},
        {"points word", turned, 0x0432, texture, 2},
        {"lines word", turned, 0x1432, texture, 2},
        {"no state word", turned, 0, texture, 2},
        {"no-texture record", turned, kQuadRenderState, none, 2},
        {"more than one buffer", Matrix4::Translation(3, 4, 0), kQuadRenderState, texture, 2100},
    };
    for (const auto& c : cases) {
        // A quad of another word first, so that each path must also start its own batch.
        const auto run = [&](bool quadPath) {
            return RecordQuads(renderer, [&] {
                renderer.render->worldMatrix = Matrix4::Identity();
                renderer.render->DrawTriangles(quad, texture, 0x2002, 3, nullptr, 0);
                renderer.render->worldMatrix = c.world;
                for (int i = 0; i < c.count; ++i) {
                    if (quadPath) {
                        renderer.render->DrawQuad(quad, c.texture, c.state);
                    } else {
                        renderer.render->DrawTriangles(quad, c.texture, c.state, 4, kQuadIndices, 6);
                    }
                }
            });
        };
        const QuadFrame general = run(false);
        const QuadFrame quadPath = run(true);
        EXPECT_TRUE(SameBytes(general, quadPath)) << c.label;
        EXPECT_EQ(general.drawCalls, quadPath.drawCalls) << c.label;
    }
    // A null vertex list counts a call and draws nothing, as in DrawTriangles.
    const QuadFrame empty = RecordQuads(renderer, [&] { renderer.render->DrawQuad(nullptr, texture, 0x2432); });
    EXPECT_EQ(empty.drawCalls, 1u);
    EXPECT_TRUE(empty.vertices.empty());
}

}  // namespace
}  // namespace QRV
