#include "engine/gui/gui_panel.h"

#include "engine/gui/gui_alpha.h"

namespace QRV {

JC_GUI_PANEL::JC_GUI_PANEL(int32_t id, const std::string& name)
    : JC_GUI_PANEL_BASE(id, GUI_KIND::Panel, true), textureName(name), quad(name) {
    quad.SetTransform(transform);
}

void JC_GUI_PANEL::Draw() {
    if (visible != 0 && built != 0) quad.Draw();
}

void JC_GUI_PANEL::SetSize(int32_t w, int32_t h) {
    width = static_cast<float>(w);
    height = static_cast<float>(h);
    if (built == 0) return;
    quad.SetSize(width, height);
    shape.a = width;
    shape.b = height;
}

void JC_GUI_PANEL::RestoreResources() {
    quad.RestoreResources();
    if (built == 0) {
        built = 1;
        if (width > 0.0f && height > 0.0f) {
            quad.SetSize(width, height);
        } else {
            // Still -1 when nothing could be bound (no renderer).
            width = quad.width > 0.0f ? quad.width : 0.0f;
            height = quad.height > 0.0f ? quad.height : 0.0f;
            quad.SetSize(width, height);
        }
        shape.kind = HIT_SHAPE::Rectangle;
        shape.a = width;
        shape.b = height;
        shape.transform = transform;
    }
    SetAlpha(alpha);
}

void JC_GUI_PANEL::ReleaseResources() { quad.ReleaseResources(); }

void JC_GUI_PANEL::SetAlpha(float a) { SetSpriteAlpha(&quad, AlphaByte(a)); }

}  // namespace QRV
