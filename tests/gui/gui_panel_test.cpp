#include "engine/gui/gui_panel.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/gui/gui_panel9.h"
#include "tests/gui/widget_scene.h"

namespace QRV {
namespace {

using GuiTest::SceneQuad;

int g_drags = 0;
uintptr_t g_dragArgument = 0;
int CountDrag(uintptr_t argument) {
    ++g_drags;
    g_dragArgument = argument;
    return 0;
}

// A 100 x 60 panel at (300, 200): x 250..350, y 170..230.
class PanelTest : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
        PutImage("gui_panel.png", 100, 60);
        PutImage("gui_piece16.png", 16, 16);
        PutImage("gui_tall.png", 16, 24);
        LoadContent();
        panel = MakePanel(true);
        g_drags = 0;
    }

    std::unique_ptr<JC_GUI_PANEL> MakePanel(bool movable) {
        auto made = std::make_unique<JC_GUI_PANEL>(7, "gui_panel.png");
        made->movable = movable ? 1 : 0;
        made->SetPosition(300, 200, 0);
        made->SetDragCallback(JS_CALLBACK::Create(CountDrag));
        made->RestoreResources();
        return made;
    }

    static int32_t Code(const JS_GUI_EVENT* record) { return record != nullptr ? record->code : 0; }

    std::unique_ptr<JC_GUI_PANEL> panel;
};

TEST_F(PanelTest, PressesHoverAndDragsFollowTheLeftButton) {
    // Each step: 'm' move to (x, y), 'p' left press, 'r' left release, 'R' right press; the code
    // reported and the panel's position afterwards.
    const struct Step {
        char action;
        int32_t x, y;
        int32_t code;
        float px, py;
    } grab[] = {
        {'m', 310, 200, 3, 300, 200}, {'R', 0, 0, 0, 300, 200}, {'p', 0, 0, 7, 300, 200},
        {'m', 330, 210, 9, 320, 210}, {'m', 400, 260, 9, 390, 260},  // follows 10 px to the pointer's left
        {'r', 0, 0, 8, 390, 260},     {'m', 420, 260, 0, 390, 260},  // released: stays
    };
    const Step still[] = {
        {'m', 310, 200, 3, 300, 200}, {'p', 0, 0, 7, 300, 200}, {'m', 330, 210, 0, 300, 200},
        {'m', 400, 260, 4, 300, 200}, {'r', 0, 0, 0, 300, 200},  // released outside: no click
        {'m', 310, 200, 3, 300, 200}, {'p', 0, 0, 7, 300, 200}, {'r', 0, 0, 8, 300, 200},
    };
    const Step outside[] = {
        {'m', 10, 10, 0, 300, 200}, {'p', 0, 0, 0, 300, 200}, {'m', 310, 200, 3, 300, 200}, {'m', 320, 200, 0, 300, 200},
    };
    const struct {
        const char* name;
        bool movable;
        std::vector<Step> steps;
        int drags;
    } cases[] = {
        {"movable", true, {std::begin(grab), std::end(grab)}, 2},
        {"not movable", false, {std::begin(still), std::end(still)}, 0},
        {"pressed outside", true, {std::begin(outside), std::end(outside)}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        panel = MakePanel(c.movable);
        panel->active = 1;
        g_drags = 0;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            SCOPED_TRACE(i);
            const JS_GUI_EVENT* record = s.action == 'm' ? MoveTo(*panel, s.x, s.y)
                                         : s.action == 'p' ? Press(*panel)
                                         : s.action == 'R' ? Press(*panel, VK_RBUTTON)
                                                           : Release(*panel);
            EXPECT_EQ(Code(record), s.code);
            EXPECT_FLOAT_EQ(panel->transform->positionX, s.px);
            EXPECT_FLOAT_EQ(panel->transform->positionY, s.py);
            if (s.action == 'p' && s.code == 0) {
                EXPECT_FALSE(panel->IsActive());
            }
        }
        EXPECT_EQ(g_drags, c.drags);
        if (c.drags > 0) {
            EXPECT_EQ(g_dragArgument, reinterpret_cast<uintptr_t>(panel.get()));
        }
    }
}

