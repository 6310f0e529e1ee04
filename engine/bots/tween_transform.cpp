#include "engine/bots/tween_transform.h"

#include "engine/graphics/transform.h"

namespace QRV {

namespace {

float Mix(float from, float to, float f) {
    if (f == 0.0f) return from;
    if (f == 1.0f) return to;
    return from + (to - from) * f;
}

}  // namespace

JC_BOT_TRANSFORM::JC_BOT_TRANSFORM(JS_TRANSFORM3* target, const JS_TRANSFORM3& endTransform, float delay,
                                   float duration)
    : JC_BOT_TWEEN("bot_transform"), target(target), end(GetAbsolute(endTransform)), delay(delay), duration(duration) {
    // The start callback cannot be set yet, so starting here calls nothing.
    if (delay <= 0.0f) Begin();
}

void JC_BOT_TRANSFORM::Begin() {
    if (target != nullptr) start = *target;
    JS_CALLBACK::Invoke(&startCallback, 0);
}

int32_t JC_BOT_TRANSFORM::Tick(float dt) {
    if (delay > 0.0f) {
        delay -= dt;
        if (delay <= 0.0f) Begin();
        return MSG_RESULT::GoOn;
    }
    elapsed += dt;
    // A zero duration ends here: elapsed / duration would be 0 / 0 on a tick of no time.
    if (elapsed > duration || duration <= 0.0f) {
        FinishNow();
        return MSG_RESULT::Finished;
    }
    if (target != nullptr) {
        const float f = elapsed / duration;
        JS_TRANSFORM3& t = *target;
        t.positionX = Mix(start.positionX, end.positionX, f);
        t.positionY = Mix(start.positionY, end.positionY, f);
        t.positionZ = Mix(start.positionZ, end.positionZ, f);
        t.scaleX = Mix(start.scaleX, end.scaleX, f);
        t.scaleY = Mix(start.scaleY, end.scaleY, f);
        t.scaleZ = Mix(start.scaleZ, end.scaleZ, f);
        t.rotationX = Mix(start.rotationX, end.rotationX, f);
        t.rotationY = Mix(start.rotationY, end.rotationY, f);
        t.rotationZ = Mix(start.rotationZ, end.rotationZ, f);
        t.pivotX = Mix(start.pivotX, end.pivotX, f);
        t.pivotY = Mix(start.pivotY, end.pivotY, f);
        t.pivotZ = Mix(start.pivotZ, end.pivotZ, f);
    }
    return MSG_RESULT::GoOn;
}

void JC_BOT_TRANSFORM::FinishNow() {
    // Without a target there is nothing to finish: the tween ends without calling back.
    if (target == nullptr) return;
    JS_TRANSFORM3* const keepParent = target->parent;
    *target = end;
    target->parent = keepParent;
    target = nullptr;
    elapsed = duration + 1.0f;
    End();
}

}  // namespace QRV
