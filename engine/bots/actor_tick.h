#pragma once
// An actor bot that only waits: it calls its completion callback once its time has passed.

#include <cstdint>

#include "engine/bots/actor_bot.h"

namespace QRV {

class JCBot_Tick : public JCBot {
public:
    JCBot_Tick(float time, float delay);

    // Completion callback and Finished on the tick where elapsed reaches the time.
    int32_t OnTick(float dt) override;
    // The next tick finishes.
    void OnStop() override { elapsed = time; }

    float time = 0.0f;
    float elapsed = 0.0f;
};

}  // namespace QRV
