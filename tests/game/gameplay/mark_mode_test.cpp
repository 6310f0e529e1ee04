#include "game/gameplay/mark_mode.h"

#include <gtest/gtest.h>

namespace Game {
namespace {

TEST(MarkModeTest, PressesFollowTheToolSwitch) {
    EXPECT_EQ(MarkModeForButton(1, true), kMarkSquare);
    EXPECT_EQ(MarkModeForButton(1, false), kMarkCross);
    EXPECT_EQ(MarkModeForButton(2, true), kMarkCross);
    EXPECT_EQ(MarkModeForButton(2, false), kMarkSquare);
    EXPECT_EQ(MarkModeForButton(3, false), kMarkSquare);
    EXPECT_EQ(MarkModeForButton(0, false), kMarkSquare);
}

TEST(MarkModeTest, DragsTakeTheButtonHeldLongest) {
    struct Case {
        uint8_t left, right;
        int32_t squareToolWants;  // with the square tool on: left gives 100, right 101
    };
    const Case cases[] = {
        {255, 40, kMarkCross},                        // left released: the right's kind
        {255, 0, kMarkCross},   {0, 0, kMarkSquare},  // both up: the left's
        {30, 255, kMarkSquare},                       // right released: the left's
        {0, 255, kMarkSquare},  {1, 1, kMarkCross},   // both pressed in one frame: the right's
        {9, 9, kMarkCross},                           // a tie
        {12, 3, kMarkSquare},                         // left held longer
        {3, 12, kMarkCross},    {0, 5, kMarkCross},   // left up
        {5, 0, kMarkSquare},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "left " << int(c.left) << ", right " << int(c.right));
        EXPECT_EQ(DragMarkMode(c.left, c.right, true), c.squareToolWants);
        // The cross tool swaps the kinds.
        EXPECT_EQ(DragMarkMode(c.left, c.right, false), c.squareToolWants == kMarkSquare ? kMarkCross : kMarkSquare);
    }
}

TEST(MarkModeTest, OnlyCrossNamesTheCross) {
    EXPECT_EQ(ToolTypeFromName("cross"), kMarkCross);
    EXPECT_EQ(ToolTypeFromName("square"), kMarkSquare);
    EXPECT_EQ(ToolTypeFromName("Cross"), kMarkSquare);
    EXPECT_EQ(ToolTypeFromName(""), kMarkSquare);
    EXPECT_EQ(ToolTypeFromName(nullptr), kMarkSquare);
}

}  // namespace
}  // namespace Game
