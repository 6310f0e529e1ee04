#include "game/gameplay/gameplay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/config/trace.h"
#include "tests/game/gameplay/gameplay_test_kit.h"

namespace {

using GameplayTestKit::Events;
using GameplayTestKit::GameplayScene;

// Ten picture cells over the top two rows, ten empty cells below.
const std::vector<std::string> kPicture = {"11111", "11111", "00000", "00000"};

class GameplayScreenTest : public GameplayScene {
protected:
    void SetUp() override {
        GameplayScene::SetUp();
        Build(kPicture);
    }
    // Runs frames until the hint flight has landed (or a second has passed).
    void LandHint() {
        for (int i = 0; i < 20 && screen->IsHintFlying(); ++i) Frames(1, 0.05f);
        Frames(2);
    }
};

TEST_F(GameplayScreenTest, LevelStartsRunningWithTheCountersOfPlayerAndPack) {
    Events events(dispatcher);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(screen->IsRunning());
    EXPECT_FALSE(screen->IsPaused());
    EXPECT_EQ(screen->LevelPath(), "pack01 a.xml");
    EXPECT_EQ(screen->AllowedErrors(), 3);
    EXPECT_EQ(screen->Result().hints, 1u);
    EXPECT_EQ(screen->Controls().Hint().Count(), 1);
    EXPECT_EQ(screen->MaxHints(), 4);
    EXPECT_EQ(screen->SunimeOne(), 1);
    EXPECT_EQ(events.Count(4), 1);
    EXPECT_EQ(Level("pack01", 0)->GetProperty("play_count")->intValue, 1);
}

// Hints given at the start: "hint_start" in ordinary packs, one in tutorial packs, none with
// purchases on.
TEST_F(GameplayScreenTest, StartingHintsByPackAndPurchaseSwitch) {
    const struct {
        const char* level;
        const char* inapp;
        uint32_t hints;
    } cases[] = {{"pack01.a", "", 2}, {"tutorial_pack1.a", "", 1}, {"pack01.a", "inapp.xml", 0}};
    player->SetItemCount("hint_start", 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.level) + "|" + c.inapp);
        edition.SetString("inapp", c.inapp);
        ASSERT_TRUE(screen->LoadSettings());
        ASSERT_TRUE(Start(c.level));
        EXPECT_EQ(screen->Result().hints, c.hints);
        EXPECT_EQ(screen->InappEnabled(), std::string(c.inapp) != "");
        screen->Close();
    }
}

TEST_F(GameplayScreenTest, RestartWithoutALevelDoesNothingAndCloseResetsTheCounters) {
    screen->Restart();
    EXPECT_FALSE(screen->IsRunning());
    EXPECT_FALSE(screen->Close());
    ASSERT_TRUE(Start());
    Click(0, 0);
    Click(0, 3);  // empty cell marked filled: one error
    screen->Pause();
    EXPECT_EQ(screen->Result().errors, 1);
    EXPECT_TRUE(screen->Close());
    EXPECT_FALSE(screen->IsRunning());
    EXPECT_TRUE(screen->LevelPath().empty());
    EXPECT_EQ(screen->Result().errors, 0);
    EXPECT_EQ(screen->Result().sunime, 0);
    EXPECT_EQ(screen->Result().playTime, 0.0f);
    EXPECT_TRUE(screen->IsPaused());  // pausing is not the reset's business
    EXPECT_TRUE(screen->Process().List(gcProcess::kListAll).empty());
}

