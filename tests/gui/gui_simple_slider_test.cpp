#include "engine/gui/gui_simple_slider.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/gui/widget_test_support.h"

namespace QRV {
namespace {

// A 200 x 20 two-half texture: a 100 x 20 track centred on (200, 100), from x 150 to 250.
class SimpleSliderTest : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
        LoadImages({{"track.png", {200, 20}}, {"runner.png", {16, 16}}});
    }
    JC_GUI_SIMPLE_SLIDER* Make(JC_GUI_SIMPLE_SLIDER* made = nullptr) {
        return Add(made != nullptr ? made : new JC_GUI_SIMPLE_SLIDER(9, "track.png", "runner.png"), 200, 100);
    }
    static float RunnerX(const JC_GUI_SIMPLE_SLIDER* s) { return s->RunnerQuad()->transform->positionX; }
};

TEST_F(SimpleSliderTest, PressDragAndRelease) {
    struct Step {
        Op op;
        int32_t x;
        int32_t code;  // -1: nothing reported
        float value;
    };
    const struct {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"drag across and beyond the track",
         {{kMove, 175, -1, 0},
          {kDown, 0, 7, 0},
          {kDrag, 200, 9, 0.5f},
          {kDrag, 100, 9, 0},
          {kDrag, 235, 9, 0.85f},
          {kDrag, 400, 9, 1},
          {kUp, 0, 8, 1},
          {kDrag, 200, -1, 1}}},
        {"a press beside the track", {{kMove, 300, -1, 0}, {kDown, 0, -1, 0}, {kDrag, 200, -1, 0}}},
        {"right button and keys do not press it",
         {{kMove, 175, -1, 0},
          {kRightDown, 0, -1, 0},
          {kDrag, 200, -1, 0},
          {kKeyDown, 0, -1, 0},
          {kDrag, 210, -1, 0},
          {kUp, 0, -1, 0}}},
        {"a release another widget took ends the drag on the next move",
         {{kMove, 175, -1, 0},
          {kDown, 0, 7, 0},
          {kDrag, 200, 9, 0.5f},
          {kMove, 230, -1, 0.5f},
          {kDrag, 240, -1, 0.5f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        JC_GUI_SIMPLE_SLIDER* slider = Make();
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            EXPECT_EQ(Do(s.op, s.x, 100), s.code) << "step " << i;
            EXPECT_FLOAT_EQ(slider->GetValue(), s.value) << "step " << i;
            EXPECT_FLOAT_EQ(RunnerX(slider), s.value * 100.0f - 50.0f) << "step " << i;
        }
        ClearRoot();
    }
}

TEST_F(SimpleSliderTest, ValuesSetBeforeTheBuildOrWithoutATrack) {
    auto* slider = new JC_GUI_SIMPLE_SLIDER(9, "track.png", "runner.png");
    slider->SetValueFromX(120);  // no track yet: no width to divide by
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.0f);
    slider->SetValue(0.25f);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.25f);
    Make(slider);
    EXPECT_FLOAT_EQ(RunnerX(slider), -25.0f);
    const struct { float set, value; } cases[] = {{2.0f, 1.0f}, {-1.0f, 0.0f}, {0.6f, 0.6f}, {NAN, 0.0f}};
    for (const auto& c : cases) {
        slider->SetValue(c.set);
        EXPECT_FLOAT_EQ(slider->GetValue(), c.value) << c.set;
    }
}

TEST_F(SimpleSliderTest, DrawsTheTrackTheFilledPartAndTheRunner) {
    JC_GUI_SIMPLE_SLIDER* slider = Make();
    slider->SetValue(0.5f);
    const std::vector<JS_VERTEX> v = DrawnVertices([&] { root.DrawTree(); });
    ASSERT_EQ(v.size(), 12u);
    // Track: the left half; fill: the right half's left half, from the track's left end.
    EXPECT_FLOAT_EQ(v[0].x, 150.0f);
    EXPECT_FLOAT_EQ(v[1].u, 0.5f);
    EXPECT_FLOAT_EQ(v[4].x, 150.0f);
    EXPECT_FLOAT_EQ(v[5].x, 200.0f);
    EXPECT_FLOAT_EQ(v[4].u, 0.5f);
    EXPECT_FLOAT_EQ(v[5].u, 0.75f);
    EXPECT_FLOAT_EQ(v[8].x, 192.0f);  // the runner, centred on the value
}

}  // namespace
}  // namespace QRV
