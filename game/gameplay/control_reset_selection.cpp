#include "game/gameplay/control_reset_selection.h"

#include "engine/bots/tween_color.h"
#include "engine/core/conversions.h"
#include "engine/windows/window.h"
#include "game/gameplay/command_open.h"

namespace {

uint32_t ReadColor(const pugi::xml_node& node, const char* name) {
    QRV::JS_COLOR_BYTES color;
    for (uint8_t& b : color.b) b = 0xFF;
    if (const pugi::xml_attribute attribute = node.attribute(name)) QRV::ParseColor(attribute.as_string(), color);
    return QRV::PackARGB(color);
}

// The notice goes again as soon as it has shown (its own description keeps it up long enough to
// read), and forgets this callback.
void HideNotice(void* window) {
    auto* notice = static_cast<JCWindow*>(window);
    notice->cbShown = Closure<void()>();
    notice->Hide(false);
}

}  // namespace

gcControl_ButtonResetSelection::gcControl_ButtonResetSelection(const gcControlServices& services)
    : gcControl_Base("reset_selection", "reset_selection", services) {
    if (services.dispatcher != nullptr) {
        // Joined already by the base; this adds the callback.
        Subscribe<&gcControl_ButtonResetSelection::OnFirstCellSelected>(gcBoardEvent::FirstCellSelected, this);
    }
}

gcControl_ButtonResetSelection::~gcControl_ButtonResetSelection() {
    bots.Clear();
    sprite.ReleaseResources();
}

bool gcControl_ButtonResetSelection::LoadOwn(const pugi::xml_node& node) {
    usable = sprite.Load(node.child("sprite"));
    sprite.transform->parent = &transform;
    time = node.attribute("time").as_float(0.0f);
    beginColor = ReadColor(node, "begin_color");
    midColor = ReadColor(node, "mid_color");
    endColor = ReadColor(node, "end_color");
    return true;
}

void gcControl_ButtonResetSelection::TintTo(uint32_t argb) {
    if (!usable) return;
    bots.Clear();
    bots.Add(new QRV::JC_BOT_COLOR(&sprite, argb, 0.0f, time));
}

void gcControl_ButtonResetSelection::OnFirstCellSelected(gcElement* /*cell*/, int32_t /*mark*/) {
    TintTo(midColor);
    lit = true;
}

void gcControl_ButtonResetSelection::Reset() {
    NotifyDelegates(kId);
    TintTo(beginColor);
    lit = false;
    focused = false;
}

void gcControl_ButtonResetSelection::SetFocus(bool focus) {
    focused = focus;
    TintTo(focus ? endColor : midColor);
}

int32_t gcControl_ButtonResetSelection::OnMouseMove() {
    if (!usable || !lit || blocked) return 0;
    const bool inside = sprite.IsMouseOver();
    if (inside != focused) SetFocus(inside);
    return 0;
}

int32_t gcControl_ButtonResetSelection::OnMouseUp(int32_t /*button*/) {
    if (!usable || blocked) return 0;
    if (!lit) {
        if (!sprite.IsMouseOver()) return 0;
        if (JCWindow* notice = ShowWindow("GP_FeedBack_Reset")) notice->cbShown = Closure<void()>(notice, &HideNotice);
        return 0;
    }
    if (!focused) return 0;
    Reset();
    return kTaken;
}

void gcControl_ButtonResetSelection::OnLevelStarted() {
    lit = false;
    focused = false;
    bots.Clear();
    if (usable) QRV::SetMeshColor(&sprite, beginColor);
}

void gcControl_ButtonResetSelection::Render() {
    if (!usable || !visible) return;
    gcControl_Base::Render();
    sprite.Draw();
}

int32_t gcControl_ButtonResetSelection::Update() {
    if (!usable) return 0;
    bots.Update();
    sprite.Update();
    return 0;
}

void gcControl_ButtonResetSelection::Activate() {
    if (!usable || active) return;
    gcControl_Base::Activate();
    sprite.RestoreResources();
    sprite.playing = 1;
    sprite.SetFrame(sprite.direction != 0 ? 0 : sprite.LastFrame());
    QRV::SetMeshColor(&sprite, beginColor);
}

void gcControl_ButtonResetSelection::Deactivate() {
    if (!usable) return;
    gcControl_Base::Deactivate();
    bots.Clear();
    sprite.playing = 0;
    sprite.ReleaseResources();
}

void gcControl_ButtonResetSelection::OnMessageTokens(const std::vector<std::string>& tokens) {
    if (tokens.size() >= 2 && tokens[0] == name) {
        if (tokens[1] == "reset") {
            Reset();
            return;
        }
        if (tokens[1] == "focus" && tokens.size() >= 3) {
            SetFocus(QRV::StringToBool(tokens[2]));
            return;
        }
    }
    gcControl_Base::OnMessageTokens(tokens);
}
