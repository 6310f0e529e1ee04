#include "engine/bots/tween_bezier.h"

#include <cmath>

namespace QRV {

JC_BOT_MOVE_BEZIER::JC_BOT_MOVE_BEZIER(const char* tweenName, JS_TRANSFORM3* target, const JS_VECTOR3& end,
                                       float duration, float speed, float delay)
    : JC_BOT_TWEEN(tweenName), target(target), end(end), duration(duration), speed(speed), delay(delay) {}

void JC_BOT_MOVE_BEZIER::CaptureStartIfNoDelay() {
    if (delay <= 0.0f) CaptureStart();
}

void JC_BOT_MOVE_BEZIER::CaptureStart() {
    if (target != nullptr) start = {target->positionX, target->positionY, target->positionZ};
    const float cx = end.x - start.x, cy = end.y - start.y, cz = end.z - start.z;
    const float chord = std::sqrt(cx * cx + cy * cy + cz * cz);
    const bool hasDuration = duration > 0.0f;
    const bool hasSpeed = speed > 0.0f;
    if (hasDuration && !hasSpeed) {
        speed = chord / duration;
    } else if (!hasDuration && hasSpeed) {
        duration = chord / speed;
    } else if (!hasDuration && !hasSpeed) {
        duration = 1.0f;
        speed = chord;
    }
    remaining = duration;
    t = 0.0f;
}

int32_t JC_BOT_MOVE_BEZIER::Tick(float dt) {
    if (delay > 0.0f) {
        delay -= dt;
        if (delay <= 0.0f) CaptureStart();
        return MSG_RESULT::GoOn;
    }
    // remaining > 0 implies duration > 0: a speed over no distance ends here at once.
    if (remaining > 0.0f) {
        const float next = t + dt / duration;
        if (target != nullptr) {
            const JS_VECTOR3 from = Point(t);
            const JS_VECTOR3 to = Point(next);
            target->positionX += to.x - from.x;
            target->positionY += to.y - from.y;
            target->positionZ += to.z - from.z;
        }
        t = next;
        remaining -= dt;
        return MSG_RESULT::GoOn;
    }
    FinishNow();
    return MSG_RESULT::Finished;
}

void JC_BOT_MOVE_BEZIER::FinishNow() {
    remaining = 0.0f;
    End();
}

JC_BOT_MOVE_CUBEBEZIER::JC_BOT_MOVE_CUBEBEZIER(JS_TRANSFORM3* target, const JS_VECTOR3& control1,
                                               const JS_VECTOR3& control2, const JS_VECTOR3& end, float duration,
                                               float speed, float delay)
    : JC_BOT_MOVE_BEZIER("bot_move_cubebezier", target, end, duration, speed, delay), control1(control1),
      control2(control2) {
    CaptureStartIfNoDelay();
}

JS_VECTOR3 JC_BOT_MOVE_CUBEBEZIER::Point(float at) const { return CubicBezier(start, control1, control2, end, at); }

JC_BOT_MOVE_QUADBEZIER::JC_BOT_MOVE_QUADBEZIER(JS_TRANSFORM3* target, const JS_VECTOR3& control, const JS_VECTOR3& end,
                                               float duration, float speed, float delay)
    : JC_BOT_MOVE_BEZIER("bot_move_quadbezier", target, end, duration, speed, delay), control(control) {
    CaptureStartIfNoDelay();
}

JS_VECTOR3 JC_BOT_MOVE_QUADBEZIER::Point(float at) const {
    if (at == 0.0f) return start;
    if (at >= 1.0f) return end;
    const float u = 1.0f - at;
    const float w0 = u * u, w1 = 2.0f * at * u, w2 = at * at;
    return {w0 * start.x + w1 * control.x + w2 * end.x, w0 * start.y + w1 * control.y + w2 * end.y,
            w0 * start.z + w1 * control.z + w2 * end.z};
}

}  // namespace QRV
