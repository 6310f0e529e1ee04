#include "game/gameplay/process.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/random.h"
#include "game/gameplay/mark_mode.h"
#include "tests/game/gameplay/board_test_kit.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

using BoardTestKit::Board;
using BoardTestKit::Recorder;
using Game::kMarkCross;
using Game::kMarkSquare;
using Cells = std::vector<gcCell>;

const std::vector<std::string> kFive = {"11111", "10001", "10101", "10001", "11111"};

Cells Positions(const std::vector<gcElement*>& cells) {
    Cells out;
    for (const gcElement* cell : cells) out.push_back(cell->Position());
    return out;
}

std::vector<std::string> Blank(int32_t cols, int32_t rows) {
    return std::vector<std::string>(static_cast<size_t>(rows), std::string(static_cast<size_t>(cols), '0'));
}

TEST(BoardProcessTest, LoadPlacesCellsAcrossBlockGaps) {
    Board board(Blank(10, 10));
    ASSERT_TRUE(board.loaded);
    ASSERT_EQ(board.process.List(gcProcess::kListAll).size(), 100u);
    EXPECT_FLOAT_EQ(board.At(4, 0)->CentreX() - board.At(3, 0)->CentreX(), 30.0f);
    EXPECT_FLOAT_EQ(board.At(5, 0)->CentreX() - board.At(4, 0)->CentreX(), 34.0f);
    EXPECT_FLOAT_EQ(board.At(0, 5)->CentreY() - board.At(0, 4)->CentreY(), 34.0f);
    EXPECT_FLOAT_EQ(board.At(0, 0)->left, board.layout.CellOriginX());
    // The inverse finds every cell at its own centre.
    for (gcElement* cell : board.process.List(gcProcess::kListAll)) {
        gcCell at;
        ASSERT_TRUE(board.process.CellUnderPoint(cell->CentreX(), cell->CentreY(), at));
        EXPECT_EQ(at, cell->Position());
    }
}

TEST(BoardProcessTest, LoadRefusesAWrongCellCountAndLeavesNoStaleCells) {
    Board board(kFive);
    ASSERT_TRUE(board.loaded);
    const std::vector<int32_t> tooFew(24, 100), tooMany(26, 100), right(25, 101);
    QRV::TestKit::ParsedXml style(BoardTestKit::kStyle);
    for (const auto* types : {&tooFew, &tooMany}) {
        EXPECT_FALSE(board.process.Load(*types, style.Root()));
        EXPECT_TRUE(board.process.List(gcProcess::kListAll).empty());
        EXPECT_EQ(board.process.CellAt(0, 0), nullptr);
        EXPECT_TRUE(board.process.Checker().RowClues().empty());
    }
    // A missing clue style refuses too.
    EXPECT_FALSE(board.process.Load(right, pugi::xml_node()));
    ASSERT_TRUE(board.process.Load(right, style.Root()));
    EXPECT_EQ(board.process.List(gcProcess::kListAll).size(), 25u);
    EXPECT_TRUE(board.process.List(gcProcess::kListPicture).empty());
    EXPECT_TRUE(std::isnan(board.process.GetSolvedFraction()));
}

TEST(BoardProcessTest, BonusesAreClampedAndFollowTheBoardsEngine) {
    const std::string geometry = "elSize='30 30' block='5 5' shiftBlock='-4 -4' position='512 384' bonuses='50'";
    std::vector<std::string> picture = Blank(10, 10);
    picture[3] = "1111111111";  // 10 picture cells
    Board board(picture, geometry);
    ASSERT_TRUE(board.loaded);
    int32_t flagged = 0;
    for (gcElement* cell : board.process.List(gcProcess::kListAll)) flagged += cell->bonus;
    EXPECT_EQ(flagged, 10);

    // Three bonuses with a seeded engine: the same cells every time.
    const std::string three = "elSize='30 30' block='5 5' shiftBlock='-4 -4' position='512 384' bonuses='3'";
    QRV::TestKit::ParsedXml level(BoardTestKit::LevelText(picture, three));
    QRV::TestKit::ParsedXml style(BoardTestKit::kStyle);
    ASSERT_TRUE(board.layout.Load(level.Root().child("settings")));
    std::vector<Cells> runs;
    for (int i = 0; i < 2; ++i) {
        board.process.Random().seed(7);
        ASSERT_TRUE(board.process.Load(level.Root().child("gElements"), style.Root()));
        Cells bonus;
        for (gcElement* cell : board.process.List(gcProcess::kListAll))
            if (cell->bonus) bonus.push_back(cell->Position());
        EXPECT_EQ(bonus.size(), 3u);
        runs.push_back(bonus);
    }
    EXPECT_EQ(runs[0], runs[1]);
}

