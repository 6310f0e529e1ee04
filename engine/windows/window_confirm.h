#pragma once
// A question window (type "G_WINDOW_CONFIRM"): a text label (widget 2) and the buttons yes (3),
// no (4) and close (5), each optional in the layout. The answer callback gets 1 for yes and 0
// for no and close; the second answer callback (set by JCWindowManager::ShowConfirm) gets 1, -1
// and 0. After any of the three the window hides itself.
//
// The label's localised text is a template that SetTextFormat fills with typed arguments
// (format_wide_checked.h): a conversion that does not match its argument is shown literally,
// and the result is drawn as it stands.

#include <cstdint>
#include <initializer_list>
#include <string>

#include "engine/core/closure.h"
#include "engine/core/format_wide_checked.h"
#include "engine/windows/window.h"

namespace QRV {
class JC_GUI_WLABEL;
}

class JCWindow_Confirm : public JCWindow {
public:
    // Results are cut to this many characters less one.
    static constexpr size_t kTextCapacity = 512;

    ~JCWindow_Confirm() override;

    // Binds widget 2 when it is a label.
    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void OnButton(int32_t id) override;

    // Nothing without a text label. The first call takes the label's text as the template; every
    // call formats that template with the arguments into the label.
    template <class... Args>
    void SetTextFormat(const Args&... args) {
        SetTextFormatList({QRV::FormatArg(args)...});
    }
    void SetTextFormatList(std::initializer_list<QRV::FormatArg> args);

    // The registry's creator, and its registration under "G_WINDOW_CONFIRM".
    static JCWindow* Create();
    static bool RegisterType();

    Closure<void(int32_t)> cbAnswer;
    Closure<void(int32_t)> cbSecondAnswer;
    QRV::JC_GUI_WLABEL* textLabel = nullptr;
    std::wstring messageTemplate;
};
