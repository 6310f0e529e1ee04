#include "engine/graphics/transform.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

#include "engine/graphics/render.h"
#include "engine/platform/null_device.h"
#include "tests/test_kit/global_guard.h"

namespace QRV {
namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2.0f;
constexpr float kEps = 1e-4f;

JS_TRANSFORM3 Placed(float x, float y, float rotationZ = 0.0f, float scale = 1.0f) {
    JS_TRANSFORM3 t;
    t.positionX = x;
    t.positionY = y;
    t.rotationZ = rotationZ;
    t.scaleX = t.scaleY = t.scaleZ = scale;
    return t;
}

TEST(TransformChain, ChildUnderRotatedScaledParent) {
    JS_TRANSFORM3 parent = Placed(100, 100, kHalfPi, 2);
    parent.pivotX = 55;  // the parent's pivot never moves its children
    parent.pivotY = -7;
    JS_TRANSFORM3 child = Placed(10, 0);
    child.pivotX = 3;
    child.parent = &parent;

    const JS_TRANSFORM3 a = GetAbsolute(child);
    EXPECT_NEAR(a.positionX, 100.0f, kEps);
    EXPECT_NEAR(a.positionY, 120.0f, kEps);
    EXPECT_NEAR(a.rotationZ, kHalfPi, kEps);
    EXPECT_FLOAT_EQ(a.scaleX, 2.0f);
    EXPECT_FLOAT_EQ(a.scaleY, 2.0f);
    EXPECT_FLOAT_EQ(a.scaleZ, 2.0f);
    EXPECT_FLOAT_EQ(a.pivotX, 3.0f);
    EXPECT_EQ(a.parent, &parent);
    // The child itself is untouched.
    EXPECT_FLOAT_EQ(child.positionX, 10.0f);
}

TEST(TransformChain, ThreeLevelsFoldFromTheTop) {
    // grand: at (50, 0), scale 3. mid: at (1, 1) under grand -> (53, 3), scale 3.
    // leaf: at (2, 0) with rotation 0.25 under mid -> scaled by 3 (6, 0), plus (53, 3).
    JS_TRANSFORM3 grand = Placed(50, 0, 0, 3);
    JS_TRANSFORM3 mid = Placed(1, 1);
    mid.parent = &grand;
    JS_TRANSFORM3 leaf = Placed(2, 0, 0.25f);
    leaf.parent = &mid;
    const JS_TRANSFORM3 a = GetAbsolute(leaf);
    EXPECT_NEAR(a.positionX, 59.0f, kEps);
    EXPECT_NEAR(a.positionY, 3.0f, kEps);
    EXPECT_NEAR(a.rotationZ, 0.25f, kEps);
    EXPECT_FLOAT_EQ(a.scaleX, 3.0f);
}

TEST(TransformChain, CombineSkipFlagsAndZ) {
    JS_TRANSFORM3 parent = Placed(100, 50, kHalfPi, 2);
    parent.positionZ = 9;
    parent.rotationX = 0.5f;
    const struct {
        const char* label;
        bool skipPosition, skipRotation, skipScale;
        float x, y, rotationZ, rotationX, scale;
    } cases[] = {
        // (10, 0) scaled to (20, 0), moved to (120, 50), turned about (100, 50) to (100, 70).
        {"all", false, false, false, 100, 70, kHalfPi, 0.5f, 2},
        {"no position", true, false, false, 150, -30, kHalfPi, 0.5f, 2},  // (20, 0) turned about (100, 50)
        {"no rotation", false, true, false, 120, 50, 0, 0, 2},
        {"no scale", false, false, true, 100, 60, kHalfPi, 0.5f, 1},
        {"nothing", true, true, true, 10, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        JS_TRANSFORM3 child = Placed(10, 0);
        child.positionZ = 4;
        Combine(child, parent, c.skipPosition, c.skipRotation, c.skipScale);
        EXPECT_NEAR(child.positionX, c.x, kEps);
        EXPECT_NEAR(child.positionY, c.y, kEps);
        EXPECT_FLOAT_EQ(child.positionZ, 4.0f);  // z is neither scaled nor added
        EXPECT_NEAR(child.rotationZ, c.rotationZ, kEps);
        EXPECT_NEAR(child.rotationX, c.rotationX, kEps);
        EXPECT_FLOAT_EQ(child.scaleX, c.scale);
        EXPECT_FLOAT_EQ(child.scaleZ, c.scale);
    }
}

TEST(TransformParse, TwelveFieldsInTheirOrder) {
    JS_TRANSFORM3 t = Placed(7, 8);
    EXPECT_FALSE(Parse(t, "1 2 3 4 5 6 7 8 9 10 11"));
    EXPECT_FLOAT_EQ(t.positionX, 7.0f);
    EXPECT_FLOAT_EQ(t.pivotX, 0.0f);
    EXPECT_FLOAT_EQ(t.scaleX, 1.0f);
    EXPECT_FALSE(Parse(t, static_cast<const char*>(nullptr)));

    JS_TRANSFORM3 other;
    t.parent = &other;
    ASSERT_TRUE(Parse(t, "1.5 2 3 4 5 6 0.25 0.5 -0.75 2 3 4 99 98"));
    const float expected[12] = {1.5f, 2, 3, 4, 5, 6, 0.25f, 0.5f, -0.75f, 2, 3, 4};
    const float got[12] = {t.positionX, t.positionY, t.positionZ, t.pivotX, t.pivotY, t.pivotZ,
                           t.rotationX, t.rotationY, t.rotationZ, t.scaleX, t.scaleY, t.scaleZ};
    for (int i = 0; i < 12; ++i) EXPECT_FLOAT_EQ(got[i], expected[i]) << "field " << i;
    EXPECT_EQ(t.parent, &other);

    const char* text = "-1e1 0 0 .5 0 0 0 0 0 1 1 1";
    ASSERT_TRUE(Parse(t, text));
    EXPECT_FLOAT_EQ(t.positionX, -10.0f);
    EXPECT_FLOAT_EQ(t.pivotX, 0.5f);
}

TEST(TransformToLocal, UndoesRotationAndPositionButNotScale) {
    JS_TRANSFORM3 plain = Placed(100, 50, 0, 4);
    plain.pivotX = 10;
    plain.pivotY = 5;
    float x = 103, y = 49;
    ToLocal(x, y, plain);
    EXPECT_FLOAT_EQ(x, 13.0f);
    EXPECT_FLOAT_EQ(y, 4.0f);

    // A quarter turn: a point 10 below the position lies 10 along the local +x axis.
    JS_TRANSFORM3 turned = Placed(100, 50, kHalfPi, 3);
    turned.pivotX = 1;
    x = 100;
    y = 60;
    ToLocal(x, y, turned);
    EXPECT_NEAR(x, 11.0f, kEps);
    EXPECT_NEAR(y, 0.0f, kEps);

    // Through a parent: the local origin sits at the parent's position plus the child's.
    JS_TRANSFORM3 parent = Placed(20, 30);
    JS_TRANSFORM3 child = Placed(5, 5);
    child.parent = &parent;
    x = 25;
    y = 35;
    ToLocal(x, y, child);
    EXPECT_FLOAT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(y, 0.0f);
}

// ToLocal folds the chain itself; its numbers must be those of the absolute transform, bit for bit,
// for chains of every length (also past the links it keeps in registers), turned and scaled ones
// included.
TEST(TransformToLocal, SameNumbersAsTheAbsoluteTransform) {
    const auto reference = [](float& x, float& y, const JS_TRANSFORM3& transform) {
        const JS_TRANSFORM3 t = GetAbsolute(transform);
        if (t.rotationZ == 0.0f) {
            x = x - t.positionX + t.pivotX;
            y = y - t.positionY + t.pivotY;
            return;
        }
        const float c = std::cos(-t.rotationZ);
        const float s = std::sin(-t.rotationZ);
        const float dx = x - t.positionX;
        const float dy = y - t.positionY;
        x = dx * c - dy * s + t.pivotX;
        y = dy * c + dx * s + t.pivotY;
    };
    for (const int length : {1, 2, 3, 8, 9, 12}) {
        std::vector<JS_TRANSFORM3> chain(static_cast<size_t>(length));
        for (int i = 0; i < length; ++i) {
            JS_TRANSFORM3& t = chain[static_cast<size_t>(i)];
            t = Placed(13.7f * static_cast<float>(i) - 40.1f, 7.3f - 3.9f * static_cast<float>(i),
                       i % 3 == 1 ? 0.37f * static_cast<float>(i) : 0.0f, i % 2 == 0 ? 1.0f : 1.25f);
            t.scaleY = t.scaleX * 0.8f;
            t.pivotX = 3.5f;
            t.pivotY = -1.25f;
            if (i > 0) chain[static_cast<size_t>(i - 1)].parent = &t;
        }
        for (const auto& [px, py] : {std::pair{0.0f, 0.0f}, std::pair{123.4f, -56.7f}, std::pair{-1e3f, 777.7f}}) {
            float x = px, y = py, wantX = px, wantY = py;
            ToLocal(x, y, chain.front());
            reference(wantX, wantY, chain.front());
            EXPECT_EQ(std::bit_cast<uint32_t>(x), std::bit_cast<uint32_t>(wantX)) << "length " << length;
            EXPECT_EQ(std::bit_cast<uint32_t>(y), std::bit_cast<uint32_t>(wantY)) << "length " << length;
        }
    }
}

// Chains of up to four links, each turned about z as given (top first) and placed and pivoted
// apart: the second link scaled by 1.5, the top's y scale 0.75, every other y scale the link's x
// scale (mirrored when asked).
struct TurnedChain {
    int length;
    float turns[4];
};
const TurnedChain kTurnedChains[] = {
    {1, {0, 0, 0, 0}},    {1, {0.4f, 0, 0, 0}},     {2, {0, 0, 0, 0}},        {2, {0.4f, 0, 0, 0}},
    {2, {0, 0.4f, 0, 0}}, {2, {0.4f, -0.4f, 0, 0}}, {3, {0, 0, 0, 0}},        {3, {0.4f, 0, 0, 0}},
    {3, {0, 0.4f, 0, 0}}, {3, {0, 0, 0.4f, 0}},     {3, {0, 0.4f, -0.4f, 0}}, {3, {0.4f, -0.4f, 0, 0}},
    {4, {0, 0, 0, 0}},    {4, {0, 0, 0, 0.4f}},
};

std::vector<JS_TRANSFORM3> BuildChain(const TurnedChain& c, bool mirrorY) {
    std::vector<JS_TRANSFORM3> chain(static_cast<size_t>(c.length));
    for (int i = 0; i < c.length; ++i) {
        JS_TRANSFORM3& t = chain[static_cast<size_t>(i)];
        t = Placed(17.3f * static_cast<float>(i) + 12.1f, 90.7f - 31.9f * static_cast<float>(i), c.turns[i],
                   i == 1 ? 1.5f : 1.0f);
        t.scaleY = i == 0 ? 0.75f : (mirrorY ? -t.scaleX : t.scaleX);
        t.pivotX = 15.0f;
        t.pivotY = -2.5f;
        if (i > 0) t.parent = &chain[static_cast<size_t>(i - 1)];
    }
    return chain;
}

// The in-line form gives ToLocal's numbers for every chain: short unturned ones it works out
// itself, turns anywhere (also turns that cancel out further down) and longer chains it hands on.
TEST(TransformToLocal, InlineFormGivesTheSameNumbers) {
    for (const TurnedChain& c : kTurnedChains) {
        const std::vector<JS_TRANSFORM3> chain = BuildChain(c, false);
        const JS_TRANSFORM3& leaf = chain.back();
        for (const auto& [px, py] : {std::pair{0.0f, 0.0f}, std::pair{123.4f, -56.7f}, std::pair{-0.0f, 1e7f}}) {
            float x = px, y = py, wantX = px, wantY = py;
            ToLocalInline(x, y, leaf);
            ToLocal(wantX, wantY, leaf);
            EXPECT_EQ(std::bit_cast<uint32_t>(x), std::bit_cast<uint32_t>(wantX)) << "length " << c.length;
            EXPECT_EQ(std::bit_cast<uint32_t>(y), std::bit_cast<uint32_t>(wantY)) << "length " << c.length;
        }
    }
}

// The box test takes the point into the transform's space as ToLocal does: inside exactly when
// ToLocal's numbers lie strictly between 0 and the sizes, for chains it works out in line and
// chains it hands on; a box edge, a NaN and an empty box are outside.
TEST(TransformToLocal, InsideLocalBoxAgreesWithToLocal) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const TurnedChain& c : kTurnedChains) {
        const std::vector<JS_TRANSFORM3> chain = BuildChain(c, true);
        const JS_TRANSFORM3& leaf = chain.back();
        for (const auto& [px, py] : {std::pair{40.0f, 60.0f}, std::pair{123.4f, -56.7f}, std::pair{-0.0f, 1e7f}}) {
            float lx = px, ly = py;
            ToLocal(lx, ly, leaf);
            const float sizes[][2] = {{lx + 1.0f, ly + 1.0f}, {lx, ly + 1.0f}, {lx + 1.0f, ly},
                                      {lx - 1.0f, ly + 1.0f}, {nan, ly + 1.0f}, {0.0f, 0.0f}};
            for (const auto& size : sizes) {
                const bool want = lx > 0.0f && lx < size[0] && ly > 0.0f && ly < size[1];
                EXPECT_EQ(InsideLocalBox(px, py, leaf, size[0], size[1]), want)
                    << "length " << c.length << " at " << px << "," << py << " size " << size[0] << "x" << size[1];
            }
        }
        EXPECT_FALSE(InsideLocalBox(nan, 0.0f, leaf, 1e9f, 1e9f)) << "length " << c.length;
    }
}

