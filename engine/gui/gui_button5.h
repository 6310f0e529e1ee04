#pragma once
// The push button: one quad showing a frame of a five-frame strip (normal, hovered, pressed,
// unused, disabled), placed by the widget's transform with its centre at the position.
//
// States (also the frame shown): 0 normal, 1 hovered, 2 pressed, 4 disabled.
//   pointer enters (move, or the re-test every 0.1 s)   0 -> 1, enter callback, code 3
//   pointer leaves                                     1 or 2 -> 0, leave callback, code 4
//   left button pressed over it                        1 -> 2, press callback, code 7
//   left button released                               2 -> 1 inside / 0 outside, click callback, code 8
// A hovered button stays active while the pointer is inside, and a press or release with the
// pointer inside counts even when a walk cleared its active flag (a text box that keeps the focus
// clears it on every move). A disabled button (state 4) ignores the pointer until SetEnabled(true)
// or ResetState.
//
// Setters called before the first RestoreResources store the state; the build shows its frame.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/graphics/mesh.h"
#include "engine/gui/gui_object.h"

namespace QRV {

class JC_GUI_BUTTON5 : public JC_GUI_OBJECT {
public:
    JC_GUI_BUTTON5(int32_t id, const std::string& textureName);
    ~JC_GUI_BUTTON5() override;

    // The hover re-test every 0.1 s of frame time; always null.
    JS_GUI_EVENT* Update() override;
    void Draw() override;
    JS_GUI_EVENT* OnMouseUp() override;
    JS_GUI_EVENT* OnMouseDown() override;
    // The hover test: the record when it entered or left, else null.
    JS_GUI_EVENT* OnMouseMove() override;
    // The flag here and on the children, then state and frame 0 (enabled) or 4 (disabled).
    void SetEnabled(bool enabled) override;
    // The first call builds the quad from the strip; later ones bind the texture again after a
    // release. Then the stored alpha is written.
    void RestoreResources() override;
    void ReleaseResources() override;
    void SetAlpha(float alpha) override;

    // State and frame 0.
    void ResetState();
    int32_t GetState() const { return state; }
    // The quad once built, else null.
    const JC_MESH* Quad() const { return quad ? &*quad : nullptr; }

    int32_t state = 0;
    float hoverTimer = 0.0f;

private:
    void SetState(int32_t newState);
    bool PointerInside() const;
    // Enter or leave: true when a code was set.
    bool HoverTest();

    // Whether the quad is built: the walks and the draw ask on every pass, and the quad's own flag
    // lies past the whole quad.
    bool HasQuad() const { return built != 0; }

    uint8_t built = 0;
    // Inside the widget, beside what the walks and the draw read with it.
    std::optional<JC_MESH> quad;

public:
    // After the quad: the walks and the draw never read it.
    std::string textureName;
};

}  // namespace QRV
