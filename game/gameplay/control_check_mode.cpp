#include "game/gameplay/control_check_mode.h"

#include "engine/core/conversions.h"
#include "engine/gui/gui_layout.h"

gcControl_CheckMode::gcControl_CheckMode(const gcControlServices& services)
    : gcControl_Base("check_mode", "check_mode", services) {}

gcControl_CheckMode::~gcControl_CheckMode() {
    if (guiActive) gui.ReleaseResources();
}

bool gcControl_CheckMode::LoadOwn(const pugi::xml_node& node) {
    if (loaded) return false;
    loaded = true;
    gui.rootObject->transform->parent = &transform;
    BuildGuiChildren(&gui, node);
    // The switch's labels are keys of the string table until now.
    LocaliseGuiTree(gui.rootObject, services.strings);
    checkbox = dynamic_cast<QRV::JC_GUI_CHECKBOX_INTERFACE*>(gui.rootObject->FindChildById(kId));
    return true;
}

void gcControl_CheckMode::SetState(bool on, bool immediate) {
    if (checkbox != nullptr) checkbox->SetChecked(on, immediate);
    NotifyDelegates(kId);
}

bool gcControl_CheckMode::GetState() const { return checkbox == nullptr || checkbox->IsChecked(); }

void gcControl_CheckMode::Render() { gui.Draw(); }

int32_t gcControl_CheckMode::Update() {
    gui.rootObject->DispatchUpdate();
    return 0;
}

int32_t gcControl_CheckMode::OnMouseDown(int32_t /*button*/) {
    if (blocked) return 0;
    const QRV::JS_GUI_EVENT* event = gui.rootObject->DispatchMouseDown();
    // The root object carries id 0 as well but never answers a walk itself.
    if (event == nullptr || event == gui.rootObject->Record() || event->id != kId) return 0;
    NotifyDelegates(kId);
    return kTaken;
}

void gcControl_CheckMode::Activate() {
    if (guiActive) return;
    gui.RestoreResources();
    // Textures are known now: group the draw levels by them.
    gui.RebuildLevels();
    guiActive = true;
}

void gcControl_CheckMode::Deactivate() {
    if (guiActive) gui.ReleaseResources();
    guiActive = false;
}

void gcControl_CheckMode::OnMessageTokens(const std::vector<std::string>& tokens) {
    if (tokens.size() >= 3 && tokens[0] == name && tokens[1] == "tool") {
        SetState(QRV::StringToBool(tokens[2]), false);
        return;
    }
    gcControl_Base::OnMessageTokens(tokens);
}
