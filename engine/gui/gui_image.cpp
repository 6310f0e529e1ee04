#include "engine/gui/gui_image.h"

#include <pugixml.hpp>

#include <algorithm>

#include "engine/graphics/animation.h"
#include "engine/gui/gui_alpha.h"
#include "engine/resources/hot_spot.h"

namespace QRV {

JC_GUI_IMAGE::JC_GUI_IMAGE(const pugi::xml_node& element)
    : JC_GUI_OBJECT(element.attribute("ID").as_int()), sprite(new G_ANIMATION()) {
    kind = GUI_KIND::Image;
    sprite->SetTransform(transform);
    sprite->Load(element);
    // Only when given: an absent attribute must not re-centre what the sprite read.
    if (const pugi::xml_attribute spot = element.attribute("HOT_SPOT")) {
        const int32_t hotSpot = ParseHotSpot(spot.value());
        if (hotSpot >= 0 && hotSpot <= 8) {
            sprite->hotSpot = hotSpot;
            sprite->SetPivotFromHotSpot(hotSpot);
        }
    }
}

JC_GUI_IMAGE::~JC_GUI_IMAGE() { delete sprite; }

JS_GUI_EVENT* JC_GUI_IMAGE::Update() {
    sprite->Update();
    return nullptr;
}

void JC_GUI_IMAGE::Draw() {
    if (visible != 0) sprite->Draw();
}

JS_GUI_EVENT* JC_GUI_IMAGE::OnMouseUp() { return event.code != GUI_EVENT::None ? &event : nullptr; }

JS_GUI_EVENT* JC_GUI_IMAGE::OnMouseDown() { return event.code != GUI_EVENT::None ? &event : nullptr; }

float JC_GUI_IMAGE::GetWidth() const { return std::max(sprite->width, 0.0f); }

float JC_GUI_IMAGE::GetHeight() const { return std::max(sprite->height, 0.0f); }

JS_TEXTURE* JC_GUI_IMAGE::GetTexture() const { return sprite->texture; }

void JC_GUI_IMAGE::RestoreResources() {
    sprite->RestoreResources();
    SetAlpha(alpha);
}

void JC_GUI_IMAGE::ReleaseResources() { sprite->ReleaseResources(); }

void JC_GUI_IMAGE::SetAlpha(float a) { SetSpriteAlpha(sprite, AlphaByte(a)); }

void JC_GUI_IMAGE::SetTexture(const std::string& name) {
    sprite->SetTextureName(name);
    SetAlpha(alpha);
}

}  // namespace QRV
