#include "game/gameplay/board_load.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/graphics/render.h"
#include "tests/game/gameplay/board_test_kit.h"
#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/null_renderer.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

using QRV::TestKit::ParsedXml;

struct LoadCase {
    std::string level;
    bool decorationAnswer;
    bool loaded;
    const char* why;
};

TEST(BoardLoadTest, AFailedLoadLeavesTheBoardReset) {
    const std::string good = BoardTestKit::LevelText({"110", "011"});
    std::string shortLevel = good;
    shortLevel.replace(shortLevel.find("<e type='100'/>"), 15, "");
    std::string noElements = good.substr(0, good.find("<gElements>")) + "</level>";
    const LoadCase cases[] = {
        {good, true, true, "a whole level"},
        {shortLevel, true, false, "one cell short"},
        {noElements, true, false, "no cells"},
        {good, false, false, "the decoration refused"},
        {good, true, true, "and a good one after all of them"},
    };
    BoardTestKit::Board board({"1"});
    ParsedXml style(BoardTestKit::kStyle);
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.why);
        ParsedXml level(c.level);
        int decorationCalls = 0;
        const bool loaded =
            gcLoadBoard(level.document, board.layout, board.process, style.Root(), [&](const pugi::xml_node& root) {
                ++decorationCalls;
                EXPECT_STREQ(root.name(), "level");
                return c.decorationAnswer;
            });
        EXPECT_EQ(loaded, c.loaded);
        EXPECT_EQ(board.layout.IsLoaded(), c.loaded);
        // Never stale cells: either exactly the level's or none.
        EXPECT_EQ(board.process.List(gcProcess::kListAll).size(), c.loaded ? 6u : 0u);
        EXPECT_EQ(board.process.Commands().Count(), 0u);
    }
    EXPECT_EQ(gcLoadBoard("no such level.xml", board.layout, board.process, style.Root(), nullptr),
              gcBoardLoadResult::MissingFile);
    EXPECT_TRUE(board.process.List(gcProcess::kListAll).empty());
}

// By key: a board the screen cannot hold (its sums past 32 bits included) is told apart from one
// refused for other reasons, so that the caller stops with the load error.
class BoardLoadKeyedTest : public QRV::TestSupport::ResourceTreeTest {};

TEST_F(BoardLoadKeyedTest, ABoardLargerThanTheScreenIsToldApart) {
    const std::string geometry = "block='5 5' shiftBlock='-4 -4' position='512 384' bonuses='0'";
    Put("fits.xml", BoardTestKit::LevelText({"110", "011"}, "elSize='30 30' " + geometry));
    Put("wide.xml", BoardTestKit::LevelText({"110", "011"}, "elSize='400 30' " + geometry));
    Put("huge.xml", BoardTestKit::LevelText({"110", "011"}, "elSize='2147483647 30' " + geometry));
    Put("flat.xml", BoardTestKit::LevelText({"110", "011"}, "elSize='0 30' " + geometry));
    ASSERT_EQ(manager.LoadMain(), 1);
    BoardTestKit::Board board({"1"});
    ParsedXml style(BoardTestKit::kStyle);
    const struct {
        const char* key;
        gcBoardLoadResult result;
    } cases[] = {
        {"fits.xml", gcBoardLoadResult::Loaded},
        {"wide.xml", gcBoardLoadResult::TooLarge},
        {"huge.xml", gcBoardLoadResult::TooLarge},
        {"flat.xml", gcBoardLoadResult::Refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(gcLoadBoard(c.key, board.layout, board.process, style.Root(), nullptr), c.result);
        EXPECT_EQ(board.layout.IsLoaded(), c.result == gcBoardLoadResult::Loaded);
    }
}

TEST(BoardLoadTest, DrawShowsMarksSelectionAndOrdinals) {
    QRV::TestKit::NullRenderer renderer;
    BoardTestKit::Board board({"11100", "00000"});
    ParsedXml animations("<a><square name='square' TEXTURE='s.png'><ANIMATION/></square></a>");
    board.layout.LoadAnimations(animations.Root());
    board.process.Activate(nullptr);
    const auto drawn = [&] { return renderer.DrawnVertices([&] { board.process.Draw(); }).size(); };
    const size_t empty = drawn();
    board.process.OpenCell({0, 0});
    board.Tick(2);
    const size_t oneMark = drawn();
    EXPECT_GT(oneMark, empty);
    // Each selected cell adds its selection sprite; no font draws no ordinals but nothing fails.
    board.process.BeginSelection(100, {1, 0}, false);
    const size_t one = drawn();
    board.process.DragSelectionTo(100, {2, 0}, false);
    EXPECT_EQ(drawn() - one, one - oneMark);
    board.process.Deactivate();
    EXPECT_TRUE(board.process.List(gcProcess::kListSelected).empty());
}

// A level may carry its own look for its cell size: its clue style replaces the shared one, its
// animations hide the shared ones of their names while it is loaded, and "ears" size its bands.
// Without them the shared files serve; a plain level after a styled one gets the shared look back.
TEST(BoardLoadTest, ALevelsOwnLookServesItWhileItIsLoaded) {
    const std::string own =
        "<numbers><numbersLeft font='big' font_color='FF000000' font_cross='80808080' interval='30' "
        "shift_first='20 25'/><numbersUp font='big' font_color='FF000000' font_cross='80808080' interval='24' "
        "shift_first='25 20'/></numbers><animations><animation name='square' TEXTURE='s50.png'><ANIMATION/>"
        "</animation></animations>";
    const std::string geometry = "elSize='50 50' block='5 5' shiftBlock='-2 -2' position='512 384' bonuses='0'";
    const struct {
        const char* why;
        std::string level;
        const char* font;
        float interval;
        const char* square;
        int32_t earLeft, earUp;
    } cases[] = {
        {"its own look", BoardTestKit::LevelText({"11", "01"}, geometry + " ears='70 44'", BoardTestKit::kSprites + own),
         "big", 30.0f, "s50.png", 70, 44},
        {"the shared look", BoardTestKit::LevelText({"11", "01"}), "clue", 18.0f, "s.png", 0, 0},
        {"its own again", BoardTestKit::LevelText({"11", "01"}, geometry + " ears='70 44'", BoardTestKit::kSprites + own),
         "big", 30.0f, "s50.png", 70, 44},
    };
    BoardTestKit::Board board({"1"});
    ParsedXml shared("<a><square name='square' TEXTURE='s.png'><ANIMATION/></square></a>");
    board.layout.LoadAnimations(shared.Root());
    ParsedXml style(BoardTestKit::kStyle);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        ParsedXml level(c.level);
        ASSERT_TRUE(gcLoadBoard(level.document, board.layout, board.process, style.Root(), nullptr));
        EXPECT_EQ(board.process.NumbersLeft().FontName(), c.font);
        EXPECT_EQ(board.process.NumbersUp().FontName(), c.font);
        EXPECT_FLOAT_EQ(board.process.NumbersLeft().Interval(), c.interval);
        const QRV::G_ANIMATION* square = board.layout.FindAnimation("square");
        ASSERT_NE(square, nullptr);
        EXPECT_EQ(square->textureName, c.square);
        EXPECT_EQ(board.layout.EarLeft(), c.earLeft);
        EXPECT_EQ(board.layout.EarUp(), c.earUp);
    }
    board.layout.Reset();
    EXPECT_EQ(board.layout.FindAnimation("square")->textureName, "s.png") << "the level's own go with it";
}

}  // namespace
