#include "game/gameplay/control_store.h"

#include "engine/bots/tween_move.h"
#include "engine/graphics/mesh.h"
#include "game/gameplay/control_pause.h"

gcControl_ButtonStore::gcControl_ButtonStore(const gcControlServices& services)
    : gcControl_Base("store", "store_button", services) {}

gcControl_ButtonStore::~gcControl_ButtonStore() {
    bots.Clear();
    if (button && active) button->ReleaseTree();
}

bool gcControl_ButtonStore::LoadOwn(const pugi::xml_node& node) {
    speed = node.attribute("speed").as_float(1.0f);
    button = gcBuildControlButton(node.child("BUTTON5"));
    if (button) {
        button->transform->parent = &transform;
        shown = {button->transform->positionX, button->transform->positionY};
        hidden = shown;
    }
    return true;
}

void gcControl_ButtonStore::SlideTo(const gcPoint& target) {
    if (!button) return;
    bots.Clear();
    bots.Add(
        new QRV::JC_BOT_MOVE(button->transform, target.x, target.y, button->transform->positionZ, 0.0f, speed, 0.0f));
}

void gcControl_ButtonStore::SetHintCount(int32_t count) {
    hintCount = count;
    if (active) SlideTo(hintCount <= 0 ? shown : hidden);
}

void gcControl_ButtonStore::Render() {
    if (!visible || hintCount > 0) return;
    gcControl_Base::Render();
    if (button) button->DrawTree();
}

int32_t gcControl_ButtonStore::Update() {
    bots.Update();
    return 0;
}

int32_t gcControl_ButtonStore::OnMouseMove() {
    if (button && IsLive()) button->DispatchMouseMove();
    return 0;
}

int32_t gcControl_ButtonStore::OnMouseDown(int32_t /*button*/) {
    if (!button || !IsLive() || button->DispatchMouseDown() == nullptr) return 0;
    return ShowWindow("Shop") != nullptr ? kTaken : 0;
}

int32_t gcControl_ButtonStore::OnMouseUp(int32_t /*button*/) {
    if (button && IsLive()) button->DispatchMouseUp();
    return 0;
}

void gcControl_ButtonStore::Activate() {
    if (active) return;
    gcControl_Base::Activate();
    if (!button) return;
    button->RestoreTree();
    const float height = button->Quad() != nullptr ? button->Quad()->Height() : 0.0f;
    hidden = {shown.x, shown.y + height};
    SlideTo(hintCount <= 0 ? shown : hidden);
}

void gcControl_ButtonStore::Deactivate() {
    gcControl_Base::Deactivate();
    bots.Clear();
    if (!button) return;
    button->transform->positionX = shown.x;
    button->transform->positionY = shown.y;
    button->ReleaseTree();
}