// The bonus is earned at once; the counter on the board shows it when the coin lands.
TEST_F(GameplayScreenTest, SunimePerPictureCellAndTheBonusAtOnceShownOnTheFlysArrival) {
    const struct {
        const char* level;
        int column, row, button;
        int32_t sunime;
        int32_t errors;
    } cases[] = {
        {"pack01.a", 0, 0, 1, 1, 0},          // picture cell marked filled
        {"pack01.a", 0, 0, 2, 1, 1},          // picture cell crossed out: still paid, and wrong
        {"pack01.a", 0, 3, 2, 0, 0},          // empty cell crossed out
        {"pack01.a", 0, 3, 1, 0, 1},          // empty cell marked filled
        {"tutorial_pack1.a", 0, 0, 2, 0, 0},  // tutorial: no pay for a crossed picture cell, no error
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.level) + " " + std::to_string(c.column) + "," + std::to_string(c.row) + " b" +
                     std::to_string(c.button));
        ASSERT_TRUE(Start(c.level));
        Click(c.column, c.row, c.button);
        EXPECT_EQ(screen->Result().sunime, c.sunime);
        EXPECT_EQ(screen->Ambient().GetSunime(), c.sunime);
        EXPECT_EQ(screen->Result().errors, c.errors);
        screen->Close();
    }

    ASSERT_TRUE(Start());
    screen->Process().CellAt(1, 0)->bonus = 1;
    Click(1, 0);
    EXPECT_EQ(screen->Result().sunime, 6);
    EXPECT_EQ(screen->Ambient().GetSunime(), 1);
    ASSERT_EQ(screen->BonusFlies().size(), 1u);
    Frames(10);
    EXPECT_EQ(screen->Result().sunime, 6);
    EXPECT_EQ(screen->Ambient().GetSunime(), 6);
    EXPECT_TRUE(screen->BonusFlies().empty());
}