TEST(TransformMatrix, PivotThenScaleThenRotationThenPosition) {
    JS_TRANSFORM3 t = Placed(100, 200, kHalfPi, 1);
    t.scaleX = 2;
    t.scaleY = 3;
    t.pivotX = 10;
    t.pivotY = 20;
    const Matrix4 m = TransformMatrix(t);
    const struct {
        float x, y, wantX, wantY;
    } points[] = {
        {10, 20, 100, 200},  // the pivot lands on the position
        {11, 20, 100, 202},  // +1 in x: scaled to 2, turned to +y
        {10, 21, 97, 200},   // +1 in y: scaled to 3, turned to -x
    };
    for (const auto& p : points) {
        float ox, oy, oz;
        m.TransformPoint(p.x, p.y, 0, ox, oy, oz);
        EXPECT_NEAR(ox, p.wantX, kEps) << p.x << "," << p.y;
        EXPECT_NEAR(oy, p.wantY, kEps) << p.x << "," << p.y;
    }
}

TEST(TransformMatrix, WrittenOutFormMatchesTheRenderersProduct) {
    // The renderer's own composition, T(-pivot) S Rz Ry Rx T(position), is the reference.
    const float cases[][12] = {
        // position xyz, pivot xyz, rotation xyz, scale xyz
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1},     {10, -20, 3, 4, 5, 6, 0, 0, 0.3f, 2, 0.5f, 1},
        {1, 2, 3, 7, -8, 2, 0.4f, 0, 0, 1, 2, 3}, {-5, 6, 0, 1, 1, 1, 0.2f, -0.7f, 1.1f, 1.5f, 1, 0.25f},
        {0, 0, 9, 0, 0, 0, 0, 1.0f, 0, -1, 1, 2},
    };
    for (const auto& c : cases) {
        JS_TRANSFORM3 t;
        t.positionX = c[0], t.positionY = c[1], t.positionZ = c[2];
        t.pivotX = c[3], t.pivotY = c[4], t.pivotZ = c[5];
        t.rotationX = c[6], t.rotationY = c[7], t.rotationZ = c[8];
        t.scaleX = c[9], t.scaleY = c[10], t.scaleZ = c[11];
        Matrix4 reference = Matrix4::Identity();
        reference.ApplyTransform(t);
        const Matrix4 m = TransformMatrix(t);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) EXPECT_NEAR(m.m[i][j], reference.m[i][j], kEps) << i << "," << j;
    }
}

