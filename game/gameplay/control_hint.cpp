#include "game/gameplay/control_hint.h"

#include <algorithm>

#include "engine/bots/tween_color.h"
#include "engine/bots/tween_move.h"
#include "engine/graphics/texture.h"

gcControl_ButtonHint::gcControl_ButtonHint(const gcControlServices& services, uintptr_t useHintArgument,
                                           gcUseHintFunction useHint)
    : gcControl_Base("hint", "hint_button", services), useHintArgument(useHintArgument), useHint(useHint) {
    hiddenCallback.argument = reinterpret_cast<uintptr_t>(this);
    hiddenCallback.name = "hint_button_hidden";
    hiddenCallback.fn = &gcControl_ButtonHint::UseHintNow;
}

gcControl_ButtonHint::~gcControl_ButtonHint() {
    // The tweens point at the sprites: they go first.
    bots.Clear();
    button.ReleaseResources();
    glow.ReleaseResources();
}

bool gcControl_ButtonHint::LoadOwn(const pugi::xml_node& node) {
    speed = node.attribute("speed").as_float(1.0f);
    rows = std::max(1, node.attribute("rows").as_int(1));
    if (!button.Load(node.child("button_sprite"))) return false;
    button.transform->parent = &transform;
    shown = {button.transform->positionX, button.transform->positionY};
    hidden = shown;
    hasGlow = glow.Load(node.child("hint"));
    glow.transform->parent = &transform;
    return true;
}

void gcControl_ButtonHint::CellOf(int32_t count, int32_t rows, int32_t& column, int32_t& row) {
    const int32_t last = kColumns * std::max(1, rows) - 1;
    const int32_t index = std::clamp(count, 0, last);
    column = index % kColumns;
    row = index / kColumns;
}

void gcControl_ButtonHint::ApplyCell() {
    int32_t column = 0, row = 0;
    CellOf(count, rows, column, row);
    const float u = static_cast<float>(column) / static_cast<float>(kColumns);
    const float v = static_cast<float>(row) / static_cast<float>(rows);
    button.SetUVs(u, v, u + 1.0f / static_cast<float>(kColumns), v + 1.0f / static_cast<float>(rows));
}

void gcControl_ButtonHint::SetCount(int32_t newCount) {
    count = newCount;
    ApplyCell();
    if (!active || usePending) return;
    if (count != 0) {
        Show();
    } else {
        Hide(false);
    }
}

void gcControl_ButtonHint::Show() {
    bots.Clear();
    if (hasGlow) bots.Add(new QRV::JC_BOT_COLOR(&glow, kGlowShown, 0.0f, speed));
    bots.Add(new QRV::JC_BOT_MOVE(button.transform, shown.x, shown.y, button.transform->positionZ, 0.0f, speed, 0.0f));
}

void gcControl_ButtonHint::Hide(bool withCallback) {
    // Only the press blocks: a count of 0 keeps presses out by itself, and a block here would
    // outlast the level start's unblock and leave the next earned hint unusable.
    if (withCallback) SetBlocked(true);
    bots.Clear();
    auto* move =
        new QRV::JC_BOT_MOVE(button.transform, hidden.x, hidden.y, button.transform->positionZ, 0.0f, speed, 0.0f);
    if (withCallback) {
        usePending = true;
        move->Message(38, 0.0f, 0.0f, 0.0f, &hiddenCallback);
    }
    bots.Add(move);
    if (hasGlow) bots.Add(new QRV::JC_BOT_COLOR(&glow, kGlowHidden, 0.0f, speed));
}

int gcControl_ButtonHint::UseHintNow(uintptr_t self) {
    auto* control = reinterpret_cast<gcControl_ButtonHint*>(self);
    control->usePending = false;
    if (control->useHint != nullptr) control->useHint(control->useHintArgument);
    control->SetBlocked(false);
    return 0;
}

void gcControl_ButtonHint::Render() {
    if (!visible || count == 0) return;
    gcControl_Base::Render();
    if (hasGlow) glow.Draw();
    button.Draw();
}

int32_t gcControl_ButtonHint::Update() {
    bots.Update();
    return 0;
}

int32_t gcControl_ButtonHint::OnMouseDown(int32_t mouseButton) {
    if (blocked || count == 0 || mouseButton != 1 || !button.IsMouseOver()) return 0;
    PlaySound("hint");
    Hide(true);
    return kTaken;
}

void gcControl_ButtonHint::Activate() {
    if (active) return;
    gcControl_Base::Activate();
    button.RestoreResources();
    // One cell of the atlas, centred on the position.
    if (button.texture != nullptr && button.texture->width > 0 && button.texture->height > 0) {
        button.SetSize(static_cast<float>(button.texture->width) / static_cast<float>(kColumns),
                       static_cast<float>(button.texture->height) / static_cast<float>(rows));
    }
    button.hotSpot = 4;
    button.SetPivotFromHotSpot(4);
    ApplyCell();
    hidden = {shown.x, shown.y + button.height};
    if (hasGlow) glow.RestoreResources();
    if (count != 0) {
        Show();
    } else {
        Hide(false);
    }
}

void gcControl_ButtonHint::Deactivate() {
    gcControl_Base::Deactivate();
    bots.Clear();
    usePending = false;
    button.transform->positionX = shown.x;
    button.transform->positionY = shown.y;
    button.ReleaseResources();
    if (hasGlow) {
        glow.playing = 0;
        glow.ReleaseResources();
    }
}
