#pragma once
// A rectangle of any size drawn from nine sprites: four corners at their texture's size, four
// edges stretched along one axis and a middle stretched along both (the texture stretches, it
// does not tile). Every part hangs off the frame's own transform, whose origin is the centre of
// the middle, so moving, turning or scaling that transform moves the whole frame.
//
// Places of the parts: 0 upper-left corner, 1 upper edge, 2 upper-right corner, 3 right edge,
// 4 lower-right corner, 5 lower edge, 6 lower-left corner, 7 left edge, 8 middle.
//
// Load reads nine attributes (texture keys) and hands them, in this order, to places 0 to 8:
//   "ul" -> 0 upper-left corner    "up" -> 1 upper edge     "ur" -> 2 upper-right corner
//   "lt" -> 3 right edge           "mid" -> 4 lower-right corner
//   "rt" -> 5 lower edge           "dl" -> 6 lower-left corner
//   "dn" -> 7 left edge            "dr" -> 8 middle
// The names do not say where the parts go ("lt" is the right edge, "mid" a corner, "dr" the
// middle); content is written for this mapping. An absent or empty attribute leaves its part as
// it was.
//
// A part is present when it is bound to a real texture; absent parts take no room and draw
// nothing.

#include <cstdint>

#include <pugixml.hpp>

#include "engine/core/transform.h"
#include "engine/graphics/sprite.h"

namespace QRV {

class G_FRAME9 {
public:
    enum Place : int32_t {
        UpperLeft = 0,
        Upper = 1,
        UpperRight = 2,
        Right = 3,
        LowerRight = 4,
        Lower = 5,
        LowerLeft = 6,
        Left = 7,
        Middle = 8,
        PlaceCount = 9,
    };

    // Parts linked to the frame's transform; width and height unset (-1 and 0) until the owner
    // or the first RestoreResources sets them.
    G_FRAME9();
    // The parts point at this frame's transform, so a copy would move with its source.
    G_FRAME9(const G_FRAME9&) = delete;
    G_FRAME9& operator=(const G_FRAME9&) = delete;

    // Parents every part to the frame's transform and gives the stretched parts their texture
    // addressing bits. Done by the constructor; harmless to repeat.
    void LinkParts();
    // Texture names from the element's nine attributes (see above). A bound part rebinds.
    void Load(const pugi::xml_node& element);
    // Binds every part, computes the minimum size, fills an unset width (-1) or height (0) with
    // it, and lays the parts out.
    void RestoreResources();
    // Gives every part's texture back.
    void ReleaseResources();
    // Sizes and places the parts for the current width and height; a size below the minimum is
    // raised to it first.
    void Layout();
    // The present parts, places 0 to 8 in order.
    void Draw();

    bool IsPresent(int32_t place) const;

    JS_TRANSFORM3 transform;
    G_SPRITE parts[PlaceCount];
    float width = -1.0f;  // outer size
    float height = 0.0f;
    float minWidth = 0.0f;  // the corners' room, computed on restore
    float minHeight = 0.0f;

private:
    // The corner room on each side: a corner's size, or its fallback's, or 0.
    float LeftWidth() const;
    float RightWidth() const;
    float TopHeight() const;
    float BottomHeight() const;
    void ComputeMinimum();
};

}  // namespace QRV