TEST(TransformMatrix, CachedWorldMatrixFollowsEveryChange) {
    JC_RENDER render(std::make_unique<Platform::NullRenderDevice>());
    TestKit::GlobalGuard globals;
    globals.Set(g_render, &render);
    JS_TRANSFORM3 parent = Placed(100, 0);
    JS_TRANSFORM3 child = Placed(10, 0);
    JS_WORLD_CACHE cache;
    const auto origin = [&] {
        LoadWorldMatrix(&child, cache);
        float x, y, z;
        render.worldMatrix.TransformPoint(0, 0, 0, x, y, z);
        return std::pair{x, y};
    };
    EXPECT_EQ(origin(), (std::pair{10.0f, 0.0f}));
    EXPECT_EQ(origin(), (std::pair{10.0f, 0.0f}));
    child.parent = &parent;
    EXPECT_EQ(origin(), (std::pair{110.0f, 0.0f}));
    parent.positionY = 5;  // a parent that moves moves the child
    EXPECT_EQ(origin(), (std::pair{110.0f, 5.0f}));
    child.pivotX = 2;
    EXPECT_EQ(origin(), (std::pair{108.0f, 5.0f}));
    parent.scaleX = 2;
    EXPECT_EQ(origin(), (std::pair{116.0f, 5.0f}));
    LoadWorldMatrix(nullptr, cache);
    EXPECT_EQ(render.worldMatrix.m[3][0], 0.0f);
}

