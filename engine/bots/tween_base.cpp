#include "engine/bots/tween_base.h"

#include "engine/platform/clock.h"

namespace QRV {

JC_BOT_TWEEN::JC_BOT_TWEEN(const char* tweenName) {
    if (tweenName != nullptr) name = tweenName;
    priority = kTweenPriority;
    drawLevel = 0;
}

int32_t JC_BOT_TWEEN::Message(int32_t messageId, float, float, float, void* data) {
    switch (messageId) {
        case MSG::Tick:
            if (ended) return MSG_RESULT::Finished;
            return Tick(g_frameTime.load(std::memory_order_relaxed));
        case MSG::SetCallback:
            if (data != nullptr) completion = *static_cast<const JS_CALLBACK*>(data);
            return MSG_RESULT::GoOn;
        case MSG::FinishNow:
            if (!ended) FinishNow();
            return MSG_RESULT::GoOn;
        default: return MSG_RESULT::GoOn;
    }
}

void JC_BOT_TWEEN::End() {
    if (ended) return;
    ended = true;
    JS_CALLBACK::Invoke(&completion, 0);
}

}  // namespace QRV
