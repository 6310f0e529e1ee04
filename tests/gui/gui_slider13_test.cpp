#include "engine/gui/gui_slider13.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/graphics/transform.h"
#include "tests/gui/widget_test_support.h"

namespace QRV {
namespace {

using GuiTest::CallLog;

constexpr float kEps = 1e-3f;

// A 260 x 20 strip: 20-pixel buttons. The track from (100, 100) to (300, 100) puts the buttons
// at 110 and 290, the knob's ends at 140 and 260 (margin 1.5 x 20 = 30).
class Slider13Test : public GuiTest::WidgetSceneTest {
protected:
    void SetUp() override {
        WidgetSceneTest::SetUp();
        LoadImages({{"slider.png", {260, 20}}});
    }
    JC_GUI_SLIDER13* Make(float min, float max, float step, float value, JC_GUI_OBJECT* parent = nullptr,
                          float sx = 100, float sy = 100, float ex = 300, float ey = 100) {
        auto* slider = new JC_GUI_SLIDER13(9, "slider.png", 1.5f, min, max, step, value, sx, sy, ex, ey, 10.0f);
        slider->valueChangedCallback = CallLog::Make(111);
        slider->clickCallback = CallLog::Make(222);
        return Add(slider, parent);
    }
    static JS_TRANSFORM3 Knob(const JC_GUI_SLIDER13* s) { return GetAbsolute(s->parts[JC_BASESLIDER::Knob]); }
    static size_t Calls(uintptr_t word) {
        size_t n = 0;
        for (uintptr_t w : CallLog::calls) n += w == word ? 1 : 0;
        return n;
    }
    // Hovers the knob, presses it and moves to (x, y): the code of that move. The move goes
    // straight to the slider, so the pointer may be fractional.
    int32_t DragKnobTo(JC_GUI_SLIDER13* s, float x, float y) {
        const JS_TRANSFORM3 knob = Knob(s);
        Move(static_cast<int32_t>(std::lround(knob.positionX)), static_cast<int32_t>(std::lround(knob.positionY)));
        EXPECT_EQ(s->partState[JC_BASESLIDER::Knob], JC_BASESLIDER::kHovered);
        EXPECT_EQ(Down(), 7);
        input.Clear();
        input.Get().keys[VK_LBUTTON] = 2;
        s->lastMouseX = x;
        s->lastMouseY = y;
        return Code(s->OnMouseMove());
    }
};

TEST_F(Slider13Test, TheKnobSitsByTheValue) {
    const struct {
        float min, max, value;
        float expectedValue, knobX;
    } cases[] = {
        {0, 100, 0, 0, 140},   {0, 100, 100, 100, 260}, {0, 100, 50, 50, 200},
        {0, 100, -5, 0, 140},  {0, 100, 150, 100, 260}, {5, 5, 7, 5, 140},  // an empty range
        {0, 100, NAN, 0, 140},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        JC_GUI_SLIDER13* slider = Make(c.min, c.max, 5, c.value);
        EXPECT_FLOAT_EQ(slider->margin, 30.0f);
        EXPECT_FLOAT_EQ(slider->GetValue(), c.expectedValue);
        EXPECT_NEAR(Knob(slider).positionX, c.knobX, kEps);
        EXPECT_NEAR(Knob(slider).positionY, 100.0f, kEps);
        slider->SetValue(-5);
        EXPECT_NEAR(Knob(slider).positionX, 140.0f, kEps);
    }
}

TEST_F(Slider13Test, StepButtonsChangeTheValueOnRelease) {
    JC_GUI_SLIDER13* slider = Make(0, 10, 1, 10);
    CallLog::calls.clear();
    EXPECT_EQ(Move(290, 100), 3);  // the increase button
    EXPECT_EQ(Down(VK_RBUTTON), -1);
    EXPECT_EQ(Down(), 7);
    EXPECT_EQ(Frame(slider->GetQuad(JC_GUI_SLIDER13::IncreaseQuad), 13), 5);
    EXPECT_EQ(Up(), 10);
    EXPECT_FLOAT_EQ(slider->GetValue(), 10.0f);
    EXPECT_EQ(Frame(slider->GetQuad(JC_GUI_SLIDER13::IncreaseQuad), 13), 4);
    EXPECT_EQ(Move(110, 100), 3);  // the decrease button comes first
    EXPECT_EQ(Move(111, 100), 4);  // then the increase button is left
    CallLog::calls.clear();
    EXPECT_EQ(Down(), 7);
    EXPECT_EQ(Up(), 10);
    EXPECT_FLOAT_EQ(slider->GetValue(), 9.0f);
    EXPECT_EQ(Calls(111), 1u);
    EXPECT_EQ(Calls(222), 2u);  // once by the base, once more by the strip slider
}

TEST_F(Slider13Test, DraggingSnapsToWholeSteps) {
    const struct {
        const char* what;
        float min, max, step;
        float pointerValue;  // where the pointer goes, in units of the range
        float pointerY;
        float value;
        float knobValue;  // where the knob ends, in the same units
    } cases[] = {
        {"snapped down to a step", 0, 10, 2, 5.7f, 100, 4, 5.7f},
        {"off the line, snapped", 0, 10, 2, 5.7f, 106, 4, 5.7f},
        {"above maximum - step: the end", 0, 9, 2, 8.2f, 100, 9, 9},
        {"below minimum + step: the start", 0, 10, 2, 1.5f, 100, 0, 0},
        {"behind the start", 0, 10, 2, -39.0f / 12.0f, 109, 0, 0},
        {"a fractional step gives the continuous value", 0, 1, 0.1f, 0.37f, 100, 0.37f, 0.37f},
        {"a zero step", 0, 10, 0, 5.5f, 100, 5.5f, 5.5f},
        {"a step of a half", 0, 10, 0.5f, 5.5f, 100, 5.5f, 5.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        JC_GUI_SLIDER13* slider = Make(c.min, c.max, c.step, c.min);
        const float perUnit = 120.0f / (c.max - c.min);
        EXPECT_EQ(DragKnobTo(slider, 140 + c.pointerValue * perUnit, c.pointerY), 10);
        EXPECT_NEAR(slider->GetValue(), c.value, kEps);
        EXPECT_NEAR(Knob(slider).positionX, 140 + c.knobValue * perUnit, kEps);
        EXPECT_EQ(Up(), 10);
        ClearRoot();
    }
}

TEST_F(Slider13Test, AnEmptyRangeOrASlantedTrackGivesNoNaN) {
    JC_GUI_SLIDER13* empty = Make(3, 3, 1, 3);
    EXPECT_EQ(DragKnobTo(empty, 220, 100), 10);
    EXPECT_FLOAT_EQ(empty->GetValue(), 3.0f);
    EXPECT_NEAR(Knob(empty).positionX, 140.0f, kEps);
    Up();
    ClearRoot();

    // Pointers exactly on a slanted track line.
    JC_GUI_SLIDER13* slant = Make(0, 100, 1, 0, nullptr, 100, 100, 277, 313);
    const float dx = slant->directionX, dy = slant->directionY;
    const JS_TRANSFORM3 start = GetAbsolute(slant->parts[JC_BASESLIDER::Decrease]);
    for (float along = 31.0f; along < 240.0f; along += 0.37f) {
        DragKnobTo(slant, start.positionX + dx * along, start.positionY + dy * along);
        ASSERT_FALSE(std::isnan(slant->GetValue())) << along;
        ASSERT_FALSE(std::isnan(Knob(slant).positionX)) << along;
        Up();
    }
}

TEST_F(Slider13Test, TheAreaFollowsThePlacementOnScreen) {
    JC_GUI_OBJECT* window = new JC_GUI_OBJECT(1);
    window->transform->positionX = 512;
    window->transform->positionY = 384;
    Add(window);
    JC_GUI_SLIDER13* slider = Make(0, 100, 5, 50, window, -100, 0, 100, 0);
    EXPECT_NEAR(Knob(slider).positionX, 512.0f, kEps);
    EXPECT_EQ(Move(512, 384), 3);
    EXPECT_TRUE(slider->IsActive());
    // Moved by a transition: the area goes along.
    window->transform->positionY = 100;
    EXPECT_EQ(Move(512, 384), -1);
    EXPECT_FALSE(slider->IsActive());
    EXPECT_EQ(Move(514, 101), -1);  // still over the knob, which is still hovered
    EXPECT_TRUE(slider->IsActive());
}

TEST_F(Slider13Test, LeavingTheAreaEndsADrag) {
    JC_GUI_SLIDER13* slider = Make(0, 100, 5, 0);
    EXPECT_EQ(DragKnobTo(slider, 201, 100), 10);
    CallLog::calls.clear();
    EXPECT_EQ(Move(200, 200), 10);
    EXPECT_EQ(slider->partState[JC_BASESLIDER::Knob], JC_BASESLIDER::kHovered);
    EXPECT_FLOAT_EQ(slider->GetValue(), 50.0f);
    EXPECT_EQ(Calls(111), 1u);
}

// The extent of a drawn quad (four vertices from the first).
struct Extent {
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
};
Extent QuadExtent(const std::vector<JS_VERTEX>& v, size_t first) {
    Extent e;
    for (size_t i = first; i < first + 4; ++i) {
        e.minX = std::fmin(e.minX, v[i].x);
        e.maxX = std::fmax(e.maxX, v[i].x);
        e.minY = std::fmin(e.minY, v[i].y);
        e.maxY = std::fmax(e.maxY, v[i].y);
    }
    return e;
}

TEST_F(Slider13Test, TheFillRunsFromTheTrackStartToTheKnob) {
    Make(0, 100, 5, 50);
    const std::vector<JS_VERTEX> v = DrawnVertices([&] { root.DrawTree(); });
    ASSERT_EQ(v.size(), 28u);
    // The fill (fifth quad) runs from the knob's place at the minimum to the knob, 20 wide.
    const Extent fill = QuadExtent(v, 12);
    EXPECT_NEAR(fill.minX, 140.0f, kEps);
    EXPECT_NEAR(fill.maxX, 200.0f, kEps);
    EXPECT_NEAR(fill.maxY - fill.minY, 20.0f, kEps);
}

TEST_F(Slider13Test, TheTrackSpansTheKnobsTravelSoItsEndsReadAsTheRangesEnds) {
    // Track pieces are 20 x 20 frames: the start piece centred on the knob's place at the
    // minimum (140), the end piece on its place at the maximum (260), the body between them.
    const struct {
        float value;
        float fillLength;
    } cases[] = {{0, 0}, {100, 120}, {5, 6}, {95, 114}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        JC_GUI_SLIDER13* slider = Make(0, 100, 5, 50);
        slider->SetValue(c.value);
        const std::vector<JS_VERTEX> v = DrawnVertices([&] { root.DrawTree(); });
        ASSERT_EQ(v.size(), 28u);
        const Extent start = QuadExtent(v, 0), body = QuadExtent(v, 4), end = QuadExtent(v, 8);
        EXPECT_NEAR(start.minX, 130.0f, kEps);
        EXPECT_NEAR(body.minX, 150.0f, kEps);
        EXPECT_NEAR(body.maxX, 250.0f, kEps);
        EXPECT_NEAR(end.maxX, 270.0f, kEps);
        const Extent fill = QuadExtent(v, 12);
        EXPECT_NEAR(fill.maxX - fill.minX, c.fillLength, kEps);
        EXPECT_NEAR(fill.minX, 140.0f, kEps);
        ClearRoot();
    }
    // A drag past either end of the drawn track reads the range's end.
    for (const float x : {122.0f, 131.0f, 269.0f, 278.0f}) {
        SCOPED_TRACE(x);
        JC_GUI_SLIDER13* slider = Make(0, 100, 5, 50);
        EXPECT_EQ(DragKnobTo(slider, x, 100), 10);
        EXPECT_EQ(Up(), 10);
        EXPECT_FLOAT_EQ(slider->GetValue(), x < 200 ? 0.0f : 100.0f);
        ClearRoot();
    }
}

}  // namespace
}  // namespace QRV
