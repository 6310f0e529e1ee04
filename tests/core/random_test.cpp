#include "engine/core/random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using QRV::JC_RANDOM;

// Every test starts from the program's initial state and leaves the shared state as it found it.
class RandomTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = JC_RANDOM::State();
        JC_RANDOM::Seed(0);
    }
    void TearDown() override { JC_RANDOM::Seed(saved); }
    uint32_t saved = 0;
};

TEST_F(RandomTest, SequenceFromZeroMatchesTheRecurrence) {
    // state * 1664525 + 1013904223 mod 2^32, worked out by hand from 0.
    const uint32_t expected[] = {0x3C6EF35Fu, 0x47502932u, 0xD1CCF6E9u, 0xAAF95334u, 0x6252E503u, 0x9F2EC686u};
    for (uint32_t want : expected) EXPECT_EQ(JC_RANDOM::Next(), want);
    EXPECT_EQ(JC_RANDOM::State(), 0x9F2EC686u);

    JC_RANDOM::Seed(12345);
    EXPECT_EQ(JC_RANDOM::Next(), 87628868u);
}

TEST_F(RandomTest, Rand01UsesTheUpperSixteenBitsOverTheFullRange) {
    // The upper halves of the states above: 0x3C6E, 0x4750, 0xD1CC.
    EXPECT_FLOAT_EQ(JC_RANDOM::Rand01(), 15470.0f / 65535.0f);
    EXPECT_FLOAT_EQ(JC_RANDOM::Rand01(), 18256.0f / 65535.0f);
    EXPECT_FLOAT_EQ(JC_RANDOM::Rand01(), 53708.0f / 65535.0f);

    // Both ends are reachable: seed the state that steps to the wanted one.
    const uint32_t inverse = 4276115653u;  // 1664525 * inverse == 1 mod 2^32
    auto seedFor = [&](uint32_t target) { return (target - 1013904223u) * inverse; };
    JC_RANDOM::Seed(seedFor(0x0000FFFFu));
    EXPECT_EQ(JC_RANDOM::Rand01(), 0.0f);
    JC_RANDOM::Seed(seedFor(0xFFFF0000u));
    EXPECT_EQ(JC_RANDOM::Rand01(), 1.0f);
}

TEST_F(RandomTest, RandIntStaysWithinItsEndsExcludingTheUpperOne) {
    // From 0: 412 + 1013904223 mod 200.
    EXPECT_EQ(JC_RANDOM::RandInt(412, 612), 435);
    // Equal ends give that value without stepping the shared state.
    const uint32_t before = JC_RANDOM::State();
    EXPECT_EQ(JC_RANDOM::RandInt(5, 5), 5);
    EXPECT_EQ(JC_RANDOM::State(), before);

    const struct {
        int32_t lo, hi, min, max;
    } ranges[] = {
        {412, 612, 412, 611},
        {-10, 10, -10, 9},
        {0, 1, 0, 0},
        // A reversed range counts down from lo and never reaches hi.
        {612, 412, 413, 612},
        // The widest range must not overflow.
        {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(),
         std::numeric_limits<int32_t>::max() - 1},
    };
    for (const auto& r : ranges) {
        SCOPED_TRACE(testing::Message() << r.lo << ".." << r.hi);
        for (int i = 0; i < 2000; ++i) {
            const int32_t v = JC_RANDOM::RandInt(r.lo, r.hi);
            ASSERT_GE(v, r.min);
            ASSERT_LE(v, r.max);
        }
    }
    JC_RANDOM::Seed(0);
    EXPECT_EQ(JC_RANDOM::RandInt(612, 412), 589);  // 612 - 1013904223 mod 200
}

}  // namespace
