#include "engine/graphics/mesh.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>

#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"
#include "tests/test_kit/null_renderer.h"

namespace QRV {
namespace {

constexpr float kEps = 1e-4f;

class MeshTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(renderer.created, 1);
        texture = render->CreateBlankTexture(64, 32);
        ASSERT_NE(texture, nullptr);
    }

    std::vector<JS_VERTEX> Drawn(const std::function<void()>& draw) { return renderer.DrawnVertices(draw); }

    static void ExpectUVs(const JC_MESH& mesh, const std::array<float, 8>& uv) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(mesh.vertices[i].u, uv[static_cast<size_t>(2 * i)], kEps) << "corner " << i;
            EXPECT_NEAR(mesh.vertices[i].v, uv[static_cast<size_t>(2 * i + 1)], kEps) << "corner " << i;
        }
    }

    TestKit::NullRenderer renderer{1000.0f};
    JC_RENDER* render = renderer.render.get();
    JS_TEXTURE* texture = nullptr;
};

TEST_F(MeshTest, FreshMeshOwnsATransformAndDrawsNothing) {
    JC_MESH mesh;
    ASSERT_NE(mesh.transform, nullptr);
    EXPECT_EQ(mesh.ownsTransform, 1);
    EXPECT_EQ(mesh.texture, &render->noTexture);
    EXPECT_FALSE(mesh.HasTexture());
    EXPECT_EQ(mesh.renderState, 0x2432u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(mesh.vertices[i].color, 0xFFFFFFFFu);
    // Placing it is safe without a texture, and the sentinel shows nothing.
    mesh.SetHotSpot(4);
    EXPECT_TRUE(Drawn([&] {
                    mesh.Draw();
                    mesh.DrawAt(1, 1, 5, 5, 0);
                    mesh.DrawRegionAt(0, 0, 1, 1, 8, 8, 0, 0);
                }).empty());
}

TEST_F(MeshTest, RegionSizesTheQuadAndWritesUVsByRotation) {
    const struct {
        uint8_t rotated;
        std::array<float, 8> uv;  // c0 .. c3
    } cases[] = {
        {0, {0.25f, 0.5f, 0.75f, 0.5f, 0.75f, 1.0f, 0.25f, 1.0f}},
        {1, {0.25f, 1.0f, 0.25f, 0.5f, 0.75f, 0.5f, 0.75f, 1.0f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.rotated));
        JC_MESH mesh;
        SetMeshColor(&mesh, 0x80102030);
        JS_REGION region{texture, 20, 10, 0.25f, 0.5f, 0.75f, 1.0f, c.rotated};
        ASSERT_EQ(mesh.SetRegion(&region), 1);
        EXPECT_EQ(mesh.texture, texture);
        EXPECT_EQ(mesh.rotated, c.rotated);
        EXPECT_FLOAT_EQ(mesh.Width(), 20.0f);
        EXPECT_FLOAT_EQ(mesh.Height(), 10.0f);
        EXPECT_FLOAT_EQ(mesh.vertices[2].x, 20.0f);
        EXPECT_FLOAT_EQ(mesh.vertices[2].y, 10.0f);
        ExpectUVs(mesh, c.uv);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(mesh.vertices[i].color, 0xFFFFFFFFu);
    }
}

TEST_F(MeshTest, FailedRegionChangesNothing) {
    JC_MESH mesh(texture);
    JS_TRANSFORM3 other;
    JS_REGION noTexture;
    EXPECT_EQ(mesh.SetRegion(nullptr, &other), -1);
    EXPECT_EQ(mesh.SetRegion(&noTexture, &other), -1);
    EXPECT_EQ(mesh.SetWholeTexture(nullptr, &other), -1);
    EXPECT_EQ(mesh.texture, texture);
    EXPECT_NE(mesh.transform, &other);
    EXPECT_FLOAT_EQ(mesh.Width(), 64.0f);
}

TEST_F(MeshTest, RegionTransformHandling) {
    JC_MESH mesh(texture);
    JS_TRANSFORM3* own = mesh.transform;
    own->positionX = 42;
    // None given: the own transform stays with its placement.
    ASSERT_EQ(mesh.SetWholeTexture(texture), 1);
    EXPECT_EQ(mesh.transform, own);
    EXPECT_FLOAT_EQ(mesh.transform->positionX, 42.0f);
    // Its own given back: still the same, still owned (and alive, which the sanitizer checks).
    ASSERT_EQ(mesh.SetWholeTexture(texture, own), 1);
    EXPECT_EQ(mesh.transform, own);
    EXPECT_EQ(mesh.ownsTransform, 1);
    EXPECT_FLOAT_EQ(mesh.transform->positionX, 42.0f);
    // Another one: borrowed, the own one goes.
    JS_TRANSFORM3 widget;
    ASSERT_EQ(mesh.SetWholeTexture(texture, &widget), 1);
    EXPECT_EQ(mesh.transform, &widget);
    EXPECT_EQ(mesh.ownsTransform, 0);
    // None given while borrowing: a fresh own one, the borrowed one untouched.
    widget.positionX = 7;
    ASSERT_EQ(mesh.SetWholeTexture(texture), 1);
    EXPECT_NE(mesh.transform, &widget);
    EXPECT_EQ(mesh.ownsTransform, 1);
    EXPECT_FLOAT_EQ(mesh.transform->positionX, 0.0f);
    EXPECT_FLOAT_EQ(widget.positionX, 7.0f);
}

TEST_F(MeshTest, FramesOfAOneRowStrip) {
    JC_MESH mesh;
    JS_REGION plain{texture, 64, 32, 0.0f, 0.0f, 1.0f, 1.0f, 0};
    mesh.SetRegion(&plain);
    mesh.SetFrame(5, 2);
    ExpectUVs(mesh, {0.4f, 0.0f, 0.6f, 0.0f, 0.6f, 1.0f, 0.4f, 1.0f});

    // Within a sub-rectangle of the atlas.
    JS_REGION sub{texture, 10, 10, 0.5f, 0.25f, 1.0f, 0.75f, 0};
    mesh.SetRegion(&sub);
    mesh.SetFrame(5, 4);
    ExpectUVs(mesh, {0.9f, 0.25f, 1.0f, 0.25f, 1.0f, 0.75f, 0.9f, 0.75f});

    // Turned in the atlas: the strip runs along v, from the far end.
    JS_REGION turned{texture, 10, 10, 0.0f, 0.0f, 0.5f, 1.0f, 1};
    mesh.SetRegion(&turned);
    mesh.SetFrame(5, 0);
    // u 0..0.5, v 0.8..1.0 in the turned corner order.
    ExpectUVs(mesh, {0.0f, 1.0f, 0.0f, 0.8f, 0.5f, 0.8f, 0.5f, 1.0f});
}

TEST_F(MeshTest, FitUVsRepeatsTheTextureOverWholePixels) {
    JC_MESH mesh(texture);  // 64 x 32
    mesh.SetSize(100.9f, 40.0f);
    mesh.FitUVsToQuad();
    ExpectUVs(mesh, {0, 0, 100.0f / 64, 0, 100.0f / 64, 40.0f / 32, 0, 40.0f / 32});

    JS_REGION turned{texture, 16, 16, 0.5f, 0.0f, 1.0f, 0.5f, 1};
    mesh.SetRegion(&turned);
    mesh.SetSize(32, 16);
    mesh.FitUVsToQuad();
    // u follows the quad's height (16 / 64 of the 0.5 extent), v its width (32 / 32 of 0.5).
    ExpectUVs(mesh, {0.5f, 0.5f, 0.5f, 0.0f, 0.625f, 0.0f, 0.625f, 0.5f});
}

TEST_F(MeshTest, HotSpotsPlaceThePivot) {
    JC_MESH mesh(texture);  // 64 x 32
    const float xs[3] = {0, 32, 64};
    const float ys[3] = {0, 16, 32};
    for (int anchor = 0; anchor <= 8; ++anchor) {
        mesh.SetHotSpot(anchor, 1.5f, -2.0f);
        EXPECT_FLOAT_EQ(mesh.transform->pivotX, xs[anchor % 3] + 1.5f) << anchor;
        EXPECT_FLOAT_EQ(mesh.transform->pivotY, ys[anchor / 3] - 2.0f) << anchor;
    }
    mesh.SetHotSpot(9, 100, 100);
    mesh.SetHotSpot(-1, 100, 100);
    EXPECT_FLOAT_EQ(mesh.transform->pivotX, 65.5f);
}

TEST_F(MeshTest, DrawAtPlacesOnceAndRestoresTheTransform) {
    JC_MESH mesh(texture);
    mesh.SetSize(10, 4);
    mesh.SetHotSpot(4);  // pivot (5, 2)
    JS_TRANSFORM3 parent;
    parent.positionX = 1000;  // DrawAt ignores the chain
    mesh.transform->parent = &parent;
    mesh.transform->positionX = 3;
    mesh.transform->positionZ = 0.5f;
    mesh.transform->rotationZ = 0.1f;
    mesh.transform->scaleZ = 2;
    const JS_TRANSFORM3 before = *mesh.transform;

    // Scale y 0 means the uniform scale x.
    const std::vector<JS_VERTEX> v = Drawn([&] { mesh.DrawAt(2, 0, 100, 50, 0); });
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0].x, 90.0f, kEps);
    EXPECT_NEAR(v[0].y, 46.0f, kEps);
    EXPECT_NEAR(v[2].x, 110.0f, kEps);
    EXPECT_NEAR(v[2].y, 54.0f, kEps);
    EXPECT_EQ(std::memcmp(&before, mesh.transform, sizeof(before)), 0);
}

