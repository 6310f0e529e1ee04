#include "game/gameplay/elements_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/game/gameplay/board_test_kit.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

using QRV::TestKit::ParsedXml;

std::string Settings(const std::string& attributes, const std::string& sprites = BoardTestKit::kSprites) {
    return "<settings " + attributes + ">" + sprites + "</settings>";
}

const char* kTenByTen = "elSize='30 30' grid='10 10' block='5 5' shiftBlock='-4 -4' position='512 384' bonuses='3'";

TEST(BoardLayoutTest, GeometryFollowsBlocksAndGaps) {
    struct Case {
        const char* attributes;
        int32_t blocksX, blocksY, fieldW, fieldH;
    };
    const Case cases[] = {
        {kTenByTen, 2, 2, 312, 312},
        // A partial last block is sized as a whole one: 7 columns take 10 cells and three gaps.
        {"elSize='30 20' grid='7 3' block='5 5' shiftBlock='-4 -2' position='0 0' bonuses='0'", 2, 1, 312, 104},
        {"elSize='24 24' grid='20 20' block='5 5' shiftBlock='-3 -3' position='500 400' bonuses='0'", 4, 4, 495, 495},
        // No blocks: no count, and the field is only the edge offsets.
        {"elSize='30 30' grid='4 4' block='0 0' shiftBlock='0 0' position='0 0' bonuses='0'", 0, 0, 0, 0},
        // Exactly the screen.
        {"elSize='32 32' grid='32 24' block='8 8' shiftBlock='0 0' position='512 384' bonuses='0'", 4, 3, 1024, 768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        ParsedXml xml(Settings(c.attributes));
        gcElementsLayout layout;
        ASSERT_TRUE(layout.Load(xml.Root()));
        EXPECT_EQ(layout.BlocksX(), c.blocksX);
        EXPECT_EQ(layout.BlocksY(), c.blocksY);
        EXPECT_EQ(layout.FieldWidth(), c.fieldW);
        EXPECT_EQ(layout.FieldHeight(), c.fieldH);
        EXPECT_FLOAT_EQ(layout.FieldOriginX(), layout.PositionX() - c.fieldW * 0.5f);
        EXPECT_FLOAT_EQ(layout.CellOriginX(), layout.FieldOriginX() - layout.ShiftX());
        EXPECT_FLOAT_EQ(layout.CellOriginY(), layout.FieldOriginY() - layout.ShiftY());
    }
}

TEST(BoardLayoutTest, RefusesMissingPartsAndUnusableGeometry) {
    const std::string good = kTenByTen;
    struct Case {
        std::string settings;
        const char* why;
    };
    const Case cases[] = {
        {Settings("grid='10 10' block='5 5' shiftBlock='-4 -4' position='0 0' bonuses='0'"), "no elSize"},
        {Settings("elSize='30 30' block='5 5' shiftBlock='-4 -4' position='0 0' bonuses='0'"), "no grid"},
        {Settings("elSize='30 30' grid='10 10' shiftBlock='-4 -4' position='0 0' bonuses='0'"), "no block"},
        {Settings("elSize='30 30' grid='10 10' block='5 5' position='0 0' bonuses='0'"), "no shiftBlock"},
        {Settings("elSize='30 30' grid='10 10' block='5 5' shiftBlock='-4 -4' bonuses='0'"), "no position"},
        {Settings("elSize='30 30' grid='10 10' block='5 5' shiftBlock='-4 -4' position='0 0'"), "no bonuses"},
        {Settings(good, "<selection_yes/><selection_no/>"), "no block sprite"},
        {Settings(good, "<block/><selection_no/>"), "no selection_yes"},
        {Settings(good, "<block/><selection_yes/>"), "no selection_no"},
        {Settings("elSize='0 30' grid='10 10' block='5 5' shiftBlock='0 0' position='0 0' bonuses='0'"), "cell 0"},
        {Settings("elSize='30 -1' grid='10 10' block='5 5' shiftBlock='0 0' position='0 0' bonuses='0'"), "cell < 0"},
        {Settings("elSize='30 30' grid='0 10' block='5 5' shiftBlock='0 0' position='0 0' bonuses='0'"), "no columns"},
        {Settings("elSize='30 30' grid='10 -2' block='5 5' shiftBlock='0 0' position='0 0' bonuses='0'"), "rows < 0"},
        {Settings("elSize='30 30' grid='10 10' block='-5 5' shiftBlock='0 0' position='0 0' bonuses='0'"), "block<0"},
        {Settings("elSize='30 30' grid='10 10' block='5 5' shiftBlock='150 0' position='0 0' bonuses='0'"), "pitch 0"},
        {"<other/>", "no settings element"},
        // Cell size times count past 32 bits, and boards merely wider or taller than the screen.
        {Settings("elSize='100000 30' grid='50000 10' block='5 5' shiftBlock='0 0' position='0 0' bonuses='0'"),
         "width overflows"},
        {Settings("elSize='30 2000000' grid='10 3000' block='5 3000' shiftBlock='0 -9' position='0 0' bonuses='0'"),
         "height overflows"},
        {Settings("elSize='65536 65536' grid='65536 1' block='1 1' shiftBlock='0 0' position='0 0' bonuses='0'"),
         "a product of exactly 2^32"},
        {Settings("elSize='30 30' grid='35 10' block='5 5' shiftBlock='0 0' position='0 0' bonuses='0'"),
         "1050 pixels wide"},
        {Settings("elSize='30 30' grid='10 26' block='5 5' shiftBlock='0 0' position='0 0' bonuses='0'"),
         "780 pixels tall"},
        {Settings("elSize='32 32' grid='32 22' block='8 8' shiftBlock='-4 -4' position='0 0' bonuses='0'"),
         "1024 pixels of cells and 20 of gaps"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ParsedXml xml(c.settings);
        gcElementsLayout layout;
        EXPECT_FALSE(layout.Load(xml.Root().name() == std::string("settings") ? xml.Root() : pugi::xml_node()));
        EXPECT_FALSE(layout.IsLoaded());
        EXPECT_EQ(layout.Columns(), 0);
    }
}

TEST(BoardLayoutTest, CellsAreFoundBlockByBlockAndGapsAreNoCell) {
    // 20 x 20, cell 30, block 5, gap 4: a block is 150 px and the next starts 154 px on.
    ParsedXml xml(
        Settings("elSize='30 30' grid='20 20' block='5 5' shiftBlock='-4 -4' position='400 400' bonuses='0'"));
    gcElementsLayout layout;
    ASSERT_TRUE(layout.Load(xml.Root()));
    const float ox = layout.CellOriginX();
    const float oy = layout.CellOriginY();
    // The placement and its inverse agree near every edge of every cell.
    for (int32_t c = 0; c < 20; ++c) {
        const float left = layout.CellLeft(c);
        EXPECT_FLOAT_EQ(left, ox + 30.0f * c + 4.0f * (c / 5));
        int32_t column = -1, row = -1;
        for (float inset : {0.0f, 2.0f, 15.0f, 27.5f, 29.0f}) {
            ASSERT_TRUE(layout.CellAtPoint(left + inset, oy + 1.0f, column, row)) << c << " + " << inset;
            EXPECT_EQ(column, c) << "inset " << inset;
            EXPECT_EQ(row, 0);
        }
    }
    // A press 2 px inside the right edge of the last cell lands in it (plain division would not).
    int32_t column = -1, row = -1;
    ASSERT_TRUE(layout.CellAtPoint(layout.CellLeft(19) + 28.0f, layout.CellTop(19) + 28.0f, column, row));
    EXPECT_EQ(column, 19);
    EXPECT_EQ(row, 19);
    // Gaps between blocks, the margin and the far side are no cell.
    const float noCell[][2] = {
        {ox + 150.0f, oy + 5.0f}, {ox + 153.5f, oy + 5.0f}, {ox + 5.0f, oy + 306.0f},
        {ox - 0.5f, oy + 5.0f},   {ox + 5.0f, oy - 1.0f},   {ox + 3.0f * 154.0f + 150.0f, oy + 5.0f},
    };
    for (const auto& point : noCell) {
        EXPECT_FALSE(layout.CellAtPoint(point[0], point[1], column, row)) << point[0] - ox << ", " << point[1] - oy;
    }
    EXPECT_TRUE(layout.CellAtPoint(ox + 154.0f, oy + 5.0f, column, row));
    EXPECT_EQ(column, 5);
}

TEST(BoardLayoutTest, WithoutGapsTheInverseIsPlainDivision) {
    ParsedXml xml(Settings("elSize='16 20' grid='12 9' block='4 3' shiftBlock='0 0' position='300 200' bonuses='0'"));
    gcElementsLayout layout;
    ASSERT_TRUE(layout.Load(xml.Root()));
    for (float dx = 0.0f; dx < 12 * 16; dx += 3.7f) {
        int32_t column = -1, row = -1;
        ASSERT_TRUE(layout.CellAtPoint(layout.CellOriginX() + dx, layout.CellOriginY() + 41.0f, column, row));
        EXPECT_EQ(column, static_cast<int32_t>(dx) / 16);
        EXPECT_EQ(row, 2);
    }
}

TEST(BoardLayoutTest, BonusesAreClampedToThePictureCells) {
    const struct {
        const char* bonuses;
        int32_t pictures, expected;
    } cases[] = {{"50", 10, 10}, {"-3", 10, 0}, {"4", 10, 4}, {"2", 0, 0}};
    for (const auto& c : cases) {
        ParsedXml xml(Settings(std::string("elSize='30 30' grid='5 5' block='5 5' shiftBlock='0 0' position='0 0' "
                                           "bonuses='") +
                               c.bonuses + "'"));
        gcElementsLayout layout;
        ASSERT_TRUE(layout.Load(xml.Root()));
        EXPECT_EQ(layout.ClampedBonusCount(c.pictures), c.expected) << c.bonuses;
    }
}

TEST(BoardLayoutTest, AnimationTableFindsByNameAndSurvivesReset) {
    ParsedXml xml(
        "<animations><a name='square' TEXTURE='s.png'><ANIMATION grid='4 1' frames='4' fps='20'/></a>"
        "<a name='cross' TEXTURE='c.png'><ANIMATION frames='2'/></a><a TEXTURE='x.png'><ANIMATION/></a>"
        "<a name='flat' TEXTURE='f.png'/></animations>");
    ParsedXml settings(Settings(kTenByTen));
    gcElementsLayout layout;
    // Unnamed entries and entries that are no animation are left out.
    EXPECT_EQ(layout.LoadAnimations(xml.Root()), 2);
    ASSERT_NE(layout.FindAnimation("square"), nullptr);
    EXPECT_EQ(layout.FindAnimation("square")->textureName, "s.png");
    EXPECT_EQ(layout.FindAnimation("flat"), nullptr);
    EXPECT_EQ(layout.FindAnimation("hint"), nullptr);
    ASSERT_TRUE(layout.Load(settings.Root()));
    layout.Reset();
    EXPECT_FALSE(layout.IsLoaded());
    EXPECT_NE(layout.FindAnimation("cross"), nullptr);

    ParsedXml params("<settings><param key='open_delay' value='0.125'/></settings>");
    EXPECT_FLOAT_EQ(layout.OpenDelay(), 0.0f);
    layout.EffectSettings().Load(params.Root());
    EXPECT_FLOAT_EQ(layout.OpenDelay(), 0.125f);
}

}  // namespace
