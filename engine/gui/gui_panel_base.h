#pragma once
// What the two panels (gui_panel.h, gui_panel9.h) share: hovering, pressing, clicking and dragging
// with the left mouse button over a rectangle that the panel builds with its quads.
//
// Codes: 3 when the pointer enters, 4 when it leaves, 7 on a left press over the panel (the drag
// begins), 8 on a left release over it, 9 on every move while dragged (in place of a 3 or 4 of
// the same move). A panel that is not movable reports 7 and 8 but never 9 and stays where it is.
//
// A drag ends on any left release that reaches the panel, wherever the pointer is, and also as
// soon as a move or a frame finds the left button up (a release that an earlier sibling took, or
// one made outside the window). The panel never sticks to a pointer whose button is up.
//
// Layouts: the walks give a press to the first child that takes it, so clickable widgets over a
// panel belong among the panel's own children, never beside it after it.

#include <cstdint>

#include "engine/gui/gui_object.h"
#include "engine/gui/hit_shape.h"

namespace QRV {

class JC_GUI_PANEL_BASE : public JC_GUI_OBJECT {
public:
    // Frees the drag callback.
    ~JC_GUI_PANEL_BASE() override;

    // Ends a drag whose button is no longer held; null.
    JS_GUI_EVENT* Update() override;
    JS_GUI_EVENT* OnMouseUp() override;
    JS_GUI_EVENT* OnMouseDown() override;
    JS_GUI_EVENT* OnMouseMove() override;

    // Takes ownership (the previous record is freed). Called with the panel as its argument on
    // every drag move; a record without a function does nothing.
    void SetDragCallback(JS_CALLBACK* record);

    uint8_t movable = 0;
    JS_CALLBACK* dragCallback = nullptr;
    // The pointer is inside the rectangle.
    uint8_t hovered = 0;
    // Between a press over the panel and the release of the button.
    uint8_t dragging = 0;
    // Pointer minus position at the press, truncated.
    int32_t grabX = 0;
    int32_t grabY = 0;
    // Built with the quads; never hits before that.
    JS_HIT_SHAPE shape;

protected:
    JC_GUI_PANEL_BASE(int32_t id, int32_t kind, bool movable);

private:
    // Clears dragging when the left button is not held.
    void EndDragIfReleased();
};

}  // namespace QRV
