#include "engine/core/value_types.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

using namespace QRV;

TEST(ValueTypesColor, ToARGBClampsAndRounds) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        JS_COLORf color;
        uint32_t want;
    } cases[] = {
        {{1.0f, 0.5f, 0.0f, 2.0f}, 0xFFFF8000u},
        {{0.0f, 0.0f, 0.0f, 0.0f}, 0x00000000u},
        {{-1.0f, 1.0f, 0.1f, 1.0f}, 0xFF00FF1Au},
        {{nan, 0.0f, 0.0f, 1.0f}, 0xFF000000u},
        {{}, 0xFFFFFFFFu},  // the default colour is opaque white
    };
    for (const auto& c : cases) EXPECT_EQ(c.color.ToARGB(), c.want) << std::hex << c.want;
    for (uint32_t argb : {0x00000000u, 0xFF102030u, 0x80FF7F01u, 0xFFFFFFFFu}) {
        EXPECT_EQ(JS_COLORf::FromARGB(argb).ToARGB(), argb) << std::hex << argb;
    }
}

TEST(ValueTypesGeometry, AngleBetweenRunsCounterClockwiseFromA) {
    constexpr float kPi = std::numbers::pi_v<float>;
    const struct {
        JS_VECTOR2 a, b;
        float want;
    } cases[] = {
        {{1, 0}, {0, 1}, kPi / 2}, {{1, 0}, {0, -1}, 3 * kPi / 2},
        {{1, 0}, {-1, 0}, kPi},    {{1, 0}, {2, 0}, 2 * kPi},  // same direction: the cross product is not positive
        {{0, 0}, {1, 0}, 2 * kPi},                             // a zero vector
        {{1, 0}, {0, 0}, 2 * kPi}, {{3, 3}, {3.0000002f, 3}, 2 * kPi},  // cosine rounded past 1 must not give NaN
    };
    for (const auto& c : cases) {
        const float got = AngleBetween(c.a, c.b);
        EXPECT_NEAR(got, c.want, 1e-3f) << c.a.x << "," << c.a.y << " -> " << c.b.x << "," << c.b.y;
    }
}

TEST(ValueTypesGeometry, CubicBezierEndsExactly) {
    const JS_VECTOR3 p0{0.1f, 0.2f, 0.3f}, p1{1, 2, 3}, p2{4, 5, 6}, p3{7.7f, 8.8f, 9.9f};
    const JS_VECTOR3 start = CubicBezier(p0, p1, p2, p3, 0.0f);
    const JS_VECTOR3 end = CubicBezier(p0, p1, p2, p3, 1.0f);
    EXPECT_EQ(start.x, p0.x);
    EXPECT_EQ(start.z, p0.z);
    EXPECT_EQ(end.x, p3.x);
    EXPECT_EQ(end.y, p3.y);
    // Half way: (p0 + 3 p1 + 3 p2 + p3) / 8.
    const JS_VECTOR3 mid = CubicBezier({0, 0, 0}, {0, 8, 0}, {8, 8, 0}, {8, 0, 0}, 0.5f);
    EXPECT_FLOAT_EQ(mid.x, 4.0f);
    EXPECT_FLOAT_EQ(mid.y, 6.0f);
}

}  // namespace
