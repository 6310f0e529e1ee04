#include "engine/bots/effect_sequencer.h"

namespace QRV {

G_EFFECT_BASE::~G_EFFECT_BASE() = default;

bool G_EFFECT_BASE::Update() {
    if (steps.empty()) return true;
    JC_BOT_LIST* front = steps.front().get();
    front->Update();
    return front->IsEmpty();
}

JC_BOT_LIST* G_EFFECT_BASE::PushStep() {
    steps.push_back(std::make_unique<JC_BOT_LIST>());
    return steps.back().get();
}

void G_EFFECT_BASE::PopStep() {
    if (!steps.empty()) steps.pop_front();
}

}  // namespace QRV