TEST_F(MeshTest, DrawRegionAtDrawsASubRectangleThroughTheChain) {
    JC_MESH mesh;
    JS_REGION region{texture, 64, 32, 0.0f, 0.0f, 0.5f, 1.0f, 0};
    mesh.SetRegion(&region);
    mesh.SetHotSpot(4);
    JS_TRANSFORM3 parent;
    parent.positionX = 100;
    parent.positionY = 10;
    mesh.transform->parent = &parent;

    const std::vector<JS_VERTEX> v = Drawn([&] { mesh.DrawRegionAt(0.5f, 0.25f, 1.0f, 0.75f, 8, 6, 20, 30); });
    ASSERT_EQ(v.size(), 4u);
    // Anchored at the upper left: the quad spans (120, 40) to (128, 46).
    EXPECT_NEAR(v[0].x, 120.0f, kEps);
    EXPECT_NEAR(v[0].y, 40.0f, kEps);
    EXPECT_NEAR(v[2].x, 128.0f, kEps);
    EXPECT_NEAR(v[2].y, 46.0f, kEps);
    EXPECT_NEAR(v[0].u, 0.25f, kEps);
    EXPECT_NEAR(v[0].v, 0.25f, kEps);
    EXPECT_NEAR(v[2].u, 0.5f, kEps);
    EXPECT_NEAR(v[2].v, 0.75f, kEps);
    EXPECT_FLOAT_EQ(mesh.transform->pivotX, 0.0f);
}

