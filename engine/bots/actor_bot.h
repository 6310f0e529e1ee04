#pragma once
// The actor bot: waits its delay, then runs OnStart once and OnTick every frame until OnTick
// answers Finished. It owns a list of child bots that keeps running while it runs (its delay
// timer first, then whatever its hooks add, such as fades and moves); children are ticked before
// the bot's own hook.
//   message 1   tick: GoOn, or Finished when done (the owning list deletes the bot)
//   message 45  OnStop; a bot still waiting for its delay is then finished on its next tick
//               (its delay timer never fires)

#include <cstdint>

#include "engine/bots/bot_list.h"
#include "engine/bots/object_base.h"
#include "engine/core/closure.h"

namespace QRV {

class JCBot : public JC_BASE {
public:
    explicit JCBot(float delay);
    ~JCBot() override;

    int32_t Message(int32_t messageId, float a, float b, float c, void* data) override;

    // After the delay, once, during the tick in which the delay runs out.
    virtual void OnStart() {}
    // Every tick after the one that started the bot: GoOn or Finished.
    virtual int32_t OnTick(float dt) = 0;
    // A hook that nothing calls; subclasses may leave it alone.
    virtual void OnIdle() {}
    // Message 45: jump to the end (most bots then finish on their next tick).
    virtual void OnStop() = 0;

    bool IsWaiting() const { return state == &JCBot::Waiting; }
    bool IsRunning() const { return state == &JCBot::Running; }

    // Called by subclasses when they finish; owners set it directly.
    Closure<void()> completion;
    // Owned; destroyed with the bot.
    JC_BOT_LIST children;
    float delay = 0.0f;

protected:
    // Calls the completion callback when one is set.
    void CallCompletion() const {
        if (completion) completion();
    }

private:
    using State = int32_t (JCBot::*)();

    int32_t Waiting();
    int32_t Running();
    int32_t Stopped();
    // The delay timer's callback.
    void Start();

    State state = &JCBot::Waiting;
};

}  // namespace QRV
