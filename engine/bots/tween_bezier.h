#pragma once
// Curved moves of a transform's position from wherever it is when the delay ends, along a cubic
// (two control points) or quadratic (one control point) Bezier curve to an end point. Each tick
// adds the curve's step to the position, so other moves of the same transform add up; the
// position is not snapped to the end point at the finish.

#include <cstdint>

#include "engine/bots/tween_base.h"
#include "engine/core/transform.h"
#include "engine/core/value_types.h"

namespace QRV {

// What both curves share: timing, the start capture and the stepping.
class JC_BOT_MOVE_BEZIER : public JC_BOT_TWEEN {
public:
    JS_TRANSFORM3* target = nullptr;  // not owned
    JS_VECTOR3 start;
    JS_VECTOR3 end;
    // The duration and speed as given; the missing one is derived from the chord length when the
    // start is taken (neither: 1 second, at the chord length per second).
    float duration = 0.0f;
    float speed = 0.0f;
    float delay = 0.0f;
    float remaining = 0.0f;
    float t = 0.0f;  // curve parameter, 0 at the start, 1 at the end point

protected:
    JC_BOT_MOVE_BEZIER(const char* tweenName, JS_TRANSFORM3* target, const JS_VECTOR3& end, float duration, float speed,
                       float delay);
    // Called by the constructors of the curves once their control points are stored.
    void CaptureStartIfNoDelay();
    // The curve's point at parameter t.
    virtual JS_VECTOR3 Point(float t) const = 0;

    int32_t Tick(float dt) override;
    void FinishNow() override;

private:
    void CaptureStart();
};

class JC_BOT_MOVE_CUBEBEZIER : public JC_BOT_MOVE_BEZIER {
public:
    JC_BOT_MOVE_CUBEBEZIER(JS_TRANSFORM3* target, const JS_VECTOR3& control1, const JS_VECTOR3& control2,
                           const JS_VECTOR3& end, float duration, float speed, float delay);

    JS_VECTOR3 control1;
    JS_VECTOR3 control2;

protected:
    // Exactly the start at 0 and the end at 1; beyond 1 the curve is evaluated as it stands.
    JS_VECTOR3 Point(float t) const override;
};

class JC_BOT_MOVE_QUADBEZIER : public JC_BOT_MOVE_BEZIER {
public:
    JC_BOT_MOVE_QUADBEZIER(JS_TRANSFORM3* target, const JS_VECTOR3& control, const JS_VECTOR3& end, float duration,
                           float speed, float delay);

    JS_VECTOR3 control;

protected:
    // Exactly the start at 0 and the end from 1 on.
    JS_VECTOR3 Point(float t) const override;
};

}  // namespace QRV
