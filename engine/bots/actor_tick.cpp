#include "engine/bots/actor_tick.h"

namespace QRV {

JCBot_Tick::JCBot_Tick(float time, float delay) : JCBot(delay), time(time) {}

int32_t JCBot_Tick::OnTick(float dt) {
    elapsed += dt;
    if (elapsed < time) return MSG_RESULT::GoOn;
    CallCompletion();
    return MSG_RESULT::Finished;
}

}  // namespace QRV
