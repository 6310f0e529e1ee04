#pragma once
// A sprite whose texture is a sheet of equally sized frames laid out row by row in a grid. It
// shows one frame at a time and steps through them at a frame rate when its owner calls Update
// once per frame. Four flags from the "ANIMATION" element decide what happens at the ends:
//   loop       wrap around (or keep bouncing, with ping-pong),
//   ping_pong  turn at the ends instead of wrapping,
//   reverese   the direction flag (sic, that is the key): true plays forward from frame 0, false
//              plays backwards from the last frame (step -1),
//   flip       mirror every frame horizontally.
// Owners start playback by setting playing = 1, the step, the start delay and the first frame
// (SetFrame); a non-looping animation clears playing when it has shown its end frame.

#include <cstdint>

#include "engine/graphics/sprite.h"

namespace QRV {

class G_ANIMATION : public G_SPRITE {
public:
    G_ANIMATION();
    G_ANIMATION(const G_ANIMATION& other);
    G_ANIMATION& operator=(const G_ANIMATION& other);
    ~G_ANIMATION() override;

    // The sprite part and every animation field.
    void Assign(const G_ANIMATION& other);

    // The sprite description, then the child "ANIMATION" (false without it; the sprite part
    // stays loaded). Absent attributes leave their fields as they were. Shows the current frame.
    bool Load(const pugi::xml_node& node) override;
    // The sprite's, then the grid again so the quad follows the texture's size.
    void RestoreResources() override;
    void ReleaseResources() override;

    // Back to a one-frame 1 x 1 sheet, stopped, forward, looping, at 1 frame per second.
    void Reset();
    // Columns and rows (each at least 1). Unless 1 x 1 the quad becomes one cell of the bound
    // texture in pixels, and the hot spot places the pivot again.
    void SetGrid(int32_t columns, int32_t rows);
    // Shows frame index mod frameCount and restarts the accumulator.
    void SetFrame(int32_t index);
    // Advances by the global frame time (g_frameTime); 1 when a frame was stepped, else 0.
    // With fps <= 0 it stops playing at once, so whoever waits for the end is released.
    int32_t Update();

    // The last frame index (frameCount - 1).
    int32_t LastFrame() const { return frameCount - 1; }

    uint8_t direction = 1;  // 1 forward from frame 0, 0 backwards from the last frame
    uint8_t pingPong = 0;
    uint8_t loop = 1;
    uint8_t flip = 0;
    uint8_t playing = 0;
    int32_t columns = 1;
    int32_t rows = 1;
    int32_t frame = 0;       // the next frame to show
    int32_t frameCount = 1;  // at least 1
    int32_t step = 1;        // +1 or -1
    float fps = 1.0f;        // <= 0 never plays
    float accumulator = 0.0f;
    float startDelay = 0.0f;  // seconds before the first step
    float cellWidth = 1.0f;   // one cell in texture coordinates
    float cellHeight = 1.0f;

private:
    // The end rules, applied after the index moved by step.
    void ApplyEndRules();
};

}  // namespace QRV
