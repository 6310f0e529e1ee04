#include "engine/bots/tween_sleep.h"

namespace QRV {

JC_BOT_SLEEP::JC_BOT_SLEEP(const JS_CALLBACK* callback, float time, float) : JC_BOT_TWEEN("bot_sleep"), time(time) {
    if (callback != nullptr) completion = *callback;
}

int32_t JC_BOT_SLEEP::Tick(float dt) {
    time -= dt;
    if (time > 0.0f) return MSG_RESULT::GoOn;
    FinishNow();
    return MSG_RESULT::Finished;
}

void JC_BOT_SLEEP::FinishNow() {
    time = 0.0f;
    End();
}

}  // namespace QRV
