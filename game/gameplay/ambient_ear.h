#pragma once
// An "ear" of the decoration: the band beside the rows (left ear) or above the columns (up ear)
// that the clue numbers sit on, with a separator on every line boundary: "stick" between two lines,
// the heavier "stickBlock" in the gap at every block boundary and at both ends.
//
// Along the ear's axis the band spans the field from the field origin, and a separator sits at
// field origin + f, f running as below. Across it the ear fills `size` pixels beside the field
// (left of it for the left ear, above it for the up ear). Each sprite's own position from its
// description is added as an offset.
//
// Separators, for i = 0 ... lines with f from 0: at i = 0 and at every multiple of the block size
// (none when it is 0) f -= half shift, "stickBlock" at f, f -= half shift again; elsewhere "stick"
// at f; then f += cell size.

#include <cstdint>

#include <pugixml.hpp>

#include "engine/graphics/sprite.h"

class gcAmbientEar {
public:
    enum Axis : int32_t { Vertical = 0, Horizontal = 1 };

    // Vertical: the left ear (lines are rows, f runs down); Horizontal: the up ear.
    explicit gcAmbientEar(Axis axis) : axis(axis) {}

    // The three sprite children, all required. Textures are not bound.
    bool Load(const pugi::xml_node& element);
    // The geometry along the ear's axis, and where the field is.
    void Setup(int32_t halfShift, int32_t cellSize, int32_t lines, int32_t blockSize, float fieldX, float fieldY,
               int32_t fieldLength, int32_t size);
    void RestoreResources();
    void ReleaseResources();
    // Sizes and places the background (call after the textures are bound).
    void Layout();
    void Draw();

    // The offset f of each separator and whether it is a block one, in drawing order.
    template <class Visit>
    void ForEachSeparator(Visit visit) const {
        int32_t f = 0;
        for (int32_t i = 0; i <= lines; ++i) {
            if (i == 0 || (blockSize != 0 && i % blockSize == 0)) {
                f -= halfShift;
                visit(f, true);
                f -= halfShift;
            } else {
                visit(f, false);
            }
            f += cellSize;
        }
    }

    QRV::G_SPRITE background;
    QRV::G_SPRITE stick;
    QRV::G_SPRITE stickBlock;

private:
    // Places a separator at offset f along the axis.
    void PlaceSeparator(QRV::G_SPRITE& sprite, float offsetX, float offsetY, int32_t f);

    Axis axis;
    int32_t halfShift = 0;
    int32_t cellSize = 0;
    int32_t lines = 0;
    int32_t blockSize = 0;
    float fieldX = 0.0f, fieldY = 0.0f;
    int32_t fieldLength = 0;
    int32_t size = 0;
    // The sprites' own positions, added as offsets.
    float backgroundX = 0.0f, backgroundY = 0.0f;
    float stickX = 0.0f, stickY = 0.0f;
    float stickBlockX = 0.0f, stickBlockY = 0.0f;
};
