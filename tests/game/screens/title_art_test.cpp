// The title screen's pictures as the content builder draws them: the runs a picture's clues show,
// the order in which the little picture solves itself, and its sheet against the frame numbers the
// title window's animation reads.
#include "tools/content_builder/title_art.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/content_builder/theme.h"

namespace {

namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

std::vector<std::string> ThemePicture() { return {Theme::kTitleArt.picture.begin(), Theme::kTitleArt.picture.end()}; }

std::vector<uint8_t> ClueFontFile() {
    std::string path(Theme::kLatoBlack);
    if (!std::filesystem::exists(path)) path = Theme::kDejaVuSansBold;
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The RGBA bytes of one square cell of a sheet.
std::vector<uint8_t> Cell(const CB::TextureImage& sheet, int side, int index, int columns) {
    std::vector<uint8_t> out;
    const int left = (index % columns) * side, top = (index / columns) * side;
    for (int y = top; y < top + side; ++y) {
        const auto row = sheet.rgba.begin() + (static_cast<ptrdiff_t>(y) * sheet.width + left) * 4;
        out.insert(out.end(), row, row + static_cast<ptrdiff_t>(side) * 4);
    }
    return out;
}

TEST(TitleArtRuns, ClueRunsOfALine) {
    const struct {
        const char* line;
        std::vector<int> runs;
    } cases[] = {
        {"", {}},       {".....", {}},  {"#####", {5}},         {".##.#", {2, 1}}, {"#.#.#", {1, 1, 1}},
        {"##...", {2}}, {"...##", {2}}, {"#..##.#", {1, 2, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(CB::LineRuns(c.line), c.runs) << '"' << c.line << '"';
}

TEST(TitleArtSolving, EveryCellIsMarkedOnceAndRightly) {
    const std::vector<std::vector<std::string>> pictures = {
        ThemePicture(),
        {"#.#", "...", "###"},
        {"....", "....", "...."},
        {"#..#", ".##.", "#..#"},
    };
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.front());
        const std::vector<CB::SolvingMove> order = CB::SolvingOrder(picture);
        ASSERT_EQ(order.size(), picture.size() * picture[0].size());
        std::set<std::pair<int, int>> seen;
        for (const CB::SolvingMove& move : order) {
            EXPECT_TRUE(seen.insert({move.row, move.col}).second) << move.row << " " << move.col;
            EXPECT_EQ(move.fill, picture[move.row][move.col] == '#') << move.row << " " << move.col;
        }
    }
}

TEST(TitleArtSolving, LinesWithoutChoiceComeFirstThenCompletedLinesAreCrossed) {
    const std::vector<CB::SolvingMove> order = CB::SolvingOrder(ThemePicture());
    // Row 2 ("#####") and column 2 (filled top to bottom) leave no choice: nine fills first.
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(order[i].row == 2 && order[i].col == i && order[i].fill) << i;
    for (int i = 5; i < 9; ++i) EXPECT_TRUE(order[i].col == 2 && order[i].fill) << i;
    // Then row 0 ("..#..") has its one filled cell and is crossed out.
    for (int i = 9; i < 13; ++i) EXPECT_TRUE(order[i].row == 0 && !order[i].fill) << i;
}

TEST(TitleArtSheet, FramesMatchWhatTheTitleWindowReads) {
    const CB::TextureImage sheet = CB::DrawSolvingSheet(ClueFontFile());
    const int side = CB::SolvingFrameSide();
    const int columns = Theme::kTitleArt.sheetColumns;
    const int frames = CB::SolvingFrames();
    auto value = [](const char* name) {
        for (const Theme::LayoutValue& v : Theme::kTitleWindowValues)
            if (v.name == name) return static_cast<int>(v.value);
        ADD_FAILURE() << name;
        return 0;
    };
    const int cells = static_cast<int>(Theme::kTitleArt.picture.size() * Theme::kTitleArt.picture[0].size());
    EXPECT_EQ(frames, 1 + cells + Theme::kTitleArt.holdFrames);
    EXPECT_EQ(value("title_solving_frames"), frames);
    EXPECT_EQ(value("title_solving_columns"), columns);
    const int rows = value("title_solving_rows");
    EXPECT_GE(rows * columns, frames);
    EXPECT_LT((rows - 1) * columns, frames);
    EXPECT_EQ(sheet.width, side * columns);
    EXPECT_EQ(sheet.height, side * rows);
    // Each move changes the picture; once solved it holds still.
    for (int frame = 1; frame <= cells; ++frame)
        EXPECT_NE(Cell(sheet, side, frame, columns), Cell(sheet, side, frame - 1, columns)) << frame;
    for (int frame = cells + 1; frame < frames; ++frame)
        EXPECT_EQ(Cell(sheet, side, frame, columns), Cell(sheet, side, cells, columns)) << frame;
}

TEST(TitleArtBand, OpaqueBodyInsideASoftShadow) {
    const struct {
        int width, height;
    } cases[] = {{Theme::kTitleArt.greetingBandWidth, Theme::kTitleArt.greetingBandHeight},
                 {Theme::kTitleArt.nameBandWidth, Theme::kTitleArt.nameBandHeight}};
    for (const auto& c : cases) {
        const CB::TextureImage band = CB::DrawBand(c.width, c.height);
        ASSERT_GT(band.width, c.width);
        ASSERT_GT(band.height, c.height);
        auto alpha = [&](int x, int y) { return band.rgba[(static_cast<size_t>(y) * band.width + x) * 4 + 3]; };
        EXPECT_EQ(alpha(band.width / 2, band.height / 2), 255);
        EXPECT_EQ(alpha(0, 0), 0);
        EXPECT_EQ(alpha(band.width - 1, band.height - 1), 0);
        // The shadow falls below the body, not above it.
        const int margin = (band.height - c.height) / 2;
        EXPECT_GT(alpha(band.width / 2, band.height - margin + 2), alpha(band.width / 2, margin - 3));
    }
}

}  // namespace
