#include "engine/gui/gui_panel9.h"

#include <algorithm>

#include "engine/gui/gui_alpha.h"

namespace QRV {

namespace {

// The frame's place of each piece, in the constructor's order.
constexpr int32_t kPlaceOf[JC_GUI_PANEL9::kPieceCount] = {
    G_FRAME9::UpperLeft, G_FRAME9::Upper,     G_FRAME9::UpperRight, G_FRAME9::Left,       G_FRAME9::Middle,
    G_FRAME9::Right,     G_FRAME9::LowerLeft, G_FRAME9::Lower,      G_FRAME9::LowerRight,
};

// The pieces whose texture repeats over a quad larger than itself.
constexpr int32_t kRepeated[] = {G_FRAME9::Upper, G_FRAME9::Lower, G_FRAME9::Left, G_FRAME9::Right, G_FRAME9::Middle};

}  // namespace

JC_GUI_PANEL9::JC_GUI_PANEL9(int32_t id, const std::array<std::string, kPieceCount>& names)
    : JC_GUI_PANEL_BASE(id, GUI_KIND::Panel9, false) {
    for (int32_t i = 0; i < kPieceCount; ++i) frame.parts[kPlaceOf[i]].textureName = names[static_cast<size_t>(i)];
    frame.transform.parent = transform;
    shapeTransform.parent = transform;
}

const G_SPRITE& JC_GUI_PANEL9::Piece(int32_t index) const {
    return frame.parts[kPlaceOf[std::clamp(index, 0, kPieceCount - 1)]];
}

void JC_GUI_PANEL9::Draw() {
    if (visible != 0 && built != 0) frame.Draw();
}

JS_TEXTURE* JC_GUI_PANEL9::GetTexture() const { return frame.parts[G_FRAME9::Middle].texture; }

void JC_GUI_PANEL9::Layout() {
    frame.width = width;
    frame.height = height;
    frame.Layout();
    width = frame.width;
    height = frame.height;
    minWidth = frame.minWidth;
    minHeight = frame.minHeight;
    for (const int32_t place : kRepeated) frame.parts[place].FitUVsToQuad();
    shape.kind = HIT_SHAPE::Rectangle;
    shape.a = width;
    shape.b = height;
    shape.transform = &shapeTransform;
    shapeTransform.pivotX = 0.5f * width;
    shapeTransform.pivotY = 0.5f * height;
}

void JC_GUI_PANEL9::SetSize(int32_t w, int32_t h) {
    width = static_cast<float>(w);
    height = static_cast<float>(h);
    if (built != 0) Layout();
}

void JC_GUI_PANEL9::RestoreResources() {
    // Binds the pieces and computes the minimum; the layout follows at the stored size.
    for (G_SPRITE& part : frame.parts) part.RestoreResources();
    built = 1;
    Layout();
    SetAlpha(alpha);
}

void JC_GUI_PANEL9::ReleaseResources() { frame.ReleaseResources(); }

void JC_GUI_PANEL9::SetAlpha(float a) {
    const uint8_t byte = AlphaByte(a);
    for (G_SPRITE& part : frame.parts) SetSpriteAlpha(&part, byte);
}

}  // namespace QRV