// A sub-rectangle of the quad shows the same part of the atlas whether the region is stored
// upright or turned: each drawn corner takes the UV that SetRegion's mapping gives its place.
TEST_F(MeshTest, DrawRegionAtFollowsTheRegionsMappingWhenTurned) {
    const std::array<float, 4> rects[] = {{0, 0, 1, 1}, {0.5f, 0.25f, 1, 0.75f}, {0.25f, 0, 0.5f, 1}};
    for (const uint8_t rotated : {0, 1}) {
        JC_MESH mesh;
        JS_REGION region{texture, 16, 8, 0.25f, 0.5f, 0.75f, 1.0f, rotated};
        mesh.SetRegion(&region);
        const JS_VERTEX c0 = mesh.vertices[0], c1 = mesh.vertices[1], c3 = mesh.vertices[3];
        for (const auto& [left, top, right, bottom] : rects) {
            SCOPED_TRACE(testing::Message() << "rotated " << int{rotated} << ", rect " << left << " " << top << " "
                                            << right << " " << bottom);
            const std::vector<JS_VERTEX> v = Drawn([&] { mesh.DrawRegionAt(left, top, right, bottom, 8, 4, 0, 0); });
            ASSERT_EQ(v.size(), 4u);
            const float fx[4] = {left, right, right, left};
            const float fy[4] = {top, top, bottom, bottom};
            for (size_t k = 0; k < 4; ++k) {
                EXPECT_NEAR(v[k].u, c0.u + fx[k] * (c1.u - c0.u) + fy[k] * (c3.u - c0.u), kEps) << "corner " << k;
                EXPECT_NEAR(v[k].v, c0.v + fx[k] * (c1.v - c0.v) + fy[k] * (c3.v - c0.v), kEps) << "corner " << k;
            }
        }
    }
}

TEST_F(MeshTest, CopiesKeepColoursAndUVs) {
    JC_MESH source;
    JS_REGION region{texture, 30, 20, 0.1f, 0.2f, 0.3f, 0.4f, 0};
    source.SetRegion(&region);
    SetMeshColor(&source, 0x7F00FF00);
    source.transform->positionX = 5;

    JC_MESH copy(source);
    EXPECT_EQ(copy.vertices, copy.ownVertices);
    EXPECT_NE(copy.transform, source.transform);
    EXPECT_EQ(copy.ownsTransform, 1);
    EXPECT_FLOAT_EQ(copy.transform->positionX, 5.0f);
    EXPECT_EQ(copy.texture, texture);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(copy.vertices[i].color, 0x7F00FF00u);
        EXPECT_FLOAT_EQ(copy.vertices[i].u, source.vertices[i].u);
        EXPECT_FLOAT_EQ(copy.vertices[i].v, source.vertices[i].v);
        EXPECT_FLOAT_EQ(copy.vertices[i].x, source.vertices[i].x);
    }

    // A borrowed transform is shared; assigning to itself changes nothing.
    JS_TRANSFORM3 widget;
    source.SetTransform(&widget);
    JC_MESH assigned;
    assigned = source;
    EXPECT_EQ(assigned.transform, &widget);
    EXPECT_EQ(assigned.ownsTransform, 0);
    JC_MESH& alias = assigned;
    assigned = alias;
    EXPECT_EQ(assigned.transform, &widget);
    EXPECT_EQ(assigned.vertices[3].color, 0x7F00FF00u);
}

}  // namespace
}  // namespace QRV
