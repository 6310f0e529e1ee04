#pragma once
// A one-line text entry window (type "G_WINDOW_EDITBOX"): a line box (widget 2), an OK button
// (3), a cancel button (4) and an error label (5), each optional in the layout. The entry is
// checked on every release: an empty text is invalid; a non-empty one is valid unless the
// validator rejects it, and then the text takes the error colour. OK stays disabled (state and
// frame 4) while the entry is invalid; the error label shows while a non-empty entry is invalid.
// OK and cancel report 1 or 0 with the text to the answer callback, then the window hides.
//
// Settings: "text_color" and "text_color_error", hexadecimal AARRGGBB (an empty value is 0).

#include <cstdint>
#include <string>

#include "engine/core/closure.h"
#include "engine/windows/window.h"

namespace QRV {
class JC_GUI_BUTTON5;
class JC_GUI_LINEBOX;
class JC_GUI_WLABEL;
}  // namespace QRV

class JCWindow_Editbox : public JCWindow {
public:
    // What the line box refuses: blank \ * / . - + = _ ? & ^ ! @ # $ % ( ) { } [ ] | > < , ` ~ ; :
    static const wchar_t* const kForbiddenCharacters;

    ~JCWindow_Editbox() override;

    QRV::JS_GUI_EVENT* OnMouseUp(int32_t button) override;
    // Binds the line box (keeps the focus, refuses the characters above), the OK button and the
    // error label, each only when the widget has that class.
    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void LoadSettings(const pugi::xml_node& settings) override;
    // An empty entry in the text colour, marked invalid.
    void OnShowBegin() override;
    // The line box takes the focus, so that typing goes to it at once.
    void OnShown() override;
    void OnButton(int32_t id) override;

    // The line box's text (empty without one).
    std::wstring Text() const;

    QRV::JC_GUI_LINEBOX* lineBox = nullptr;
    QRV::JC_GUI_BUTTON5* okButton = nullptr;
    QRV::JC_GUI_WLABEL* errorLabel = nullptr;
    uint32_t textColor = 0xFFFFFFFFu;
    uint32_t errorColor = 0xFFFF0000u;
    // 1 with the text for OK, 0 for cancel.
    Closure<void(int32_t, std::wstring)> cbAnswer;
    Closure<bool(std::wstring)> validator;

private:
    // OK enabled or disabled; the error label for a non-empty invalid entry (with an OK button).
    void Mark(bool valid);
};
