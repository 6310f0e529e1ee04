#pragma once
// An actor bot that makes a transform pulse: its x, y scale grows from a start scale to a rest
// scale, then rings about the rest scale in a sine that dies away, for a given duration.

#include <cstdint>

#include "engine/bots/actor_bot.h"
#include "engine/core/transform.h"

namespace QRV {

class JCBot_Blob : public JCBot {
public:
    // Sets the target's scale to (start, start, 1) at once. Not looping.
    JCBot_Blob(JS_TRANSFORM3* target, float frequency, float decay, float startScale, float restScale, float delay,
               float duration, float amplitude);

    // Growing: s = start + (rest - start) r frequency until it reaches the rest scale; then
    // ringing: s = amplitude sin(2 pi frequency r) / exp(2 pi decay r) + rest, with r = elapsed /
    // duration. After the duration: restart when looping, else completion callback and Finished.
    int32_t OnTick(float dt) override;
    // Unless looping: to the end of the duration at the rest scale.
    void OnStop() override;

    JS_TRANSFORM3* target = nullptr;  // not owned
    float duration = 0.0f;
    float elapsed = 0.0f;
    float frequency = 0.0f;
    float amplitude = 0.0f;
    float decay = 0.0f;
    float startScale = 1.0f;
    float restScale = 1.0f;
    uint8_t phase = 0;  // 0 growing, 1 ringing
    uint8_t loop = 0;

private:
    void SetScale(float s);
};

}  // namespace QRV
