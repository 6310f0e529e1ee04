#include "engine/bots/actor_blob.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace QRV {

namespace {

// A negative decay makes the divisor fall towards 0; it never goes below this.
constexpr float kSmallestDivisor = 0.001f;

}  // namespace

JCBot_Blob::JCBot_Blob(JS_TRANSFORM3* target, float frequency, float decay, float startScale, float restScale,
                       float delay, float duration, float amplitude)
    : JCBot(delay), target(target), duration(duration), frequency(frequency), amplitude(amplitude), decay(decay),
      startScale(startScale), restScale(restScale) {
    name = "JCBot_Blob";
    SetScale(startScale);
}

void JCBot_Blob::SetScale(float s) {
    if (target == nullptr) return;
    target->scaleX = s;
    target->scaleY = s;
    target->scaleZ = 1.0f;
}

int32_t JCBot_Blob::OnTick(float dt) {
    // A duration of 0 is over at once (r would be 0 / 0).
    if (elapsed > duration || duration <= 0.0f) {
        if (loop != 0 && duration > 0.0f) {
            phase = 0;
            elapsed = 0.0f;
            SetScale(startScale);
            return MSG_RESULT::GoOn;
        }
        CallCompletion();
        return MSG_RESULT::Finished;
    }
    const float r = elapsed / duration;
    float s = restScale;
    if (phase == 0) {
        s = startScale + (restScale - startScale) * r * frequency;
        if (s >= restScale) phase = 1;
    }
    if (phase == 1) {
        constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
        const float divisor = std::max(std::exp(kTwoPi * decay * r), kSmallestDivisor);
        s = amplitude * std::sin(kTwoPi * frequency * r) / divisor + restScale;
    }
    SetScale(s);
    elapsed += dt;
    return MSG_RESULT::GoOn;
}

void JCBot_Blob::OnStop() {
    if (loop != 0) return;
    elapsed = duration;
    SetScale(restScale);
}

}  // namespace QRV
