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
class PanelTest : public GuiTest::TextWidgetSceneTest {
protected:
    void SetUp() override {
        TextWidgetSceneTest::SetUp();
        PutImage("gui_panel.png", 100, 60);
        PutImage("gui_piece.png", 16, 16);
        LoadContent();
        panel = MakePanel(true);
    }
    std::unique_ptr<JC_GUI_PANEL> MakePanel(bool movable) {
        auto made = std::make_unique<JC_GUI_PANEL>(7, "gui_panel.png");
        made->movable = movable ? 1 : 0;
        made->SetPosition(300, 200, 0);
        made->SetDragCallback(JS_CALLBACK::Create(CountDrag));
        made->RestoreResources();
        g_drags = 0;
        return made;
    }
    // Moved over the panel's centre and pressed there.
    void Grab(JC_GUI_OBJECT& widget) {
        MoveTo(widget, 300, 200);
        ASSERT_EQ(Code(Press(widget)), 7);
    }

    std::unique_ptr<JC_GUI_PANEL> panel;
};

TEST_F(PanelTest, PressesHoverAndDragsFollowTheLeftButton) {
    // 'm' move to (x, y), 'p' left press, 'R' right press, 'r' left release; the code reported and
    // the panel's position afterwards.
    struct Step {
        char action;
        int32_t x, y, code;
        float px, py;
    };
    const struct {
        const char* name;
        bool movable;
        std::vector<Step> steps;
        int drags;
    } cases[] = {
        {"movable",
         true,
         {{'m', 310, 200, 3, 300, 200},
          {'R', 0, 0, 0, 300, 200},
          {'p', 0, 0, 7, 300, 200},
          {'m', 330, 210, 9, 320, 210},
          {'m', 400, 260, 9, 390, 260},  // 10 px left of the pointer
          {'r', 0, 0, 8, 390, 260},
          {'m', 420, 260, 0, 390, 260}},
         2},
        {"not movable",
         false,
         {{'m', 310, 200, 3, 300, 200},
          {'p', 0, 0, 7, 300, 200},
          {'m', 330, 210, 0, 300, 200},
          {'m', 400, 260, 4, 300, 200},
          {'r', 0, 0, 0, 300, 200},  // released outside: no click
          {'m', 310, 200, 3, 300, 200},
          {'p', 0, 0, 7, 300, 200},
          {'r', 0, 0, 8, 300, 200}},
         0},
        {"pressed outside",
         true,
         {{'m', 10, 10, 0, 300, 200}, {'p', 0, 0, 0, 300, 200}, {'m', 320, 200, 3, 300, 200}},
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        panel = MakePanel(c.movable);
        panel->active = 1;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            SCOPED_TRACE(i);
            const JS_GUI_EVENT* record = s.action == 'm'   ? MoveTo(*panel, s.x, s.y)
                                         : s.action == 'p' ? Press(*panel)
                                         : s.action == 'R' ? Press(*panel, VK_RBUTTON)
                                                           : Release(*panel);
            EXPECT_EQ(Code(record), s.code);
            EXPECT_FLOAT_EQ(panel->transform->positionX, s.px);
            EXPECT_FLOAT_EQ(panel->transform->positionY, s.py);
        }
        EXPECT_EQ(g_drags, c.drags);
        EXPECT_EQ(g_dragArgument, c.drags > 0 ? reinterpret_cast<uintptr_t>(panel.get()) : g_dragArgument);
        g_dragArgument = 0;
    }
}

