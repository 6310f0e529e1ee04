#include "engine/graphics/nine_part_frame.h"

namespace QRV {

namespace {

// The attribute names in the order of the places they fill.
constexpr const char* kAttributeNames[G_FRAME9::PlaceCount] = {"ul", "up", "ur", "lt", "mid", "rt", "dl", "dn", "dr"};

// How each place touches the middle rectangle (-hx, -hy)..(hx, hy): the hot spot that anchors it
// and the signs of the pivot offset (sx * hx, sy * hy). The anchor lands at minus the offset.
struct PlaceAnchor {
    int32_t hotSpot;
    float sx, sy;
};
constexpr PlaceAnchor kAnchors[G_FRAME9::PlaceCount] = {
    {8, 1.0f, 1.0f},    // upper-left corner: its lower-right point at (-hx, -hy)
    {7, 0.0f, 1.0f},    // upper edge: middle of its lower side at (0, -hy)
    {6, -1.0f, 1.0f},   // upper-right corner: its lower-left point at (hx, -hy)
    {3, -1.0f, 0.0f},   // right edge: middle of its left side at (hx, 0)
    {0, -1.0f, -1.0f},  // lower-right corner: its upper-left point at (hx, hy)
    {1, 0.0f, -1.0f},   // lower edge: middle of its upper side at (0, hy)
    {2, 1.0f, -1.0f},   // lower-left corner: its upper-right point at (-hx, hy)
    {5, 1.0f, 0.0f},    // left edge: middle of its right side at (-hx, 0)
    {4, 0.0f, 0.0f},    // middle: centred on the origin
};

constexpr uint32_t kRepeatU = 0x8000;
constexpr uint32_t kRepeatV = 0x10000;

}  // namespace

G_FRAME9::G_FRAME9() { LinkParts(); }

void G_FRAME9::LinkParts() {
    for (G_SPRITE& part : parts) part.transform->parent = &transform;
    for (const int32_t place : {Upper, Lower}) {
        parts[place].renderState = (parts[place].renderState | kRepeatU) & ~kRepeatV;
    }
    for (const int32_t place : {Left, Right}) {
        parts[place].renderState = (parts[place].renderState | kRepeatV) & ~kRepeatU;
    }
    parts[Middle].renderState |= kRepeatU | kRepeatV;
}

void G_FRAME9::Load(const pugi::xml_node& element) {
    if (!element) return;
    for (int32_t place = 0; place < PlaceCount; ++place) {
        const std::string name = element.attribute(kAttributeNames[place]).as_string();
        if (!name.empty()) parts[place].SetTextureName(name);
    }
}

void G_FRAME9::RestoreResources() {
    for (G_SPRITE& part : parts) part.RestoreResources();
    ComputeMinimum();
    if (width == -1.0f) width = minWidth;
    if (height == 0.0f) height = minHeight;
    Layout();
}

void G_FRAME9::ReleaseResources() {
    for (G_SPRITE& part : parts) part.ReleaseResources();
}

bool G_FRAME9::IsPresent(int32_t place) const { return place >= 0 && place < PlaceCount && parts[place].HasTexture(); }

float G_FRAME9::LeftWidth() const {
    if (IsPresent(UpperLeft)) return parts[UpperLeft].width;
    if (IsPresent(LowerLeft)) return parts[LowerLeft].width;
    return 0.0f;
}

float G_FRAME9::RightWidth() const {
    if (IsPresent(UpperRight)) return parts[UpperRight].width;
    if (IsPresent(LowerRight)) return parts[LowerRight].width;
    return 0.0f;
}

// The vertical room is the upper corners' height plus the lower corners' height, so that frames
// with a taller top than bottom still fit their edges and middle between the corners.
float G_FRAME9::TopHeight() const {
    if (IsPresent(UpperLeft)) return parts[UpperLeft].height;
    if (IsPresent(UpperRight)) return parts[UpperRight].height;
    return 0.0f;
}

float G_FRAME9::BottomHeight() const {
    if (IsPresent(LowerLeft)) return parts[LowerLeft].height;
    if (IsPresent(LowerRight)) return parts[LowerRight].height;
    return 0.0f;
}

void G_FRAME9::ComputeMinimum() {
    minWidth = LeftWidth() + RightWidth();
    minHeight = TopHeight() + BottomHeight();
}

void G_FRAME9::Layout() {
    ComputeMinimum();
    // Smaller than its corners the inner size would turn negative and mirror the edges.
    if (width < minWidth) width = minWidth;
    if (height < minHeight) height = minHeight;
    const float innerWidth = width - minWidth;
    const float innerHeight = height - minHeight;

    if (IsPresent(Middle)) parts[Middle].SetSize(innerWidth, innerHeight);
    for (const int32_t place : {Upper, Lower}) {
        if (IsPresent(place)) parts[place].SetSize(innerWidth, parts[place].height);
    }
    for (const int32_t place : {Left, Right}) {
        if (IsPresent(place)) parts[place].SetSize(parts[place].width, innerHeight);
    }

    // Half the middle rectangle. Taken from the inner size itself (what the middle or an edge
    // would measure), so a frame of corners alone still spreads them to its size.
    const float hx = 0.5f * innerWidth;
    const float hy = 0.5f * innerHeight;
    for (int32_t place = 0; place < PlaceCount; ++place) {
        if (!IsPresent(place)) continue;
        const PlaceAnchor& anchor = kAnchors[place];
        parts[place].hotSpot = anchor.hotSpot;
        parts[place].SetPivotFromHotSpot(anchor.hotSpot, anchor.sx * hx, anchor.sy * hy);
    }
}

void G_FRAME9::Draw() {
    for (int32_t place = 0; place < PlaceCount; ++place) {
        if (IsPresent(place)) parts[place].Draw();
    }
}

}  // namespace QRV
