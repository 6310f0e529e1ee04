#pragma once
// Drives bots by hand: sets the frame time, sends the tick, counts completion calls.

#include <cmath>
#include <cstdint>

#include "engine/bots/object_base.h"
#include "engine/core/callback.h"
#include "engine/platform/clock.h"
#include "tests/test_kit/global_guard.h"

namespace BotTest {

// Restores the frame time the test found, so other suites do not inherit ours.
class FrameTimeGuard : public QRV::TestKit::GlobalGuard {
public:
    FrameTimeGuard() { Save(QRV::g_frameTime); }
};

inline int32_t Tick(QRV::JC_BASE& bot, float dt) {
    QRV::g_frameTime.store(dt);
    return bot.Message(QRV::MSG::Tick, 0.0f, 0.0f, 0.0f, nullptr);
}

inline int32_t FinishNow(QRV::JC_BASE& bot) { return bot.Message(QRV::MSG::FinishNow, 0.0f, 0.0f, 0.0f, nullptr); }

// A JS_CALLBACK whose argument is a counter that its function increments.
struct Counter {
    int calls = 0;

    QRV::JS_CALLBACK Record() {
        QRV::JS_CALLBACK record;
        record.argument = reinterpret_cast<uintptr_t>(this);
        record.name = "counter";
        record.fn = [](uintptr_t self) {
            ++reinterpret_cast<Counter*>(self)->calls;
            return 0;
        };
        return record;
    }

    // Sets the record on a tween through message 38.
    void Attach(QRV::JC_BASE& bot) {
        QRV::JS_CALLBACK record = Record();
        bot.Message(QRV::MSG::SetCallback, 0.0f, 0.0f, 0.0f, &record);
    }

    // For the actor bots' completion (object and function).
    static void Bump(void* self) { ++static_cast<Counter*>(self)->calls; }
};

inline bool Finite(float v) { return std::isfinite(v); }

}  // namespace BotTest