TEST_F(PanelTest, AFastMoveKeepsThePointerOverTheDraggedPanel) {
    MoveTo(*panel, 300, 200);
    Press(*panel);
    EXPECT_EQ(Code(MoveTo(*panel, 380, 200)), 9);  // 80 px in one step, past the old edge
    EXPECT_EQ(Code(Release(*panel)), 8);
    MoveTo(*panel, 420, 300);
    EXPECT_FLOAT_EQ(panel->transform->positionX, 380.0f);
}

TEST_F(PanelTest, AnyLeftReleaseEndsTheDrag) {
    MoveTo(*panel, 300, 200);
    Press(*panel);
    panel->hovered = 0;  // the pointer left by a move the panel never saw
    EXPECT_EQ(Release(*panel), nullptr);
    EXPECT_EQ(panel->dragging, 0);
}

TEST_F(PanelTest, AReleaseThatNeverReachedThePanelEndsTheDragToo) {
    const struct {
        const char* name;
        bool byUpdate;
    } cases[] = {{"next move", false}, {"next frame", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        panel = MakePanel(true);
        MoveTo(*panel, 300, 200);
        Press(*panel);
        input.Get().AgeKeys();
        input.Get().OnKeyUp(VK_LBUTTON);  // taken by someone else
        if (c.byUpdate) Tick(*panel, 0.02f);
        EXPECT_NE(Code(MoveTo(*panel, 340, 220)), 9);
        EXPECT_FLOAT_EQ(panel->transform->positionX, 300.0f);
        EXPECT_EQ(panel->dragging, 0);
    }
}

TEST_F(PanelTest, SizeBeforeTheBuildIsKeptAndHiddenPanelsDrawNothing) {
    JC_GUI_PANEL sized(8, "gui_panel.png");
    sized.SetPosition(100, 100, 0);
    sized.SetSize(40, 20);
    sized.RestoreResources();
    std::vector<SceneQuad> quads = Quads([&] { sized.Draw(); });
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(quads[0].left, 80.0f);
    EXPECT_FLOAT_EQ(quads[0].bottom, 110.0f);
    sized.SetSize(60, 30);
    EXPECT_FLOAT_EQ(sized.shape.a, 60.0f);
    EXPECT_FLOAT_EQ(Quads([&] { sized.Draw(); })[0].left, 70.0f);
    sized.SetVisible(false);
    EXPECT_TRUE(Quads([&] { sized.Draw(); }).empty());

    JC_GUI_PANEL missing(9, "gui_none.png");
    missing.RestoreResources();
    Quads([&] { missing.Draw(); });
    EXPECT_EQ(missing.width, 16.0f);  // the default texture's size
}

// --- nine-patch

std::array<std::string, 9> Pieces(const std::string& name) {
    std::array<std::string, 9> names;
    names.fill(name);
    return names;
}

TEST_F(PanelTest, NinePatchSizesNeverFallBelowTheCorners) {
    const struct {
        bool sizeBeforeBuild;
        int32_t w, h;
        float width, height;
    } cases[] = {
        {false, 0, 0, 32, 32},   // built with no size: the minimum
        {true, 10, 10, 32, 32},
        {false, 10, 10, 32, 32},
        {true, 100, 60, 100, 60},
        {false, 100, 60, 100, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << (c.sizeBeforeBuild ? " before" : " after"));
        JC_GUI_PANEL9 nine(15, Pieces("gui_piece16.png"));
        if (c.sizeBeforeBuild) nine.SetSize(c.w, c.h);
        nine.RestoreResources();
        if (!c.sizeBeforeBuild && c.w != 0) nine.SetSize(c.w, c.h);
        EXPECT_EQ(nine.width, c.width);
        EXPECT_EQ(nine.height, c.height);
        EXPECT_EQ(nine.Piece(4).width, c.width - 32);
        EXPECT_EQ(nine.Piece(4).height, c.height - 32);
    }
}

TEST_F(PanelTest, NinePatchPiecesTouchTheCentreAndRepeatTheirTextures) {
    JC_GUI_PANEL9 nine(15, Pieces("gui_piece16.png"));
    nine.SetPosition(300, 200, 0);
    nine.SetSize(100, 60);
    nine.RestoreResources();
    const std::vector<SceneQuad> quads = Quads([&] { nine.Draw(); });
    ASSERT_EQ(quads.size(), 9u);
    // Upper left, upper middle, upper right, middle left, centre, middle right, lower left,
    // lower middle, lower right: the centre 68 x 28 on (300, 200).
    const float expected[9][4] = {
        {250, 170, 266, 186}, {266, 170, 334, 186}, {334, 170, 350, 186},
        {250, 186, 266, 214}, {266, 186, 334, 214}, {334, 186, 350, 214},
        {250, 214, 266, 230}, {266, 214, 334, 230}, {334, 214, 350, 230},
    };
    for (size_t i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        // The frame draws by its own order of places; find the quad by its corner.
        bool found = false;
        for (const SceneQuad& q : quads) {
            if (q.left == expected[i][0] && q.top == expected[i][1]) {
                EXPECT_FLOAT_EQ(q.right, expected[i][2]);
                EXPECT_FLOAT_EQ(q.bottom, expected[i][3]);
                found = true;
            }
        }
        EXPECT_TRUE(found);
    }
    EXPECT_FLOAT_EQ(nine.Piece(4).vertices[2].u, 68.0f / 16.0f);
    EXPECT_FLOAT_EQ(nine.Piece(4).vertices[2].v, 28.0f / 16.0f);
    EXPECT_FLOAT_EQ(nine.Piece(1).vertices[2].v, 1.0f);
    // Hidden, nothing.
    nine.SetVisible(false);
    EXPECT_TRUE(Quads([&] { nine.Draw(); }).empty());
}

TEST_F(PanelTest, NinePatchMinimumHeightIsTheUpperAndLowerCorners) {
    // Upper corners 24 high, lower ones 16, side edges 24 high: the minimum is 24 + 16.
    std::array<std::string, 9> names = Pieces("gui_piece16.png");
    names[0] = names[2] = names[3] = names[5] = "gui_tall.png";
    JC_GUI_PANEL9 nine(15, names);
    nine.RestoreResources();
    EXPECT_EQ(nine.minHeight, 40.0f);
    EXPECT_EQ(nine.height, 40.0f);
    EXPECT_GE(nine.Piece(4).height, 0.0f);
}

TEST_F(PanelTest, NinePatchTakesPressesAroundItsCentreAndDrags) {
    JC_GUI_PANEL9 nine(15, Pieces("gui_piece16.png"));
    nine.movable = 1;
    nine.SetPosition(300, 200, 0);
    nine.SetSize(100, 60);
    nine.RestoreResources();
    const struct {
        int32_t x, y;
        bool inside;
    } points[] = {{251, 171, true},  {349, 229, true},  {300, 200, true}, {249, 200, false},
                  {351, 200, false}, {300, 231, false}, {300, 169, false}};
    for (const auto& p : points) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y);
        nine.hovered = 0;
        EXPECT_EQ(Code(MoveTo(nine, p.x, p.y)), p.inside ? 3 : 0);
    }
    MoveTo(nine, 340, 220);
    EXPECT_EQ(Code(Press(nine)), 7);
    EXPECT_EQ(Code(MoveTo(nine, 140, 120)), 9);
    EXPECT_FLOAT_EQ(nine.transform->positionX, 100.0f);
    EXPECT_EQ(Code(Release(nine)), 8);
}

}  // namespace
}  // namespace QRV
