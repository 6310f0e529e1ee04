// A board cell keeps only what it shows: the mark of its true kind, and the effect and selection
// copies once they are first used, each placed under the cell.
#include <gtest/gtest.h>

#include <string>

#include "game/gameplay/element.h"
#include "tests/game/gameplay/board_test_kit.h"
#include "tests/test_kit/null_renderer.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

using BoardTestKit::Board;
using QRV::TestKit::ParsedXml;

const char* const kMarks =
    "<a><square name='square' TEXTURE='s.png'><ANIMATION grid='1 1' frames='3' fps='4' loop='false'/></square>"
    "<cross name='cross' TEXTURE='c.png'><ANIMATION grid='1 1' frames='3' fps='4' loop='false'/></cross></a>";

struct MarkCase {
    int32_t type;
    const char* texture;
    bool playsOnOpen;
};

TEST(BoardCellTest, MarkIsTheTrueKindsAndPlaysOnlyForAKind) {
    QRV::TestKit::NullRenderer renderer;
    Board board({"10"});
    ParsedXml marks(kMarks);
    ASSERT_EQ(board.layout.LoadAnimations(marks.Root()), 2);
    const MarkCase cases[] = {{100, "s.png", true}, {101, "c.png", true}, {7, "c.png", false}};
    for (const MarkCase& c : cases) {
        gcElement cell(c.type, 0, 0);
        cell.Place(30, 30, 100.0f, 50.0f);
        cell.LoadMarkSprites(board.layout);
        EXPECT_EQ(cell.mark.textureName, c.texture) << c.type;
        EXPECT_EQ(cell.mark.transform->parent, &cell.transform) << c.type;
        EXPECT_TRUE(cell.mark.HasTexture()) << c.type;
        cell.OnOpenDone();
        EXPECT_EQ(cell.opened, 1) << c.type;
        EXPECT_EQ(cell.mark.playing != 0, c.playsOnOpen) << c.type;
        cell.ReleaseResources();
        EXPECT_FALSE(cell.mark.HasTexture()) << c.type;
    }
}

TEST(BoardCellTest, SelectionAndEffectCopiesAreMadeWhenFirstUsed) {
    QRV::TestKit::NullRenderer renderer;
    Board board({"11100", "00000"});
    ASSERT_TRUE(board.loaded);
    ParsedXml marks(kMarks);
    board.layout.LoadAnimations(marks.Root());
    board.process.Activate(nullptr);
    const auto copies = [&] {
        int count = 0;
        for (gcElement* cell : board.process.List(gcProcess::kListAll))
            count += (cell->selectionYes ? 1 : 0) + (cell->selectionNo ? 1 : 0) + (cell->effect ? 1 : 0);
        return count;
    };
    board.process.Draw();
    EXPECT_EQ(copies(), 0);

    // Square marking draws the "yes" sprite of the selected cell only, under that cell.
    board.process.BeginSelection(100, {1, 0}, false);
    board.process.Draw();
    gcElement* selected = board.At(1, 0);
    ASSERT_TRUE(selected->selectionYes);
    EXPECT_EQ(selected->selectionYes->textureName, "y.png");
    EXPECT_EQ(selected->selectionYes->transform->parent, &selected->transform);
    EXPECT_EQ(&selected->SelectionYes(), selected->selectionYes.get());
    EXPECT_EQ(copies(), 1);
    EXPECT_EQ(selected->SelectionNo().textureName, "n.png");
    EXPECT_EQ(copies(), 2);

    // One cell's effect leaves the others without a copy.
    gcElement* lit = board.At(3, 1);
    lit->SetEffectAnimation(*board.layout.FindAnimation("cross"));
    ASSERT_TRUE(lit->effect);
    EXPECT_EQ(lit->effectRunning, 1);
    EXPECT_EQ(lit->effect->playing, 1);
    EXPECT_EQ(lit->effect->transform->parent, &lit->transform);
    EXPECT_EQ(copies(), 3);

    // A new activation takes the selection sprites afresh from the layout.
    board.process.Deactivate();
    board.process.Activate(nullptr);
    EXPECT_FALSE(selected->selectionYes);
    EXPECT_FALSE(selected->selectionNo);

    // A cell that never took a layout selects with a plain sprite.
    gcElement loose(100, 0, 0);
    EXPECT_TRUE(loose.SelectionYes().textureName.empty());
}

}  // namespace
