#pragma once
// Where the pointer is for a widget's input slots.

#include "engine/gui/gui_object.h"

namespace QRV {

// The input object's pointer as it is now; without an input object, the position the last
// mouse-move walk stored in the widget. The current position matters when an earlier sibling
// answered the last moves and the walk never reached this widget.
void PointerPosition(const JC_GUI_OBJECT& widget, float& x, float& y);

}  // namespace QRV
