#include "game/gameplay/gameplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/gameplay/gameplay_test_kit.h"

namespace {

using GameplayTestKit::Events;
using GameplayTestKit::GameplayScene;

// Ten picture cells over the top two rows, ten empty cells below.
const std::vector<std::string> kPicture = {"11111", "11111", "00000", "00000"};

class GameplayScreenTest : public GameplayScene {};

TEST_F(GameplayScreenTest, LevelStartsRunningWithTheCountersOfPlayerAndPack) {
    Build(kPicture);
    Events events(dispatcher);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(screen->IsRunning());
    EXPECT_FALSE(screen->IsPaused());
    EXPECT_EQ(screen->AllowedErrors(), 3);
    EXPECT_EQ(screen->Result().hints, 1u);
    EXPECT_EQ(screen->MaxHints(), 4);
    EXPECT_EQ(screen->SunimeOne(), 1);
    EXPECT_EQ(events.Count(4), 1);
    EXPECT_EQ(Level("pack01", 0)->GetProperty("play_count")->intValue, 1);
}

}  // namespace
