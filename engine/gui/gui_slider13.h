#pragma once
// The slider drawn from a strip of thirteen equal frames: 0-2 decrease button (idle, hovered,
// pressed), 3-5 increase button, 6-8 knob, 9 track start, 10 track body, 11 track end, 12 fill.
// Behaviour and geometry are those of JC_BASESLIDER; this class draws them.
//
// The track spans the knob's travel, turned to the track's angle: the start piece centred where
// the knob stands at the minimum (the margin past the decrease button), the end piece where it
// stands at the maximum, the body stretched between them. The fill (frame 12 runs along the
// frame's height) is stretched from the track's start to the knob, so the minimum shows no fill
// and the maximum a full track. Draw order: track, fill, buttons, knob.
//
// The button size is one thirteenth of the texture's width; until the first RestoreResources it
// is that of the renderer's no-texture record, and the build lays the slider out again. After
// every event that returns a record the frames follow the parts' states and the fill follows the
// knob; a release that returns a record calls the click callback a second time.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/gui/gui_base_slider.h"

namespace QRV {

class JC_MESH;

class JC_GUI_SLIDER13 : public JC_BASESLIDER {
public:
    static constexpr int32_t kFrames = 13;
    // The quads: the three parts, then the track pieces and the fill.
    enum Quad : int32_t {
        DecreaseQuad = 0,
        IncreaseQuad = 1,
        KnobQuad = 2,
        TrackStartQuad = 3,
        TrackBodyQuad = 4,
        TrackEndQuad = 5,
        FillQuad = 6,
        QuadCount = 7,
    };

    JC_GUI_SLIDER13(int32_t id, const std::string& textureName, float buttonDistance, float minimum, float maximum,
                    float step, float value, float startX, float startY, float endX, float endY, float radius);
    ~JC_GUI_SLIDER13() override;

    void Draw() override;
    JS_GUI_EVENT* OnMouseUp() override;
    JS_GUI_EVENT* OnMouseDown() override;
    JS_GUI_EVENT* OnMouseMove() override;
    // The first call builds the seven quads and lays the slider out with the texture's button
    // size; later ones bind the texture again after a release.
    void RestoreResources() override;
    void ReleaseResources() override;
    void SetAlpha(float alpha) override;
    // The base's SetValue, then the fill follows the knob.
    void SetValue(float value) override;

    bool IsBuilt() const { return built != 0; }
    const JC_MESH* GetQuad(int32_t which) const { return quads[which].get(); }

    std::string textureName;

private:
    // The parts' frames by their states, and the fill to the knob.
    void Refresh();
    // How far the track's ends lie inside the buttons' centres: the margin, or half the distance
    // between the buttons when that is less.
    float TrackInset() const;
    void LayTrack();
    void LayFill();

    std::unique_ptr<JC_MESH> quads[QuadCount];
    uint8_t built = 0;
};

}  // namespace QRV
