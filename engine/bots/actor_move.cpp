#include "engine/bots/actor_move.h"

namespace QRV {

JCBot_Move::JCBot_Move(JS_TRANSFORM3* target, const JS_VECTOR3& begin, const JS_VECTOR3& end, float time, float delay)
    : JCBot(delay), begin(begin), end(end), time(time), target(target) {
    if (target != nullptr) {
        target->positionX = begin.x;
        target->positionY = begin.y;
    }
}

int32_t JCBot_Move::OnTick(float dt) {
    elapsed += dt;
    // A time of 0 is "already at the end", never 0 / 0.
    const float f = time > 0.0f ? elapsed / time : 1.0f;
    if (target != nullptr) {
        if (f <= 0.0f) {
            target->positionX = begin.x;
            target->positionY = begin.y;
        } else if (f >= 1.0f) {
            target->positionX = end.x;
            target->positionY = end.y;
        } else {
            target->positionX = begin.x + (end.x - begin.x) * f;
            target->positionY = begin.y + (end.y - begin.y) * f;
        }
    }
    if (elapsed < time) return MSG_RESULT::GoOn;
    CallCompletion();
    return MSG_RESULT::Finished;
}

JCBot_MoveLoop::JCBot_MoveLoop(float delay, const JS_VECTOR3& begin, const JS_VECTOR3& end, float time, float delayStep,
                               JS_TRANSFORM3* target)
    : JCBot(delay), begin(begin), end(end), time(time), delayStep(delayStep), destination(end), target(target) {}

void JCBot_MoveLoop::OnStart() {
    headingToEnd = true;
    destination = end;
    StartLeg(begin, 0.0f);
}

int32_t JCBot_MoveLoop::OnTick(float) { return children.IsEmpty() ? MSG_RESULT::Finished : MSG_RESULT::GoOn; }

void JCBot_MoveLoop::StartLeg(const JS_VECTOR3& from, float legDelay) {
    auto* leg = new JCBot_Move(target, from, destination, time, legDelay);
    leg->completion = MakeClosure<&JCBot_MoveLoop::LegDone>(this);
    children.Add(leg);
}

void JCBot_MoveLoop::LegDone() {
    headingToEnd = !headingToEnd;
    JS_VECTOR3 from = destination;
    destination = headingToEnd ? end : begin;
    if (target != nullptr) from = {target->positionX, target->positionY, target->positionZ};
    StartLeg(from, delayStep);
    CallCompletion();
}

}  // namespace QRV
