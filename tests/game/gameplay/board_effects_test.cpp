#include "game/gameplay/board_effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/gameplay/board_effects_fill.h"
#include "game/gameplay/board_effects_message.h"
#include "tests/game/gameplay/effects_test_kit.h"

namespace {

using EffectsTestKit::Board;
using EffectsTestKit::Completions;

int32_t Tick(QRV::JC_BASE& bot, float dt) {
    QRV::g_frameTime.store(dt);
    return bot.Message(QRV::MSG::Tick, 0.0f, 0.0f, 0.0f, nullptr);
}

void FinishNow(QRV::JC_BASE& bot) { bot.Message(QRV::MSG::FinishNow, 0.0f, 0.0f, 0.0f, nullptr); }

// Ticks until Finished; the tick that finished (1-based), or 0 when it still runs after `limit`.
int32_t TicksToFinish(QRV::JC_BASE& bot, float dt, int32_t limit) {
    for (int32_t i = 1; i <= limit; ++i)
        if (Tick(bot, dt) == QRV::MSG_RESULT::Finished) return i;
    return 0;
}

// ---- every cell at once ----

struct CellCase {
    std::string name;
    std::string animation;
    float first;
    float third;
    int32_t finishTick;  // 0: still running after 40 ticks
};

class BoardEffectCellCases : public ::testing::TestWithParam<CellCase> {};

// The delay timer starts the bot on tick 1; "pop" lasts 4 / 8 = 0.5 s, ticks of 0.125 s.
TEST_P(BoardEffectCellCases, LengthAndLoop) {
    const CellCase& c = GetParam();
    Board board({"11", "01"});
    ASSERT_TRUE(board.loaded);
    const std::vector<gcElement*> cells{board.At(0, 0), board.At(1, 1)};
    Completions done;
    gcBot_ElementsEffect_Cell bot(cells, *board.layout.FindAnimation(c.animation), c.first, 0.0f, c.third);
    bot.completion = done.Make();
    Tick(bot, 0.125f);
    EXPECT_EQ(board.Lit(), (std::vector<gcCell>{{0, 0}, {1, 1}}));
    const int32_t finished = TicksToFinish(bot, 0.125f, 39);
    EXPECT_EQ(finished == 0 ? 0 : finished + 1, c.finishTick);
    if (c.finishTick == 0) {
        EXPECT_EQ(done.calls, 0);
        FinishNow(bot);  // "effect_end"
        EXPECT_EQ(Tick(bot, 0.125f), QRV::MSG_RESULT::Finished);
    }
    EXPECT_EQ(done.calls, 1);
    EXPECT_TRUE(board.Lit().empty());
    FinishNow(bot);
    EXPECT_EQ(done.calls, 1);
}

INSTANTIATE_TEST_SUITE_P(Effects, BoardEffectCellCases,
                         ::testing::Values(CellCase{"Once", "pop", 1.0f, 0.0f, 5},
                                           CellCase{"OnceIgnoresThePause", "pop", 3.0f, 2.0f, 5},
                                           CellCase{"NoFrameRateHasNoLength", "still", 1.0f, 0.0f, 2},
                                           CellCase{"LoopsWhileFirstIsZero", "pop", 0.0f, 0.25f, 0},
                                           CellCase{"LoopsWhileFirstIsNegative", "pop", -1.0f, 0.0f, 0}),
                         [](const auto& info) { return info.param.name; });

// A looping effect starts the cells' animation again every length + third seconds (0.75 s, six
// ticks after the start); the test stops the cell's animation by hand to see each restart.
TEST(BoardEffectCell, LoopRestartsAfterLengthAndPause) {
    Board board({"1"});
    ASSERT_TRUE(board.process.StartEffect(gcProcess::kEffectCell, gcProcess::kTargetAll, {}, 0.0f, 0.0f, 0.25f, "pop"));
    gcElement* cell = board.At(0, 0);
    board.Run(1);
    EXPECT_EQ(cell->effect->playing, 1);
    for (int round = 0; round < 2; ++round) {
        cell->effect->playing = 0;
        board.Run(5);
        EXPECT_EQ(cell->effect->playing, 0) << round;
        board.Run(1);
        EXPECT_EQ(cell->effect->playing, 1) << round;
    }
    EXPECT_EQ(cell->effectRunning, 1);
    EXPECT_TRUE(board.process.OnMessage({"effect_end"}));
    EXPECT_EQ(cell->effectRunning, 0);
    EXPECT_TRUE(board.process.Effects().IsEmpty());
}

// ---- one cell after another ----

// Lights per tick (ticks of the interval, 0.25 s), each as the cell lit in that tick.
std::vector<gcCell> RunRandom(Board& board, gcBot_ElementsEffect_Random& bot, int32_t ticks, int32_t& finishedAt) {
    std::vector<gcCell> order;
    finishedAt = 0;
    for (int32_t i = 1; i <= ticks && finishedAt == 0; ++i) {
        board.ClearLit();
        if (Tick(bot, 0.25f) == QRV::MSG_RESULT::Finished) finishedAt = i;
        for (const gcCell& lit : board.Lit()) order.push_back(lit);
    }
    return order;
}

struct RandomCase {
    std::string name;
    float duration;
    int32_t lights;  // cells lit before the bot ends (all ticks when it loops)
    bool loops;
};

class BoardEffectRandomCases : public ::testing::TestWithParam<RandomCase> {};

TEST_P(BoardEffectRandomCases, ReshufflesUntilTheDuration) {
    const RandomCase& c = GetParam();
    Board board({"1111"});
    board.process.Random().seed(7);
    Completions done;
    gcBot_ElementsEffect_Random bot(board.process.List(gcProcess::kListPicture), board.Pop(), c.duration, 0.0f, 0.25f,
                                    board.process.Random());
    bot.completion = done.Make();
    int32_t finishedAt = 0;
    const std::vector<gcCell> order = RunRandom(board, bot, 30, finishedAt);
    if (c.loops) {
        EXPECT_EQ(finishedAt, 0);
        EXPECT_EQ(order.size(), 29u);  // one a tick after the start
    } else {
        EXPECT_EQ(order.size(), static_cast<size_t>(c.lights));
        EXPECT_EQ(finishedAt, c.lights + 2);
        EXPECT_EQ(done.calls, 1);
    }
    // Every run of four is the whole list in some order.
    for (size_t run = 0; run + 4 <= order.size(); run += 4) {
        std::set<int32_t> columns;
        for (size_t i = run; i < run + 4; ++i) columns.insert(order[i].column);
        EXPECT_EQ(columns.size(), 4u) << "run at " << run;
    }
}

INSTANTIATE_TEST_SUITE_P(Effects, BoardEffectRandomCases,
                         ::testing::Values(RandomCase{"LoopsForEver", 0.0f, 0, true},
                                           RandomCase{"StopsAfterOneRound", 0.5f, 4, false},
                                           RandomCase{"WithinTheDurationGoesOn", 1.0f, 8, false},
                                           RandomCase{"PastOneRound", 1.5f, 8, false}),
                         [](const auto& info) { return info.param.name; });

// The shuffle follows the board's engine: the same seed gives the same order.
TEST(BoardEffectRandom, SeededEngineRepeatsTheOrder) {
    std::vector<std::vector<gcCell>> orders;
    for (int run = 0; run < 2; ++run) {
        Board board({"11111", "11111"});
        board.process.Random().seed(12345);
        gcBot_ElementsEffect_Random bot(board.process.List(gcProcess::kListAll), board.Pop(), 0.0f, 0.0f, 0.25f,
                                        board.process.Random());
        int32_t finishedAt = 0;
        orders.push_back(RunRandom(board, bot, 11, finishedAt));
    }
    EXPECT_EQ(orders[0], orders[1]);
    EXPECT_EQ(orders[0].size(), 10u);
}

// ---- empty lists end at once ----

TEST(BoardEffectEmpty, LineAndRandomFinishAtOnce) {
    Board board({"1"});
    Completions lineDone, randomDone;
    gcBot_ElementsEffect_Line line({}, board.Pop(), 1.0f, 0.0f);
    gcBot_ElementsEffect_Random random({}, board.Pop(), 0.0f, 0.0f, 0.25f, board.process.Random());
    line.completion = lineDone.Make();
    random.completion = randomDone.Make();
    EXPECT_EQ(TicksToFinish(line, 0.25f, 5), 2);
    EXPECT_EQ(TicksToFinish(random, 0.25f, 5), 2);
    EXPECT_EQ(lineDone.calls, 1);
    EXPECT_EQ(randomDone.calls, 1);

    // Through the process: "selected" without a selection, "filled_and_opened" before a reveal.
    EXPECT_TRUE(board.process.OnMessage({"effect_start", "line", "selected", "1", "0", "pop"}));
    EXPECT_TRUE(board.process.OnMessage({"effect_start", "random", "filled_and_opened", "0", "0", "0.25", "pop"}));
    board.Run(2);
    EXPECT_TRUE(board.process.Effects().IsEmpty());
}

// An animation the table lacks starts nothing.
TEST(BoardEffectEmpty, MissingAnimationStartsNothing) {
    Board board({"11"});
    EXPECT_FALSE(board.process.OnMessage({"effect_start", "cell", "all", "1", "0", "0", "nosuch"}));
    EXPECT_FALSE(board.process.StartEffect(gcProcess::kEffectLine, gcProcess::kTargetAll, {}, 1.0f, 0.0f, 0.0f, ""));
    EXPECT_TRUE(board.process.Effects().IsEmpty());
}

// ---- the diagonal sweep ----

struct CrossCase {
    std::string name;
    QRV::JS_VECTOR2 a, b, c, d;
    bool crosses;
};

class BoardEffectSegmentCases : public ::testing::TestWithParam<CrossCase> {};

TEST_P(BoardEffectSegmentCases, StrictCrossing) {
    const CrossCase& c = GetParam();
    EXPECT_EQ(gcBot_ElementsEffect_Line::SegmentsCross(c.a, c.b, c.c, c.d), c.crosses);
    EXPECT_EQ(gcBot_ElementsEffect_Line::SegmentsCross(c.c, c.d, c.a, c.b), c.crosses);
}

INSTANTIATE_TEST_SUITE_P(Effects, BoardEffectSegmentCases,
                         ::testing::Values(CrossCase{"Diagonals", {0, 10}, {10, 0}, {0, 0}, {10, 10}, true},
                                           CrossCase{"EndOnTheOther", {0, 10}, {5, 5}, {0, 0}, {10, 10}, false},
                                           CrossCase{"ShortOfIt", {0, 10}, {4, 6}, {0, 0}, {10, 10}, false},
                                           CrossCase{"Parallel", {0, 1}, {10, 11}, {0, 0}, {10, 10}, false},
                                           CrossCase{"Collinear", {-5, -5}, {5, 5}, {0, 0}, {10, 10}, false},
                                           CrossCase{"Beyond", {20, 30}, {30, 20}, {0, 0}, {10, 10}, false}),
                         [](const auto& info) { return info.param.name; });

// The sweep lights every picture cell by itself, those left of and above the first one too, in
// order from the top-left, and lights no other cell.
TEST(BoardEffectLine, SweepReachesEveryCell) {
    const std::vector<std::string> picture{"0000011", "1000000", "1000010", "0001000", "1000001", "0100000"};
    Board board(picture);
    ASSERT_TRUE(
        board.process.StartEffect(gcProcess::kEffectLine, gcProcess::kTargetFilled, {}, 2.0f, 0.0f, 0.0f, "pop"));
    std::map<std::pair<int32_t, int32_t>, int32_t> litAt;
    int32_t frame = 0;
    while (!board.process.Effects().IsEmpty() && frame < 100) {
        board.Run(1, 0.05f);
        ++frame;
        for (const gcCell& lit : board.Lit()) litAt.emplace(std::make_pair(lit.column, lit.row), frame);
    }
    ASSERT_LT(frame, 100);
    std::map<std::pair<int32_t, int32_t>, int32_t> expected;
    for (int32_t row = 0; row < 6; ++row)
        for (int32_t column = 0; column < 7; ++column)
            if (picture[row][column] == '1') expected.emplace(std::make_pair(column, row), 0);
    ASSERT_EQ(litAt.size(), expected.size());
    for (const auto& [cell, at] : litAt) {
        EXPECT_TRUE(expected.count(cell)) << cell.first << " " << cell.second;
        EXPECT_LT(at, frame) << "left to the end: " << cell.first << " " << cell.second;
    }
    EXPECT_LT(litAt[std::make_pair(0, 1)], litAt[std::make_pair(3, 3)]);
    EXPECT_LT(litAt[std::make_pair(3, 3)], litAt[std::make_pair(6, 4)]);
}

// One cell gives a sweep of no length: the cell lights when the tweens end.
TEST(BoardEffectLine, OneCellLightsAtTheEnd) {
    Board board({"010"});
    Completions done;
    gcBot_ElementsEffect_Line bot({board.At(1, 0)}, board.Pop(), 0.5f, 0.0f);
    bot.completion = done.Make();
    EXPECT_GT(TicksToFinish(bot, 0.125f, 20), 0);
    EXPECT_EQ(board.Lit(), (std::vector<gcCell>{{1, 0}}));
    EXPECT_EQ(done.calls, 1);
}

struct SweepTimeCase {
    std::string name;
    float time;
    float seconds;  // how long the sweep lasts
};

class BoardEffectSweepTimeCases : public ::testing::TestWithParam<SweepTimeCase> {};

TEST_P(BoardEffectSweepTimeCases, Duration) {
    const SweepTimeCase& c = GetParam();
    Board board({"11", "11"});
    gcBot_ElementsEffect_Line bot(board.process.List(gcProcess::kListAll), board.Pop(), c.time, 0.0f);
    const int32_t ticks = TicksToFinish(bot, 0.25f, 100);
    // The start tick (the tweens start in it too), then the time.
    EXPECT_EQ(ticks, static_cast<int32_t>(c.seconds / 0.25f) + 1);
}

INSTANTIATE_TEST_SUITE_P(Effects, BoardEffectSweepTimeCases,
                         ::testing::Values(SweepTimeCase{"ZeroMeansFiveSeconds", 0.0f, 5.0f},
                                           SweepTimeCase{"NegativeMeansFiveSeconds", -2.0f, 5.0f},
                                           SweepTimeCase{"AsGiven", 1.0f, 1.0f}),
                         [](const auto& info) { return info.param.name; });

// ---- scripted fills and selections ----

struct FillCase {
    std::string name;
    bool commit;
    gcCell start, end;
    float total;
    std::vector<size_t> selectionSizes;  // list 3 after each frame while the bot runs
    std::vector<gcCell> cells;           // the move committed, or the selection left
};

class BoardEffectFillCases : public ::testing::TestWithParam<FillCase> {};

TEST_P(BoardEffectFillCases, StepsAndEnd) {
    const FillCase& c = GetParam();
    Board board(std::vector<std::string>(10, "1111111111"));
    board.process.SetAllBlocked(true, "");  // forced: blocked cells do not stop a script
    ASSERT_TRUE(board.process.StartFill(c.commit, c.start, c.end, c.total, 0.0f, 100));
    std::vector<size_t> sizes;
    for (int32_t frame = 0; frame < 40 && !board.process.Effects().IsEmpty(); ++frame) {
        board.Run(1, 0.25f);
        sizes.push_back(board.process.List(gcProcess::kListSelected).size());
    }
    ASSERT_TRUE(board.process.Effects().IsEmpty());
    sizes.pop_back();  // the frame that ended it
    EXPECT_EQ(sizes, c.selectionSizes);
    std::vector<gcCell> got;
    if (c.commit) {
        EXPECT_TRUE(board.process.List(gcProcess::kListSelected).empty());
        ASSERT_EQ(board.process.Commands().Commands().size(), 1u);
        const auto* move = static_cast<const gcCommand_Open*>(board.process.Commands().Commands().front());
        for (const gcElement* cell : move->Cells()) got.push_back(cell->Position());
    } else {
        EXPECT_TRUE(board.process.Commands().Commands().empty());
        for (const gcElement* cell : board.process.List(gcProcess::kListSelected)) got.push_back(cell->Position());
    }
    EXPECT_EQ(got, c.cells);
}

const std::vector<gcCell> kRow3{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}};

