#pragma once
// A tween that only waits: it calls its completion callback when its time has run out.

#include <cstdint>

#include "engine/bots/tween_base.h"
#include "engine/core/callback.h"

namespace QRV {

class JC_BOT_SLEEP : public JC_BOT_TWEEN {
public:
    // The callback record is copied when not null. The last argument is accepted for the
    // callers' sake and has no effect. A time of 0 ends on the first tick.
    JC_BOT_SLEEP(const JS_CALLBACK* callback, float time, float unused = 0.0f);

    float time = 0.0f;  // seconds left

protected:
    int32_t Tick(float dt) override;
    void FinishNow() override;
};

}  // namespace QRV
