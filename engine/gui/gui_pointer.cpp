#include "engine/gui/gui_pointer.h"

#include "engine/platform/input.h"

namespace QRV {

void PointerPosition(const JC_GUI_OBJECT& widget, float& x, float& y) {
    if (g_mousePos != nullptr) {
        x = static_cast<float>(g_mousePos[0]);
        y = static_cast<float>(g_mousePos[1]);
        return;
    }
    x = widget.lastMouseX;
    y = widget.lastMouseY;
}

}  // namespace QRV