INSTANTIATE_TEST_SUITE_P(
    Effects, BoardEffectFillCases,
    ::testing::Values(FillCase{"FillAlongARow", true, {2, 3}, {6, 3}, 1.0f, {1, 2, 3, 4, 5}, kRow3},
                      FillCase{"EndOffTheLineIsClampedToTheRow", true, {2, 3}, {6, 5}, 1.0f, {1, 2, 3, 4, 5}, kRow3},
                      FillCase{"EndOffTheLineIsClampedToTheColumn",
                               true,
                               {2, 3},
                               {3, 6},
                               0.75f,
                               {1, 2, 3, 4},
                               {{2, 3}, {2, 4}, {2, 5}, {2, 6}}},
                      FillCase{"Backwards", true, {6, 3}, {4, 3}, 0.5f, {1, 2, 3}, {{6, 3}, {5, 3}, {4, 3}}},
                      FillCase{"SameCellWaitsTheTotal", true, {4, 4}, {4, 4}, 1.0f, {1, 1, 1, 1}, {{4, 4}}},
                      FillCase{"SelectionDoesNotCommit", false, {2, 3}, {6, 5}, 1.0f, {1, 2, 3, 4, 5}, kRow3}),
    [](const auto& info) { return info.param.name; });

// "effect_end" finishes a running fill at once: the selection reaches the end and is committed.
TEST(BoardEffectFill, FinishNowCompletesTheMove) {
    Board board(std::vector<std::string>(10, "1111111111"));
    ASSERT_TRUE(board.process.OnMessage({"fill", "0 0", "0 4", "10", "0"}));
    board.Run(2, 0.25f);
    EXPECT_TRUE(board.process.OnMessage({"effect_end"}));
    ASSERT_EQ(board.process.Commands().Commands().size(), 1u);
    EXPECT_EQ(static_cast<const gcCommand_Open*>(board.process.Commands().Commands().front())->Cells().size(), 5u);
}

