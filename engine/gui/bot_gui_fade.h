#pragma once
// The actor bots that show and hide a widget with its subtree: JCBot_GuiShow fades it in from
// invisible, JCBot_GuiHide fades it out and then hides it. Windows build them from their "bots"
// entries of type "show" and "hide" (gui_bot_builders.h).

#include <cstdint>

#include "engine/bots/actor_bot.h"

namespace QRV {

class JC_GUI_OBJECT;

class JCBot_GuiShow : public JCBot {
public:
    // Hides the object and its subtree at once, at alpha 0, until the delay has run.
    JCBot_GuiShow(JC_GUI_OBJECT* object, float time, float delay);

    // Visible at alpha 0, then a fade to 1 over the time.
    void OnStart() override;
    // GoOn while the fade runs, then Finished.
    int32_t OnTick(float dt) override;
    // Ends the fade: visible at alpha 1 at once.
    void OnStop() override;

    JC_GUI_OBJECT* object = nullptr;  // not owned
    float fadeTime = 0.0f;
};

class JCBot_GuiHide : public JCBot {
public:
    JCBot_GuiHide(float delay, float time, JC_GUI_OBJECT* object);

    // A fade from 1 to 0 over the time; a time of exactly 0 hides the object at once.
    void OnStart() override;
    // GoOn while the fade runs; then the object and its subtree become invisible, Finished.
    int32_t OnTick(float dt) override;
    // Ends the fade: alpha 0 and invisible at once.
    void OnStop() override;

    float fadeTime = 0.0f;
    JC_GUI_OBJECT* object = nullptr;  // not owned
};

}  // namespace QRV
