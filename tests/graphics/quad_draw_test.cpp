#include "engine/graphics/quad_core.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "engine/graphics/absolute_memo.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"
#include "engine/graphics/transform.h"
#include "tests/test_kit/null_renderer.h"

namespace QRV {
namespace {

JS_TRANSFORM3 Link(float x, float y, float turn = 0.0f, float scaleX = 1.0f, float scaleY = 1.0f) {
    JS_TRANSFORM3 t;
    t.positionX = x;
    t.positionY = y;
    t.positionZ = 0.25f;
    t.rotationZ = turn;
    t.scaleX = scaleX;
    t.scaleY = scaleY;
    t.pivotX = 7.5f;
    t.pivotY = -2.0f;
    return t;
}

bool SameFrame(const TestKit::NullRenderer::Frame& a, const TestKit::NullRenderer::Frame& b) {
    if (a.vertices.size() != b.vertices.size() || a.indices != b.indices) return false;
    for (size_t i = 0; i < a.vertices.size(); ++i) {
        if (a.vertices[i].size() != b.vertices[i].size() ||
            std::memcmp(a.vertices[i].data(), b.vertices[i].data(), a.vertices[i].size() * sizeof(JS_VERTEX)) != 0)
            return false;
    }
    return a.drawCalls == b.drawCalls && a.batches == b.batches;
}

// A quad's draw places its corners exactly as loading the world matrix of its transform and
// drawing the four corners as triangles does, and leaves that matrix loaded: for every shape of
// chain (top, under a top parent, under a parent a pass keeps or does not), turned or not, with
// mirrored scales, signed zeros and a NaN pivot.
TEST(QuadDraw, PlacesCornersAsTheLoadedWorldMatrixDoes) {
    TestKit::NullRenderer renderer;
    ASSERT_EQ(renderer.created, 1);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    JS_TRANSFORM3 nanPivot = Link(5, 6);
    nanPivot.pivotY = nan;
    JS_TRANSFORM3 tilted = Link(5, 6);
    tilted.rotationY = 0.2f;
    const struct {
        const char* label;
        std::vector<JS_TRANSFORM3> chain;  // top first; the quad's transform last
        bool pass;                         // the links above the quad's kept by a pass
    } cases[] = {
        {"top", {Link(40, 30)}, false},
        {"top turned", {Link(40, 30, 0.6f)}, false},
        {"top mirrored, signed zeros", {Link(-0.0f, 0.0f, 0.0f, -1.0f, -0.0f)}, false},
        {"top, NaN pivot", {nanPivot}, false},
        {"under a top parent", {Link(100, 50, 0.0f, 2.0f, 0.5f), Link(-75, -60)}, false},
        {"under a turned parent", {Link(100, 50, 0.9f), Link(-75, -60)}, false},
        {"turns that cancel", {Link(100, 50, 0.7f), Link(-75, -60, -0.7f)}, false},
        {"tilted child", {Link(100, 50), tilted}, false},
        {"three links, no pass", {Link(12, 20), Link(300, 90, 0.0f, 1.5f), Link(-75, -60, 0.0f, -1.0f)}, false},
        {"three links, kept", {Link(12, 20), Link(300, 90, 0.0f, 1.5f), Link(-75, -60, 0.0f, -1.0f)}, true},
        {"three links, kept, turned", {Link(12, 20, 0.3f), Link(300, 90), Link(-75, -60)}, true},
        {"four links, kept", {Link(1, 2), Link(3, 4, 0.0f, 2.0f), Link(5, 6), Link(7, 8, 0.0f, 0.5f, 3.0f)}, true},
    };
    for (const auto& c : cases) {
        std::vector<JS_TRANSFORM3> chain = c.chain;
        for (size_t i = 1; i < chain.size(); ++i) chain[i].parent = &chain[i - 1];
        JC_MESH quad(renderer.render->defaultTexture);
        quad.SetSize(31.0f, 17.5f);
        quad.vertices[2].z = -0.0f;
        quad.vertices[3].z = 2.0f;
        quad.SetTransform(&chain.back());
        JC_ABSOLUTE_MEMO memo;
        for (size_t i = 0; c.pass && i + 1 < chain.size(); ++i) memo.Add(&chain[i]);
        const JC_ABSOLUTE_PASS pass(c.pass ? &memo : nullptr);

        Matrix4 loaded{};
        const auto reference = renderer.RecordFrame([&] {
            LoadWorldMatrix(&chain.back());
            loaded = renderer.render->worldMatrix;
            renderer.render->DrawTriangles(quad.vertices, quad.texture, quad.renderState, 4, kQuadIndices, 6);
        });
        renderer.render->worldMatrix = Matrix4::Identity();
        const auto drawn = renderer.RecordFrame([&] { quad.Draw(); });
        EXPECT_TRUE(SameFrame(drawn, reference)) << c.label;
        EXPECT_EQ(std::memcmp(&renderer.render->worldMatrix, &loaded, sizeof(Matrix4)), 0) << c.label;
    }
}

}  // namespace
}  // namespace QRV
