#include "engine/bots/bot_timer.h"

#include "engine/platform/clock.h"

namespace QRV {

JCTimer::JCTimer(float delay, Closure<void()> callback) : callback(callback), delay(delay) {}

int32_t JCTimer::Message(int32_t messageId, float, float, float, void*) {
    if (messageId == MSG::FinishNow) {
        elapsed = delay;
        return MSG_RESULT::GoOn;
    }
    if (messageId != MSG::Tick || active == 0) return MSG_RESULT::GoOn;
    elapsed += g_frameTime.load(std::memory_order_relaxed);
    if (elapsed < delay) return MSG_RESULT::GoOn;
    active = 0;
    elapsed = 0.0f;
    if (callback) callback();
    return MSG_RESULT::Finished;
}

}  // namespace QRV
