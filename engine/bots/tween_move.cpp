#include "engine/bots/tween_move.h"

#include <cmath>

namespace QRV {

JC_BOT_MOVE::JC_BOT_MOVE(JS_TRANSFORM3* target, float endX, float endY, float endZ, float delay, float duration,
                         float speed)
    : JC_BOT_TWEEN("bot_move"), target(target), end{endX, endY, endZ}, delay(delay), duration(duration), speed(speed) {
    if (duration == 0.0f) {
        // Every caller passes speed 0 and means "one second"; a speed needs the start, which is
        // known only when the delay has run out.
        if (speed > 0.0f) durationFromSpeed = true;
        else this->duration = 1.0f;
    }
    if (delay <= 0.0f) CaptureStart();
}

void JC_BOT_MOVE::CaptureStart() {
    if (target != nullptr) start = {target->positionX, target->positionY, target->positionZ};
    if (durationFromSpeed) {
        const float ddx = end.x - start.x, ddy = end.y - start.y, ddz = end.z - start.z;
        duration = std::sqrt(ddx * ddx + ddy * ddy + ddz * ddz) / speed;
        durationFromSpeed = false;
    }
}

void JC_BOT_MOVE::WritePosition(const JS_VECTOR3& p) {
    if (target == nullptr) return;
    target->positionX = p.x;
    target->positionY = p.y;
    target->positionZ = p.z;
}

int32_t JC_BOT_MOVE::Tick(float dt) {
    if (delay > 0.0f) {
        delay -= dt;
        // The target does not move on the tick where the delay runs out.
        if (delay <= 0.0f) CaptureStart();
        return MSG_RESULT::GoOn;
    }
    // A zero duration (a speed over no distance) ends at once rather than dividing by it.
    if (duration > 0.0f && elapsed <= duration) {
        const float f = elapsed / duration;
        if (f <= 0.0f) {
            WritePosition(start);
        } else if (f >= 1.0f) {
            WritePosition(end);
        } else {
            WritePosition(
                {start.x + (end.x - start.x) * f, start.y + (end.y - start.y) * f, start.z + (end.z - start.z) * f});
        }
        elapsed += dt;
        return MSG_RESULT::GoOn;
    }
    FinishNow();
    return MSG_RESULT::Finished;
}

void JC_BOT_MOVE::FinishNow() {
    elapsed = duration + 1.0f;
    WritePosition(end);
    target = nullptr;
    End();
}

JC_BOT_MOVE_ON::JC_BOT_MOVE_ON(JS_TRANSFORM3* target, float dx, float dy, float time, float speed, float, float)
    : JC_BOT_TWEEN(nullptr), target(target), dx(dx), dy(dy), speed(speed) {
    const float length = std::sqrt(dx * dx + dy * dy);
    if (time == 0.0f) {
        time = speed != 0.0f ? length / speed : 1.0f;
    } else if (speed == 0.0f) {
        this->speed = length / time;
    }
    totalTime = time;
    remaining = time;
}

int32_t JC_BOT_MOVE_ON::Tick(float dt) {
    remaining -= dt;
    // A total time of 0 or less (no distance to go) ends at once instead of dividing by it.
    if (remaining < 0.0f || totalTime <= 0.0f) {
        End();
        return MSG_RESULT::Finished;
    }
    if (target != nullptr) {
        target->positionX += dx / totalTime * dt;
        target->positionY += dy / totalTime * dt;
    }
    return MSG_RESULT::GoOn;
}

}  // namespace QRV
