#include "engine/gui/gui_checkbox5.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/gui/widget_test_support.h"

namespace QRV {
namespace {

// A 100 x 20 strip: 20 x 20 frames; the box is centred on (100, 100).
class Checkbox5Test : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
        LoadImages({{"check.png", {100, 20}}});
    }
};

TEST_F(Checkbox5Test, PointerAndButtonSequences) {
    struct Step {
        Op op;
        int32_t x, y;
        int32_t code;  // -1: nothing reported
        int32_t state;
    };
    const struct {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"check, then uncheck",
         {{kMove, 100, 100, 3, 1},
          {kDown, 0, 0, 7, 2},
          {kUp, 0, 0, 8, 3},
          {kDown, 0, 0, -1, 3},  // not hovered: no move since it was checked
          {kMove, 101, 100, 3, 3},
          {kMove, 102, 100, 3, 3},  // enter on every move over a checked box
          {kDown, 0, 0, 7, 3},
          {kUp, 0, 0, 8, 1},
          {kMove, 150, 100, 4, 0}}},
        {"pressed unchecked, released outside: checked all the same",
         {{kMove, 100, 100, 3, 1}, {kDown, 0, 0, 7, 2}, {kMove, 150, 100, -1, 2}, {kUp, 0, 0, 8, 3}}},
        {"pressed checked, dragged out: cancelled",
         {{kMove, 100, 100, 3, 1},
          {kDown, 0, 0, 7, 2},
          {kUp, 0, 0, 8, 3},
          {kMove, 100, 100, 3, 3},
          {kDown, 0, 0, 7, 3},
          {kMove, 150, 100, -1, 3},
          {kUp, 0, 0, -1, 3}}},
        {"right button and keys never toggle",
         {{kMove, 100, 100, 3, 1},
          {kRightDown, 0, 0, -1, 1},
          {kRightUp, 0, 0, -1, 1},
          {kKeyDown, 0, 0, -1, 1},
          {kKeyUp, 0, 0, -1, 1},
          {kDown, 0, 0, 7, 2},
          {kKeyUp, 0, 0, -1, 2},
          {kRightUp, 0, 0, -1, 2},
          {kUp, 0, 0, 8, 3},
          {kMove, 100, 100, 3, 3},
          {kRightDown, 0, 0, -1, 3},
          {kKeyDown, 0, 0, -1, 3},
          {kKeyUp, 0, 0, -1, 3}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto* box = Add(new JC_GUI_CHECKBOX5(2, "check.png"), 100, 100);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            EXPECT_EQ(Do(s.op, s.x, s.y), s.code) << "step " << i;
            EXPECT_EQ(box->state, s.state) << "step " << i;
            EXPECT_EQ(box->IsChecked(), s.state == 3) << "step " << i;
            // The frames drawn follow the state however often the walks and draws switched them:
            // a checked box shows its box (pressed, hovered or plain), then the mark.
            const std::vector<JS_VERTEX> v = DrawnVertices([&] { root.DrawTree(); });
            std::vector<long> frames;
            for (size_t q = 0; q + 3 < v.size(); q += 4) frames.push_back(std::lround(v[q].u * 5.0f));
            const std::vector<long> want =
                s.state == 3 ? std::vector<long>{box->hovered != 0 ? (box->pressing != 0 ? 2 : 1) : 0, 3}
                             : std::vector<long>{s.state};
            EXPECT_EQ(frames, want) << "step " << i;
        }
        ClearRoot();
    }
}

TEST_F(Checkbox5Test, SettersBeforeTheBuildAreApplied) {
    auto* box = new JC_GUI_CHECKBOX5(2, "check.png");
    box->SetSize(40, 30);
    box->SetChecked(true, false);
    Add(box, 100, 100);
    EXPECT_FLOAT_EQ(box->Quad()->Width(), 40.0f);
    EXPECT_FLOAT_EQ(box->Quad()->Height(), 30.0f);
    EXPECT_FLOAT_EQ(box->Shape()->a, 40.0f);
    EXPECT_EQ(Move(118, 113), 3);  // inside the 40 x 30 box, outside the strip's 20 x 20
    EXPECT_EQ(Move(121, 100), -1);
    EXPECT_TRUE(box->IsChecked());
    // Drawn centred from (80, 85): the plain box (frame 0), then the mark (frame 3) over it.
    const std::vector<JS_VERTEX> v = DrawnVertices([&] { root.DrawTree(); });
    ASSERT_EQ(v.size(), 8u);
    EXPECT_FLOAT_EQ(v[0].x, 80.0f);
    EXPECT_FLOAT_EQ(v[0].y, 85.0f);
    EXPECT_FLOAT_EQ(v[0].u, 0.0f);
    EXPECT_FLOAT_EQ(v[4].u, 0.6f);
}

}  // namespace
}  // namespace QRV