// With "max_hints" 4 the k-th hint comes when more than k/5 of the ten picture cells are open,
// and none while the player holds the maximum.
TEST_F(GameplayScreenTest, HintsEarnedJustAboveEachFifthAndNeverAboveTheMaximum) {
    const struct {
        int32_t start;
        std::vector<uint32_t> counts;
    } cases[] = {
        {0, {0, 0, 1, 1, 2, 2, 3, 3, 4}},
        {3, {3, 3, 4, 4, 4, 4, 4, 4, 4}},
        {4, {4, 4, 4, 4, 4, 4, 4, 4, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        player->SetItemCount("hint_start", c.start);
        ASSERT_TRUE(Start());
        std::vector<uint32_t> counts;
        for (int i = 0; i < 9; ++i) {
            Click(i % 5, i / 5);
            counts.push_back(screen->Result().hints);
        }
        EXPECT_EQ(counts, c.counts);
        EXPECT_EQ(static_cast<uint32_t>(screen->Controls().Hint().Count()), counts.back());
        screen->Close();
    }
}

TEST_F(GameplayScreenTest, UsingAHintOpensItsCellThroughTheUndoStackAndDropsTheSelection) {
    host.awardTrophies = true;
    ASSERT_TRUE(Start());
    Events events(dispatcher);
    MoveToCell(0, 3);
    input.Press(QRV::VK_LBUTTON);
    screen->OnMouseDown(1);
    input.Clear();
    ASSERT_TRUE(screen->Process().IsSelecting());

    screen->UseHint();
    EXPECT_TRUE(screen->IsModal());
    EXPECT_EQ(events.Count(23), 1);
    EXPECT_EQ(screen->Result().hints, 0u);
    EXPECT_EQ(screen->Result().hintsUsed, 1);
    EXPECT_EQ(screen->Controls().Hint().Count(), 0);
    EXPECT_EQ(screen->OnMouseDown(1), 0);  // the flight owns the input
    LandHint();

    EXPECT_FALSE(screen->IsModal());
    EXPECT_EQ(screen->Process().List(gcProcess::kListOpened).size(), 1u);
    EXPECT_EQ(screen->Process().Commands().Count(), 1u);
    EXPECT_EQ(Statistic("hint_use"), 1);
    EXPECT_EQ(host.trophyTests, std::vector<std::string>{"achievements_txt_hints01_name"});
    EXPECT_EQ(host.trophiesAwarded, std::vector<std::string>{"achievements_txt_hints01_name"});
    EXPECT_EQ(events.Count(24), 1);
    EXPECT_FALSE(screen->Process().IsSelecting());
    EXPECT_TRUE(screen->Process().List(gcProcess::kListSelected).empty());
    EXPECT_EQ(events.Count(16) + events.Count(17), 0);
}

TEST_F(GameplayScreenTest, HintsThatCannotBeUsedComeBack) {
    // No cell to pick: nothing flies and the button shows the same count again.
    ASSERT_TRUE(Start());
    screen->Process().SetAllBlocked(true, "");
    screen->Controls().SetHintCount(0);
    screen->UseHint();
    EXPECT_FALSE(screen->IsHintFlying());
    EXPECT_FALSE(screen->IsModal());
    EXPECT_EQ(screen->Result().hints, 1u);
    EXPECT_EQ(screen->Controls().Hint().Count(), 1);
    screen->Close();

    // The picked cell is opened by a move during the flight: the hint is given back.
    ASSERT_TRUE(Start());
    Events events(dispatcher);
    screen->UseHint();
    ASSERT_TRUE(screen->IsHintFlying());
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 5; ++column) screen->Process().OpenCell({column, row});
    LandHint();
    // The one hint of the start is back beside those the opened cells earned.
    EXPECT_EQ(screen->Result().hints, screen->Result().hintsEarned + 1);
    EXPECT_EQ(screen->Result().hintsUsed, 0);
    EXPECT_EQ(Statistic("hint_use"), 0);
    EXPECT_TRUE(host.trophyTests.empty());
    EXPECT_EQ(events.Count(24), 0);
}

// A level closed or restarted while the hint flies leaves no call waiting on its deleted cells.
TEST_F(GameplayScreenTest, ClosingOrRestartingDuringTheFlightDropsIt) {
    for (const char* how : {"close", "restart"}) {
        SCOPED_TRACE(how);
        ASSERT_TRUE(Start());
        screen->UseHint();
        Frames(1, 0.01f);
        ASSERT_TRUE(screen->IsHintFlying());
        screen->SendMessage(how);
        EXPECT_FALSE(screen->IsHintFlying());
        EXPECT_FALSE(screen->IsModal());
        if (!screen->IsRunning()) {
            ASSERT_TRUE(Start("pack01.b"));
        }
        Frames(30);
        EXPECT_TRUE(screen->Process().List(gcProcess::kListOpened).empty());
        screen->Close();
    }
}

TEST_F(GameplayScreenTest, ErrorsCountOutsideTutorialsAndUndoStopsAtZero) {
    const struct {
        const char* level;
        std::vector<int32_t> errors;  // after each step: wrong, wrong, undo, second chance, undo
    } cases[] = {
        {"pack01.a", {1, 2, 1, 0, 0}},
        {"tutorial_pack1.a", {0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        ASSERT_TRUE(Start(c.level));
        std::vector<int32_t> seen;
        Click(0, 2);
        seen.push_back(screen->Result().errors);
        Click(1, 2);
        seen.push_back(screen->Result().errors);
        screen->SendMessage("process::undo");
        seen.push_back(screen->Result().errors);
        screen->SendMessage("buy::secondchance");
        seen.push_back(screen->Result().errors);
        screen->SendMessage("process::undo");
        seen.push_back(screen->Result().errors);
        EXPECT_EQ(seen, c.errors);
        screen->Close();
    }
}

TEST_F(GameplayScreenTest, PlayTimeStandsStillWhilePausedOrClosed) {
    ASSERT_TRUE(Start());
    Events events(dispatcher);
    Frames(10);
    EXPECT_NEAR(screen->Result().playTime, 1.0f, 1e-4f);
    screen->SendMessage("pause");
    Frames(10);
    EXPECT_NEAR(screen->Result().playTime, 1.0f, 1e-4f);
    screen->SendMessage("resume");
    Frames(5);
    EXPECT_NEAR(screen->Result().playTime, 1.5f, 1e-4f);
    EXPECT_EQ(events.ids, (std::vector<int32_t>{7, 8}));
    screen->Close();
    screen->SendMessage("pause");  // "pause" only while running
    EXPECT_FALSE(screen->IsPaused());
    EXPECT_EQ(screen->Update(), -1);
}

TEST_F(GameplayScreenTest, PressesBeginSelectionsOnlyWhileRunningUnpausedAndNotModal) {
    ASSERT_TRUE(Start());
    Frames(5);
    const struct {
        const char* state;
        bool selects;
    } cases[] = {{"running", true}, {"paused", false}, {"modal", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        if (std::string(c.state) == "paused") screen->Pause();
        if (std::string(c.state) == "modal") screen->UseHint();
        MoveToCell(2, 2);
        input.Press(QRV::VK_LBUTTON);
        screen->OnMouseDown(1);
        input.Clear();
        EXPECT_EQ(screen->Process().IsSelecting(), c.selects);
        screen->Process().ResetSelection(true);
        screen->Resume();
    }
}

TEST_F(GameplayScreenTest, BothButtonsDropTheSelectionAndOnlyButtonReleasesCommit) {
    ASSERT_TRUE(Start());
    Events events(dispatcher);
    MoveToCell(0, 0);
    input.Press(QRV::VK_LBUTTON);
    screen->OnMouseDown(1);
    input.SetKey(QRV::VK_LBUTTON, 2);
    input.Press(QRV::VK_RBUTTON);
    EXPECT_EQ(screen->OnMouseDown(2), -109);
    EXPECT_FALSE(screen->Process().IsSelecting());
    EXPECT_EQ(events.Count(16), 1);
    EXPECT_EQ(events.Count(17), 1);
    input.Clear();

    // A key or the middle button never commits; the left button does.
    MoveToCell(1, 0);
    input.Press(QRV::VK_LBUTTON);
    screen->OnMouseDown(1);
    for (int32_t code : {int32_t{65}, int32_t{4}}) {
        screen->OnMouseUp(code);
        EXPECT_TRUE(screen->Process().Commands().Count() == 0) << code;
    }
    screen->OnMouseUp(1);
    EXPECT_EQ(screen->Process().Commands().Count(), 1u);
}

TEST_F(GameplayScreenTest, MovesTrackTheCursorOverTheFieldEvenWhileModal) {
    ASSERT_TRUE(Start());
    Events events(dispatcher);
    screen->UseHint();
    MoveToCell(2, 2);
    EXPECT_TRUE(screen->IsCursorInField());
    input.MoveTo(10, 10);
    screen->OnMouseMove();
    EXPECT_FALSE(screen->IsCursorInField());
    EXPECT_EQ(events.ids, (std::vector<int32_t>{23, 9, 10}));
    screen->Pause();
    MoveToCell(2, 2);
    EXPECT_FALSE(screen->IsCursorInField());
}

TEST_F(GameplayScreenTest, BuyAddMoneyAndMaxHintMessages) {
    ASSERT_TRUE(Start());
    Events events(dispatcher);
    const int32_t money = Statistic("money");
    player->SetItemCount("error", 7);
    const struct {
        const char* message;
        uint32_t hints;
        int32_t allowed;
        int32_t money;
    } cases[] = {
        {"buy::refill_hint", 5, 3, 0},   // four more, even above the maximum
        {"buy::error", 5, 7, 0},         // the allowance follows the player's item
        {"buy::other", 5, 7, 0},         //
        {"add_money::50", 5, 7, 50},     // first play of the level
        {"max_hint::6", 5, 7, 50},       //
        {"gameplayx::pause", 5, 7, 50},  // unknown: nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        screen->SendMessage(c.message);
        EXPECT_EQ(screen->Result().hints, c.hints);
        EXPECT_EQ(screen->AllowedErrors(), c.allowed);
        EXPECT_EQ(Statistic("money") - money, c.money);
    }
    EXPECT_EQ(screen->Ambient().ErrorPanel().Allowance(), 7);
    EXPECT_EQ(screen->MaxHints(), 6);
    EXPECT_EQ(events.items, (std::vector<std::string>{"refill_hint", "error", "other"}));
    EXPECT_EQ(screen->Controls().Hint().Count(), 5);

    // A restart counts a second play: no more money.
    screen->SendMessage("restart");
    screen->SendMessage("add_money::50");
    EXPECT_EQ(Statistic("money") - money, 50);
    EXPECT_TRUE(screen->IsRunning());
}

// A press on a cell, moves through the given points (no frames between: a quick hand), then the
// selection; the release commits it.
TEST_F(GameplayScreenTest, ADragThatLeavesTheBoardRunsToTheLastCellOfItsLine) {
    ASSERT_TRUE(Start());
    const gcElement* first = screen->Process().CellAt(0, 0);
    const gcElement* last = screen->Process().CellAt(4, 3);
    ASSERT_TRUE(first != nullptr && last != nullptr);
    const int32_t left = static_cast<int32_t>(first->left), top = static_cast<int32_t>(first->top);
    const int32_t right = static_cast<int32_t>(last->left) + 30, bottom = static_cast<int32_t>(last->top) + 30;
    const auto x = [&](int column) { return left + 15 + 30 * column; };
    const auto y = [&](int row) { return top + 15 + 30 * row; };
    using Points = std::vector<std::pair<int32_t, int32_t>>;
    const struct {
        const char* why;
        gcCell press;
        Points moves;
        std::vector<gcCell> selected;
    } cases[] = {
        {"flick past the right edge", {2, 0}, {{right + 40, y(0)}}, {{2, 0}, {3, 0}, {4, 0}}},
        {"far past it, a little off the row", {1, 1}, {{right + 300, y(2)}}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {"past the left edge", {3, 2}, {{left - 5, y(2)}}, {{3, 2}, {2, 2}, {1, 2}, {0, 2}}},
        {"past the bottom", {1, 1}, {{x(1), bottom + 100}}, {{1, 1}, {1, 2}, {1, 3}}},
        {"over the top by its column", {0, 2}, {{x(0) + 2, top - 80}}, {{0, 2}, {0, 1}, {0, 0}}},
        {"out over the top beside its row", {0, 0}, {{x(1), y(0)}, {x(3), top - 10}}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        MoveToCell(c.press.column, c.press.row);
        input.Press(QRV::VK_LBUTTON);
        screen->OnMouseDown(1);
        input.SetKey(QRV::VK_LBUTTON, 2);
        for (const auto& [px, py] : c.moves) {
            input.MoveTo(px, py);
            screen->OnMouseMove();
        }
        std::vector<gcCell> selected;
        for (const gcElement* cell : screen->Process().List(gcProcess::kListSelected))
            selected.push_back(cell->Position());
        EXPECT_EQ(selected, c.selected);
        input.Clear();
        input.Release(QRV::VK_LBUTTON);
        screen->OnMouseUp(1);
        input.Clear();
        EXPECT_FALSE(screen->Process().IsSelecting());
        Frames(2);
        for (const gcCell& cell : c.selected) EXPECT_TRUE(screen->Process().CellAt(cell)->opened);
        screen->Close();
        ASSERT_TRUE(Start());
    }
}

// With the trace on, a level's start names its bonus cells, in picture order.
TEST_F(GameplayScreenTest, TheTraceNamesTheBonusCellsOfALevelStarted) {
    Put("pack01/a.xml", GameplayTestKit::LevelXml(kPicture, 2));
    Game::SetTraceEnabled(true);
    testing::internal::CaptureStderr();
    const bool started = Start();
    const std::string written = testing::internal::GetCapturedStderr();
    Game::SetTraceEnabled(false);
    ASSERT_TRUE(started);
    std::string want;
    for (const gcElement* cell : screen->Process().List(gcProcess::kListPicture))
        if (cell->bonus)
            want += (want.empty() ? "" : "|") + std::to_string(cell->column) + " " + std::to_string(cell->row);
    EXPECT_EQ(std::count(want.begin(), want.end(), '|'), 1);
    EXPECT_NE(written.find("quorvel-trace: level bonus cells " + want + "\n"), std::string::npos) << written;
}

// The lessons' demonstrated line: the pointer leaves it alone, no release commits it, a press on
// the board replaces it and the reset button still drops it.
TEST_F(GameplayScreenTest, AScriptedSelectionIsNoMoveOfThePlayers) {
    ASSERT_TRUE(Start());
    Events events(dispatcher);
    const std::vector<gcCell> line = {{0, 0}, {1, 0}, {2, 0}};
    const auto selected = [&] {
        std::vector<gcCell> cells;
        for (const gcElement* cell : screen->Process().List(gcProcess::kListSelected))
            cells.push_back(cell->Position());
        return cells;
    };
    screen->SendMessage("process::selection::0 0::2 0::0.4::0");
    Frames(2);  // under way
    MoveToCell(4, 2);
    screen->OnMouseUp(1);
    EXPECT_EQ(screen->Process().Commands().Count(), 0u);
    Frames(8);
    EXPECT_EQ(selected(), line);
    EXPECT_FALSE(screen->Process().IsSelecting());

    // Moves with no button held, on the board and off it, and releases anywhere.
    MoveToCell(4, 2);
    MoveToCell(0, 3);
    input.MoveTo(10, 10);
    screen->OnMouseMove();
    for (int32_t button : {1, 2}) screen->OnMouseUp(button);
    Frames(2);
    EXPECT_EQ(selected(), line);
    EXPECT_EQ(screen->Process().Commands().Count(), 0u);
    for (const gcCell& cell : line) EXPECT_FALSE(screen->Process().CellAt(cell)->opened);

    // The reset drops it with its events.
    EXPECT_TRUE(screen->Process().ResetSelection(false));
    EXPECT_EQ(events.Count(17), 1);

    // Shown again, a press on the board begins the player's own selection, which the release commits.
    screen->SendMessage("process::selection::0 0::2 0::0.4::0");
    Frames(10);
    Click(3, 1);
    EXPECT_EQ(screen->Process().Commands().Count(), 1u);
    EXPECT_TRUE(screen->Process().CellAt(3, 1)->opened);
    EXPECT_FALSE(screen->Process().CellAt(0, 0)->opened);
    EXPECT_TRUE(selected().size() <= 1u);  // at most the hover mark
}

// The pause button laid over cell (0, 0): a press it takes begins no selection there.
class GameplayScreenOverlapTest : public GameplayScene {
protected:
    void SetUp() override {
        GameplayScene::SetUp();
        Put("pause_button.xml",
            "<pause><TRANSFORM>340 324 0 0 0 0 0 0 0 1 1 1</TRANSFORM><BUTTON5 ID='1' TEXTURE='strip.png'/></pause>");
        Build(kPicture);
    }
};

TEST_F(GameplayScreenOverlapTest, APressAControlTakesBeginsNoSelection) {
    ASSERT_TRUE(Start());
    Frames(5);
    const struct {
        int column, row;
        bool selects;
    } cases[] = {{0, 0, false}, {1, 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        MoveToCell(c.column, c.row);
        input.Press(QRV::VK_LBUTTON);
        screen->OnMouseDown(1);
        input.Clear();
        EXPECT_EQ(screen->Process().IsSelecting(), c.selects);
        screen->Process().ResetSelection(true);
    }
}

}  // namespace
