#include "bench/scripted_player.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/gameplay/gameplay_test_kit.h"

namespace {

using QRV::Bench::NextRun;
using QRV::Bench::PlayerAction;
using QRV::Bench::ScriptedPlayer;

// Runs of both kinds, of different lengths, in every row.
const std::vector<std::string> kPicture = {"11011", "01110", "10001", "11111", "00100"};

class BenchScriptedPlayerTest : public GameplayTestKit::GameplayScene {
protected:
    void SetUp() override {
        GameplayScene::SetUp();
        Build(kPicture);
        ASSERT_TRUE(Start());
    }
    // One frame as the benchmark runs it: the player's input handed to the screen as the root does,
    // then the frame.
    void Play(ScriptedPlayer& player) {
        input.Clear();
        for (const PlayerAction& action : player.Step(*screen)) {
            const int32_t key = action.button == 2 ? QRV::VK_RBUTTON : QRV::VK_LBUTTON;
            switch (action.kind) {
                case PlayerAction::Kind::Move:
                    input.MoveTo(action.x, action.y);
                    screen->OnMouseMove();
                    break;
                case PlayerAction::Kind::Press:
                    input.Press(key);
                    screen->OnMouseDown(action.button);
                    break;
                case PlayerAction::Kind::Release:
                    input.Release(key);
                    screen->OnMouseUp(action.button);
                    break;
            }
        }
        Frames(1, 1.0f / 60.0f);
    }
};

TEST(BenchScriptedPlayerButtons, TheButtonMakesTheWantedMarkWithEitherTool) {
    const struct {
        int32_t mark;
        bool squareTool;
        int32_t button;
    } cases[] = {
        {Game::kMarkSquare, true, 1},
        {Game::kMarkCross, true, 2},
        {Game::kMarkSquare, false, 2},
        {Game::kMarkCross, false, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScriptedPlayer::ButtonFor(c.mark, c.squareTool), c.button) << c.mark << " " << c.squareTool;
    }
}

TEST_F(BenchScriptedPlayerTest, NextRunTakesTheFirstClosedCellsOfOneKindInItsRow) {
    gcProcess& process = screen->Process();
    // Cells opened before each look-up, and the run expected then.
    const struct {
        std::vector<gcCell> open;
        gcCell from;
        gcCell to;
        int32_t mark;
    } cases[] = {
        {{}, {0, 0}, {1, 0}, Game::kMarkSquare},
        {{{0, 0}}, {1, 0}, {1, 0}, Game::kMarkSquare},
        {{{1, 0}}, {2, 0}, {2, 0}, Game::kMarkCross},
        // An opened cell inside a run ends it there.
        {{{3, 0}}, {2, 0}, {2, 0}, Game::kMarkCross},
        // The run does not go on into the next row.
        {{{4, 0}}, {2, 0}, {2, 0}, Game::kMarkCross},
    };
    for (const auto& c : cases) {
        for (gcCell cell : c.open) {
            if (process.CellAt(cell)->IsPicture()) {
                ASSERT_TRUE(process.OpenCell(cell));
            } else {
                process.CellAt(cell)->opened = 1;
            }
        }
        Frames(2);
        const auto plan = NextRun(process);
        ASSERT_TRUE(plan.has_value());
        EXPECT_EQ(plan->from, c.from);
        EXPECT_EQ(plan->to, c.to);
        EXPECT_EQ(plan->mark, c.mark);
    }
    // Blocked cells are passed over; with every cell open there is no run.
    process.CellAt(2, 0)->blocked = 1;
    ASSERT_TRUE(NextRun(process).has_value());
    EXPECT_EQ(NextRun(process)->from, (gcCell{0, 1}));
    for (gcElement* cell : process.List(gcProcess::kListAll)) cell->opened = 1;
    EXPECT_FALSE(NextRun(process).has_value());
}

TEST_F(BenchScriptedPlayerTest, PlaysToAWinWithoutAMistakeThenRestarts) {
    ScriptedPlayer player;
    int frame = 0;
    for (; frame < 2000 && !screen->IsFinished(); ++frame) {
        Play(player);
        ASSERT_EQ(screen->Result().errors, 0) << "frame " << frame;
    }
    ASSERT_TRUE(screen->IsFinished());
    EXPECT_GE(screen->GetSolvedFraction(), 1.0f);
    EXPECT_GT(player.drags, 0);
    // 13 runs on the board; a hint may split one, and a press during the hint flight is lost.
    EXPECT_LE(player.drags, 20);
    EXPECT_GE(player.hints, 1);
    EXPECT_EQ(screen->Result().hintsUsed, static_cast<uint32_t>(player.hints));

    for (int i = 0; i < ScriptedPlayer::kRestartAfter - 1; ++i) Play(player);
    EXPECT_EQ(player.restarts, 0);
    EXPECT_TRUE(screen->IsFinished());
    Play(player);
    EXPECT_EQ(player.restarts, 1);
    EXPECT_TRUE(screen->IsRunning());
    EXPECT_FALSE(screen->IsFinished());
    EXPECT_EQ(screen->Process().List(gcProcess::kListOpened).size(), 0u);
}

}  // namespace
