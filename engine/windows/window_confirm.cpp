#include "engine/windows/window_confirm.h"

#include "engine/gui/gui_label.h"
#include "engine/windows/window_registry.h"

using namespace QRV;

namespace {

// Before main. The manager's ShowConfirm names the class, so this file is always linked.
[[maybe_unused]] const bool kRegistered = JCWindow_Confirm::RegisterType();

}  // namespace

JCWindow_Confirm::~JCWindow_Confirm() = default;

JCWindow* JCWindow_Confirm::Create() { return new JCWindow_Confirm(); }

bool JCWindow_Confirm::RegisterType() { return RegisterWindowType("G_WINDOW_CONFIRM", &JCWindow_Confirm::Create); }

void JCWindow_Confirm::OnGuiLoaded(JC_GUI_OBJECT* rootObject) {
    JC_GUI_OBJECT* widget = rootObject != nullptr ? rootObject->FindChildById(2) : nullptr;
    textLabel = widget != nullptr && widget->kind == GUI_KIND::WLabel ? dynamic_cast<JC_GUI_WLABEL*>(widget) : nullptr;
}

void JCWindow_Confirm::SetTextFormatList(std::initializer_list<FormatArg> args) {
    if (textLabel == nullptr) return;
    if (messageTemplate.empty()) messageTemplate = textLabel->GetText();
    textLabel->SetText(FormatWideChecked(messageTemplate, args, kTextCapacity));
}

void JCWindow_Confirm::OnButton(int32_t id) {
    int32_t answer = 0;
    int32_t second = 0;
    switch (id) {
        case 3: answer = 1, second = 1; break;
        case 4: answer = 0, second = -1; break;
        case 5: answer = 0, second = 0; break;
        default: return;
    }
    if (cbAnswer) cbAnswer(answer);
    if (cbSecondAnswer) cbSecondAnswer(second);
    Hide(false);
}
