#pragma once
// The switch: a panel quad placed by the widget's transform and a knob quad that slides across
// it, both centred. On, the knob sits at the left end; off, at the right end (each half the
// panel's width less half the knob's from the centre). With a second panel texture (the layout's
// "TX_PANEL_OFF"), that panel is drawn in place of the first while the switch is off, so the
// state shows in the panel as well as in the knob's side; the first panel's size is the hit area.
//
// A left press over the panel flips the flag at once, starts a 0.3 s slide of the knob and
// reports code 8; no callback is called. A press during a slide still reports 8 but changes
// nothing, so owners read IsChecked and never keep a copy of their own that code 8 toggles. A
// right click or a key never flips it. The slide runs in the widget's own bot list, ticked by
// Update.
//
// SetChecked(c, true) ends any slide and places the knob at once; before the first
// RestoreResources it only stores the flag, and the build places the knob by it. A new switch is
// on.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/bots/bot_list.h"
#include "engine/core/value_types.h"
#include "engine/gui/gui_checkbox_interface.h"
#include "engine/gui/hit_shape.h"

namespace QRV {

class JC_MESH;

class JC_GUI_CHECKBOX_IOS : public JC_GUI_CHECKBOX_INTERFACE {
public:
    // Seconds a knob slide takes.
    static constexpr float kSlideTime = 0.3f;

    JC_GUI_CHECKBOX_IOS(int32_t id, const std::string& panelTextureName, const std::string& knobTextureName,
                        const std::string& offPanelTextureName = std::string());
    ~JC_GUI_CHECKBOX_IOS() override;

    // Ticks the slide; always null.
    JS_GUI_EVENT* Update() override;
    // The panel of the state, then the knob.
    void Draw() override;
    // A left press over the panel: SetChecked(!checked, false) and code 8.
    JS_GUI_EVENT* OnMouseDown() override;
    // The first call builds both quads and the shape; later ones bind the textures again after
    // a release.
    void RestoreResources() override;
    void ReleaseResources() override;
    void SetAlpha(float alpha) override;

    bool IsChecked() const override { return checked != 0; }
    // Not immediate: ignored unless built, idle and c differs; otherwise the flag changes and
    // the knob slides. Immediate: the slide (if any) is dropped, the flag set, the knob placed.
    void SetChecked(bool checked, bool immediate) override;

    bool IsIdle() const { return idle != 0; }
    bool IsBuilt() const { return built != 0; }
    const JC_MESH* PanelQuad() const { return panelQuad.get(); }
    // Null without an off panel.
    const JC_MESH* OffPanelQuad() const { return offPanelQuad.get(); }
    const JC_MESH* KnobQuad() const { return knobQuad.get(); }

    uint8_t idle = 1;
    uint8_t checked = 1;
    // Knob positions relative to the panel's.
    JS_VECTOR3 checkedPosition;
    JS_VECTOR3 uncheckedPosition;
    std::string panelTextureName;
    std::string knobTextureName;
    // Empty: the one panel serves both states.
    std::string offPanelTextureName;
    // Runs the knob slide.
    JC_BOT_LIST bots;

private:
    void PlaceKnob();
    void SlideDone() { idle = 1; }

    std::unique_ptr<JS_HIT_SHAPE> shape;
    std::unique_ptr<JC_MESH> panelQuad;
    std::unique_ptr<JC_MESH> offPanelQuad;
    std::unique_ptr<JC_MESH> knobQuad;
    uint8_t built = 0;
};

}  // namespace QRV