TEST(BoardProcessTest, CellAtChecksTheBoard) {
    Board board(Blank(6, 4));
    const struct {
        gcCell at;
        bool found;
    } cases[] = {{{0, 0}, true}, {{5, 3}, true}, {{6, 0}, false}, {{0, 4}, false}, {{-1, 2}, false}, {{2, -1}, false}};
    for (const auto& c : cases) {
        gcElement* cell = board.process.CellAt(c.at);
        EXPECT_EQ(cell != nullptr, c.found) << c.at.column << " " << c.at.row;
        if (cell != nullptr) {
            EXPECT_EQ(cell->Position(), c.at);
        }
    }
}

TEST(BoardProcessTest, SelectionFollowsTheLongerAxisFromTheAnchor) {
    const struct {
        std::vector<gcCell> drags;  // in order; the selection after the last one is checked
        Cells expected;
    } cases[] = {
        {{{5, 4}}, {{2, 2}, {3, 2}, {4, 2}, {5, 2}}},
        {{{4, 5}}, {{2, 2}, {2, 3}, {2, 4}, {2, 5}}},
        {{{4, 4}}, {{2, 2}, {3, 2}, {4, 2}}},  // a tie goes to the row
        {{{0, 2}}, {{2, 2}, {1, 2}, {0, 2}}},
        {{{5, 4}, {3, 6}}, {{2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}}},  // the axis is recomputed
        {{{5, 2}, {2, 2}}, {{2, 2}}},                                  // back onto the anchor
    };
    for (const auto& c : cases) {
        Board board(Blank(8, 8));
        ASSERT_TRUE(board.process.BeginSelection(kMarkSquare, {2, 2}, false));
        for (const gcCell& to : c.drags) EXPECT_TRUE(board.process.DragSelectionTo(kMarkCross, to, false));
        EXPECT_EQ(Positions(board.process.List(gcProcess::kListSelected)), c.expected);
        EXPECT_EQ(board.process.MarkMode(), kMarkCross);
    }
}

