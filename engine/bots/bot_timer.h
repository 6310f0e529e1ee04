#pragma once
// A one-shot timer in a bot list: after its delay it calls its callback once and finishes.

#include <cstdint>

#include "engine/bots/object_base.h"
#include "engine/core/closure.h"

namespace QRV {

class JCTimer : public JC_BASE {
public:
    JCTimer(float delay, Closure<void()> callback);

    // 1: while active, elapsed += g_frameTime; once elapsed reaches the delay the callback runs,
    //    the timer turns inactive and answers Finished. A delay of 0 fires on the first tick.
    // 45: the next tick fires.
    int32_t Message(int32_t messageId, float a, float b, float c, void* data) override;

    Closure<void()> callback;  // the owner and the function taking it
    float delay = 0.0f;
    float elapsed = 0.0f;
    uint8_t active = 1;
};

}  // namespace QRV