TEST_F(PanelTest, ADragEndsWithTheButtonWhereverThePointerIs) {
    const struct {
        const char* name;
        char release;  // 'o' reaches the panel with the pointer off it, 'x' taken by another widget
        bool tick;     // a frame passes before the next move
        bool endsAtRelease;
    } cases[] = {
        {"released off the panel", 'o', false, true},
        {"release taken elsewhere, next move", 'x', false, false},
        {"release taken elsewhere, next frame", 'x', true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        panel = MakePanel(true);
        Grab(*panel);
        if (c.release == 'o') {
            panel->hovered = 0;  // the pointer left by a move the panel never saw
            EXPECT_EQ(Release(*panel), nullptr);
        } else {
            input.Get().AgeKeys();
            input.Get().OnKeyUp(VK_LBUTTON);
        }
        EXPECT_EQ(panel->dragging, c.endsAtRelease ? 0 : 1);
        if (c.tick) Tick(*panel, 0.02f);
        EXPECT_NE(Code(MoveTo(*panel, 340, 220)), 9);
        EXPECT_FLOAT_EQ(panel->transform->positionX, 300.0f);
        EXPECT_EQ(panel->dragging, 0);
    }
    // After a fast move the pointer is still over the panel, so the release is a click.
    panel = MakePanel(true);
    Grab(*panel);
    EXPECT_EQ(Code(MoveTo(*panel, 380, 200)), 9);  // 80 px in one step, past the old edge
    EXPECT_EQ(Code(Release(*panel)), 8);
}

TEST_F(PanelTest, ASizeBeforeTheBuildIsKeptAndHiddenOrMissingPanelsDrawSafely) {
    JC_GUI_PANEL sized(8, "gui_panel.png");
    sized.SetPosition(100, 100, 0);
    sized.SetSize(40, 20);
    sized.RestoreResources();
    std::vector<SceneQuad> quads = Quads(sized);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_FLOAT_EQ(quads[0].left, 80.0f);
    EXPECT_FLOAT_EQ(quads[0].bottom, 110.0f);
    sized.SetVisible(false);
    EXPECT_TRUE(Quads(sized).empty());

    JC_GUI_PANEL missing(9, "none.png");
    missing.RestoreResources();
    Quads(missing);
    EXPECT_EQ(missing.width, 16.0f);  // the default texture's size
}

TEST_F(PanelTest, NinePatchSizesNeverFallBelowTheCorners) {
    const struct {
        bool before;
        int32_t w, h;
        float width, height;
    } cases[] = {
        {false, 0, 0, 32, 32},  // built with no size: the minimum
        {true, 10, 10, 32, 32}, {false, 10, 10, 32, 32}, {true, 100, 60, 100, 60}, {false, 100, 60, 100, 60},
    };
    std::array<std::string, 9> names;
    names.fill("gui_piece.png");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << (c.before ? " before" : " after"));
        JC_GUI_PANEL9 nine(15, names);
        if (c.before) nine.SetSize(c.w, c.h);
        nine.RestoreResources();
        if (!c.before && c.w != 0) nine.SetSize(c.w, c.h);
        EXPECT_EQ(nine.width, c.width);
        EXPECT_EQ(nine.height, c.height);
        EXPECT_EQ(nine.Piece(4).width, c.width - 32);
        EXPECT_EQ(nine.Piece(4).height, c.height - 32);
    }
}

TEST_F(PanelTest, NinePatchPiecesTouchTheCentreAndTheRectangleIsCentredToo) {
    std::array<std::string, 9> names;
    names.fill("gui_piece.png");
    JC_GUI_PANEL9 nine(15, names);
    nine.movable = 1;
    nine.SetPosition(300, 200, 0);
    nine.SetSize(100, 60);
    nine.RestoreResources();
    std::vector<SceneQuad> quads = Quads(nine);
    ASSERT_EQ(quads.size(), 9u);
    // Sorted by rows then columns: corners 16 x 16 and a 68 x 28 centre on (300, 200).
    std::sort(quads.begin(), quads.end(),
              [](const SceneQuad& a, const SceneQuad& b) { return a.top != b.top ? a.top < b.top : a.left < b.left; });
    const float xs[] = {250, 266, 334, 350}, ys[] = {170, 186, 214, 230};
    for (size_t i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(quads[i].left, xs[i % 3]);
        EXPECT_FLOAT_EQ(quads[i].right, xs[i % 3 + 1]);
        EXPECT_FLOAT_EQ(quads[i].top, ys[i / 3]);
        EXPECT_FLOAT_EQ(quads[i].bottom, ys[i / 3 + 1]);
    }
    EXPECT_FLOAT_EQ(nine.Piece(4).vertices[2].u, 68.0f / 16.0f);  // repeated, not stretched
    EXPECT_FLOAT_EQ(nine.Piece(4).vertices[2].v, 28.0f / 16.0f);

    const struct {
        int32_t x, y, code;
    } points[] = {{251, 171, 3}, {349, 229, 3}, {249, 200, 0}, {351, 200, 0}, {300, 231, 0}, {300, 169, 0}};
    for (const auto& p : points) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y);
        nine.hovered = 0;
        EXPECT_EQ(Code(MoveTo(nine, p.x, p.y)), p.code);
    }
    Grab(nine);
    EXPECT_EQ(Code(MoveTo(nine, 140, 120)), 9);
    EXPECT_FLOAT_EQ(nine.transform->positionX, 140.0f);
    EXPECT_EQ(Code(Release(nine)), 8);
    nine.SetVisible(false);
    EXPECT_TRUE(Quads(nine).empty());
}

}  // namespace
}  // namespace QRV
