#include "engine/gui/hit_shape.h"

#include <gtest/gtest.h>

#include <numbers>

#include "engine/graphics/mesh.h"

namespace QRV {
namespace {

JS_TRANSFORM3 Placed(float x, float y, float pivotX, float pivotY, float rotation = 0.0f, float scale = 1.0f) {
    JS_TRANSFORM3 t;
    t.positionX = x;
    t.positionY = y;
    t.pivotX = pivotX;
    t.pivotY = pivotY;
    t.rotationZ = rotation;
    t.scaleX = t.scaleY = scale;
    return t;
}

TEST(HitShapeTest, RectanglesAcceptTheOpenBoxOfTheirLocalSpace) {
    constexpr float kQuarter = std::numbers::pi_v<float> / 2;
    const struct {
        const char* what;
        JS_TRANSFORM3 transform;
        float x, y;
        bool inside;
    } cases[] = {
        // 100 x 20 centred on (200, 100): the open rectangle (150, 250) x (90, 110)
        {"centre", Placed(200, 100, 50, 10), 200, 100, true},
        {"near the left edge", Placed(200, 100, 50, 10), 150.5f, 100, true},
        {"on the left edge", Placed(200, 100, 50, 10), 150, 100, false},
        {"on the lower edge", Placed(200, 100, 50, 10), 200, 110, false},
        {"beyond the right edge", Placed(200, 100, 50, 10), 251, 100, false},
        // a pivot at the corner: the box lies right of and below the position
        {"corner pivot, inside", Placed(200, 100, 0, 0), 290, 115, true},
        {"corner pivot, mirrored point", Placed(200, 100, 0, 0), 110, 85, false},
        // scale is not undone and does not clip the box either
        {"half scale, far corner", Placed(200, 100, 50, 10, 0, 0.5f), 245, 105, true},
        // turned a quarter: the long side runs vertically
        {"quarter turn, along the long side", Placed(200, 100, 50, 10, kQuarter), 200, 140, true},
        {"quarter turn, across", Placed(200, 100, 50, 10, kQuarter), 240, 100, false},
    };
    for (const auto& c : cases) {
        JS_TRANSFORM3 transform = c.transform;
        JS_HIT_SHAPE shape;
        shape.kind = HIT_SHAPE::Rectangle;
        shape.a = 100;
        shape.b = 20;
        shape.transform = &transform;
        EXPECT_EQ(shape.Contains(c.x, c.y), c.inside) << c.what;
    }
}

TEST(HitShapeTest, ShapesFollowTheirParentChain) {
    JS_TRANSFORM3 window = Placed(512, 384, 0, 0);
    JS_TRANSFORM3 widget = Placed(10, 0, 5, 5);
    widget.parent = &window;
    JS_HIT_SHAPE shape;
    shape.kind = HIT_SHAPE::Rectangle;
    shape.a = shape.b = 10;
    shape.transform = &widget;
    EXPECT_TRUE(shape.Contains(522, 384));
    EXPECT_FALSE(shape.Contains(10, 0));
}

TEST(HitShapeTest, CirclesAcceptPointsCloserThanTheRadius) {
    JS_TRANSFORM3 transform = Placed(100, 100, 0, 0, 0, 3.0f);
    JS_HIT_SHAPE shape;
    shape.kind = HIT_SHAPE::Circle;
    shape.a = 10;
    shape.transform = &transform;
    EXPECT_TRUE(shape.Contains(100, 100));
    EXPECT_TRUE(shape.Contains(107, 107));
    EXPECT_FALSE(shape.Contains(110, 100));  // exactly the radius
    EXPECT_FALSE(shape.Contains(108, 108));
    EXPECT_FALSE(shape.Contains(125, 100));  // the radius is not scaled
}

TEST(HitShapeTest, OtherKindsAndMissingTransformsNeverHit) {
    JS_TRANSFORM3 transform;
    JS_HIT_SHAPE shape;
    shape.a = shape.b = 1000;
    shape.transform = &transform;
    for (int32_t kind : {0, 3, -1}) {
        shape.kind = kind;
        EXPECT_FALSE(shape.Contains(1, 1)) << kind;
    }
    shape.kind = HIT_SHAPE::Rectangle;
    shape.transform = nullptr;
    EXPECT_FALSE(shape.Contains(1, 1));
}

TEST(HitShapeTest, QuadContainmentUsesTheQuadSizeInItsOwnSpace) {
    JC_MESH quad;
    quad.SetSize(40, 20);
    quad.SetHotSpot(4);
    quad.transform->positionX = 100;
    quad.transform->positionY = 50;
    quad.transform->scaleX = quad.transform->scaleY = 2;  // ignored
    EXPECT_TRUE(quad.transform != nullptr);
    EXPECT_TRUE(QuadContains(quad, 100, 50));
    EXPECT_TRUE(QuadContains(quad, 119, 59));
    EXPECT_FALSE(QuadContains(quad, 120, 50));
    EXPECT_FALSE(QuadContains(quad, 130, 50));
}

}  // namespace
}  // namespace QRV
