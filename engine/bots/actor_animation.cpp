#include "engine/bots/actor_animation.h"

#include "engine/graphics/animation.h"

namespace QRV {

JCBot_Animation::JCBot_Animation(G_ANIMATION* animation, float delay) : JCBot(delay), animation(animation) {}

void JCBot_Animation::OnStart() {
    if (animation == nullptr) return;
    const bool forward = animation->direction != 0;
    animation->playing = 1;
    // Stepping forwards from the last frame would run past the end and never stop.
    animation->step = forward ? 1 : -1;
    animation->startDelay = 0.0f;
    animation->SetFrame(forward ? 0 : animation->LastFrame());
}

int32_t JCBot_Animation::OnTick(float) {
    if (animation == nullptr) return MSG_RESULT::Finished;
    animation->Update();
    return animation->playing != 0 ? MSG_RESULT::GoOn : MSG_RESULT::Finished;
}

}  // namespace QRV
