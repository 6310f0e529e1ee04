#pragma once
// Straight-line moves of a transform's position: JC_BOT_MOVE goes from wherever the target is
// when its delay ends to an end point in a given time; JC_BOT_MOVE_ON adds a displacement
// spread over a time, so that it adds up with other moves of the same transform.

#include <cstdint>

#include "engine/bots/tween_base.h"
#include "engine/core/transform.h"
#include "engine/core/value_types.h"

namespace QRV {

class JC_BOT_MOVE : public JC_BOT_TWEEN {
public:
    // A duration of 0 means 1 second, unless a speed above 0 is given: the duration is then the
    // distance from the start (taken when the delay ends) to the end, divided by the speed.
    JC_BOT_MOVE(JS_TRANSFORM3* target, float endX, float endY, float endZ, float delay, float duration, float speed);

    JS_TRANSFORM3* target = nullptr;  // not owned; detached at the end
    JS_VECTOR3 start;
    JS_VECTOR3 end;
    float delay = 0.0f;
    float duration = 1.0f;
    float speed = 0.0f;
    float elapsed = 0.0f;

protected:
    int32_t Tick(float dt) override;
    void FinishNow() override;

private:
    void CaptureStart();
    void WritePosition(const JS_VECTOR3& p);

    bool durationFromSpeed = false;
};

class JC_BOT_MOVE_ON : public JC_BOT_TWEEN {
public:
    // time 0: the displacement's length / speed, or 1 second without a speed. The move starts
    // at once: z and delay are accepted for the callers' sake and ignored (z never moves).
    JC_BOT_MOVE_ON(JS_TRANSFORM3* target, float dx, float dy, float time, float speed, float dz = 0.0f,
                   float delay = 0.0f);

    JS_TRANSFORM3* target = nullptr;  // not owned
    float dx = 0.0f;
    float dy = 0.0f;
    float speed = 0.0f;
    float totalTime = 1.0f;
    float remaining = 1.0f;

protected:
    int32_t Tick(float dt) override;
    // No final step: the target stays where the last tick left it.
    void FinishNow() override { End(); }
};

}  // namespace QRV
