#include "engine/gui/gui_checkbox_ios.h"

#include <gtest/gtest.h>

#include "tests/gui/widget_test_support.h"

namespace QRV {
namespace {

// A 60 x 30 panel centred on (200, 100) and a 20 x 20 knob: on at x -20, off at +20.
class CheckboxIosTest : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
        LoadImages({{"panel.png", {60, 30}}, {"knob.png", {20, 20}}});
    }
    JC_GUI_CHECKBOX_IOS* Make(JC_GUI_CHECKBOX_IOS* made = nullptr) {
        return Add(made != nullptr ? made : new JC_GUI_CHECKBOX_IOS(7, "panel.png", "knob.png"), 200, 100);
    }
    static float KnobX(const JC_GUI_CHECKBOX_IOS* s) { return s->KnobQuad()->transform->positionX; }
};

TEST_F(CheckboxIosTest, APressFlipsAtOnceAndTheKnobSlides) {
    JC_GUI_CHECKBOX_IOS* toggle = Make();
    EXPECT_TRUE(toggle->IsChecked());
    EXPECT_FLOAT_EQ(KnobX(toggle), -20.0f);
    input.MoveTo(300, 100);
    EXPECT_EQ(Down(), -1);
    input.MoveTo(225, 110);
    EXPECT_EQ(Down(), GUI_EVENT::Click);
    EXPECT_FALSE(toggle->IsChecked());
    EXPECT_FALSE(toggle->IsIdle());
    Tick(3, 0.05f);
    EXPECT_GT(KnobX(toggle), -20.0f);
    EXPECT_LT(KnobX(toggle), 20.0f);
    // A second press while it slides reports 8 and changes nothing.
    EXPECT_EQ(Down(), GUI_EVENT::Click);
    EXPECT_FALSE(toggle->IsChecked());
    Tick(6, 0.05f);
    EXPECT_TRUE(toggle->IsIdle());
    EXPECT_FLOAT_EQ(KnobX(toggle), 20.0f);
}

TEST_F(CheckboxIosTest, RightClicksAndKeysNeverFlipIt) {
    JC_GUI_CHECKBOX_IOS* toggle = Make();
    input.MoveTo(200, 100);
    for (int32_t vk : {int32_t{VK_RBUTTON}, int32_t{VK_MBUTTON}, int32_t{VK_SPACE}, int32_t{'A'}}) {
        SCOPED_TRACE(vk);
        EXPECT_EQ(Down(vk), -1);
        EXPECT_EQ(Up(vk), -1);
        EXPECT_TRUE(toggle->IsChecked());
        EXPECT_TRUE(toggle->IsIdle());
    }
}

TEST_F(CheckboxIosTest, AnImmediateSetWorksWhileSlidingAndBeforeTheBuild) {
    auto* early = new JC_GUI_CHECKBOX_IOS(8, "panel.png", "knob.png");
    early->SetChecked(false, true);
    Add(early, 200, 300);
    EXPECT_FALSE(early->IsChecked());
    EXPECT_FLOAT_EQ(KnobX(early), 20.0f);

    JC_GUI_CHECKBOX_IOS* toggle = Make();
    input.MoveTo(200, 100);
    Down();
    Tick(2, 0.05f);
    // Not immediate: ignored while the slide runs.
    toggle->SetChecked(true, false);
    EXPECT_FALSE(toggle->IsChecked());
    toggle->SetChecked(true, true);
    EXPECT_TRUE(toggle->IsChecked());
    EXPECT_TRUE(toggle->IsIdle());
    EXPECT_FLOAT_EQ(KnobX(toggle), -20.0f);
    Tick(10, 0.05f);
    EXPECT_FLOAT_EQ(KnobX(toggle), -20.0f);  // the dropped slide moves nothing
    // Inside a disabled parent no tick ever comes, and an immediate set still lands.
    root.SetEnabled(false);
    toggle->SetChecked(false, false);
    EXPECT_FALSE(toggle->IsIdle());
    Tick(10, 0.05f);
    EXPECT_FALSE(toggle->IsIdle());
    toggle->SetChecked(false, true);
    EXPECT_TRUE(toggle->IsIdle());
    EXPECT_FLOAT_EQ(KnobX(toggle), 20.0f);
}

TEST_F(CheckboxIosTest, DrawsPanelThenKnobAndCountsItsTextures) {
    JC_GUI_CHECKBOX_IOS* toggle = Make();
    const std::vector<JS_VERTEX> v = DrawnVertices([&] { root.DrawTree(); });
    ASSERT_EQ(v.size(), 8u);
    EXPECT_FLOAT_EQ(v[0].x, 170.0f);  // panel
    EXPECT_FLOAT_EQ(v[4].x, 170.0f);  // knob at the left end: 200 - 20 - 10
    toggle->ReleaseResources();
    EXPECT_EQ(Record("panel.png")->refCount, 0);
    EXPECT_EQ(Record("knob.png")->refCount, 0);
    EXPECT_TRUE(DrawnVertices([&] { root.DrawTree(); }).empty());
    toggle->RestoreResources();
    EXPECT_EQ(Record("knob.png")->refCount, 1);
}

}  // namespace
}  // namespace QRV
