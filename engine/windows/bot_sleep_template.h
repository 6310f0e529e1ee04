#pragma once
// A bot that waits, then copies a stored record over a target (a window's placement over its
// transform) and calls its completion callback. It sorts with the tweens, so in a bot list it
// keeps its place among the transition's tweens and sleeps.
//   message 1   tick: GoOn while time is left, else the copy, the callback and Finished
//   message 38  data = JS_CALLBACK*: copied as the completion callback

#include <cstdint>

#include "engine/bots/object_base.h"
#include "engine/bots/tween_base.h"
#include "engine/core/callback.h"
#include "engine/platform/clock.h"

namespace QRV {

template <class T>
class JT_BOT_SLEEP : public JC_BASE {
public:
    // The target is not owned; null copies nothing.
    JT_BOT_SLEEP(T* target, const T& value, float time) : target(target), value(value), time(time) {
        name = "bot_sleep_template";
        priority = kTweenPriority;
        drawLevel = 0;
    }

    int32_t Message(int32_t messageId, float, float, float, void* data) override {
        if (messageId == MSG::Tick) {
            time -= g_frameTime.load(std::memory_order_relaxed);
            if (time > 0.0f) return MSG_RESULT::GoOn;
            if (target != nullptr) *target = value;
            if (completion.fn != nullptr) JS_CALLBACK::Invoke(&completion, 0);
            return MSG_RESULT::Finished;
        }
        if (messageId == MSG::SetCallback && data != nullptr) completion = *static_cast<const JS_CALLBACK*>(data);
        return MSG_RESULT::GoOn;
    }

    T* target = nullptr;
    T value;
    float time = 0.0f;
    JS_CALLBACK completion;
};

}  // namespace QRV
