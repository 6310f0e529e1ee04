#include "game/gameplay/clue_checker.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/gameplay/numbers_panel.h"
#include "tests/game/gameplay/board_test_kit.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

// Cells of a picture ('1' picture cell), owned here; opened cells given by 'o' (picture, opened)
// and 'x' (empty, opened).
struct ClueBoard {
    explicit ClueBoard(const std::vector<std::string>& picture) {
        rows = static_cast<int32_t>(picture.size());
        cols = static_cast<int32_t>(picture[0].size());
        for (int32_t r = 0; r < rows; ++r)
            for (int32_t c = 0; c < cols; ++c) {
                const char ch = picture[static_cast<size_t>(r)][static_cast<size_t>(c)];
                owned.push_back(std::make_unique<gcElement>(ch == '1' || ch == 'o' ? 100 : 101, r, c));
                owned.back()->opened = ch == 'o' || ch == 'x';
                cells.push_back(owned.back().get());
            }
        checker.Compute(&cells, cols, rows);
    }
    gcElement* At(int32_t c, int32_t r) { return cells[static_cast<size_t>(r * cols + c)]; }
    // Opens the cell and tells the checker, as an answered cell does.
    void Reveal(int32_t c, int32_t r) {
        At(c, r)->opened = 1;
        checker.OnCellAnswered(At(c, r));
    }
    std::string RowCrosses(int32_t r) const {
        std::string marks;
        for (const gcClue& clue : checker.RowClues()[static_cast<size_t>(r)]) marks += clue.crossed ? 'X' : '-';
        return marks;
    }

    std::vector<std::unique_ptr<gcElement>> owned;
    std::vector<gcElement*> cells;
    int32_t cols = 0, rows = 0;
    gcClueChecker checker;
};

std::string Describe(const gcClueLine& line, bool columns) {
    std::string text;
    for (const gcClue& clue : line) {
        const int32_t from = columns ? clue.startRow : clue.startColumn;
        const int32_t to = columns ? clue.endRow : clue.endColumn;
        text += std::to_string(clue.length) + "@" + std::to_string(from) + "-" + std::to_string(to) + " ";
    }
    return text;
}

TEST(BoardClueTest, RunsOfARowBecomeItsClues) {
    const struct {
        const char* row;
        const char* clues;
    } cases[] = {
        {"110111001", "2@0-1 3@3-5 1@8-8 "},
        {"000000000", "0@0-8 "},
        {"111111111", "9@0-8 "},
        {"100000001", "1@0-0 1@8-8 "},  // runs touching both edges
        {"010101010", "1@1-1 1@3-3 1@5-5 1@7-7 "},
    };
    for (const auto& c : cases) {
        ClueBoard board({c.row});
        EXPECT_EQ(Describe(board.checker.RowClues()[0], false), c.clues) << c.row;
    }
}

TEST(BoardClueTest, ColumnsAreWalkedTopToBottom) {
    ClueBoard board({"101", "101", "001", "100"});
    ASSERT_EQ(board.checker.ColumnClues().size(), 3u);
    EXPECT_EQ(Describe(board.checker.ColumnClues()[0], true), "2@0-1 1@3-3 ");
    EXPECT_EQ(Describe(board.checker.ColumnClues()[1], true), "0@0-3 ");
    EXPECT_EQ(Describe(board.checker.ColumnClues()[2], true), "3@0-2 ");
    // A short cell list computes nothing rather than reading past it.
    gcClueChecker checker;
    checker.Compute(&board.cells, 4, 4);
    EXPECT_TRUE(checker.RowClues().empty());
}