TEST(BoardProcessTest, SelectionEventsAndBlockedCells) {
    Board board(Blank(6, 6));
    Recorder heard(board.dispatcher);
    board.At(3, 1)->blocked = 1;
    board.At(0, 0)->blocked = 1;
    // A press on a blocked cell starts nothing.
    EXPECT_FALSE(board.process.BeginSelection(kMarkSquare, {0, 0}, false));
    EXPECT_TRUE(heard.heard.empty());
    ASSERT_TRUE(board.process.BeginSelection(kMarkSquare, {1, 1}, false));
    // Dragging onto the same cell changes nothing; onto a blocked cell is refused...
    EXPECT_FALSE(board.process.DragSelectionTo(kMarkSquare, {1, 1}, false));
    EXPECT_FALSE(board.process.DragSelectionTo(kMarkSquare, {3, 1}, false));
    // ...but a line across it keeps it.
    ASSERT_TRUE(board.process.DragSelectionTo(kMarkSquare, {4, 1}, false));
    EXPECT_EQ(Positions(board.process.List(gcProcess::kListSelected)), (Cells{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    EXPECT_EQ(heard.Ids(), (std::vector<int32_t>{12, 13, 14, 15}));
    EXPECT_EQ(heard.heard[3].cells, (Cells{{4, 1}}));
    EXPECT_TRUE(board.process.ResetSelection(false));
    EXPECT_FALSE(board.process.IsSelecting());
    EXPECT_EQ(heard.Ids(), (std::vector<int32_t>{12, 13, 14, 15, 16, 17}));
    EXPECT_FALSE(board.process.ResetSelection(false));  // nothing left

    // A forced selection from a blocked anchor: not reset by the player, silently by a script.
    ASSERT_TRUE(board.process.BeginSelection(kMarkSquare, {0, 0}, true));
    EXPECT_FALSE(board.process.ResetSelection(false));
    EXPECT_FALSE(board.process.CommitSelection(kMarkSquare, false));
    heard.heard.clear();
    EXPECT_TRUE(board.process.OnMessage({"reset_selection"}));
    EXPECT_TRUE(board.process.List(gcProcess::kListSelected).empty());
    EXPECT_TRUE(heard.heard.empty());

    // Without a selection being made a drag is the hover mark: one cell.
    ASSERT_TRUE(board.process.DragSelectionTo(kMarkSquare, {5, 5}, false));
    ASSERT_TRUE(board.process.DragSelectionTo(kMarkSquare, {2, 5}, false));
    EXPECT_EQ(Positions(board.process.List(gcProcess::kListSelected)), (Cells{{2, 5}}));
    EXPECT_FALSE(board.process.CommitSelection(kMarkSquare, false));
}

TEST(BoardProcessTest, AMoveOpensItsCellsOneAfterAnother) {
    Board board({"11100", "00000"});
    board.layout.EffectSettings().SetFloat("open_delay", 0.5f);
    Recorder heard(board.dispatcher);
    ASSERT_TRUE(board.process.BeginSelection(kMarkSquare, {0, 0}, false));
    ASSERT_TRUE(board.process.DragSelectionTo(kMarkSquare, {2, 0}, false));
    heard.heard.clear();
    // The middle cell is busy with an earlier open: it leaves the move and takes no delay slot.
    ASSERT_TRUE(board.At(1, 0)->Open(kMarkSquare, {}, 10.0f));
    ASSERT_TRUE(board.process.CommitSelection(kMarkSquare, false));
    ASSERT_EQ(board.process.Commands().Count(), 1u);
    EXPECT_TRUE(board.process.List(gcProcess::kListSelected).empty());
    EXPECT_FALSE(board.process.CanUndo());
    // Frames of 0.25 s: a cell's timer starts on the first frame and counts from the second, so a
    // cell due at t opens on the first frame whose count reaches t: 0 s on frame 2, 0.5 s on 3.
    std::vector<int32_t> openedAt;
    for (int frame = 1; frame <= 6; ++frame) {
        board.Tick();
        for (const BoardTestKit::Heard& h : heard.heard)
            if (h.id == 18 && static_cast<int>(openedAt.size()) < 2 && h.cells[0].column == (openedAt.empty() ? 0 : 2))
                openedAt.push_back(frame);
    }
    EXPECT_EQ(openedAt, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(heard.Ids(), (std::vector<int32_t>{18, 18, 20}));
    EXPECT_EQ(heard.heard[2].cells, (Cells{{0, 0}, {2, 0}}));
    EXPECT_TRUE(board.process.CanUndo());
    EXPECT_EQ(Positions(board.process.List(gcProcess::kListOpened)), (Cells{{0, 0}, {2, 0}}));
    EXPECT_FLOAT_EQ(board.process.GetSolvedFraction(), 2.0f / 3.0f);
}

TEST(BoardProcessTest, WrongMarksUndoAndRefusedMoves) {
    Board board({"11000", "00000"});
    Recorder heard(board.dispatcher);
    // A cross over both picture cells: two wrong answers, then the move with errors.
    board.process.BeginSelection(kMarkCross, {0, 0}, false);
    board.process.DragSelectionTo(kMarkCross, {1, 0}, false);
    board.process.CommitSelection(kMarkCross, false);
    board.Tick(3);
    heard.heard.erase(heard.heard.begin(), heard.heard.begin() + 4);  // 12 to 15
    EXPECT_EQ(heard.Ids(), (std::vector<int32_t>{19, 19, 21}));
    // The cells still show their true kind and count as revealed; their row's clue is crossed.
    EXPECT_TRUE(board.At(0, 0)->mark.playing);
    EXPECT_EQ(board.process.List(gcProcess::kListOpened).size(), 2u);
    EXPECT_TRUE(board.process.Checker().RowClues()[0][0].crossed);

    // A move over opened cells only is refused: not kept, no events.
    heard.heard.clear();
    board.process.BeginSelection(kMarkSquare, {0, 0}, false);
    EXPECT_TRUE(board.process.CommitSelection(kMarkSquare, false));
    board.Tick(3);
    EXPECT_EQ(board.process.Commands().Count(), 1u);
    EXPECT_EQ(heard.Ids(), (std::vector<int32_t>{12, 13}));

    // A newer move still at work is skipped; the older one is undone.
    heard.heard.clear();
    board.layout.EffectSettings().SetFloat("open_delay", 5.0f);
    board.process.BeginSelection(kMarkSquare, {2, 1}, false);
    board.process.DragSelectionTo(kMarkSquare, {3, 1}, false);
    board.process.CommitSelection(kMarkSquare, false);
    board.Tick(3);
    ASSERT_EQ(board.process.Commands().Count(), 2u);
    ASSERT_TRUE(board.process.Undo());
    EXPECT_EQ(heard.heard.back().id, 22);
    EXPECT_EQ(heard.heard.back().cells, (Cells{{0, 0}, {1, 0}}));
    // Every cell of the move closes, not only its first.
    for (const gcCell& cell : heard.heard.back().cells) EXPECT_FALSE(board.At(cell.column, cell.row)->opened);
    EXPECT_TRUE(board.process.List(gcProcess::kListOpened).empty());
    EXPECT_FALSE(board.process.Checker().RowClues()[0][0].crossed);
    EXPECT_FALSE(board.process.Undo());  // the newer one cannot be undone yet
}

// A tutorial step that rejects every wrong move from inside event 21, with a listener after it.
class RejectingStep : public QRV::gListener {
public:
    RejectingStep(QRV::gEventDispatcher& d, gcProcess& p) : dispatcher(d), process(p) {
        Subscribe<&RejectingStep::OnWrong>(21, this);
        dispatcher.AddListener(this);
    }
    ~RejectingStep() override { dispatcher.RemoveListener(this); }
    void OnWrong(const std::vector<gcElement*>*) { process.OnMessage({"undo"}); }

    QRV::gEventDispatcher& dispatcher;
    gcProcess& process;
};

TEST(BoardProcessTest, AMoveUndoneInsideItsOwnEventIsSafe) {
    Board board({"10100", "00000"});
    RejectingStep step(board.dispatcher, board.process);
    Recorder later(board.dispatcher);
    board.process.BeginSelection(kMarkCross, {0, 0}, false);
    board.process.DragSelectionTo(kMarkCross, {2, 0}, false);
    board.process.CommitSelection(kMarkCross, false);
    board.Tick(4);
    // The undo ran inside 21 (22 first), and the later listener still got the whole move.
    const std::vector<int32_t> ids = later.Ids();
    ASSERT_GE(ids.size(), 2u);
    EXPECT_EQ(ids[ids.size() - 2], 22);
    EXPECT_EQ(ids.back(), 21);
    EXPECT_EQ(later.heard.back().cells, (Cells{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(board.process.Commands().Count(), 0u);
    EXPECT_TRUE(board.process.List(gcProcess::kListOpened).empty());
}

TEST(BoardProcessTest, BlockingByScriptAndTheLevelStart) {
    Board board(Blank(5, 5));
    Recorder heard(board.dispatcher);
    const struct {
        std::vector<std::string> tokens;
        int32_t blockedCount;
    } steps[] = {
        {{"is_block", "true"}, 25},
        {{"block", "1 1|3 2|9 9", "false"}, 23},  // a position off the board is skipped
        {{"is_block", "0"}, 0},
        {{"block", "4 4", "yes"}, 1},
    };
    for (const auto& s : steps) {
        EXPECT_TRUE(board.process.OnMessage(s.tokens)) << s.tokens[0];
        int32_t blocked = 0;
        for (gcElement* cell : board.process.List(gcProcess::kListAll)) blocked += cell->blocked;
        EXPECT_EQ(blocked, s.blockedCount) << s.tokens[0];
    }
    EXPECT_FALSE(board.At(1, 1)->blocked);
    EXPECT_TRUE(board.At(4, 4)->blocked);
    // A forced selection commits from a blocked anchor.
    ASSERT_TRUE(board.process.BeginSelection(kMarkCross, {4, 4}, true));
    EXPECT_TRUE(board.process.CommitSelection(kMarkCross, true));
    // The level start unblocks every cell, after a tutorial block.
    board.process.OnMessage({"is_block", "true"});
    board.dispatcher.Send<>(4);
    for (gcElement* cell : board.process.List(gcProcess::kListAll)) EXPECT_FALSE(cell->blocked);
    EXPECT_EQ(heard.Ids().back(), 4);
}

TEST(BoardProcessTest, HintCellsComeFromTheSharedGenerator) {
    const uint32_t saved = QRV::JC_RANDOM::State();
    Board board({"1111111", "0000000"});
    QRV::JC_RANDOM::Seed(0);
    // 1013904223 mod 7 = 3.
    ASSERT_NE(board.process.PickHintCell(), nullptr);
    QRV::JC_RANDOM::Seed(0);
    EXPECT_EQ(board.process.PickHintCell()->Position(), (gcCell{3, 0}));
    // Opened, blocked and busy picture cells are left out; none left gives null.
    board.At(0, 0)->opened = 1;
    board.At(1, 0)->blocked = 1;
    ASSERT_TRUE(board.At(2, 0)->Open(kMarkSquare, {}, 9.0f));
    for (int i = 0; i < 20; ++i) {
        const gcElement* pick = board.process.PickHintCell();
        ASSERT_NE(pick, nullptr);
        EXPECT_GE(pick->column, 3);
    }
    for (int32_t c = 3; c < 7; ++c) board.At(c, 0)->opened = 1;
    EXPECT_EQ(board.process.PickHintCell(), nullptr);
    QRV::JC_RANDOM::Seed(saved);
}

TEST(BoardProcessTest, OpenCellAnswersWhetherItOpened) {
    Board board({"10", "01"});
    Recorder heard(board.dispatcher);
    EXPECT_FALSE(board.process.OpenCell({5, 5}));  // no cell
    EXPECT_TRUE(board.process.OpenCell({0, 0}));
    EXPECT_FALSE(board.process.OpenCell({0, 0}));  // busy
    board.Tick(2);
    EXPECT_FALSE(board.process.OpenCell({0, 0}));  // opened
    EXPECT_EQ(heard.Ids(), (std::vector<int32_t>{18, 20}));
    // A hint on an empty cell is a wrong square.
    EXPECT_TRUE(board.process.OpenCell({1, 0}));
    board.Tick(2);
    EXPECT_EQ(heard.Ids(), (std::vector<int32_t>{18, 20, 19, 21}));
}

TEST(BoardProcessTest, ResetLeavesNothingToUndo) {
    Board board({"11", "11"});
    board.process.OpenCell({0, 0});
    board.process.OpenCell({1, 0});
    board.Tick(2);
    ASSERT_EQ(board.process.Commands().Count(), 2u);
    board.process.Reset();
    EXPECT_EQ(board.process.Commands().Count(), 0u);
    EXPECT_FALSE(board.process.OnMessage({"undo"}) && board.process.CanUndo());
    EXPECT_TRUE(board.process.List(gcProcess::kListOpened).empty());
    EXPECT_FALSE(board.process.OnMessage({}));
    EXPECT_FALSE(board.process.OnMessage({"unheard_of"}));
}

TEST(BoardProcessTest, ScriptCommandsReadTheirTokens) {
    Board board(Blank(4, 4));
    EXPECT_TRUE(board.process.OnMessage({"make_bonus", "2 3"}));
    EXPECT_TRUE(board.At(2, 3)->bonus);
    EXPECT_TRUE(board.process.OnMessage({"make_bonus", "1", "2"}));
    EXPECT_TRUE(board.At(1, 2)->bonus);
    EXPECT_TRUE(board.process.OnMessage({"make_bonus", "9 9"}));  // no cell: nothing
    EXPECT_EQ(gcParseCells("1 2|3 4| 5  6 "), (Cells{{1, 2}, {3, 4}, {5, 6}}));
    EXPECT_EQ(gcParseCell("7"), (gcCell{7, 0}));
    EXPECT_TRUE(gcParseCells("").empty());
}

}  // namespace
