#include "engine/windows/window_editbox.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_linebox.h"

using namespace QRV;

namespace {

constexpr int32_t kDisabledState = 4;

template <class Widget>
Widget* Bind(JC_GUI_OBJECT* rootObject, int32_t id, int32_t kind) {
    JC_GUI_OBJECT* widget = rootObject != nullptr ? rootObject->FindChildById(id) : nullptr;
    return widget != nullptr && widget->kind == kind ? dynamic_cast<Widget*>(widget) : nullptr;
}

}  // namespace

const wchar_t* const JCWindow_Editbox::kForbiddenCharacters = L" \\*/.-+=_?&^!@#$%(){}[]|><,`~;:";

JCWindow_Editbox::~JCWindow_Editbox() = default;

void JCWindow_Editbox::OnGuiLoaded(JC_GUI_OBJECT* rootObject) {
    okButton = Bind<JC_GUI_BUTTON5>(rootObject, 3, GUI_KIND::Button5);
    lineBox = Bind<JC_GUI_LINEBOX>(rootObject, 2, GUI_KIND::LineBox);
    errorLabel = Bind<JC_GUI_WLABEL>(rootObject, 5, GUI_KIND::WLabel);
    if (lineBox != nullptr) {
        lineBox->keepsFocus = 1;
        lineBox->forbiddenCharacters = kForbiddenCharacters;
    }
}

void JCWindow_Editbox::LoadSettings(const pugi::xml_node& settings) {
    if (const pugi::xml_attribute a = settings.attribute("text_color")) textColor = ParseHex(a.as_string());
    if (const pugi::xml_attribute a = settings.attribute("text_color_error")) errorColor = ParseHex(a.as_string());
}

void JCWindow_Editbox::OnShowBegin() {
    if (lineBox == nullptr) return;
    lineBox->SetTextColor(textColor);
    lineBox->SetText(L"");
    Mark(false);
}

void JCWindow_Editbox::OnShown() {
    if (lineBox != nullptr) lineBox->SetActive(true);
}

std::wstring JCWindow_Editbox::Text() const { return lineBox != nullptr ? lineBox->GetText() : std::wstring(); }

JS_GUI_EVENT* JCWindow_Editbox::OnMouseUp(int32_t button) {
    JS_GUI_EVENT* record = JCWindow::OnMouseUp(button);
    // An answered entry keeps its looks while it fades out (its own name may be taken by now).
    if (lineBox == nullptr || IsHiding()) return record;
    const std::wstring text = lineBox->GetText();
    bool valid = !text.empty();
    if (valid && validator) {
        valid = validator(text);
        lineBox->SetTextColor(valid ? textColor : errorColor);
    }
    Mark(valid);
    return record;
}

void JCWindow_Editbox::Mark(bool valid) {
    if (okButton == nullptr) return;
    if (errorLabel != nullptr) errorLabel->SetVisible(!valid && !Text().empty());
    // Enabled is state and frame 0; disabled is state and frame 4, and takes no clicks. Only a
    // change touches it, so a hovered OK keeps its look while keys are typed; enabled under the
    // pointer, it is hovered at once.
    if ((okButton->GetState() != kDisabledState) == valid) return;
    okButton->SetEnabled(valid);
    if (valid) okButton->OnMouseMove();
}

void JCWindow_Editbox::OnButton(int32_t id) {
    if (id != 3 && id != 4) return;
    if (cbAnswer) cbAnswer(id == 3 ? 1 : 0, Text());
    Hide(false);
}