TEST(BoardClueTest, CrossOutRules) {
    struct Case {
        const char* row;
        std::vector<int32_t> reveal;  // columns revealed in order
        const char* crosses;          // after the last reveal
        const char* why;
    };
    const Case cases[] = {
        {"01010", {1}, "X-", "first clue, pinned: no room left of it"},
        {"01010", {1, 3}, "XX", "then the last clue, pinned"},
        {"01010", {3}, "-X", "the last clue alone"},
        {"1011100", {3}, "--", "a run half revealed crosses nothing"},
        {"1001110001", {3, 4, 5}, "-X-", "unique longest, wherever it lies"},
        {"0011001100", {2, 3}, "X-", "two equal longest, but too little room to the left"},
        {"00011000110000", {3, 4}, "--", "two equal longest and room on both sides"},
        {"00011000110000", {8, 9}, "--", "the same on the other side"},
        {"1101100110", {3, 4}, "---", "equal neighbours, room both ways"},
        {"1101100110", {3, 4, 0, 1}, "XX-", "first and pinned, then its neighbour is crossed"},
        {"110100", {1, 3}, "-X", "last and pinned: the revealed run beside it needs its gap"},
        {"0000000", {0, 1, 2, 3, 4, 5}, "-", "the zero clue waits for its whole line"},
        {"0000000", {0, 1, 2, 3, 4, 5, 6}, "X", "crossed with the whole line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.row) + ": " + c.why);
        ClueBoard board({c.row});
        for (int32_t column : c.reveal) board.Reveal(column, 0);
        EXPECT_EQ(board.RowCrosses(0), c.crosses);
    }
}

TEST(BoardClueTest, UndoTakesCrossesOnlyFromRunsThatHoldAnUndoneCell) {
    ClueBoard board({"110110", "000000"});
    for (int32_t c : {0, 1, 3, 4}) board.Reveal(c, 0);
    EXPECT_EQ(board.RowCrosses(0), "XX");
    // Columns 0 and 1 are single runs at their tops and crossed too.
    EXPECT_TRUE(board.checker.ColumnClues()[0][0].crossed);
    const std::vector<gcElement*> undone = {board.At(4, 0)};
    board.At(4, 0)->opened = 0;
    board.checker.OnCommandUndone(&undone);
    EXPECT_EQ(board.RowCrosses(0), "X-");
    EXPECT_TRUE(board.checker.ColumnClues()[0][0].crossed);
    EXPECT_FALSE(board.checker.ColumnClues()[4][0].crossed);
}

TEST(BoardClueTest, SegmentsContainTheirOwnCellsOnly) {
    gcClue row;
    row.startColumn = 2, row.endColumn = 5, row.startRow = row.endRow = 3;
    gcClue column;
    column.startColumn = column.endColumn = 1, column.startRow = 4, column.endRow = 2;
    gcClue single;
    single.startColumn = single.endColumn = 7, single.startRow = single.endRow = 7;
    gcClue crooked;  // not straight: must answer, not walk for ever
    crooked.startColumn = 0, crooked.endColumn = 2, crooked.startRow = 0, crooked.endRow = 1;
    const struct {
        const gcClue* segment;
        gcCell cell;
        bool inside;
    } cases[] = {
        {&row, {2, 3}, true},     {&row, {5, 3}, true},     {&row, {6, 3}, false},     {&row, {3, 4}, false},
        {&column, {1, 2}, true},  {&column, {1, 4}, true},  {&column, {1, 5}, false},  {&single, {7, 7}, true},
        {&single, {7, 8}, false}, {&crooked, {1, 1}, true}, {&crooked, {2, 1}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SegmentContainsCell(*c.segment, c.cell), c.inside) << c.cell.column << " " << c.cell.row;
}

TEST(BoardClueTest, PanelPlacesTheLastClueNearestTheBoard) {
    QRV::TestKit::ParsedXml style(BoardTestKit::kStyle);
    ClueBoard board({"10100", "01000", "00000", "00000", "00000", "11011"});
    gcNumbersPanel left(1);
    ASSERT_TRUE(left.Load(style.Root().child("numbersLeft"), 100.0f, 100.0f, -4, 30, 6, 5));
    left.Layout(&board.checker.RowClues());
    const struct {
        int32_t line, index;
        float x, y;
    } cases[] = {
        {0, 1, 86.0f, 119.0f},  // y counts the gap before the first block
        {0, 0, 68.0f, 119.0f},
        {1, 0, 86.0f, 149.0f},
        {5, 1, 86.0f, 273.0f},  // the second block: one more gap
    };
    for (const auto& c : cases) {
        const gcClue& clue = board.checker.RowClues()[static_cast<size_t>(c.line)][static_cast<size_t>(c.index)];
        EXPECT_FLOAT_EQ(clue.strike.transform->positionX, c.x) << c.line << "/" << c.index;
        EXPECT_FLOAT_EQ(clue.strike.transform->positionY, c.y) << c.line << "/" << c.index;
    }
    // Columns swap the axes.
    gcNumbersPanel up(0);
    ASSERT_TRUE(up.Load(style.Root().child("numbersUp"), 100.0f, 100.0f, -4, 30, 5, 5));
    up.Layout(&board.checker.ColumnClues());
    const gcClue& top = board.checker.ColumnClues()[0].back();
    EXPECT_FLOAT_EQ(top.strike.transform->positionX, 119.0f);
    EXPECT_FLOAT_EQ(top.strike.transform->positionY, 86.0f);
    EXPECT_EQ(left.OpenColor(), 0xFF000000u);
    EXPECT_EQ(left.CrossedColor(), 0x80808080u);
}

TEST(BoardClueTest, PanelStyleNeedsAllFiveAttributes) {
    for (const char* missing : {"font", "font_color", "font_cross", "interval", "shift_first"}) {
        QRV::TestKit::ParsedXml style(BoardTestKit::kStyle);
        pugi::xml_node element = style.Root().child("numbersLeft");
        element.remove_attribute(missing);
        gcNumbersPanel panel(1);
        EXPECT_FALSE(panel.Load(element, 0, 0, 0, 30, 5, 5)) << missing;
    }
}

}  // namespace
