// What the board hands the device each frame: the same quads, vertices, textures, colours and
// order as drawing every cell sprite, ordinal, clue number and strike one by one in the board's
// order (squares, crosses, cell effects, selection marks, ordinals, numbers, strikes, effects).
// The board's own draw keeps texts and placements between frames; this holds it to the plain one
// through opening, crossing, selecting, undoing and loading another board.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/core/event_dispatcher.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/platform/clock.h"
#include "game/gameplay/process.h"
#include "tests/game/gameplay/board_test_kit.h"
#include "tests/platform/test_images.h"
#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/null_renderer.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

// Digits 0 to 9, each its own place on the atlas and its own width; "1" then "2" kerns.
std::string DigitFontXml() {
    std::string text =
        "<font><info face='Digits' size='14'/><common lineHeight='16' base='12' scaleW='128' scaleH='32' pages='1'/>"
        "<pages><page id='0' file='x.png'/></pages><chars count='10'>";
    for (int d = 0; d < 10; ++d) {
        text += "<char id='" + std::to_string(48 + d) + "' x='" + std::to_string(d * 12) + "' y='" +
                std::to_string(d % 3) + "' width='" + std::to_string(6 + d % 4) + "' height='11' xoffset='" +
                std::to_string(d % 2) + "' yoffset='2' xadvance='" + std::to_string(7 + d % 3) + "'/>";
    }
    return text + "</chars><kernings count='1'><kerning first='49' second='50' amount='-1'/></kernings></font>";
}

std::string Animation(const std::string& element, const std::string& texture, int frames, const std::string& extra) {
    return "<" + element + " TEXTURE='fx " + texture + "' " + extra + "><SIZE>24 24</SIZE><ANIMATION grid='" +
           std::to_string(frames) + " 1' frames='" + std::to_string(frames) + "' fps='8' loop='false'/></" + element +
           ">";
}

std::string Style() {
    const std::string strike =
        "TEXTURE='fx strike.png'><SIZE>14 3</SIZE>"
        "<ANIMATION grid='2 1' frames='2' fps='4' loop='false'/>";
    return "<numbers><numbersLeft font='clue' font_color='FF101010' font_cross='80A0A0A0' interval='11' "
           "shift_first='9 4' " +
           strike +
           "</numbersLeft><numbersUp font='clue' font_color='FF202020' font_cross='80B0B0B0' "
           "interval='13' shift_first='5 10' " +
           strike + "</numbersUp></numbers>";
}

const char* const kSprites =
    "<block TEXTURE='fx block.png' HOT_SPOT='HS_UL'/>"
    "<selection_yes TEXTURE='fx yes.png'/><selection_no TEXTURE='fx no.png'/>";
const char* const kGeometry = "elSize='24 24' block='5 5' shiftBlock='-3 -3' position='400 300' bonuses='0'";

// One vertex as the device got it, with the texture it was drawn with.
struct Submitted {
    uint32_t texture;
    QRV::JS_VERTEX vertex;
};

class BoardDrawTest : public QRV::TestSupport::ResourceTreeTest {
protected:
    void SetUp() override {
        ResourceTreeTest::SetUp();
        ASSERT_EQ(renderer.created, 1);
        const char* names[] = {"square.png", "cross.png", "pop.png", "strike.png", "yes.png", "no.png", "block.png"};
        for (int i = 0; i < 7; ++i) {
            const std::vector<uint8_t> png =
                QRV::TestImages::SolidPng(96, 24, static_cast<uint8_t>(30 * i), 200, 100, 255);
            Put(std::string("fx/") + names[i], std::string(png.begin(), png.end()));
        }
        const std::vector<uint8_t> atlas = QRV::TestImages::SolidPng(128, 32, 255, 255, 255, 255);
        Put("fx/digits.png", std::string(atlas.begin(), atlas.end()));
        Put("fx/digits.xml", DigitFontXml());
        Put("fx/fonts.xml",
            "<catalogue><fonts><font name='clue' texture='fx digits.png' xml='fx digits.xml'/>"
            "</fonts></catalogue>");
        ASSERT_TRUE(manager.LoadNamed("fx"));
        ASSERT_TRUE(fonts.Load("fx fonts.xml"));
        guard.Set(QRV::g_frameTime, 0.125f);

        QRV::TestKit::ParsedXml table("<animations>" + Animation("a", "square.png", 4, "name='square'") +
                                      Animation("a", "cross.png", 3, "name='cross'") +
                                      Animation("a", "pop.png", 4, "name='pop'") + "</animations>");
        layout.LoadAnimations(table.Root());
        QRV::TestKit::ParsedXml ordinal("<font_selected fntName='clue' fntColor='FFE05030' fntHotSpot='HS_MID'/>");
        ASSERT_TRUE(layout.SelectionFont().Load(ordinal.Root(), &fonts));
    }
    void TearDown() override {
        process.Reset();
        layout.Reset();
        layout.ClearAnimations();
        fonts.ReleaseAll();
        ResourceTreeTest::TearDown();
    }