// Placements with and without a turn, one after another through one cache: whichever way the
// matrix is made, it is TransformMatrix of the absolute transform bit for bit, and a turned one
// met again after unturned ones is not taken for the one cached before.
TEST(TransformMatrix, CachedWorldMatrixIsTheChainsBitForBitTurnedOrNot) {
    JC_RENDER render(std::make_unique<Platform::NullRenderDevice>());
    TestKit::GlobalGuard globals;
    globals.Set(g_render, &render);
    struct Step {
        JS_TRANSFORM3 parent;
        JS_TRANSFORM3 child;
        bool parented;
    };
    const auto pivoted = [](JS_TRANSFORM3 t, float px, float py) {
        t.pivotX = px;
        t.pivotY = py;
        return t;
    };
    JS_TRANSFORM3 tilted = Placed(4, 5);
    tilted.rotationX = 0.3f;
    JS_TRANSFORM3 mirrored = Placed(-0.0f, 7, 0.0f, -1.0f);
    mirrored.scaleY = 2.5f;
    const Step steps[] = {
        {Placed(0, 0), pivoted(Placed(10, 20), 15, 15), false},
        {Placed(0, 0), Placed(10, 20, 0.5f), false},
        {Placed(0, 0), pivoted(Placed(10, 20), 15, 15), false},
        {Placed(0, 0), Placed(10, 20, 0.5f), false},  // the turned one again
        {Placed(100, 50, 0.0f, 2.0f), pivoted(Placed(-75, -60), 15, 15), true},
        {Placed(100, 50, kHalfPi), pivoted(Placed(-75, -60), 15, 15), true},
        {Placed(100, 50), pivoted(Placed(-75, -60, 0.25f), 15, 15), true},
        {Placed(100, 50), pivoted(Placed(-75, -60), 15, 15), true},
        {Placed(100, 50, kHalfPi), pivoted(Placed(-75, -60), 15, 15), true},
        {Placed(100, 50, 0.7f), pivoted(Placed(-75, -60, -0.7f), 3, 4), true},  // turns that cancel
        {Placed(12, 20), tilted, true},
        {Placed(12, 20), mirrored, true},
        {Placed(12, 20, 0.0f, 0.5f), pivoted(mirrored, -3, 8), true},
    };
    JS_TRANSFORM3 parent;
    JS_TRANSFORM3 child;
    JS_WORLD_CACHE cache;
    for (size_t i = 0; i < std::size(steps); ++i) {
        parent = steps[i].parent;
        child = steps[i].child;
        child.parent = steps[i].parented ? &parent : nullptr;
        const Matrix4 expected = TransformMatrix(GetAbsolute(child));
        LoadWorldMatrix(&child, cache);
        EXPECT_EQ(std::memcmp(&render.worldMatrix, &expected, sizeof(Matrix4)), 0) << "step " << i;
        // Without the cache too.
        render.worldMatrix = Matrix4::Identity();
        LoadWorldMatrix(&child);
        EXPECT_EQ(std::memcmp(&render.worldMatrix, &expected, sizeof(Matrix4)), 0) << "step " << i;
    }
}

TEST(TransformMatrix, LoadWorldMatrixUsesTheChain) {
    JC_RENDER render(std::make_unique<Platform::NullRenderDevice>());
    TestKit::GlobalGuard globals;
    globals.Set(g_render, &render);
    JS_TRANSFORM3 parent = Placed(100, 100, 0, 2);
    JS_TRANSFORM3 child = Placed(10, 5);
    child.parent = &parent;

    LoadWorldMatrix(&child);
    float x, y, z;
    render.worldMatrix.TransformPoint(1, 1, 0, x, y, z);
    EXPECT_NEAR(x, 122.0f, kEps);  // (1 * 2) + (10 * 2) + 100
    EXPECT_NEAR(y, 112.0f, kEps);
    LoadWorldMatrixLocal(child);
    render.worldMatrix.TransformPoint(1, 1, 0, x, y, z);
    EXPECT_NEAR(x, 11.0f, kEps);
    LoadWorldMatrix(nullptr);
    render.worldMatrix.TransformPoint(1, 1, 0, x, y, z);
    EXPECT_NEAR(x, 1.0f, kEps);
}

}  // namespace
}  // namespace QRV
