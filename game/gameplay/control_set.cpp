#include "game/gameplay/control_set.h"

#include "engine/core/conversions.h"

namespace {

template <class Control, class... Arguments>
Control* Adopt(std::map<int32_t, std::unique_ptr<gcControl_Base>>& controls, Arguments&&... arguments) {
    auto control = std::make_unique<Control>(std::forward<Arguments>(arguments)...);
    Control* raw = control.get();
    controls[Control::kId] = std::move(control);
    return raw;
}

}  // namespace

gcControlSet::gcControlSet(const gcControlServices& services, uintptr_t useHintArgument, gcUseHintFunction useHint) {
    checkMode = Adopt<gcControl_CheckMode>(controls, services);
    hint = Adopt<gcControl_ButtonHint>(controls, services, useHintArgument, useHint);
    pause = Adopt<gcControl_ButtonPause>(controls, services);
    store = Adopt<gcControl_ButtonStore>(controls, services);
    resetSelection = Adopt<gcControl_ButtonResetSelection>(controls, services);
}

gcControlSet::~gcControlSet() = default;

bool gcControlSet::LoadAll() {
    for (auto& [id, control] : controls) {
        if (!control->Load()) return false;
    }
    return true;
}

int32_t gcControlSet::Update() {
    for (auto& [id, control] : controls) {
        if (const int32_t answer = control->Update()) return answer;
    }
    return 0;
}

int32_t gcControlSet::OnMouseDown(int32_t button) {
    for (auto& [id, control] : controls) {
        if (const int32_t answer = control->OnMouseDown(button)) return answer;
    }
    return 0;
}

int32_t gcControlSet::OnMouseUp(int32_t button) {
    for (auto& [id, control] : controls) {
        if (const int32_t answer = control->OnMouseUp(button)) return answer;
    }
    return 0;
}

void gcControlSet::OnMouseMove() {
    for (auto& [id, control] : controls) control->OnMouseMove();
}

void gcControlSet::ActivateAll() {
    for (auto& [id, control] : controls) control->Activate();
}

void gcControlSet::DeactivateAll() {
    for (auto& [id, control] : controls) control->Deactivate();
}

void gcControlSet::RenderAll() {
    for (const int32_t id : {gcControl_ButtonHint::kId, gcControl_ButtonStore::kId, gcControl_ButtonResetSelection::kId,
                             gcControl_CheckMode::kId, gcControl_ButtonPause::kId})
        controls.at(id)->Render();
}

void gcControlSet::HandleMessage(const std::vector<std::string>& tokens) {
    if (tokens.empty()) return;
    if (tokens[0] == "is_block") {
        if (tokens.size() < 2) return;
        const bool blocked = QRV::StringToBool(tokens[1]);
        for (auto& [id, control] : controls) control->SetBlocked(blocked);
        return;
    }
    for (auto& [id, control] : controls) control->OnMessageTokens(tokens);
}

bool gcControlSet::GetCheckModeState() const { return checkMode->GetState(); }

void gcControlSet::SetHintCount(int32_t count) {
    hint->SetCount(count);
    store->SetHintCount(count);
}

void gcControlSet::SetDelegate(gcControl_Delegate* delegate) {
    if (delegate == nullptr) return;
    for (auto& [id, control] : controls) control->AddDelegate(delegate);
}

gcControl_Base* gcControlSet::Find(int32_t id) const {
    const auto found = controls.find(id);
    return found != controls.end() ? found->second.get() : nullptr;
}
