#pragma once
// What every tween bot shares. A tween changes one target over time (or only waits) and reports
// Finished on the tick that ends it, so its bot list deletes it. It is ticked but never drawn.
//   message 1   tick by g_frameTime: GoOn while running, Finished on the tick that ends it
//   message 38  data = JS_CALLBACK*: copied as the completion callback (null changes nothing)
//   message 45  jump to the end state now and call the completion callback; returns GoOn
// The completion callback runs at most once, however the tween ends: a tween that has ended
// answers every further tick with Finished and ignores a further 45.

#include <bit>
#include <cstdint>

#include "engine/bots/object_base.h"
#include "engine/core/callback.h"

namespace QRV {

// Just below the largest float, so that tweens sort ahead of ordinary objects in a bot list.
inline constexpr float kTweenPriority = std::bit_cast<float>(0x7F7FC99Eu);

class JC_BOT_TWEEN : public JC_BASE {
public:
    int32_t Message(int32_t messageId, float a, float b, float c, void* data) override;

    bool HasEnded() const { return ended; }

    // Argument, name and function; empty until message 38 (or the constructor) sets it.
    JS_CALLBACK completion;

protected:
    explicit JC_BOT_TWEEN(const char* tweenName);

    // One tick of dt seconds; call End() on the tick that finishes and return Finished.
    virtual int32_t Tick(float dt) = 0;
    // Puts the target into its end state and calls End().
    virtual void FinishNow() = 0;

    // Marks the tween ended and calls the completion callback (only the first time).
    void End();

private:
    bool ended = false;
};

}  // namespace QRV
