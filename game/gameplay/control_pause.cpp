#include "game/gameplay/control_pause.h"

#include "engine/gui/gui_layout.h"

std::unique_ptr<QRV::JC_GUI_BUTTON5> gcBuildControlButton(const pugi::xml_node& element) {
    if (!element) return nullptr;
    std::unique_ptr<QRV::JC_GUI_OBJECT> widget(CreateGuiWidget(element));
    auto* button = dynamic_cast<QRV::JC_GUI_BUTTON5*>(widget.get());
    if (button == nullptr) return nullptr;
    widget.release();
    return std::unique_ptr<QRV::JC_GUI_BUTTON5>(button);
}

gcControl_ButtonPause::gcControl_ButtonPause(const gcControlServices& services)
    : gcControl_Base("pause", "pause_button", services) {}

gcControl_ButtonPause::~gcControl_ButtonPause() {
    if (button && active) button->ReleaseTree();
}

bool gcControl_ButtonPause::LoadOwn(const pugi::xml_node& node) {
    button = gcBuildControlButton(node.child("BUTTON5"));
    if (!button) return false;
    button->transform->parent = &transform;
    return true;
}

void gcControl_ButtonPause::Render() {
    if (button) button->DrawTree();
}

int32_t gcControl_ButtonPause::Update() {
    if (button) button->DispatchUpdate();
    return 0;
}

int32_t gcControl_ButtonPause::OnMouseMove() {
    if (button) button->DispatchMouseMove();
    return 0;
}

int32_t gcControl_ButtonPause::OnMouseDown(int32_t /*button*/) {
    if (!button) return 0;
    return button->DispatchMouseDown() != nullptr ? kTaken : 0;
}

int32_t gcControl_ButtonPause::OnMouseUp(int32_t /*button*/) {
    if (!button) return 0;
    const QRV::JS_GUI_EVENT* event = button->DispatchMouseUp();
    if (event == nullptr || event->code != QRV::GUI_EVENT::Click) return 0;
    ShowWindow("GP_Menu");
    return kTaken;
}

void gcControl_ButtonPause::Activate() {
    if (active) return;
    gcControl_Base::Activate();
    if (button) button->RestoreTree();
}

void gcControl_ButtonPause::Deactivate() {
    gcControl_Base::Deactivate();
    if (button) button->ReleaseTree();
}
