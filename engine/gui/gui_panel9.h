#pragma once
// A background widget of any size drawn from nine textures: four corners at their own size, the
// upper and lower edges repeated across, the left and right edges repeated down, and the centre
// repeated both ways. The widget's position is the centre of the centre piece. It can be hovered,
// pressed, clicked and, when movable, dragged (gui_panel_base.h).
//
// Texture names, in the constructor's order (layout keys "TX_1_1" ... "TX_3_3", row then
// column): upper left, upper middle, upper right, middle left, centre, middle right, lower left,
// lower middle, lower right.
//
// Size: never below the minimum, the upper-left plus the upper-right corner's width by the
// upper-left plus the lower-left corner's height. A size of 0, or none, gives the minimum; a
// SetSize before the first RestoreResources is kept and laid out by it.

#include <array>
#include <string>

#include "engine/graphics/nine_part_frame.h"
#include "engine/gui/gui_panel_base.h"

namespace QRV {

class JC_GUI_PANEL9 : public JC_GUI_PANEL_BASE {
public:
    static constexpr int32_t kPieceCount = 9;

    // Not movable unless told otherwise.
    JC_GUI_PANEL9(int32_t id, const std::array<std::string, kPieceCount>& textureNames);

    // The pieces that hold a texture, while visible.
    void Draw() override;
    // The centre's texture.
    JS_TEXTURE* GetTexture() const override;
    // At least the minimum each way; the pieces are laid out again.
    void SetSize(int32_t w, int32_t h) override;
    // Binds every piece (again, after a release), then lays them out for the size and sets the
    // stored alpha.
    void RestoreResources() override;
    void ReleaseResources() override;
    void SetAlpha(float alpha) override;

    // A piece by the constructor's order (0 upper left ... 8 lower right).
    const G_SPRITE& Piece(int32_t index) const;
    bool IsBuilt() const { return built != 0; }

    float width = 0.0f;
    float height = 0.0f;
    float minWidth = 0.0f;
    float minHeight = 0.0f;
    // Places the pieces around its own origin; its parent is the widget's transform.
    G_FRAME9 frame;

private:
    // Lays the frame out at the size, repeats the textures over the stretched pieces and sizes
    // the rectangle.
    void Layout();

    // The rectangle's own placement: centred on the widget's position.
    JS_TRANSFORM3 shapeTransform;
    uint8_t built = 0;
};

}  // namespace QRV
