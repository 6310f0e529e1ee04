#pragma once
// A tween of a whole transform (pivot, rotation, scale, position) from wherever the target is
// when the delay ends to an end transform. The end is taken in its absolute form; the target's
// parent pointer is never changed, so the end should have no parent of its own. The end callback
// runs only when the tween finishes on a target: one made without a target ends silently.

#include <cstdint>

#include "engine/bots/tween_base.h"
#include "engine/core/callback.h"
#include "engine/core/transform.h"

namespace QRV {

class JC_BOT_TRANSFORM : public JC_BOT_TWEEN {
public:
    // A duration of 0 or less lands on the end on the first tick after the delay.
    JC_BOT_TRANSFORM(JS_TRANSFORM3* target, const JS_TRANSFORM3& end, float delay, float duration);

    // Called when the tween starts (the delay has run out); the owner sets it directly, before
    // the first tick. The end callback is the completion callback (message 38).
    JS_CALLBACK startCallback;

    JS_TRANSFORM3* target = nullptr;  // not owned; detached at the end
    JS_TRANSFORM3 start;
    JS_TRANSFORM3 end;
    float delay = 0.0f;
    float duration = 0.0f;
    float elapsed = 0.0f;

protected:
    int32_t Tick(float dt) override;
    void FinishNow() override;

private:
    void Begin();
};

}  // namespace QRV
