#include "engine/graphics/animation.h"

#include <algorithm>
#include <atomic>

#include "engine/core/conversions.h"
#include "engine/graphics/quad.h"
#include "engine/graphics/render.h"
#include "engine/platform/clock.h"

namespace QRV {

G_ANIMATION::G_ANIMATION() = default;

// The sprite's copy brings the quad along as it looks (size, colours, the current frame's UVs).
G_ANIMATION::G_ANIMATION(const G_ANIMATION& other)
    : G_SPRITE(other), direction(other.direction), pingPong(other.pingPong), loop(other.loop), flip(other.flip),
      playing(other.playing), columns(other.columns), rows(other.rows), frame(other.frame),
      frameCount(other.frameCount), step(other.step), fps(other.fps), accumulator(other.accumulator),
      startDelay(other.startDelay), cellWidth(other.cellWidth), cellHeight(other.cellHeight) {}

G_ANIMATION& G_ANIMATION::operator=(const G_ANIMATION& other) {
    Assign(other);
    return *this;
}

G_ANIMATION::~G_ANIMATION() = default;

void G_ANIMATION::Assign(const G_ANIMATION& other) {
    if (this == &other) return;
    // The fields first: the sprite's assignment rebinds through RestoreResources, which applies
    // the grid, and that must already be the new one.
    direction = other.direction;
    pingPong = other.pingPong;
    loop = other.loop;
    flip = other.flip;
    playing = other.playing;
    columns = other.columns;
    rows = other.rows;
    frame = other.frame;
    frameCount = other.frameCount;
    step = other.step;
    fps = other.fps;
    accumulator = other.accumulator;
    startDelay = other.startDelay;
    cellWidth = other.cellWidth;
    cellHeight = other.cellHeight;
    G_SPRITE::Assign(other);
}

bool G_ANIMATION::Load(const pugi::xml_node& node) {
    G_SPRITE::Load(node);
    const pugi::xml_node description = node.child("ANIMATION");
    if (!description) return false;

    // as_bool is true exactly when the first character is 1, t, T, y or Y.
    if (const pugi::xml_attribute a = description.attribute("loop")) loop = a.as_bool() ? 1 : 0;
    if (const pugi::xml_attribute a = description.attribute("flip")) flip = a.as_bool() ? 1 : 0;
    if (const pugi::xml_attribute a = description.attribute("ping_pong")) pingPong = a.as_bool() ? 1 : 0;
    if (const pugi::xml_attribute a = description.attribute("reverese")) direction = a.as_bool() ? 1 : 0;
    if (const pugi::xml_attribute a = description.attribute("grid")) {
        int32_t c = 0, r = 0;
        ParsePoint(a.as_string(), c, r);
        SetGrid(c, r);
    }
    if (const pugi::xml_attribute a = description.attribute("frames")) {
        frameCount = std::max(1, AsciiToInt(a.as_string()));
    }
    if (const pugi::xml_attribute a = description.attribute("fps")) fps = AsciiToFloat(a.as_string());
    SetFrame(frame);
    return true;
}

void G_ANIMATION::RestoreResources() {
    G_SPRITE::RestoreResources();
    SetGrid(columns, rows);
}

void G_ANIMATION::ReleaseResources() { G_SPRITE::ReleaseResources(); }

void G_ANIMATION::Reset() {
    SetGrid(1, 1);
    frameCount = 1;
    fps = 1.0f;
    step = 1;
    frame = 0;
    direction = 1;
    pingPong = 0;
    loop = 1;
    flip = 0;
    accumulator = 0.0f;
    playing = 0;
    SetFrame(0);
    startDelay = 0.0f;
    renderState &= ~RS::AddressMask;
}

void G_ANIMATION::SetGrid(int32_t newColumns, int32_t newRows) {
    // A zero (or negative) count in the data would divide by zero below.
    columns = std::max(1, newColumns);
    rows = std::max(1, newRows);
    cellWidth = 1.0f / static_cast<float>(columns);
    cellHeight = 1.0f / static_cast<float>(rows);
    if (columns == 1 && rows == 1) return;
    // Unbound there is no sheet to measure; the restore that binds the texture applies the grid.
    if (!HasTexture()) return;
    SetSize(static_cast<float>(static_cast<int32_t>(texture->width) / columns),
            static_cast<float>(static_cast<int32_t>(texture->height) / rows));
}

void G_ANIMATION::SetFrame(int32_t index) {
    frameCount = std::max(1, frameCount);
    columns = std::max(1, columns);
    // Wrapped into 0..frameCount-1 also for a negative index, which would otherwise reach
    // outside the sheet.
    frame = index % frameCount;
    if (frame < 0) frame += frameCount;
    accumulator = 0.0f;
    if (vertices == nullptr) return;

    const int32_t col = frame % columns;
    const int32_t row = frame / columns;
    const float uLeft = static_cast<float>(col) * cellWidth;
    const float uRight = uLeft + cellWidth;
    const float vTop = static_cast<float>(row) * cellHeight;
    const float vBottom = vTop + cellHeight;
    const float u0 = flip != 0 ? uRight : uLeft;
    const float u1 = flip != 0 ? uLeft : uRight;
    // A flipped cell runs its u the other way: (u0, u1) may well be decreasing.
    SetQuadUVs(vertices, u0, vTop, u1, vBottom);
}

int32_t G_ANIMATION::Update() {
    if (playing == 0) return 0;
    // No rate would never step: stop, so that whoever waits for the end goes on.
    if (!(fps > 0.0f)) {
        playing = 0;
        return 0;
    }
    const float frameTime = g_frameTime.load(std::memory_order_relaxed);
    if (frameTime == 0.0f) return 0;
    if (startDelay > 0.0f) {
        startDelay -= frameTime;
        if (startDelay > 0.0f) return 0;
    }
    accumulator += fps * frameTime;
    if (!(accumulator > 1.0f)) return 0;

    // Shown before stepping: this update shows the frame the previous one computed. SetFrame
    // also drops the accumulator's excess, so one update steps one frame at most.
    SetFrame(frame);
    frame += step;
    ApplyEndRules();
    return 1;
}

void G_ANIMATION::ApplyEndRules() {
    const int32_t last = LastFrame();
    // Past either end (|frame| > last, compared without squaring so it cannot overflow).
    if (frame > last || frame < -last) {
        if (loop != 0 && pingPong != 0) {
            const int32_t before = step;
            step = -step;
            frame -= 2 * before;
        } else if (loop != 0) {
            // Also when the direction flag says backwards but the owner stepped forward: wrapping
            // keeps the index in range instead of letting it run away.
            frame = 0;
        } else if (pingPong != 0) {
            if (direction != 0) {
                const int32_t before = step;
                step = -step;
                frame -= 2 * before;
            } else {
                // A backward ping-pong started at the last frame turned at 0 and is back.
                playing = 0;
            }
        } else {
            playing = 0;
        }
    }
    if (frame < 0) {
        if (loop != 0 && pingPong != 0) {
            step = -step;
            frame = 1;
        } else if (loop != 0) {
            frame = last;
        } else if (pingPong != 0) {
            if (direction != 0) {
                // A forward ping-pong that turned at the last frame is back at 0.
                if (step == -1) playing = 0;
            } else {
                step = -step;
                frame += 2 * step;
            }
        } else {
            playing = 0;
        }
    }
}

}  // namespace QRV
