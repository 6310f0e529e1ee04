#pragma once
// The check box: one quad showing frames of a five-frame strip (0 box, 1 box hovered, 2 box
// pressed, 3 check mark drawn over the box, 4 unused), with a rectangular hit shape, both placed
// by the widget's transform with the centre at the position.
//
// States: 0 unchecked, 1 unchecked and hovered, 2 unchecked and pressed, 3 checked.
//   unchecked: 0 -> 1 when the pointer enters (code 3), 1 -> 0 when it leaves (code 4),
//              1 -> 2 on a left press (code 7), 2 -> 3 on the left release (code 8), wherever
//              the pointer is then;
//   checked:   every move over it reports code 3 and marks it hovered; a left press while
//              hovered (code 7) and the left release (code 8) make it 1 again; leaving clears
//              the hover and cancels a press under way.
// Only the left button counts: a right click or a key never toggles it. The pointer is the one
// the last mouse-move walk stored.
//
// Setters called before the first RestoreResources store their value (state, size); the build
// applies them.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/graphics/mesh.h"
#include "engine/gui/gui_checkbox_interface.h"
#include "engine/gui/hit_shape.h"

namespace QRV {

class JC_GUI_CHECKBOX5 : public JC_GUI_CHECKBOX_INTERFACE {
public:
    JC_GUI_CHECKBOX5(int32_t id, const std::string& textureName);
    ~JC_GUI_CHECKBOX5() override;

    // A checked box draws the box (pressed, hovered or plain) and the mark over it.
    void Draw() override;
    JS_GUI_EVENT* OnMouseUp() override;
    JS_GUI_EVENT* OnMouseDown() override;
    JS_GUI_EVENT* OnMouseMove() override;
    // The quad becomes width x height, centred; so does the hit shape.
    void SetSize(int32_t width, int32_t height) override;
    // The first call builds the quad and the shape (one fifth of the texture wide); later ones
    // bind the texture again after a release.
    void RestoreResources() override;
    void ReleaseResources() override;
    void SetAlpha(float alpha) override;

    bool IsChecked() const override { return state == 3; }
    // State 3 or 0 at once; `immediate` changes nothing.
    void SetChecked(bool checked, bool immediate) override;

    bool IsBuilt() const { return built != 0; }
    const JC_MESH* Quad() const { return quad ? &*quad : nullptr; }
    const JS_HIT_SHAPE* Shape() const { return shape ? &*shape : nullptr; }

    uint8_t hovered = 0;
    uint8_t pressing = 0;
    int32_t state = 0;

private:
    void ShowFrame(int32_t frame);
    void ApplySize();

    // Set once the quad and the shape are built. Read on every walk and draw, so it and the frame
    // shown come before the quad and the shape.
    uint8_t built = 0;
    // The strip frame the quad's texture coordinates show (-1: none yet).
    int32_t shownFrame = -1;
    std::optional<JS_HIT_SHAPE> shape;
    // Inside the widget, beside what the walks and the draw read with it.
    std::optional<JC_MESH> quad;
    // A size set before the build (0 x 0: none).
    int32_t storedWidth = 0;
    int32_t storedHeight = 0;

public:
    // After the quad: the walks and the draw never read it.
    std::string textureName;
};

}  // namespace QRV
