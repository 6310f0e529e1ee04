#pragma once
// An actor bot that plays a frame animation once through (or for as long as it loops).

#include <cstdint>

#include "engine/bots/actor_bot.h"

namespace QRV {

class G_ANIMATION;

class JCBot_Animation : public JCBot {
public:
    JCBot_Animation(G_ANIMATION* animation, float delay);

    // Plays from frame 0 forwards, or from the last frame backwards when the animation's
    // direction flag says so.
    void OnStart() override;
    // Updates the animation; Finished once it has stopped playing.
    int32_t OnTick(float dt) override;
    void OnStop() override {}

    G_ANIMATION* animation = nullptr;  // not owned
};

}  // namespace QRV
