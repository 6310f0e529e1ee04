#include "game/gameplay/ambient.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/gameplay/command_open.h"
#include "tests/game/gameplay/effects_test_kit.h"

namespace {

using EffectsTestKit::AnimationXml;
using EffectsTestKit::Board;

std::string SpriteXml(const std::string& element, const std::string& pos = "0 0") {
    return "<" + element + " TEXTURE='d.png'><POS>" + pos + "</POS><SIZE>6 6</SIZE></" + element + ">";
}

std::string EarXml(const std::string& element) {
    return "<" + element + ">" + SpriteXml("background") + SpriteXml("stick") + SpriteXml("stickBlock") + "</" +
           element + ">";
}

// The error panel: 24 px marks on a 5 x 1 grid, 8 px apart, pinging after 0.5 s.
std::string PanelXml(const std::string& grid = "5 1") {
    return "<error_panel pos='900 80' grid='" + grid + "' interval='8 6' ping='0.5'>" +
           AnimationXml("sprite", 4, 8.0f) + AnimationXml("sprite_lock", 1, 1.0f) +
           AnimationXml("background", 1, 1.0f) + "</error_panel>";
}

std::string AmbientXml() {
    return "<ambient size='120'>"
           "<border ul='c.png' up='e.png' ur='c.png' lt='e.png' mid='c.png' rt='e.png' dl='c.png' dn='e.png' "
           "dr='m.png'/>" +
           EarXml("left_ear") + EarXml("up_ear") + "<highlight vertical='v.png' horisontal='h.png' shift='2 3'/>" +
           PanelXml() + "<sunime fntName='none' fntColor='FFFFD040' pos='949 36'/></ambient>";
}

// A decoration over a board, loaded from AmbientXml.
struct Decorated : Board {
    explicit Decorated(const std::vector<std::string>& picture, const std::string& extraSettings = "")
        : Board(picture, extraSettings) {
        QRV::TestKit::ParsedXml xml(AmbientXml());
        ambientLoaded = ambient.Load(xml.Root(), nullptr);
    }
    gcAmbient ambient{&layout, &dispatcher};
    bool ambientLoaded = false;
};

// ---- loading: every part is required ----

struct MissingCase {
    std::string name;
    std::string remove;  // text cut out of the description
};

class AmbientLoadCases : public ::testing::TestWithParam<MissingCase> {};

TEST_P(AmbientLoadCases, MissingPartFailsTheLoad) {
    Board board({"11", "11"});
    std::string text = AmbientXml();
    const std::string& cut = GetParam().remove;
    const size_t at = text.find(cut);
    ASSERT_NE(at, std::string::npos) << cut;
    text.erase(at, cut.size());
    QRV::TestKit::ParsedXml xml(text);
    gcAmbient ambient(&board.layout, &board.dispatcher);
    EXPECT_FALSE(ambient.Load(xml.Root(), nullptr));
    EXPECT_FALSE(ambient.IsLoaded());
}

INSTANTIATE_TEST_SUITE_P(
    Ambient, AmbientLoadCases,
    ::testing::Values(MissingCase{"Border", "<border "}, MissingCase{"Size", " size='120'"},
                      MissingCase{"LeftEar", EarXml("left_ear")}, MissingCase{"Stick", SpriteXml("stick")},
                      MissingCase{"Highlight", "<highlight "}, MissingCase{"HighlightShift", " shift='2 3'"},
                      MissingCase{"Horisontal", " horisontal='h.png'"}, MissingCase{"Ping", " ping='0.5'"},
                      MissingCase{"Grid", " grid='5 1'"},
                      MissingCase{"LockSprite", AnimationXml("sprite_lock", 1, 1.0f)},
                      MissingCase{"SunimeFont", " fntName='none'"}, MissingCase{"SunimePos", " pos='949 36'"},
                      MissingCase{"Sunime", "<sunime "}),
    [](const auto& info) { return info.param.name; });

TEST(AmbientLoad, WholeDescriptionLoadsAndPlacesTheBorder) {
    Decorated board({"1111111", "1111111"});
    ASSERT_TRUE(board.loaded);
    ASSERT_TRUE(board.ambientLoaded);
    // 7 x 2 cells in 5 x 5 blocks: 2 x 1 blocks, a field of 2 x 154 + 4 by 154 + 4 pixels.
    ASSERT_EQ(board.layout.FieldWidth(), 312);
    ASSERT_EQ(board.layout.FieldHeight(), 158);
    QRV::G_FRAME9& border = board.ambient.Border();
    EXPECT_GT(border.minWidth, 0.0f);
    EXPECT_FLOAT_EQ(border.width, 312.0f + border.minWidth);
    EXPECT_FLOAT_EQ(border.height, 158.0f + border.minHeight);
    EXPECT_FLOAT_EQ(border.transform.positionX, board.layout.FieldOriginX() + 156.0f);
    EXPECT_FLOAT_EQ(border.transform.positionY, board.layout.FieldOriginY() + 79.0f);
    // A grid without slots would divide by zero: refused.
    gcErrorPanel panel(nullptr);
    QRV::TestKit::ParsedXml empty(PanelXml("0 1"));
    EXPECT_FALSE(panel.Load(empty.Root()));
}

// ---- the error panel ----

struct PanelCase {
    std::string name;
    int32_t allowance;
    // 'w' a wrong cell, 'r' a move undone with one right cell, 'u' a move undone with one wrong
    // cell, 'U' a move undone with four wrong cells, 'p' waiting out the ping.
    std::string script;
    int32_t shown, placed, pending;
};

class AmbientErrorPanelCases : public ::testing::TestWithParam<PanelCase> {};

TEST_P(AmbientErrorPanelCases, MarksFollowErrorsAndUndo) {
    const PanelCase& c = GetParam();
    Board board({"1111"});
    gcErrorPanel panel(&board.dispatcher);
    QRV::TestKit::ParsedXml xml(PanelXml());
    ASSERT_TRUE(panel.Load(xml.Root()));
    panel.SetAllowance(c.allowance);
    gcElement* right = board.At(0, 0);
    right->claimRight = 1;
    std::vector<gcElement*> wrongCells;
    for (int32_t column = 1; column < 4; ++column) wrongCells.push_back(board.At(column, 0));
    for (gcElement* cell : wrongCells) cell->claimRight = 0;
    for (char step : c.script) {
        std::vector<gcElement*> move;
        switch (step) {
            case 'w': board.dispatcher.Send<gcElement*>(gcBoardEvent::CellWrong, wrongCells[0]); break;
            case 'r': move = {right}; break;
            case 'u': move = {wrongCells[0]}; break;
            case 'U': move = {wrongCells[0], wrongCells[1], right, wrongCells[2], wrongCells[1]}; break;
            case 'p':
                QRV::g_frameTime.store(0.25f);
                for (int i = 0; i < 3; ++i) panel.Update();
                break;
        }
        if (!move.empty()) board.dispatcher.Send<const std::vector<gcElement*>*>(gcBoardEvent::MoveUndone, &move);
    }
    EXPECT_EQ(panel.MarksShown(), c.shown);
    EXPECT_EQ(panel.MarksPlaced(), c.placed);
    EXPECT_EQ(panel.MarksPending(), c.pending);
}

INSTANTIATE_TEST_SUITE_P(Ambient, AmbientErrorPanelCases,
                         ::testing::Values(PanelCase{"WaitsForThePing", 3, "w", 1, 0, 1},
                                           PanelCase{"PlacedAfterThePing", 3, "wp", 1, 1, 0},
                                           PanelCase{"NoMoreThanTheAllowance", 3, "wwwwp", 3, 3, 0},
                                           PanelCase{"UndoBeforeThePingCancelsIt", 3, "wup", 0, 0, 0},
                                           PanelCase{"UndoAfterThePingTakesTheMark", 3, "wpu", 0, 0, 0},
                                           PanelCase{"UndoTakesPendingBeforePlaced", 3, "wpwu", 1, 1, 0},
                                           PanelCase{"RightCellsTakeNothing", 3, "wpr", 1, 1, 0},
                                           PanelCase{"UnderflowStopsAtZero", 2, "wwwwpUu", 0, 0, 0},
                                           PanelCase{"UndoOnAnEmptyPanel", 3, "uUp", 0, 0, 0},
                                           PanelCase{"NothingAllowed", 0, "wp", 0, 0, 0}),
                         [](const auto& info) { return info.param.name; });

TEST(AmbientErrorPanel, SlotsLocksVisibilityAndReset) {
    Board board({"1"});
    gcErrorPanel panel(&board.dispatcher);
    QRV::TestKit::ParsedXml xml(PanelXml("3 2"));
    ASSERT_TRUE(panel.Load(xml.Root()));
    float x = 0.0f, y = 0.0f;
    panel.SlotPosition(4, x, y);  // column 1, row 1
    EXPECT_FLOAT_EQ(x, 900.0f + 8.0f + 24.0f);
    EXPECT_FLOAT_EQ(y, 80.0f + 6.0f + 24.0f);

    panel.SetAllowance(3);
    EXPECT_EQ(panel.LockedSlots(), 3);
    panel.SetAllowance(9);
    EXPECT_EQ(panel.LockedSlots(), 0);
    panel.SetAllowance(4);
    for (int i = 0; i < 2; ++i) board.dispatcher.Send<gcElement*>(gcBoardEvent::CellWrong, board.At(0, 0));
    QRV::g_frameTime.store(1.0f);
    panel.Update();
    ASSERT_EQ(panel.MarksPlaced(), 2);
    EXPECT_FLOAT_EQ(panel.Mark(1).transform->positionX, 900.0f + 32.0f);

    // Background, two marks, two locked slots; nothing while hidden, counting goes on.
    EXPECT_EQ(board.renderer.DrawnVertices([&] { panel.Draw(); }).size(), 5u * 4u);
    EXPECT_TRUE(panel.HandleMessage({"is_visible", "false"}));
    EXPECT_TRUE(board.renderer.DrawnVertices([&] { panel.Draw(); }).empty());
    board.dispatcher.Send<gcElement*>(gcBoardEvent::CellWrong, board.At(0, 0));
    EXPECT_EQ(panel.MarksShown(), 3);
    EXPECT_TRUE(panel.HandleMessage({"is_visible", "yes"}));
    EXPECT_TRUE(panel.IsVisible());
    EXPECT_FALSE(panel.HandleMessage({"blink"}));

    panel.Reset();
    EXPECT_EQ(panel.MarksShown(), 0);
    EXPECT_EQ(panel.MarksPlaced(), 0);
    EXPECT_EQ(panel.MarksPending(), 0);
}

// "ambient::errors::is_visible::false" reaches the panel through the decoration.
TEST(AmbientErrorPanel, MessagesThroughTheDecoration) {
    Decorated board({"11"});
    ASSERT_TRUE(board.ambientLoaded);
    EXPECT_TRUE(board.ambient.HandleMessage({"errors", "is_visible", "false"}));
    EXPECT_FALSE(board.ambient.ErrorPanel().IsVisible());
    EXPECT_FALSE(board.ambient.HandleMessage({"border"}));
    EXPECT_FALSE(board.ambient.HandleMessage({}));
}

// ---- ears, highlight, sunime ----

TEST(AmbientEar, SeparatorsOnEveryLineWithBlockOnesInTheGaps) {
    gcAmbientEar ear(gcAmbientEar::Vertical);
    ear.Setup(-2, 30, 10, 5, 0.0f, 0.0f, 312, 120);
    std::vector<std::pair<int32_t, bool>> seen;
    ear.ForEachSeparator([&](int32_t f, bool block) { seen.emplace_back(f, block); });
    const std::vector<std::pair<int32_t, bool>> expected{{2, true},    {34, false},  {64, false},  {94, false},
                                                         {124, false}, {156, true},  {188, false}, {218, false},
                                                         {248, false}, {278, false}, {310, true}};
    EXPECT_EQ(seen, expected);
    // The last block separator sits in the middle of the outer gap: field size - half the gap.
    gcAmbientEar plain(gcAmbientEar::Horizontal);
    plain.Setup(0, 30, 3, 0, 0.0f, 0.0f, 90, 120);
    seen.clear();
    plain.ForEachSeparator([&](int32_t f, bool block) { seen.emplace_back(f, block); });
    EXPECT_EQ(seen, (std::vector<std::pair<int32_t, bool>>{{0, true}, {30, false}, {60, false}, {90, false}}));
}

// The ears span the field along their axis and fill "size" pixels beside it, or as deep as the
// level's "ears" ask (a level sizes its bands for its own clues).
TEST(AmbientEar, BackgroundsBesideTheField) {
    const struct {
        const char* why;
        std::string settings;
        float left, up;
    } cases[] = {{"the decoration's size", "", 120.0f, 120.0f},
                 {"the level's ears", " ears='70 44'", 70.0f, 44.0f},
                 {"a zero keeps the decoration's", " ears='0 44'", 120.0f, 44.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Decorated board({"1111111111", "1111111111"}, c.settings);
        ASSERT_TRUE(board.loaded && board.ambientLoaded);
        const float fx = board.layout.FieldOriginX(), fy = board.layout.FieldOriginY();
        const QRV::G_SPRITE& left = board.ambient.LeftEar().background;
        EXPECT_FLOAT_EQ(left.transform->positionX, fx - c.left);
        EXPECT_FLOAT_EQ(left.transform->positionY, fy);
        EXPECT_FLOAT_EQ(left.width, c.left);
        EXPECT_FLOAT_EQ(left.height, static_cast<float>(board.layout.FieldHeight()));
        const QRV::G_SPRITE& up = board.ambient.UpEar().background;
        EXPECT_FLOAT_EQ(up.transform->positionX, fx);
        EXPECT_FLOAT_EQ(up.transform->positionY, fy - c.up);
        EXPECT_FLOAT_EQ(up.width, static_cast<float>(board.layout.FieldWidth()));
        EXPECT_FLOAT_EQ(up.height, c.up);
    }
}

TEST(AmbientHighlight, FollowsTheSelectionAndHides) {
    Decorated board({"11111", "11111"});
    ASSERT_TRUE(board.ambientLoaded);
    gcAmbientHighlight& highlight = board.ambient.Highlight();
    EXPECT_FALSE(highlight.IsVisible());
    gcElement* cell = board.At(3, 1);
    struct Step {
        int32_t event;
        bool visible;
    };
    for (const Step step : {Step{15, true}, Step{16, false}, Step{15, true}, Step{10, false}}) {
        if (step.event == 15) {
            board.dispatcher.Send<gcElement*, int32_t>(step.event, cell, 100);
        } else {
            board.dispatcher.Send<>(step.event);
        }
        EXPECT_EQ(highlight.IsVisible(), step.visible) << step.event;
    }
    board.dispatcher.Send<gcElement*, int32_t>(15, cell, 101);
    // "shift" (2, 3) is added to both bars.
    EXPECT_FLOAT_EQ(highlight.rowBar.transform->positionY, cell->CentreY() + 3.0f);
    EXPECT_FLOAT_EQ(highlight.rowBar.transform->positionX, board.layout.FieldOriginX() + 2.0f);
    EXPECT_FLOAT_EQ(highlight.columnBar.transform->positionX, cell->CentreX() + 2.0f);
    EXPECT_FLOAT_EQ(highlight.columnBar.transform->positionY, board.layout.FieldOriginY() + 3.0f);
    EXPECT_FLOAT_EQ(highlight.rowBar.width, static_cast<float>(board.layout.FieldWidth()));
    EXPECT_FLOAT_EQ(highlight.columnBar.height, static_cast<float>(board.layout.FieldHeight()));
    board.ambient.Deactivate();
    EXPECT_FALSE(highlight.IsVisible());
}

// Under the board: one block sprite per block, both ears with a separator per line boundary, the
// highlight when shown.
TEST(AmbientDraw, LayersUnderTheBoard) {
    Decorated board({"1111111", "1111111"});
    ASSERT_TRUE(board.ambientLoaded);
    board.ambient.Activate();
    const size_t blocks = 2 * 1;
    const size_t ears = (1 + 3) + (1 + 8);  // background + separators for 2 rows and 7 columns
    EXPECT_EQ(board.renderer.DrawnVertices([&] { board.ambient.DrawUnder(); }).size(), (blocks + ears) * 4);
    board.dispatcher.Send<gcElement*, int32_t>(15, board.At(0, 0), 100);
    EXPECT_EQ(board.renderer.DrawnVertices([&] { board.ambient.DrawUnder(); }).size(), (blocks + ears + 2) * 4);
}

}  // namespace
