#include "engine/gui/bot_gui_fade.h"

#include "engine/bots/actor_lerp.h"
#include "engine/gui/gui_object.h"

namespace QRV {

namespace {

// The function of the fade's value bot: the alpha of the object's whole subtree.
void ApplyAlpha(void* object, const float& alpha) { static_cast<JC_GUI_OBJECT*>(object)->SetAlphaTree(alpha); }

JCBot_LerpTick<float>* MakeFade(JC_GUI_OBJECT* object, float from, float to, float time) {
    return new JCBot_LerpTick<float>(from, to, 0.0f, object, &ApplyAlpha, time);
}

}  // namespace

JCBot_GuiShow::JCBot_GuiShow(JC_GUI_OBJECT* object, float time, float delay)
    : JCBot(delay), object(object), fadeTime(time) {
    if (object == nullptr) return;
    object->SetVisibleTree(false);
    object->SetAlphaTree(0.0f);
}

void JCBot_GuiShow::OnStart() {
    if (object == nullptr) return;
    object->SetVisibleTree(true);
    object->SetAlphaTree(0.0f);
    children.Add(MakeFade(object, 0.0f, 1.0f, fadeTime));
}

int32_t JCBot_GuiShow::OnTick(float) { return children.IsEmpty() ? MSG_RESULT::Finished : MSG_RESULT::GoOn; }

void JCBot_GuiShow::OnStop() {
    // A fade left running would go on writing alphas after the end.
    children.Clear();
    if (object == nullptr) return;
    object->SetVisibleTree(true);
    object->SetAlphaTree(1.0f);
}

JCBot_GuiHide::JCBot_GuiHide(float delay, float time, JC_GUI_OBJECT* object)
    : JCBot(delay), fadeTime(time), object(object) {}

void JCBot_GuiHide::OnStart() {
    if (object == nullptr) return;
    if (fadeTime == 0.0f) {
        object->SetVisibleTree(false);
        return;
    }
    children.Add(MakeFade(object, 1.0f, 0.0f, fadeTime));
}

int32_t JCBot_GuiHide::OnTick(float) {
    if (!children.IsEmpty()) return MSG_RESULT::GoOn;
    if (object != nullptr) object->SetVisibleTree(false);
    return MSG_RESULT::Finished;
}

void JCBot_GuiHide::OnStop() {
    children.Clear();
    if (object == nullptr) return;
    object->SetAlphaTree(0.0f);
    object->SetVisibleTree(false);
}

}  // namespace QRV
