#pragma once
// What the check box and the switch share: a checked flag that owners read and set.

#include <cstdint>

#include "engine/gui/gui_object.h"

namespace QRV {

class JC_GUI_CHECKBOX_INTERFACE : public JC_GUI_OBJECT {
public:
    explicit JC_GUI_CHECKBOX_INTERFACE(int32_t id) : JC_GUI_OBJECT(id) {}

    virtual bool IsChecked() const = 0;
    // `immediate` skips any animation the widget would play.
    virtual void SetChecked(bool checked, bool immediate) = 0;
};

}  // namespace QRV
