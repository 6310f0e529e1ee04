#pragma once
// The behaviour of a slider with a decrease button at one end of a straight track, an increase
// button at the other and a knob between them. The track may lie at any angle; the value runs
// from the minimum to the maximum in steps.
//
// Geometry (parent-relative pixels): with u the unit direction from start to end and s the
// button size, the buttons sit at p1 = start + u s/2 and p2 = end - u s/2; the widget's position
// is their midpoint and the three parts are placed relative to it. The knob runs from the margin
// (button distance x whole button size) past p1 at the minimum to the margin before p2 at the
// maximum; pixels per unit = (|p2 - p1| - 2 margin) / |maximum - minimum|, 0 for an empty range
// or a track too short for its margins (the knob then stays at its start).
//
// Input (left button only; the pointer is the one the last mouse-move walk stored):
//   move     active while the pointer is within the buttons' bounding box (taken on screen at
//            the time of the test) grown by the radius; the parts, in the order decrease,
//            increase, knob, turn hovered (code 3) or idle (code 4); otherwise a pressed knob
//            follows the pointer along the track (code 10, the value snapped to whole steps).
//            Leaving the box with the knob pressed ends the drag (SetValue, code 10).
//   press    the first hovered part becomes pressed (code 7); the press callback is called.
//   release  a pressed button steps the value down or up, a pressed knob settles (SetValue),
//            code 10; the click callback is called.
// Callbacks get their own stored argument, not the widget.
//
// A step below 1 is not snapped to (the drag then gives the continuous value, clamped).

#include <cstdint>

#include "engine/core/callback.h"
#include "engine/core/transform.h"
#include "engine/gui/gui_object.h"
#include "engine/gui/hit_shape.h"

namespace QRV {

class JC_BASESLIDER : public JC_GUI_OBJECT {
public:
    enum Part : int32_t { Decrease = 0, Increase = 1, Knob = 2, PartCount = 3 };
    // Part states.
    static constexpr int32_t kIdle = 0;
    static constexpr int32_t kHovered = 1;
    static constexpr int32_t kPressed = 2;

    // Lays the slider out with the button size given, then places the knob at the value.
    JC_BASESLIDER(int32_t id, float buttonDistance, float minimum, float maximum, float step, float value, float startX,
                  float startY, float endX, float endY, float radius, float buttonSize);
    // Frees the value-changed callback.
    ~JC_BASESLIDER() override;

    JS_GUI_EVENT* OnMouseUp() override;
    JS_GUI_EVENT* OnMouseDown() override;
    JS_GUI_EVENT* OnMouseMove() override;

    // The value clamped to the range (NaN gives the minimum), the knob placed, then the
    // value-changed callback.
    virtual void SetValue(float value);
    float GetValue() const { return value; }

    // The parts, margin and pixels per unit for a button size; the knob placed at the value
    // (the widget's own position is not touched).
    void LayOut(float buttonSize);
    // Whether the screen point lies within the buttons' box grown by the radius.
    bool InArea(float x, float y) const;
    // The knob at the value.
    void PlaceKnob();

    float margin = 0.0f;
    float minimum = 0.0f;
    float maximum = 0.0f;
    float step = 0.0f;
    float value = 0.0f;
    float startX = 0.0f, startY = 0.0f, endX = 0.0f, endY = 0.0f;
    float buttonSize = 0.0f;
    int32_t partState[PartCount] = {kIdle, kIdle, kIdle};
    uint8_t holding = 0;
    float radius = 0.0f;
    // Track direction x pixels per unit, x margin, and alone.
    float unitX = 0.0f, unitY = 0.0f;
    float offsetX = 0.0f, offsetY = 0.0f;
    float directionX = 0.0f, directionY = 0.0f;
    // Circles of the radius on the parts' transforms.
    JS_HIT_SHAPE shapes[PartCount];
    // Placement of the parts, children of the widget's transform.
    JS_TRANSFORM3 parts[PartCount];
    // Owned; called with its stored argument after every SetValue.
    JS_CALLBACK* valueChangedCallback = nullptr;
    float buttonDistance = 0.0f;

protected:
    // The pressed knob to the pointer; the value from where it is.
    void Drag();
    // Places a part relative to the widget.
    void SetPartPosition(int32_t part, float x, float y);
};

}  // namespace QRV
