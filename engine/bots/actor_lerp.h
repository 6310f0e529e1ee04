#pragma once
// An actor bot that carries a value from one end to the other over a time and hands every
// in-between value to a function: alphas of GUI fades (float), points of board effects
// (JS_VECTOR2), colours of tutorial highlights (JS_COLORf).

#include <cstdint>

#include "engine/bots/actor_bot.h"
#include "engine/core/closure.h"
#include "engine/core/value_types.h"

namespace QRV {

// from + (to - from) f, per component.
inline float LerpValue(float from, float to, float f) { return from + (to - from) * f; }
inline JS_VECTOR2 LerpValue(const JS_VECTOR2& from, const JS_VECTOR2& to, float f) {
    return {LerpValue(from.x, to.x, f), LerpValue(from.y, to.y, f)};
}
inline JS_COLORf LerpValue(const JS_COLORf& from, const JS_COLORf& to, float f) {
    return {LerpValue(from.r, to.r, f), LerpValue(from.g, to.g, f), LerpValue(from.b, to.b, f),
            LerpValue(from.a, to.a, f)};
}

template <class T>
class JCBot_LerpTick : public JCBot {
public:
    using Function = typename Closure<void(const T&)>::Function;

    // The function gets the object and each value; a time of 0 or less goes straight to the end.
    JCBot_LerpTick(const T& from, const T& to, float delay, void* object, Function function, float time)
        : JCBot(delay), from(from), to(to), current(from), time(time), apply(object, function) {}

    // Each value strictly between the ends while the time runs; the last tick ends on `to`.
    int32_t OnTick(float dt) override {
        if (stopped) return MSG_RESULT::Finished;
        elapsed += dt;
        if (elapsed >= time) {
            OnStop();
            return MSG_RESULT::Finished;
        }
        const float f = elapsed / time;
        if (f <= 0.0f) current = from;
        else if (f >= 1.0f) current = to;
        else current = LerpValue(from, to, f);
        if (apply) apply(current);
        return MSG_RESULT::GoOn;
    }

    // The function gets `to`, then the completion callback runs; both only once, so a bot
    // stopped by message 45 finishes quietly on its next tick.
    void OnStop() override {
        if (stopped) return;
        stopped = true;
        if (apply) apply(to);
        CallCompletion();
    }

    T from;
    T to;
    T current;
    float time = 0.0f;
    float elapsed = 0.0f;
    Closure<void(const T&)> apply;

private:
    bool stopped = false;
};

// The name a later consumer uses for the same bot.
template <class T>
using JCBot_LerpT = JCBot_LerpTick<T>;

}  // namespace QRV
