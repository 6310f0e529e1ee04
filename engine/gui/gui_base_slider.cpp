#include "engine/gui/gui_base_slider.h"

#include <algorithm>
#include <cmath>

#include "engine/graphics/transform.h"
#include "engine/platform/input.h"

namespace QRV {

JC_BASESLIDER::JC_BASESLIDER(int32_t id, float distance, float min, float max, float stepSize, float initial, float sx,
                             float sy, float ex, float ey, float buttonRadius, float size)
    : JC_GUI_OBJECT(id), minimum(min), maximum(max), step(stepSize), value(initial), startX(sx), startY(sy), endX(ex),
      endY(ey), radius(buttonRadius), buttonDistance(distance) {
    for (int32_t i = 0; i < PartCount; ++i) {
        parts[i].parent = transform;
        shapes[i].kind = HIT_SHAPE::Circle;
        shapes[i].a = radius;
        shapes[i].transform = &parts[i];
    }
    // The buttons' midpoint does not depend on the button size: start and end move inwards alike.
    SetPosition((startX + endX) * 0.5f, (startY + endY) * 0.5f, 0.0f);
    LayOut(size);
}

JC_BASESLIDER::~JC_BASESLIDER() { delete valueChangedCallback; }

void JC_BASESLIDER::SetPartPosition(int32_t part, float x, float y) {
    parts[part].positionX = x;
    parts[part].positionY = y;
}

void JC_BASESLIDER::LayOut(float size) {
    buttonSize = size;
    float ux = endX - startX;
    float uy = endY - startY;
    const float length = std::hypot(ux, uy);
    if (length != 0.0f) {
        ux /= length;
        uy /= length;
    }
    const float hx = ux * buttonSize * 0.5f;
    const float hy = uy * buttonSize * 0.5f;
    margin = buttonDistance * std::trunc(buttonSize);
    const float p1x = startX + hx, p1y = startY + hy;
    const float p2x = endX - hx, p2y = endY - hy;
    const float midX = (startX + endX) * 0.5f, midY = (startY + endY) * 0.5f;
    SetPartPosition(Decrease, p1x - midX, p1y - midY);
    SetPartPosition(Increase, p2x - midX, p2y - midY);
    parts[Decrease].positionZ = parts[Increase].positionZ = 0.0f;

    directionX = ux;
    directionY = uy;
    float perUnit = 0.0f;
    if (maximum != minimum) {
        perUnit = (std::hypot(p2x - p1x, p2y - p1y) - 2.0f * margin) / std::fabs(maximum - minimum);
        // A track shorter than its margins has no room to move the knob in.
        if (!(perUnit > 0.0f) || !std::isfinite(perUnit)) perUnit = 0.0f;
    }
    unitX = ux * perUnit;
    unitY = uy * perUnit;
    offsetX = ux * margin;
    offsetY = uy * margin;
    if (std::isnan(value)) value = minimum;
    if (value > maximum) value = maximum;
    if (minimum > value) value = minimum;
    PlaceKnob();
}

void JC_BASESLIDER::PlaceKnob() {
    const float along = value - minimum;
    SetPartPosition(Knob, parts[Decrease].positionX + offsetX + along * unitX,
                    parts[Decrease].positionY + offsetY + along * unitY);
}

void JC_BASESLIDER::SetValue(float v) {
    value = std::isnan(v) ? minimum : v;
    if (v > maximum) value = maximum;
    if (minimum > value) value = minimum;
    PlaceKnob();
    JS_CALLBACK::Invoke(valueChangedCallback, 0);
}

bool JC_BASESLIDER::InArea(float x, float y) const {
    const JS_TRANSFORM3 a = GetAbsolute(parts[Decrease]);
    const JS_TRANSFORM3 b = GetAbsolute(parts[Increase]);
    const float left = std::min(a.positionX, b.positionX) - radius;
    const float right = std::max(a.positionX, b.positionX) + radius;
    const float top = std::min(a.positionY, b.positionY) - radius;
    const float bottom = std::max(a.positionY, b.positionY) + radius;
    return x >= left && x <= right && y >= top && y <= bottom;
}

void JC_BASESLIDER::Drag() {
    const JS_TRANSFORM3 decrease = GetAbsolute(parts[Decrease]);
    const JS_TRANSFORM3 increase = GetAbsolute(parts[Increase]);
    const float px = lastMouseX - decrease.positionX;
    const float py = lastMouseY - decrease.positionY;
    const float tx = increase.positionX - decrease.positionX;
    const float ty = increase.positionY - decrease.positionY;
    const float trackLength = std::hypot(tx, ty);
    // The pointer's distance along the track, projected without an angle (no acos to leave its
    // domain through rounding); behind the start counts as the start.
    float projection = trackLength > 0.0f ? (tx * px + ty * py) / trackLength : std::hypot(px, py);
    if (!(projection > 0.0f)) projection = 0.0f;

    const float baseX = parts[Decrease].positionX;
    const float baseY = parts[Decrease].positionY;
    SetPartPosition(Knob, baseX + directionX * projection, baseY + directionY * projection);
    const auto knobAtStart = [&] { SetPartPosition(Knob, baseX + offsetX, baseY + offsetY); };
    const auto knobAtEnd = [&] {
        SetPartPosition(Knob, parts[Increase].positionX - offsetX, parts[Increase].positionY - offsetY);
    };

    const float perUnit = std::hypot(unitX, unitY);
    if (perUnit == 0.0f) {
        value = minimum;
        knobAtStart();
        return;
    }
    const float distance = std::hypot(parts[Knob].positionX - baseX, parts[Knob].positionY - baseY);
    const float raw = (distance - margin) / perUnit + minimum;
    const float whole = std::trunc(step);
    if (whole >= 1.0f) {
        // Down to a whole multiple of the step (the remainder keeps the sign of the value). A knob
        // placed on a mark may measure a hair below it (49.99996 for 50); that still counts as the mark.
        value = std::floor(raw + 1e-3f);
        value -= std::fmod(std::trunc(value), whole);
    } else {
        value = raw;
    }
    if (value > maximum - step) {
        value = maximum;
        knobAtEnd();
    }
    if (minimum + step > value) {
        value = minimum;
        knobAtStart();
    }
    // Only a negative step or a runaway value gets here out of range.
    if (value > maximum) {
        value = maximum;
        knobAtEnd();
    }
    if (!(value >= minimum)) {
        value = minimum;
        knobAtStart();
    }
}

JS_GUI_EVENT* JC_BASESLIDER::OnMouseMove() {
    event.code = GUI_EVENT::None;
    active = InArea(lastMouseX, lastMouseY) ? 1 : 0;
    if (active != 0) {
        for (int32_t i = 0; i < PartCount && event.code == GUI_EVENT::None; ++i) {
            const bool inside = shapes[i].Contains(lastMouseX, lastMouseY);
            if (partState[i] == kIdle && inside) {
                partState[i] = kHovered;
                event.code = GUI_EVENT::Enter;
            } else if (partState[i] == kHovered && !inside) {
                partState[i] = kIdle;
                event.code = GUI_EVENT::Leave;
                holding = 0;
            }
        }
        if (event.code != GUI_EVENT::None) return &event;
        if (partState[Knob] == kPressed && holding != 0) {
            Drag();
            return Report(GUI_EVENT::Changed);
        }
        return nullptr;
    }
    if (partState[Knob] == kPressed) {
        holding = 0;
        partState[Knob] = kHovered;
        SetValue(value);
        return Report(GUI_EVENT::Changed);
    }
    return nullptr;
}

JS_GUI_EVENT* JC_BASESLIDER::OnMouseDown() {
    event.code = GUI_EVENT::None;
    if (active == 0 || g_input == nullptr || !g_input->WasPressed(VK_LBUTTON)) return nullptr;
    for (int32_t i = 0; i < PartCount; ++i) {
        if (partState[i] != kHovered) continue;
        partState[i] = kPressed;
        event.code = GUI_EVENT::Press;
        holding = 1;
        break;
    }
    JS_CALLBACK::Invoke(pressCallback, 0);
    return event.code != GUI_EVENT::None ? &event : nullptr;
}

JS_GUI_EVENT* JC_BASESLIDER::OnMouseUp() {
    event.code = GUI_EVENT::None;
    if (g_input == nullptr || !g_input->WasReleased(VK_LBUTTON)) return nullptr;
    const float steps[PartCount] = {-step, step, 0.0f};
    for (int32_t i = 0; i < PartCount; ++i) {
        if (partState[i] != kPressed) continue;
        SetValue(value + steps[i]);
        event.code = GUI_EVENT::Changed;
        holding = 0;
        partState[i] = kHovered;
        break;
    }
    JS_CALLBACK::Invoke(clickCallback, 0);
    return event.code != GUI_EVENT::None ? &event : nullptr;
}

}  // namespace QRV
