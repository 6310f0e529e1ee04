#include "engine/gui/gui_panel_base.h"

#include "engine/gui/gui_pointer.h"
#include "engine/platform/input.h"

namespace QRV {

JC_GUI_PANEL_BASE::JC_GUI_PANEL_BASE(int32_t id, int32_t panelKind, bool isMovable) : JC_GUI_OBJECT(id) {
    kind = panelKind;
    movable = isMovable ? 1 : 0;
}

JC_GUI_PANEL_BASE::~JC_GUI_PANEL_BASE() { delete dragCallback; }

void JC_GUI_PANEL_BASE::SetDragCallback(JS_CALLBACK* record) {
    if (record == dragCallback) return;
    delete dragCallback;
    dragCallback = record;
}

void JC_GUI_PANEL_BASE::EndDragIfReleased() {
    if (dragging != 0 && (g_input == nullptr || !g_input->IsDown(VK_LBUTTON))) dragging = 0;
}

JS_GUI_EVENT* JC_GUI_PANEL_BASE::Update() {
    EndDragIfReleased();
    return nullptr;
}

JS_GUI_EVENT* JC_GUI_PANEL_BASE::OnMouseMove() {
    event.code = GUI_EVENT::None;
    EndDragIfReleased();
    float x = 0.0f, y = 0.0f;
    PointerPosition(*this, x, y);
    const bool follows = dragging != 0 && movable != 0;
    // Moved first, then tested: after a fast move the pointer is outside where the panel was but
    // inside where it now is.
    if (follows) {
        SetPosition(x - static_cast<float>(grabX), y - static_cast<float>(grabY), 0.0f);
    }
    const bool inside = shape.Contains(x, y);
    if (inside && hovered == 0) {
        hovered = 1;
        CallCallback(enterCallback);
        event.code = GUI_EVENT::Enter;
    } else if (!inside && hovered != 0) {
        hovered = 0;
        CallCallback(leaveCallback);
        event.code = GUI_EVENT::Leave;
    }
    if (follows) {
        CallCallback(dragCallback);
        event.code = GUI_EVENT::Drag;
    }
    return event.code != GUI_EVENT::None ? &event : nullptr;
}

JS_GUI_EVENT* JC_GUI_PANEL_BASE::OnMouseDown() {
    event.code = GUI_EVENT::None;
    if (g_input == nullptr || !g_input->WasPressed(VK_LBUTTON)) return nullptr;
    if (hovered == 0) {
        active = 0;
        return nullptr;
    }
    float x = 0.0f, y = 0.0f;
    PointerPosition(*this, x, y);
    grabX = static_cast<int32_t>(x - transform->positionX);
    grabY = static_cast<int32_t>(y - transform->positionY);
    dragging = 1;
    active = 1;
    CallCallback(pressCallback);
    return Report(GUI_EVENT::Press);
}

JS_GUI_EVENT* JC_GUI_PANEL_BASE::OnMouseUp() {
    event.code = GUI_EVENT::None;
    if (g_input == nullptr || !g_input->WasReleased(VK_LBUTTON)) return nullptr;
    // Any release ends the drag; only one over the panel is a click.
    dragging = 0;
    if (hovered == 0 || active == 0) return nullptr;
    CallCallback(clickCallback);
    return Report(GUI_EVENT::Click);
}

}  // namespace QRV
