#pragma once
// A horizontal bar with a runner; its value is a fraction 0..1 set by pressing on the bar and
// dragging. The progress texture holds two halves side by side: the left the empty track, the
// right the filled one. The track (one half of the texture) is placed by the widget's transform
// with its centre at the position; the filled part runs from its left end to the runner.
//
// Input (left button only; the pointer is the one the last mouse-move walk stored):
//   press over the track    code 7, pressed
//   move while pressed      the value follows the pointer's x, code 9; a move that finds the
//                           left button up ends the press (its release went to another widget)
//   release while pressed   code 8
//
// SetValue before the first RestoreResources stores the value; the build places the runner by it.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/gui/gui_object.h"
#include "engine/gui/hit_shape.h"

namespace QRV {

class JC_MESH;

class JC_GUI_SIMPLE_SLIDER : public JC_GUI_OBJECT {
public:
    JC_GUI_SIMPLE_SLIDER(int32_t id, const std::string& progressTextureName, const std::string& runnerTextureName);
    ~JC_GUI_SIMPLE_SLIDER() override;

    // The track, its filled part, then the runner.
    void Draw() override;
    JS_GUI_EVENT* OnMouseUp() override;
    JS_GUI_EVENT* OnMouseDown() override;
    JS_GUI_EVENT* OnMouseMove() override;
    // The first call builds the quads and the shape; later ones bind the textures again after a
    // release.
    void RestoreResources() override;
    void ReleaseResources() override;
    void SetAlpha(float alpha) override;

    // x (screen pixels, clamped to the track's ends) as the value: 0 at the left end, 1 at the
    // right; 0 while the track has no width.
    void SetValueFromX(int32_t x);
    // The value clamped to 0..1 (NaN gives 0), the runner placed.
    void SetValue(float value);
    float GetValue() const { return value; }

    bool IsPressed() const { return pressed != 0; }
    bool IsBuilt() const { return progressQuad != nullptr; }
    const JC_MESH* ProgressQuad() const { return progressQuad.get(); }
    const JC_MESH* FillQuad() const { return fillQuad.get(); }
    const JC_MESH* RunnerQuad() const { return runnerQuad.get(); }

    std::string progressTextureName;
    std::string runnerTextureName;
    float trackWidth = 0.0f;
    float value = 0.0f;
    uint8_t pressed = 0;

private:
    // The runner and the filled part at the value.
    void PlaceRunner();

    std::unique_ptr<JC_MESH> progressQuad;
    std::unique_ptr<JC_MESH> fillQuad;
    std::unique_ptr<JC_MESH> runnerQuad;
    std::unique_ptr<JS_HIT_SHAPE> shape;
};

}  // namespace QRV
