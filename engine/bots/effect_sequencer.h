#pragma once
// The step sequencer: bots run one step after another, each step a bot list of its own that is
// done when every bot in it has finished. The hint and bonus flies chain their flight, arrival and
// clean-up this way.
//
// G_EFFECT_BASE keeps the steps; G_EFFECT_T<T> pairs each step with a callback and an argument of
// type T, called once when that step is done. The owner updates the sequencer once a frame and
// deletes it when Update answers true.

#include <cstddef>
#include <deque>
#include <memory>

#include "engine/bots/bot_list.h"
#include "engine/bots/object_base.h"
#include "engine/core/closure.h"

namespace QRV {

class G_EFFECT_BASE {
public:
    G_EFFECT_BASE() = default;
    // The steps own their bots.
    G_EFFECT_BASE(const G_EFFECT_BASE&) = delete;
    G_EFFECT_BASE& operator=(const G_EFFECT_BASE&) = delete;
    virtual ~G_EFFECT_BASE();

    // Runs the front step's bot list once; true when that list is empty afterwards (or when no
    // step is left).
    virtual bool Update();
    // Appends an empty step and hands out its list for the caller's bots.
    virtual JC_BOT_LIST* PushStep();

    size_t StepCount() const { return steps.size(); }
    bool IsEmpty() const { return steps.empty(); }

protected:
    // Deletes the front step with whatever bots it still holds.
    void PopStep();

private:
    // Pointers, so a step's list stays where it is while steps are added behind it.
    std::deque<std::unique_ptr<JC_BOT_LIST>> steps;
};

template <class T>
class G_EFFECT_T : public G_EFFECT_BASE {
public:
    using Callback = Closure<void(T)>;

    // A step without a callback; its argument is a default T.
    JC_BOT_LIST* PushStep() override { return PushStep(Callback(), T{}); }

    // A step holding the bot (owned from now on; null gives an empty step, done at the next
    // update) whose end calls callback(argument).
    void Add(JC_BASE* bot, Callback callback, T argument) {
        JC_BOT_LIST* step = PushStep(callback, argument);
        step->Add(bot);
    }

    // When the front step is done it is dropped and then its callback runs (the callback may add
    // steps). True when no step is left.
    bool Update() override {
        if (IsEmpty()) return true;
        if (G_EFFECT_BASE::Update()) {
            const Callback callback = callbacks.front();
            const T argument = arguments.front();
            callbacks.pop_front();
            arguments.pop_front();
            PopStep();
            if (callback) callback(argument);
        }
        return IsEmpty();
    }

private:
    JC_BOT_LIST* PushStep(Callback callback, const T& argument) {
        callbacks.push_back(callback);
        arguments.push_back(argument);
        return G_EFFECT_BASE::PushStep();
    }

    std::deque<Callback> callbacks;
    std::deque<T> arguments;
};

}  // namespace QRV