    bool LoadBoard(const std::vector<std::string>& picture) {
        QRV::TestKit::ParsedXml level(BoardTestKit::LevelText(picture, kGeometry, kSprites));
        QRV::TestKit::ParsedXml style(Style());
        if (!layout.Load(level.Root().child("settings")) ||
            !process.Load(level.Root().child("gElements"), style.Root()))
            return false;
        process.Activate(&fonts);
        return true;
    }

    std::vector<Submitted> Record(void (*draw)(gcProcess&)) {
        renderer.device->ClearRecord();
        EXPECT_EQ(renderer.render->BeginFrame(), 1);
        draw(process);
        EXPECT_EQ(renderer.render->EndFrame(), 0);
        std::vector<Submitted> out;
        for (const QRV::Platform::DeviceCall* call : renderer.device->Draws())
            for (const QRV::JS_VERTEX& v : call->vertices) out.push_back({call->state.texture, v});
        return out;
    }

    // The board's draw against the plain one, vertex for vertex and bit for bit.
    void ExpectPlainDraw(const char* stage) {
        const std::vector<Submitted> plain = Record(&PlainDraw);
        const std::vector<Submitted> board = Record([](gcProcess& p) { p.Draw(); });
        ASSERT_FALSE(plain.empty()) << stage;
        ASSERT_EQ(board.size(), plain.size()) << stage;
        for (size_t i = 0; i < plain.size(); ++i) {
            ASSERT_EQ(board[i].texture, plain[i].texture) << stage << ": vertex " << i;
            ASSERT_EQ(std::memcmp(&board[i].vertex, &plain[i].vertex, sizeof(QRV::JS_VERTEX)), 0)
                << stage << ": vertex " << i << " at " << board[i].vertex.x << ", " << board[i].vertex.y
                << " instead of " << plain[i].vertex.x << ", " << plain[i].vertex.y;
        }
    }

    // Every piece drawn on its own, formatted every time, in the board's order.
    static void PlainDraw(gcProcess& p) {
        const std::vector<gcElement*>& all = p.List(gcProcess::kListAll);
        for (gcElement* cell : all)
            if (cell->opened && cell->IsPicture()) cell->mark.Draw();
        for (gcElement* cell : all)
            if (cell->opened && !cell->IsPicture()) cell->mark.Draw();
        for (gcElement* cell : all)
            if (cell->effectRunning) cell->effect->Draw();
        const std::vector<gcElement*>& selection = p.List(gcProcess::kListSelected);
        for (gcElement* cell : selection) {
            if (p.MarkMode() == 100) cell->SelectionYes().Draw();
            if (p.MarkMode() == 101) cell->SelectionNo().Draw();
        }
        if (selection.size() > 1)
            for (size_t i = 0; i < selection.size(); ++i)
                p.Layout()->SelectionFont().Draw(nullptr, selection[i]->CentreX(), selection[i]->CentreY(), L"%i",
                                                 static_cast<int>(i + 1));
        gcNumbersPanel* panels[] = {&p.NumbersLeft(), &p.NumbersUp()};
        std::vector<gcClueLine>* lines[] = {&p.Checker().RowClues(), &p.Checker().ColumnClues()};
        for (int n = 0; n < 2; ++n) {
            QRV::JC_BMFONT_TEXT* font = panels[n]->Font();
            const int32_t anchor = font->anchor;
            font->anchor = 4;
            for (size_t i = 0; i < lines[n]->size(); ++i) {
                const gcClueLine& line = (*lines[n])[i];
                for (size_t k = 0; k < line.size(); ++k) {
                    float x = 0.0f, y = 0.0f;
                    panels[n]->ClueOrigin(static_cast<int32_t>(i), static_cast<int32_t>(k),
                                          static_cast<int32_t>(line.size()), x, y);
                    font->color = line[k].crossed ? panels[n]->CrossedColor() : panels[n]->OpenColor();
                    font->Draw(x, y, L"%i", static_cast<int>(line[k].length));
                }
            }
            font->anchor = anchor;
            font->color = 0xFFFFFFFF;
        }
        for (auto* clueLines : lines)
            for (gcClueLine& line : *clueLines)
                for (gcClue& clue : line)
                    if (clue.crossed) clue.strike.Draw();
        p.Effects().Draw();
    }

