#pragma once
// Actor bots that move a transform's x, y position in a straight line: once (JCBot_Move), or
// back and forth between two points for as long as they live (JCBot_MoveLoop).

#include <cstdint>

#include "engine/bots/actor_bot.h"
#include "engine/core/transform.h"
#include "engine/core/value_types.h"

namespace QRV {

class JCBot_Move : public JCBot {
public:
    // Puts the target at begin x, y at once, before the delay. A time of 0 or less lands on the
    // end on the first tick after the delay.
    JCBot_Move(JS_TRANSFORM3* target, const JS_VECTOR3& begin, const JS_VECTOR3& end, float time, float delay);

    // Finishes (completion callback, Finished) on the tick where elapsed reaches the time, having
    // written the end; z is never touched.
    int32_t OnTick(float dt) override;
    // The next tick lands on the end and finishes.
    void OnStop() override { elapsed = time; }

    JS_VECTOR3 begin;
    JS_VECTOR3 end;
    float time = 0.0f;
    float elapsed = 0.0f;
    JS_TRANSFORM3* target = nullptr;  // not owned
};

class JCBot_MoveLoop : public JCBot {
public:
    // After the delay, legs from begin to end and back, each over `time`, pausing `delayStep`
    // at each end. The completion callback runs once per leg.
    JCBot_MoveLoop(float delay, const JS_VECTOR3& begin, const JS_VECTOR3& end, float time, float delayStep,
                   JS_TRANSFORM3* target);

    void OnStart() override;
    // GoOn while a leg runs (or waits), Finished once none does.
    int32_t OnTick(float dt) override;
    // Drops the running leg: the next tick finishes.
    void OnStop() override { children.Clear(); }

    JS_VECTOR3 begin;
    JS_VECTOR3 end;
    float time = 0.0f;
    float delayStep = 0.0f;
    JS_VECTOR3 destination;           // where the running leg goes: begin or end
    JS_TRANSFORM3* target = nullptr;  // not owned

private:
    // The completion callback of each leg: the next leg starts towards the other end.
    void LegDone();
    void StartLeg(const JS_VECTOR3& from, float legDelay);

    bool headingToEnd = true;
};

}  // namespace QRV