// ---- the message bot ----

struct Router {
    std::vector<std::string> commands;
    static void Run(void* self, const std::string& command) { static_cast<Router*>(self)->commands.push_back(command); }
};

class BoardEffectMessage : public ::testing::Test {
protected:
    void SetUp() override { previous = gcSetCommandHook({&router, &Router::Run}); }
    void TearDown() override { gcSetCommandHook(previous); }
    Router router;
    gcCommandHook previous;
    QRV::TestKit::GlobalGuard guard;
};

struct MessageCase {
    std::string name;
    float delay;
    std::vector<char> script;  // 't' tick of 0.25 s, 's' message 45
    int32_t completions;
};

class BoardEffectMessageCases : public BoardEffectMessage, public ::testing::WithParamInterface<MessageCase> {};

// Whatever the order of start and stop, the command runs exactly once.
TEST_P(BoardEffectMessageCases, RunsOnce) {
    guard.Save(QRV::g_frameTime);
    const MessageCase& c = GetParam();
    Completions done;
    gcBot_Message bot("gameplay::process::undo", c.delay);
    bot.completion = done.Make();
    for (char step : c.script) {
        if (step == 't') Tick(bot, 0.25f);
        if (step == 's') FinishNow(bot);
    }
    EXPECT_EQ(router.commands, std::vector<std::string>{"gameplay::process::undo"});
    EXPECT_EQ(done.calls, c.completions);
    EXPECT_EQ(Tick(bot, 0.25f), QRV::MSG_RESULT::Finished);
}

INSTANTIATE_TEST_SUITE_P(Effects, BoardEffectMessageCases,
                         ::testing::Values(MessageCase{"StartThenFinish", 0.0f, {'t', 't'}, 0},
                                           MessageCase{"StopAfterStart", 0.0f, {'t', 's'}, 1},
                                           MessageCase{"StopBeforeStart", 1.0f, {'t', 's', 't', 't'}, 1},
                                           MessageCase{"StoppedTwice", 0.0f, {'t', 's', 's'}, 1}),
                         [](const auto& info) { return info.param.name; });

TEST_F(BoardEffectMessage, NoHookRunsNothing) {
    gcSetCommandHook({});
    EXPECT_FALSE(gcRunCommand("gameplay::pause"));
    EXPECT_TRUE(router.commands.empty());
}

}  // namespace