    void Tick(int frames) {
        for (int i = 0; i < frames; ++i) process.Update();
    }

    QRV::TestKit::NullRenderer renderer{1000.0f};
    QRV::TestKit::GlobalGuard guard;
    QRV::JCFontCatalogue fonts;
    QRV::gEventDispatcher dispatcher;
    gcElementsLayout layout;
    gcProcess process{&layout, &dispatcher};
};

// Runs of every length up to twelve (two-digit clues), empty lines, a block gap on both axes.
const std::vector<std::string> kWide = {
    "111111111111", "000000000000", "110111011110", "101010101010", "111110111111", "011111111110", "100000000001",
};

TEST_F(BoardDrawTest, DrawsAsEveryPieceDrawnOnItsOwn) {
    ASSERT_TRUE(LoadBoard(kWide));
    ExpectPlainDraw("fresh board: numbers only");

    // A whole row revealed crosses its clues; a wrong cell shows a cross; marks mid-animation.
    for (int c = 0; c < 12; ++c) ASSERT_TRUE(process.OpenCell({c, 0}));
    ASSERT_TRUE(process.OpenCell({1, 1}));
    ASSERT_TRUE(process.OpenCell({7, 6}));
    Tick(2);
    ASSERT_TRUE(process.Checker().RowClues()[0][0].crossed);
    ExpectPlainDraw("opened cells, crossed row, strikes playing");

    // A selection with its ordinals (a forced one over opened cells), a cell effect.
    ASSERT_TRUE(process.BeginSelection(100, {11, 2}, true));
    ASSERT_TRUE(process.DragSelectionTo(100, {1, 2}, true));
    ASSERT_TRUE(process.StartEffect(gcProcess::kEffectCell, gcProcess::kTargetCell,
                                    {process.CellAt(3, 3), process.CellAt(9, 5)}, 1.0f, 0.0f, 0.0f, "pop"));
    Tick(1);
    ExpectPlainDraw("selection of eleven, cell effects");

    // The cross mark's selection; one cell selected shows no ordinal.
    ASSERT_TRUE(process.BeginSelection(101, {4, 4}, true));
    ExpectPlainDraw("one cell, cross mark");
    ASSERT_TRUE(process.DragSelectionTo(101, {4, 0}, true));
    Tick(10);
    ExpectPlainDraw("column selection, animations at their ends");

    // Undone moves take crosses and marks away again.
    ASSERT_TRUE(process.ResetSelection(true));
    while (process.Undo()) {}
    Tick(1);
    ExpectPlainDraw("everything undone");
}

TEST_F(BoardDrawTest, AnotherBoardDrawsItsOwnClues) {
    ASSERT_TRUE(LoadBoard(kWide));
    ExpectPlainDraw("first board");
    // Different lengths on the same lines, and a longer board: nothing of the first one stays.
    ASSERT_TRUE(LoadBoard({"0110", "1111", "0000", "1011", "1101", "0100", "1111", "0010"}));
    for (int r = 0; r < 8; ++r) ASSERT_TRUE(process.OpenCell({1, r}));
    Tick(3);
    ExpectPlainDraw("second board");
    // The clues computed again under the panels: an empty row filled in place keeps its one clue
    // but not its length, and the columns gain runs.
    for (gcElement* cell : process.List(gcProcess::kListAll))
        if (cell->row == 2) cell->type = gcElement::kPictureType;
    process.Checker().Compute(&process.List(gcProcess::kListAll), 4, 8);
    ASSERT_EQ(process.Checker().RowClues()[2].size(), 1u);
    ASSERT_EQ(process.Checker().RowClues()[2][0].length, 4u);
    ExpectPlainDraw("clues computed again");
    // Play stopped and started again (textures given back and bound again).
    process.Deactivate();
    process.Activate(&fonts);
    ExpectPlainDraw("second board after a restart");
}

}  // namespace
