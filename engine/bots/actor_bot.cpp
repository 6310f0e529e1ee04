#include "engine/bots/actor_bot.h"

#include "engine/bots/bot_timer.h"
#include "engine/platform/clock.h"

namespace QRV {

JCBot::JCBot(float delay) : delay(delay) { children.Add(new JCTimer(delay, MakeClosure<&JCBot::Start>(this))); }

JCBot::~JCBot() = default;

int32_t JCBot::Message(int32_t messageId, float, float, float, void*) {
    if (messageId == MSG::Tick) return (this->*state)();
    if (messageId == MSG::FinishNow) {
        // A bot stopped before it started must not start later: its timer would still fire.
        if (state == &JCBot::Waiting) state = &JCBot::Stopped;
        OnStop();
    }
    return MSG_RESULT::GoOn;
}

int32_t JCBot::Waiting() {
    children.Update();
    return MSG_RESULT::GoOn;
}

int32_t JCBot::Running() {
    children.Update();
    return OnTick(g_frameTime.load(std::memory_order_relaxed));
}

int32_t JCBot::Stopped() { return MSG_RESULT::Finished; }

void JCBot::Start() {
    if (state != &JCBot::Waiting) return;
    state = &JCBot::Running;
    OnStart();
}

}  // namespace QRV
