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

using Frame = TestKit::NullRenderer::Frame;

Frame Record(TestKit::NullRenderer& renderer, const std::function<void()>& draw) { return renderer.RecordFrame(draw); }

// The rectangles as DrawTriangles takes them: four corners each, normal 0, one colour.
std::vector<JS_VERTEX> Corners(const std::vector<JS_RECT_QUAD>& rects, uint32_t argb) {
    std::vector<JS_VERTEX> out;
    for (const JS_RECT_QUAD& r : rects) {
        out.push_back({r.left, r.top, 0, 0, 0, 0, argb, r.u0, r.v0});
        out.push_back({r.right, r.top, 0, 0, 0, 0, argb, r.u1, r.v0});
        out.push_back({r.right, r.bottom, 0, 0, 0, 0, argb, r.u1, r.v1});
        out.push_back({r.left, r.bottom, 0, 0, 0, 0, argb, r.u0, r.v1});
    }
    return out;
}

std::vector<uint16_t> QuadIndices(size_t quads) {
    std::vector<uint16_t> out;
    for (size_t q = 0; q < quads; ++q)
        for (uint16_t i : kQuadIndices) out.push_back(static_cast<uint16_t>(q * 4 + i));
    return out;
}

Matrix4 Turned(float angle, float scaleX, float scaleY, float x, float y, float z) {
    Matrix4 m = Matrix4::Identity();
    m.m[0][0] = scaleX * std::cos(angle);
    m.m[0][1] = scaleX * std::sin(angle);
    m.m[1][0] = -scaleY * std::sin(angle);
    m.m[1][1] = scaleY * std::cos(angle);
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = z;
    return m;
}

TEST(RenderRects, DrawExactlyWhatDrawTrianglesDrawsOfTheirCorners) {
    Matrix4 skewedDepth = Turned(2.0f, 1.5f, 0.75f, -3.25f, 7.125f, 0.5f);
    skewedDepth.m[0][2] = 0.3f;
    skewedDepth.m[1][2] = -0.7f;
    skewedDepth.m[2][0] = 1.0e30f;  // the z column is multiplied by z 0 all the same
    const struct {
        const char* label;
        Matrix4 world;
    } cases[] = {
        {"identity", Matrix4::Identity()},
        {"whole-pixel place", Matrix4::Translation(120, 48, 0)},
        {"fractional place", Matrix4::Translation(0.1f, -33.3f, 0.25f)},
        {"turned and scaled", Turned(0.3f, 2.0f, 0.5f, 512.5f, 384.25f, 0)},
        {"depth terms", skewedDepth},
    };
    const std::vector<JS_RECT_QUAD> rects = {
        {1, 2, 9, 12, 0, 0, 0.0625f, 0.15625f},
        {-7, -0.5f, -1, 17.75f, 0.5f, 0.25f, 0.75f, 1},
        {1.0e6f, 3, 1.0e6f + 1, 4, 0.1f, 0.2f, 0.3f, 0.4f},
        {5, 5, 5, 5, 0, 0, 0, 0},
    };
    const uint32_t argb = 0x80FF4020;
    const std::vector<JS_VERTEX> corners = Corners(rects, argb);
    const std::vector<uint16_t> indices = QuadIndices(rects.size());
    const JS_VERTEX lead[4] = {{0, 0, 0, 0, 0, 0, kWhite, 0, 0},
                               {1, 0, 0, 0, 0, 0, kWhite, 1, 0},
                               {1, 1, 0, 0, 0, 0, kWhite, 1, 1},
                               {0, 1, 0, 0, 0, 0, kWhite, 0, 1}};

    TestKit::NullRenderer renderer;
    ASSERT_EQ(renderer.created, 1);
    JS_TEXTURE* texture = renderer.render->CreateBlankTexture(8, 8);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        // A quad first, so that the rectangles join a batch that does not start at vertex 0.
        const auto draw = [&](bool asRects) {
            return Record(renderer, [&] {
                renderer.render->worldMatrix = Matrix4::Identity();
                renderer.render->DrawTriangles(lead, texture, kQuadRenderState, 4, kQuadIndices, 6);
                renderer.render->worldMatrix = c.world;
                if (asRects) {
                    renderer.render->DrawRects(rects.data(), static_cast<uint32_t>(rects.size()), argb, texture,
                                               kQuadRenderState);
                } else {
                    renderer.render->DrawTriangles(corners.data(), texture, kQuadRenderState,
                                                   static_cast<uint32_t>(corners.size()), indices.data(),
                                                   static_cast<uint32_t>(indices.size()));
                }
            });
        };
        const Frame expected = draw(false);
        const Frame drawn = draw(true);
        ASSERT_EQ(drawn.vertices.size(), 1u);
        ASSERT_EQ(expected.vertices.size(), 1u);
        ASSERT_EQ(drawn.vertices[0].size(), expected.vertices[0].size());
        EXPECT_EQ(std::memcmp(drawn.vertices[0].data(), expected.vertices[0].data(),
                              drawn.vertices[0].size() * sizeof(JS_VERTEX)),
                  0);
        EXPECT_EQ(drawn.indices, expected.indices);
        EXPECT_EQ(drawn.drawCalls, expected.drawCalls);
        EXPECT_EQ(drawn.batches, expected.batches);
    }
}

TEST(RenderRects, RefuseWhatDrawTrianglesRefuses) {
    TestKit::NullRenderer renderer;
    ASSERT_EQ(renderer.created, 1);
    JC_RENDER& render = *renderer.render;
    JS_TEXTURE* texture = render.CreateBlankTexture(8, 8);
    const std::vector<JS_RECT_QUAD> many(render.vertexCapacity / 4 + 1, JS_RECT_QUAD{0, 0, 1, 1, 0, 0, 1, 1});
    const struct {
        const char* label;
        const JS_RECT_QUAD* rects;
        uint32_t count;
        JS_TEXTURE* texture;
        uint32_t state;
        uint32_t drawCalls;
    } cases[] = {
        {"no state word", many.data(), 1, texture, 0, 0},
        {"the no-texture record", many.data(), 1, &render.noTexture, kQuadRenderState, 0},
        {"nothing to draw", many.data(), 0, texture, kQuadRenderState, 1},
        {"no rectangles", nullptr, 3, texture, kQuadRenderState, 1},
        {"more than the buffers hold", many.data(), static_cast<uint32_t>(many.size()), texture, kQuadRenderState, 1},
        // 4 and 6 times this wrap round to 4 vertices and 6 indices.
        {"a count whose products wrap", many.data(), (1u << 31) + 1, texture, kQuadRenderState, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Frame frame = Record(renderer, [&] { render.DrawRects(c.rects, c.count, kWhite, c.texture, c.state); });
        EXPECT_TRUE(frame.vertices.empty());
        EXPECT_EQ(frame.drawCalls, c.drawCalls);
    }
    // The most the buffers hold goes in one piece.
    const Frame full = Record(
        renderer, [&] { render.DrawRects(many.data(), render.vertexCapacity / 4, kWhite, texture, kQuadRenderState); });
    ASSERT_EQ(full.vertices.size(), 1u);
    EXPECT_EQ(full.vertices[0].size(), size_t{render.vertexCapacity});
}

}  // namespace
}  // namespace QRV
