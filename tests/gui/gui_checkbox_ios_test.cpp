#include "engine/gui/gui_checkbox_ios.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <vector>

#include "engine/gui/gui_layout.h"
#include "tests/gui/widget_test_support.h"

namespace QRV {
namespace {

// A 60 x 30 panel centred on (200, 100) and a 20 x 20 knob: on at x -20, off at +20.
class CheckboxIosTest : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
        LoadImages({{"panel.png", {60, 30}}, {"knob.png", {20, 20}}, {"off.png", {64, 34}}});
    }
    JC_GUI_CHECKBOX_IOS* Make() { return Add(new JC_GUI_CHECKBOX_IOS(7, "panel.png", "knob.png"), 200, 100); }
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

// The width of the first quad drawn: the panel's.
float DrawnPanelWidth(const std::vector<JS_VERTEX>& v) {
    float minX = 1e9f, maxX = -1e9f;
    for (size_t i = 0; i < 4 && i < v.size(); ++i) {
        minX = std::fmin(minX, v[i].x);
        maxX = std::fmax(maxX, v[i].x);
    }
    return maxX - minX;
}

TEST_F(CheckboxIosTest, AnOffPanelFromTheLayoutIsDrawnWhileTheSwitchIsOff) {
    const struct {
        const char* layout;
        float onWidth, offWidth;
    } cases[] = {
        {R"(<CHECKBOX_IOS ID="7" TX_PANEL="panel.png" TX_BTN="knob.png" TX_PANEL_OFF="off.png"/>)", 60, 64},
        {R"(<CHECKBOX_IOS ID="7" TX_PANEL="panel.png" TX_BTN="knob.png"/>)", 60, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(c.layout));
        auto* toggle = dynamic_cast<JC_GUI_CHECKBOX_IOS*>(CreateGuiWidget(document.document_element()));
        ASSERT_NE(toggle, nullptr);
        Add(toggle, 200, 100);
        const auto width = [&] { return DrawnPanelWidth(DrawnVertices([&] { toggle->Draw(); })); };
        EXPECT_FLOAT_EQ(width(), c.onWidth);
        // The on panel's size stays the hit area: a press 31 px right of the centre misses.
        input.MoveTo(231, 100);
        EXPECT_EQ(Down(), -1);
        input.MoveTo(229, 100);
        EXPECT_EQ(Down(), GUI_EVENT::Click);
        EXPECT_FALSE(toggle->IsChecked());
        EXPECT_FLOAT_EQ(width(), c.offWidth);
        toggle->SetChecked(true, true);
        EXPECT_FLOAT_EQ(width(), c.onWidth);
        ClearRoot();
    }
}

}  // namespace
}  // namespace QRV
