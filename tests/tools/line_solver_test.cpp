// The line logic the content builder and the content tests solve pictures with: the complete
// line step on hand-made lines, and whole pictures that it solves or leaves undecided.
#include "tools/content_builder/line_solver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace CB = ContentBuilder;

// '#' filled, '.' empty, '?' unknown.
std::vector<CB::LineCell> Line(const std::string& text) {
    std::vector<CB::LineCell> line;
    for (const char c : text)
        line.push_back(c == '#' ? CB::LineCell::kFilled : c == '.' ? CB::LineCell::kEmpty : CB::LineCell::kUnknown);
    return line;
}

std::string Text(const std::vector<CB::LineCell>& line) {
    std::string text;
    for (const CB::LineCell c : line) text += c == CB::LineCell::kFilled ? '#' : c == CB::LineCell::kEmpty ? '.' : '?';
    return text;
}

CB::LinePicture Picture(const std::vector<std::string>& rows) {
    CB::LinePicture p;
    p.rows = static_cast<int>(rows.size());
    p.cols = static_cast<int>(rows.front().size());
    for (const std::string& row : rows)
        for (const char c : row) p.filled.push_back(c == '#');
    return p;
}

TEST(LineSolver, CluesAreTheRunsInOrder) {
    EXPECT_EQ(CB::CluesOf({true, true, false, true, true, true, false, false, true}), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(CB::CluesOf({false, false, false}), std::vector<int>{});
    EXPECT_EQ(CB::CluesOf({true, true, true}), std::vector<int>{3});
}

TEST(LineSolver, LineStepDecidesWhatEveryPlacementAgreesOn) {
    struct Case {
        std::vector<int> clue;
        std::string before, after;
    };
    const Case cases[] = {
        {{}, "?????", "....."},                                          // the empty clue
        {{0}, "???", "..."},                                             // the empty clue written as 0
        {{5}, "?????", "#####"},                                         // fills the line
        {{3}, "?????", "??#??"},                                         // the overlap of both ends
        {{2, 2}, "?????", "##.##"},                                      // fits exactly, gap included
        {{1, 1}, "?????", "?????"},                                      // no cell is common to every placement
        {{1, 1, 1}, "?????", "#.#.#"}, {{3}, "?#???????", "?##?....."},  // a known cell pulls the run towards it
        {{2}, "??.??", "??.??"},                                         // either side of a known gap
        {{3}, "??.???", "...###"},                                       // no room left of the gap
        {{1, 2}, "#?????", "#.????"},                                    // the first run starts at the known cell
        {{1}, "?#?", ".#."},                                             // a complete run empties the rest
        {{2, 1}, "???#??", "???#.?"},                                    // the known cell may belong to either run
        {{1, 3}, "???##?", "???##?"},                                    // the second run may start at 2 or 3
        {{1, 1}, "#???#", "#...#"},                                      // both runs found
    };
    for (const Case& c : cases) {
        std::vector<CB::LineCell> line = Line(c.before);
        ASSERT_TRUE(CB::SolveLine(c.clue, line)) << c.before;
        EXPECT_EQ(Text(line), c.after) << c.before;
    }
}

TEST(LineSolver, ContradictionsLeaveTheLineAsItWas) {
    struct Case {
        std::vector<int> clue;
        std::string line;
    };
    const Case cases[] = {{{3}, "#.#??"}, {{2}, "###"}, {{}, "?#?"}, {{6}, "?????.??"}, {{1, 1}, "##???"}, {{2}, ""}};
    for (const Case& c : cases) {
        std::vector<CB::LineCell> line = Line(c.line);
        EXPECT_FALSE(CB::SolveLine(c.clue, line)) << c.line;
        EXPECT_EQ(Text(line), c.line);
    }
}

TEST(LineSolver, PicturesThatLineLogicSolves) {
    const std::vector<std::vector<std::string>> pictures = {
        {"..#..", ".###.", "#####", ".###.", "..#.."},
        {"#####", "#.#.#", "#####", "#.#.#", "#####"},
        // Needs both directions in turn, several passes.
        {"##...", "#..#.", "..###", ".#.#.", "##..#"},
        {"#"},
        {"...", "...", "..."},
    };
    for (const auto& rows : pictures) {
        CB::LineSolution solution;
        EXPECT_TRUE(CB::SolvesToPicture(Picture(rows), &solution)) << rows.front();
        EXPECT_EQ(solution.undecided, 0);
        EXPECT_FALSE(solution.contradiction);
    }
}

TEST(LineSolver, APictureThatNeedsAGuessIsReportedUndecided) {
    // Two diagonals have the same clues: every cell of the 2 x 2 square stays open.
    CB::LineSolution solution;
    EXPECT_FALSE(CB::SolvesToPicture(Picture({"#..", ".#.", "..."}), &solution));
    EXPECT_EQ(solution.undecided, 4);
    EXPECT_FALSE(solution.contradiction);
    EXPECT_EQ(CB::DrawSolution(3, solution), "??.\n??.\n...\n");

    // A larger one: the swap of the two dots at the bottom is invisible to every line.
    EXPECT_FALSE(CB::SolvesToPicture(Picture({".....", ".#.#.", ".....", "#...#", ".###."}), &solution));
    EXPECT_EQ(solution.undecided, 8);
}

TEST(LineSolver, ContradictingCluesAreReported) {
    // Rows say one filled cell, columns two.
    const CB::LineSolution solution = CB::SolveByLines(2, 2, {{1}, {}}, {{1}, {1}});
    EXPECT_TRUE(solution.contradiction);
}

}  // namespace
