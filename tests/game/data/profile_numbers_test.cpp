#include "game/data/profile_numbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr int64_t kTop64 = std::numeric_limits<int64_t>::max();
constexpr int64_t kBottom64 = std::numeric_limits<int64_t>::min();
constexpr int32_t kTop32 = std::numeric_limits<int32_t>::max();
constexpr int32_t kBottom32 = std::numeric_limits<int32_t>::min();

// A number beyond its type reads as the end of the range on its side, never as 0.
TEST(ProfileNumbersTest, NumbersBeyondTheirRangeAreClamped) {
    struct Case {
        const char* text;
        int32_t int32;
        int64_t int64;
        int64_t whole;
    };
    const Case cases[] = {
        {"5", 5, 5, 5},
        {" +7 hearts", 7, 7, 7},
        {"-2147483648", kBottom32, -2147483648LL, -2147483648LL},
        {"2147483648", kTop32, 2147483648LL, 2147483648LL},
        {"1000000000000", kTop32, 1000000000000LL, 1000000000000LL},
        {"-1000000000000", kBottom32, -1000000000000LL, -1000000000000LL},
        {"99999999999999999999", kTop32, kTop64, kTop64},
        {"-99999999999999999999", kBottom32, kBottom64, kBottom64},
        {"1e300", 1, 1, kTop64},
        {"-1e300", -1, -1, kBottom64},
        {"1e999", 1, 1, kTop64},
        {"1e-999", 1, 1, 0},
        {"99999999999999999999.5", kTop32, kTop64, kTop64},
        {"1800.75", 1800, 1800, 1800},
        {"nan", 0, 0, 0},
        {"", 0, 0, 0},
        {"hearts", 0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Game::ParseProfileInt32(c.text), c.int32) << c.text;
        EXPECT_EQ(Game::ParseProfileInt64(c.text), c.int64) << c.text;
        EXPECT_EQ(Game::ParseProfileWhole(c.text), c.whole) << c.text;
    }
}

}  // namespace
