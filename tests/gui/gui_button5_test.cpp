#include "engine/gui/gui_button5.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/gui/widget_test_support.h"

namespace QRV {
namespace {

using GuiTest::CallLog;

// A text box that keeps the focus: it answers every move that reaches it with code 11, so the
// walk clears the active flag of its siblings.
class KeepFocusBox : public JC_GUI_OBJECT {
public:
    KeepFocusBox() : JC_GUI_OBJECT(50) {}
    JS_GUI_EVENT* OnMouseMove() override { return Report(GUI_EVENT::KeepFocus); }
};

// A 100 x 20 strip: 20 x 20 frames; the button is centred on (100, 100).
class Button5Test : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
        LoadImages({{"button.png", {100, 20}}});
    }
    JC_GUI_BUTTON5* Make() {
        auto* button = new JC_GUI_BUTTON5(3, "button.png");
        button->enterCallback = CallLog::Make();
        button->leaveCallback = CallLog::Make();
        button->pressCallback = CallLog::Make();
        button->clickCallback = CallLog::Make();
        return Add(button, 100, 100);
    }
};

TEST_F(Button5Test, PointerAndButtonSequences) {
    struct Step {
        Op op;
        int32_t x, y;
        int32_t code;   // -1: nothing reported
        int32_t state;  // also the frame shown
    };
    const struct {
        const char* what;
        std::vector<Step> steps;
        size_t callbacks;
    } cases[] = {
        {"click without moving", {{kMove, 100, 100, 3, 1}, {kDown, 0, 0, 7, 2}, {kUp, 0, 0, 8, 1}}, 3},
        {"pointer leaves between press and release",
         {{kMove, 100, 100, 3, 1}, {kDown, 0, 0, 7, 2}, {kMove, 200, 100, 4, 0}, {kUp, 0, 0, -1, 0}},
         3},
        {"released outside before any move",
         {{kMove, 105, 95, 3, 1}, {kDown, 0, 0, 7, 2}, {kWarp, 150, 100, -1, 2}, {kUp, 0, 0, 8, 0}},
         3},
        {"right button and keys press nothing",
         {{kMove, 100, 100, 3, 1}, {kRightDown, 0, 0, -1, 1}, {kKeyDown, 0, 0, -1, 1}, {kUp, 0, 0, -1, 1}},
         1},
        {"edges of the quad are outside",
         {{kMove, 110, 100, -1, 0}, {kMove, 90, 100, -1, 0}, {kMove, 109, 91, 3, 1}},
         1},
        {"press before any hover", {{kWarp, 100, 100, -1, 0}, {kDown, 0, 0, -1, 0}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CallLog::calls.clear();
        JC_GUI_BUTTON5* button = Make();
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            EXPECT_EQ(Do(s.op, s.x, s.y), s.code) << "step " << i;
            EXPECT_EQ(button->state, s.state) << "step " << i;
            EXPECT_EQ(Frame(button->Quad(), 5), s.state) << "step " << i;
        }
        EXPECT_EQ(CallLog::calls.size(), c.callbacks);
        for (uintptr_t word : CallLog::calls) EXPECT_EQ(word, reinterpret_cast<uintptr_t>(button));
        ClearRoot();
    }
}

TEST_F(Button5Test, AFocusKeepingSiblingCannotMakeItLoseClicks) {
    JC_GUI_BUTTON5* button = Make();
    root.AddChild(new KeepFocusBox());
    EXPECT_EQ(Move(100, 100), 3);
    // Each wiggle inside reaches the text box, whose code 11 clears the button's active flag.
    EXPECT_EQ(Move(101, 100), GUI_EVENT::KeepFocus);
    EXPECT_FALSE(button->IsActive());
    // The periodic re-test (every 0.1 s) finds the pointer inside and makes it active again.
    Tick(1, 0.05f);
    EXPECT_FALSE(button->IsActive());
    Tick(1, 0.05f);
    EXPECT_TRUE(button->IsActive());
    EXPECT_EQ(Move(102, 101), GUI_EVENT::KeepFocus);
    EXPECT_EQ(Down(), 7);
    EXPECT_EQ(Move(101, 100), GUI_EVENT::KeepFocus);
    EXPECT_EQ(Up(), 8);
    EXPECT_EQ(button->state, 1);
}

TEST_F(Button5Test, DisablingShowsFrameFourAndIgnoresThePointer) {
    // Disabled before the build: the build shows the disabled frame.
    auto* early = new JC_GUI_BUTTON5(4, "button.png");
    early->SetEnabled(false);
    Add(early, 300, 100);
    EXPECT_EQ(Frame(early->Quad(), 5), 4);

    JC_GUI_BUTTON5* button = Make();
    button->SetEnabled(false);
    EXPECT_EQ(Frame(button->Quad(), 5), 4);
    EXPECT_EQ(Move(100, 100), -1);
    EXPECT_EQ(Down(), -1);
    EXPECT_EQ(button->state, 4);
    // State 4 without the flag (a page button at the last page) stays through hover tests.
    root.SetEnabled(true);
    EXPECT_EQ(button->state, 0);
    EXPECT_EQ(early->state, 0);
    button->state = 4;
    Move(101, 100);
    Tick(1, 0.1f);
    EXPECT_EQ(button->state, 4);
    button->ResetState();
    EXPECT_EQ(Frame(button->Quad(), 5), 0);
}

}  // namespace
}  // namespace QRV
