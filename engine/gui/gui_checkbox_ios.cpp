#include "engine/gui/gui_checkbox_ios.h"

#include "engine/bots/actor_move.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/named_texture.h"
#include "engine/gui/gui_alpha.h"
#include "engine/gui/widget_quad.h"
#include "engine/platform/input.h"

namespace QRV {

JC_GUI_CHECKBOX_IOS::JC_GUI_CHECKBOX_IOS(int32_t id, const std::string& panelName, const std::string& knobName,
                                         const std::string& offPanelName)
    : JC_GUI_CHECKBOX_INTERFACE(id), panelTextureName(panelName), knobTextureName(knobName),
      offPanelTextureName(offPanelName) {
    kind = GUI_KIND::CheckboxIos;
}

// The bot list goes first (members die in reverse order), while the knob its bot moves exists.
JC_GUI_CHECKBOX_IOS::~JC_GUI_CHECKBOX_IOS() { bots.Clear(); }

JS_GUI_EVENT* JC_GUI_CHECKBOX_IOS::Update() {
    bots.Update();
    return nullptr;
}

JS_GUI_EVENT* JC_GUI_CHECKBOX_IOS::OnMouseDown() {
    if (!built) return nullptr;
    event.code = GUI_EVENT::None;
    if (g_input == nullptr || !g_input->WasPressed(VK_LBUTTON)) return nullptr;
    if (!shape->Contains(static_cast<float>(g_input->mouseX), static_cast<float>(g_input->mouseY))) return nullptr;
    SetChecked(checked == 0, false);
    return Report(GUI_EVENT::Click);
}

void JC_GUI_CHECKBOX_IOS::PlaceKnob() {
    const JS_VECTOR3& target = checked != 0 ? checkedPosition : uncheckedPosition;
    knobQuad->transform->positionX = target.x;
    knobQuad->transform->positionY = target.y;
    knobQuad->transform->positionZ = 0.0f;
}

void JC_GUI_CHECKBOX_IOS::SetChecked(bool on, bool immediate) {
    if (!built) {
        checked = on ? 1 : 0;
        return;
    }
    if (immediate) {
        bots.Clear();
        idle = 1;
        checked = on ? 1 : 0;
        PlaceKnob();
        return;
    }
    if ((checked != 0) == on || idle == 0) return;
    checked = on ? 1 : 0;
    idle = 0;
    const JS_TRANSFORM3& knob = *knobQuad->transform;
    const JS_VECTOR3 from{knob.positionX, knob.positionY, knob.positionZ};
    const JS_VECTOR3& to = checked != 0 ? checkedPosition : uncheckedPosition;
    auto* slide = new JCBot_Move(knobQuad->transform, from, to, kSlideTime, 0.0f);
    slide->completion = MakeClosure<&JC_GUI_CHECKBOX_IOS::SlideDone>(this);
    bots.Add(slide);
}

void JC_GUI_CHECKBOX_IOS::Draw() {
    if (visible == 0 || !built) return;
    (checked == 0 && offPanelQuad ? offPanelQuad : panelQuad)->Draw();
    knobQuad->Draw();
}

void JC_GUI_CHECKBOX_IOS::RestoreResources() {
    if (built) {
        RestoreQuadTexture(*panelQuad, panelTextureName);
        if (offPanelQuad) RestoreQuadTexture(*offPanelQuad, offPanelTextureName);
        RestoreQuadTexture(*knobQuad, knobTextureName);
        return;
    }
    JS_TEXTURE* panelTexture = AcquireNamedTexture(panelTextureName);
    JS_TEXTURE* knobTexture = AcquireNamedTexture(knobTextureName);
    panelQuad = std::make_unique<JC_MESH>();
    BuildStripQuad(*panelQuad, panelTexture, 1, 0, transform);
    if (!offPanelTextureName.empty()) {
        offPanelQuad = std::make_unique<JC_MESH>();
        // A transform of its own on the widget's: the centred hot spot of a panel of another
        // size must not move the first panel and its hit area.
        BuildStripQuad(*offPanelQuad, AcquireNamedTexture(offPanelTextureName), 1, 0);
        offPanelQuad->transform->parent = transform;
    }
    knobQuad = std::make_unique<JC_MESH>();
    BuildStripQuad(*knobQuad, knobTexture, 1, 0);
    knobQuad->transform->parent = panelQuad->transform;
    shape = std::make_unique<JS_HIT_SHAPE>();
    shape->kind = HIT_SHAPE::Rectangle;
    shape->a = TextureWidth(panelTexture);
    shape->b = TextureHeight(panelTexture);
    shape->transform = panelQuad->transform;
    const float offset = TextureWidth(panelTexture) * 0.5f - TextureWidth(knobTexture) * 0.5f;
    uncheckedPosition = JS_VECTOR3{offset, 0.0f, 0.0f};
    checkedPosition = JS_VECTOR3{-offset, 0.0f, 0.0f};
    built = 1;
    PlaceKnob();
    SetAlpha(alpha);
}

void JC_GUI_CHECKBOX_IOS::ReleaseResources() {
    if (panelQuad) ReleaseQuadTexture(*panelQuad);
    if (offPanelQuad) ReleaseQuadTexture(*offPanelQuad);
    if (knobQuad) ReleaseQuadTexture(*knobQuad);
}

void JC_GUI_CHECKBOX_IOS::SetAlpha(float a) {
    const uint8_t byte = AlphaByte(a);
    if (panelQuad) SetMeshAlpha(panelQuad.get(), byte);
    if (offPanelQuad) SetMeshAlpha(offPanelQuad.get(), byte);
    if (knobQuad) SetMeshAlpha(knobQuad.get(), byte);
}

}  // namespace QRV
